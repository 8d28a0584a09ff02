#pragma once
// Resources compiled into the program: string tables and named data blocks
// (bitmaps, cursors, icons, form layouts, waves), registered by each library at
// start-up and found by name or id.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace host {

enum class TResType { Bitmap, Cursor, Icon, FormLayout, RawData, Wave };

// Registers a data block under Type and Name (names compare without regard to
// case). Data must stay valid for the life of the program; a later registration
// of the same name replaces the earlier one.
void RegisterResource(TResType Type, std::string_view Name, std::string_view Data);
void UnregisterResource(TResType Type, std::string_view Name);
std::optional<std::string_view> FindResourceData(TResType Type, std::string_view Name);

struct TStringTableEntry {
    int Ident;
    const char* Text;
};

// Adds entries to the program's string table; later entries replace earlier ones.
void RegisterStringTable(const TStringTableEntry* Entries, size_t Count);

// The text of string Ident; empty when the table has no such string.
std::string LoadStr(int Ident);
// Whether the string table holds Ident.
bool HasStr(int Ident);

} // namespace host
