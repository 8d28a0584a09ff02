#pragma once
// Types shared by every part of the dataset framework: states and events,
// the database error, values passed to searches and parameters, and the
// field and index definitions of a dataset.
#include <cstdint>
#include <string>
#include <vector>

#include "host/db/DBError.h"
#include "host/db/engine/Cursor.h"
#include "host/db/engine/Schema.h"
#include "host/db/engine/Value.h"
#include "host/rtl/Sets.h"
#include "host/rtl/SysUtils.h"
#include "host/vcl/Classes.h"
#include "host/vcl/TypInfo.h"

namespace host {

[[noreturn]] void DatabaseError(const std::string& Msg);
[[noreturn]] void DatabaseErrorFmt(const std::string& Fmt, TVarRecs Args);

HOST_ENUM(TDataSetState, dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter, dsNewValue,
          dsOldValue, dsCurValue)

// What a dataset tells its data sources and links.
enum TDataEvent {
    deFieldChange,
    deRecordChange,
    deDataSetChange,
    deDataSetScroll,
    deLayoutChange,
    deUpdateRecord,
    deUpdateState,
    deCheckBrowseMode,
    dePropertyChange,
    deFieldListChange,
    deFocusControl
};

HOST_ENUM(TFieldKind, fkData, fkCalculated, fkLookup, fkInternalCalc)

HOST_ENUM_NAMES(TFieldType, ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
                ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo,
                ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString, ftLargeint)
HOST_ENUM_NAMES(TFilterOption, foCaseInsensitive, foNoPartialCompare)
using TFilterOptions = TSet<TFilterOption>;
HOST_ENUM_NAMES(TIndexOption, ixPrimary, ixUnique, ixDescending, ixCaseInsensitive, ixExpression)
using TIndexOptions = TSet<TIndexOption>;
HOST_ENUM_NAMES(TTableType, ttDefault, ttParadox, ttDBase, ttASCII)
using host::engine::TLocateOption;
using host::engine::loCaseInsensitive;
using host::engine::loPartialKey;
using TLocateOptions = TSet<TLocateOption>;

bool IsDataEditState(TDataSetState State);

// The type name shown in messages ("String", "Integer", ...).
std::string FieldTypeName(TFieldType Type);

// A value handed to searches, lookups and parameters: null, a number, a text
// or bytes. Dates travel as TDateTime numbers.
struct TVariant : engine::TValue {
    TVariant() = default;
    TVariant(std::nullptr_t) {}
    TVariant(const engine::TValue& V) : engine::TValue(V) {}
    TVariant(int V) : engine::TValue(OfInt(V)) {}
    TVariant(int64_t V) : engine::TValue(OfInt(V)) {}
    TVariant(double V) : engine::TValue(OfFloat(V)) {}
    TVariant(bool V) : engine::TValue(OfBool(V)) {}
    TVariant(const char* V) : engine::TValue(OfText(V)) {}
    TVariant(const std::string& V) : engine::TValue(OfText(V)) {}
};
using TVariantArray = std::vector<TVariant>;

// A bookmark stays valid while its record exists, whatever else changes.
using TBookmark = engine::TBookmark;

class TDataSet;

// ---- Field definitions ---------------------------------------------------------

class TFieldDef {
public:
    TFieldDef(std::string AName, TFieldType ADataType, int ASize, bool ARequired, int AFieldNo)
        : FName(std::move(AName)), FDataType(ADataType), FSize(ASize), FRequired(ARequired), FFieldNo(AFieldNo) {}
    const std::string& GetName() const { return FName; }
    TFieldType GetDataType() const { return FDataType; }
    int GetSize() const { return FSize; }
    bool GetRequired() const { return FRequired; }
    void SetRequired(bool Value) { FRequired = Value; }
    // 1-based position in the record.
    int GetFieldNo() const { return FFieldNo; }

private:
    std::string FName;
    TFieldType FDataType;
    int FSize;
    bool FRequired;
    int FFieldNo;
};

class TFieldDefs {
public:
    explicit TFieldDefs(TDataSet* ADataSet) : FDataSet(ADataSet) {}
    TFieldDef* Add(const std::string& Name, TFieldType DataType, int Size = 0, bool Required = false);
    void Clear() { FItems.clear(); }
    int GetCount() const { return static_cast<int>(FItems.size()); }
    TFieldDef* GetItem(int Index) const;
    // -1 when absent; names compare without regard to case.
    int IndexOf(const std::string& Name) const;
    // Raises EDatabaseError "Field '%s' not found".
    TFieldDef* Find(const std::string& Name) const;
    // Reads the definitions from the dataset's table.
    void Update();
    // The engine's description of these definitions.
    std::vector<engine::TFieldDesc> ToDesc() const;
    void Assign(const std::vector<engine::TFieldDesc>& Fields);

private:
    TDataSet* FDataSet;
    std::vector<std::unique_ptr<TFieldDef>> FItems;
};

// ---- Index definitions ---------------------------------------------------------

class TIndexDef {
public:
    TIndexDef(std::string AName, std::string AFields, TIndexOptions AOptions)
        : FName(std::move(AName)), FFields(std::move(AFields)), FOptions(AOptions) {}
    const std::string& GetName() const { return FName; }
    const std::string& GetFields() const { return FFields; }
    const std::string& GetExpression() const { return FExpression; }
    void SetExpression(const std::string& Value) { FExpression = Value; }
    TIndexOptions GetOptions() const { return FOptions; }

private:
    std::string FName, FFields, FExpression;
    TIndexOptions FOptions;
};

class TIndexDefs {
public:
    explicit TIndexDefs(TDataSet* ADataSet) : FDataSet(ADataSet) {}
    TIndexDef* Add(const std::string& Name, const std::string& Fields, TIndexOptions Options = {});
    void Clear() { FItems.clear(); }
    int GetCount() const { return static_cast<int>(FItems.size()); }
    TIndexDef* GetItem(int Index) const;
    int IndexOf(const std::string& Name) const;
    // Raises EDatabaseError "Index '%s' not found".
    TIndexDef* Find(const std::string& Name) const;
    // The index whose leading fields are Fields (case-insensitive), or nullptr.
    TIndexDef* GetIndexForFields(const std::string& Fields, bool CaseInsensitive) const;
    // Reads the definitions from the dataset's table.
    void Update();
    std::vector<engine::TIndexDesc> ToDesc() const;
    void Assign(const std::vector<engine::TIndexDesc>& Indexes);

private:
    TDataSet* FDataSet;
    std::vector<std::unique_ptr<TIndexDef>> FItems;
};

} // namespace host
