#pragma once
// A table, a query and a database whose data path defaults to the
// application's folder, and a component that saves pending engine changes
// whenever the application is idle.
#include <string>

#include "host/db/Database.h"
#include "host/db/Query.h"
#include "host/vcl/Forms.h"

namespace kel {

// The folder of the running program, without a trailing separator.
std::string kelApplicationFolder();

class TLocalTable : public host::TTable {
    HOST_CLASS(TLocalTable, host::TTable)
public:
    explicit TLocalTable(host::TComponent* AOwner);
    bool GetLocalPath() const { return FLocalPath; }
    void SetLocalPath(bool Value);
    // A name other than the current one turns LocalPath off.
    void SetDatabaseName(const std::string& Value) override;

protected:
    bool IsDatabaseNameStored() const { return !FLocalPath; }

private:
    bool FLocalPath = true;
};

class TLocalQuery : public host::TQuery {
    HOST_CLASS(TLocalQuery, host::TQuery)
public:
    explicit TLocalQuery(host::TComponent* AOwner);
    bool GetLocalPath() const { return FLocalPath; }
    void SetLocalPath(bool Value);
    void SetDatabaseName(const std::string& Value) override;

protected:
    bool IsDatabaseNameStored() const { return !FLocalPath; }

private:
    bool FLocalPath = true;
};

class TLocalDatabase : public host::TDatabase {
    HOST_CLASS(TLocalDatabase, host::TDatabase)
public:
    explicit TLocalDatabase(host::TComponent* AOwner);
    bool GetLocalPath() const { return FLocalPath; }
    void SetLocalPath(bool Value);
    // Points "Path=" lines at the application folder, then connects if asked to.
    void Loaded() override;

private:
    bool FLocalPath = true;
};

using TIdleEvent = host::TIdleEvent;

// Outside the designer it becomes the application's idle handler; a handler
// the program had installed still runs after it, and is put back when the
// component goes.
class TDBIdleTime : public host::TComponent {
    HOST_CLASS(TDBIdleTime, host::TComponent)
public:
    explicit TDBIdleTime(host::TComponent* AOwner);
    // One idle call: saves every modifiable open dataset's changes, then OnIdle.
    void DoIdle(bool& Done);
    TIdleEvent OnIdle;

protected:
    void Destroy() override;

private:
    void ApplicationIdle(host::TObject* Sender, bool& Done);
    TIdleEvent FChained;
    bool FHooked = false;
};

// Saves the pending changes of every open, modifiable dataset of every database.
void kelSaveAllChanges();

} // namespace kel
