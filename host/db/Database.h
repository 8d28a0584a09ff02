#pragma once
// TDatabase: a named connection to an engine database, with transactions,
// that datasets reach through their DatabaseName.
#include <memory>
#include <string>
#include <vector>

#include "host/db/DB.h"
#include "host/db/engine/Database.h"
#include "host/rtl/Strings.h"

namespace host {

class TDBDataSet;

HOST_ENUM(TTransIsolation, tiDirtyRead, tiReadCommitted, tiRepeatableRead)

class TDatabase : public TComponent {
    HOST_CLASS(TDatabase, TComponent)
public:
    explicit TDatabase(TComponent* AOwner);

    const std::string& GetDatabaseName() const { return FDatabaseName; }
    void SetDatabaseName(const std::string& Value);
    const std::string& GetAliasName() const { return FAliasName; }
    void SetAliasName(const std::string& Value);
    const std::string& GetDriverName() const { return FDriverName; }
    void SetDriverName(const std::string& Value);
    TStrings* GetParams() const { return FParams.get(); }
    void SetParams(TStrings* Value) { FParams->Assign(Value); }
    bool GetConnected() const { return FHandle != nullptr; }
    void SetConnected(bool Value);
    void Open() { SetConnected(true); }
    void Close() { SetConnected(false); }
    // The open datasets working through this database.
    int GetDataSetCount() const;
    TDBDataSet* GetDataSets(int Index) const;
    void CloseDataSets();
    // Whether the connection stays when the last dataset closes.
    bool GetKeepConnection() const { return FKeepConnection; }
    void SetKeepConnection(bool Value) { FKeepConnection = Value; }
    bool GetLoginPrompt() const { return FLoginPrompt; }
    void SetLoginPrompt(bool Value) { FLoginPrompt = Value; }
    TTransIsolation GetTransIsolation() const { return FTransIsolation; }
    void SetTransIsolation(TTransIsolation Value) { FTransIsolation = Value; }
    bool GetIsSQLBased() const;
    bool GetInTransaction() const;
    void StartTransaction();
    void Commit();
    void Rollback();
    // Runs a statement that returns no rows; the number of rows changed.
    int64_t Execute(const std::string& SQL, const TVariantArray& Params = {});
    // The folder or file the database lives in.
    std::string GetPath() const;

    // The engine database (connecting first).
    const std::shared_ptr<engine::TEngineDatabase>& GetHandle();

    // The database component named DatabaseName, or nullptr.
    static TDatabase* Find(const std::string& DatabaseName);
    // The names of every database component.
    static std::vector<std::string> AllNames();
    void Loaded() override;

protected:
    void Destroy() override;

    std::string FDatabaseName, FAliasName, FDriverName;
    std::unique_ptr<TStringList> FParams;
    std::shared_ptr<engine::TEngineDatabase> FHandle;
    bool FKeepConnection = true;
    bool FLoginPrompt = true;
    bool FStreamedConnected = false;
    TTransIsolation FTransIsolation = tiReadCommitted;
};

} // namespace host
