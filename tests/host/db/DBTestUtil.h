#pragma once
// Temporary databases and a small customer table for the dataset tests.
#include <filesystem>
#include <string>
#include <unistd.h>

#include "host/db/DBTables.h"
#include "host/rtl/SysLocale.h"

namespace dbtest {

using namespace host;

class TempDir {
public:
    TempDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "kel_db_XXXXXX").string();
        FPath = mkdtemp(tmpl.data());
    }
    ~TempDir() { std::filesystem::remove_all(FPath); }
    const std::string& Path() const { return FPath; }

private:
    std::string FPath;
};

// Frees a component at the end of a scope.
template <class T>
struct Owned {
    T* P;
    explicit Owned(T* A) : P(A) {}
    ~Owned() { host::Free(P); }
    T* operator->() const { return P; }
    T* get() const { return P; }
};

// CUSTOMER.DB: ID integer (primary), NAME string(20) required, CITY string(20),
// QTY integer; a case-insensitive index ByName on NAME.
inline void CreateCustomers(const std::string& Dir, std::initializer_list<std::tuple<int, const char*, const char*, int>> Rows)
{
    Owned<TTable> t(new TTable(nullptr));
    t->SetDatabaseName(Dir);
    t->SetTableName("CUSTOMER.DB");
    t->GetFieldDefs()->Add("ID", ftInteger, 0, true);
    t->GetFieldDefs()->Add("NAME", ftString, 20, true);
    t->GetFieldDefs()->Add("CITY", ftString, 20, false);
    t->GetFieldDefs()->Add("QTY", ftInteger, 0, false);
    t->GetIndexDefs()->Add("", "ID", TIndexOptions{ixPrimary, ixUnique});
    t->GetIndexDefs()->Add("ByName", "NAME", TIndexOptions{ixCaseInsensitive});
    t->CreateTable();
    t->Open();
    for (auto& [id, name, city, qty] : Rows) {
        t->Append();
        t->FieldByName("ID")->SetAsInteger(id);
        t->FieldByName("NAME")->SetAsString(name);
        if (city) t->FieldByName("CITY")->SetAsString(city);
        t->FieldByName("QTY")->SetAsInteger(qty);
        t->Post();
    }
}

inline TTable* OpenCustomers(const std::string& Dir, const std::string& IndexName = {})
{
    auto* t = new TTable(nullptr);
    t->SetDatabaseName(Dir);
    t->SetTableName("CUSTOMER.DB");
    t->SetIndexName(IndexName);
    t->Open();
    return t;
}

// The values of Field for every record, First to Last, joined by commas.
inline std::string Column(TDataSet* D, const std::string& Field)
{
    std::string out;
    for (D->First(); !D->GetEOF(); D->Next()) {
        if (!out.empty()) out += ",";
        out += D->FieldByName(Field)->GetAsString();
    }
    return out;
}

} // namespace dbtest
