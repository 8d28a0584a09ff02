#pragma once
// String and file-name helpers. Positions are 1-based; case-insensitive
// comparison folds ASCII letters only, so other bytes (UTF-8 included) match
// exactly.
#include <string>

namespace kel {

// Only the space character (code 32) is trimmed; tabs and other blanks stay.
std::string kelLTrim(const std::string& S);
std::string kelRTrim(const std::string& S);
std::string kelLRTrim(const std::string& S);

// Source with its first occurrence of Find replaced by Replace; Source
// unchanged when Find is empty or does not occur.
std::string kelReplaceStr(const std::string& Find, const std::string& Replace, const std::string& Source,
                          bool CaseSensitive);
// Every non-overlapping occurrence, left to right; inserted text is never
// searched again.
std::string kelReplaceAll(const std::string& Find, const std::string& Replace, const std::string& Source,
                          bool CaseSensitive);

// Lower-cases S, then capitalises the first letter a-z after each space (and at
// the start); other characters neither take nor use up the capital.
std::string kelProperCase(const std::string& S);

// The name part of a path (after the last '\', '/' or ':') cut before its
// first '.'.
std::string kelFileNamePart(const std::string& FileName);

// FileName with everything from the first '.' of its name part replaced by
// NewExt (which carries its own dot); unchanged when the name part has no dot.
std::string kelReplaceFileExt(const std::string& FileName, const std::string& NewExt);

} // namespace kel
