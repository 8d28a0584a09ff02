#pragma once
// Temporary folders and small tables for the engine tests.
#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

#include "host/db/engine/Cursor.h"
#include "host/db/engine/Database.h"
#include "host/db/engine/EngineError.h"

namespace enginetest {

using namespace host;
using namespace host::engine;

class TempDir {
public:
    TempDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "kel_engine_XXXXXX").string();
        FPath = mkdtemp(tmpl.data());
    }
    ~TempDir() { std::filesystem::remove_all(FPath); }
    const std::string& Path() const { return FPath; }
    std::string File(const std::string& Name) const { return (std::filesystem::path(FPath) / Name).string(); }

private:
    std::string FPath;
};

inline TValue I(int64_t V) { return TValue::OfInt(V); }
inline TValue F(double V) { return TValue::OfFloat(V); }
inline TValue S(const std::string& V) { return TValue::OfText(V); }
inline TValue B(bool V) { return TValue::OfBool(V); }

inline TRecord Rec(std::initializer_list<TValue> Values)
{
    TRecord r;
    r.Values.assign(Values.begin(), Values.end());
    return r;
}

// CUSTOMER: NAME string, CITY string, QTY integer, PAID boolean; primary index
// on NAME, secondary "ByCity" (case-insensitive) on CITY;NAME.
inline TTableDesc CustomerDesc()
{
    TTableDesc d;
    d.Fields = {{"NAME", ftString, 30, true}, {"CITY", ftString, 30, false}, {"QTY", ftInteger, 0, false},
                {"PAID", ftBoolean, 0, false}};
    d.Indexes = {{"", "NAME", "", IndexOpt(ixPrimary) | IndexOpt(ixUnique)},
                 {"ByCity", "CITY;NAME", "", IndexOpt(ixCaseInsensitive)}};
    return d;
}

// The NAME column of every record of the cursor, First to Last.
inline std::string Names(TEngineCursor& C, int Field = 0)
{
    std::string out;
    for (C.First(); C.HasCurrent();) {
        out += C.GetRecord()->Values[Field].AsString() + " ";
        if (!C.Next()) break;
    }
    if (!out.empty()) out.pop_back();
    return out;
}

} // namespace enginetest
