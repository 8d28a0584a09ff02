#include "host/rtl/Resources.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <unordered_map>

#include "host/rtl/SysUtils.h"

namespace host {
namespace {

std::string FoldName(std::string_view Name)
{
    std::string key(Name);
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::toupper(c); });
    return key;
}

// Function-local statics: libraries register from their static initialisers,
// whose order against ours is unspecified.
std::map<std::pair<TResType, std::string>, std::string_view>& DataBlocks()
{
    static std::map<std::pair<TResType, std::string>, std::string_view> blocks;
    return blocks;
}

std::unordered_map<int, std::string>& StringTable()
{
    static std::unordered_map<int, std::string> table;
    return table;
}

} // namespace

void RegisterResource(TResType Type, std::string_view Name, std::string_view Data)
{
    DataBlocks()[{Type, FoldName(Name)}] = Data;
}

void UnregisterResource(TResType Type, std::string_view Name) { DataBlocks().erase({Type, FoldName(Name)}); }

std::optional<std::string_view> FindResourceData(TResType Type, std::string_view Name)
{
    auto& blocks = DataBlocks();
    auto it = blocks.find({Type, FoldName(Name)});
    if (it == blocks.end()) return std::nullopt;
    return it->second;
}

void RegisterStringTable(const TStringTableEntry* Entries, size_t Count)
{
    auto& table = StringTable();
    for (size_t i = 0; i < Count; ++i) table[Entries[i].Ident] = Entries[i].Text;
}

std::string LoadStr(int Ident)
{
    auto& table = StringTable();
    auto it = table.find(Ident);
    return it == table.end() ? std::string() : it->second;
}

bool HasStr(int Ident) { return StringTable().count(Ident) != 0; }

Exception Exception::CreateRes(int Ident) { return Exception(LoadStr(Ident)); }

} // namespace host
