#include "general/Kelutilf.h"

namespace kel {
namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperAscii(std::string S)
{
    for (char& c : S) c = UpperAscii(c);
    return S;
}

// Finds Find in Source. Upper-casing keeps every byte in place, so an index in
// the folded text applies to Source itself.
class TFinder {
public:
    TFinder(const std::string& Find, const std::string& Source, bool CaseSensitive)
        : FNeedle(CaseSensitive ? Find : UpperAscii(Find)), FHaystack(CaseSensitive ? Source : UpperAscii(Source))
    {
    }
    // Index of the first occurrence at or after From, or npos; an empty Find
    // never matches.
    size_t Next(size_t From) const
    {
        if (FNeedle.empty()) return std::string::npos;
        return FHaystack.find(FNeedle, From);
    }

private:
    std::string FNeedle;
    std::string FHaystack;
};

bool IsPathSeparator(char c) { return c == '\\' || c == '/' || c == ':'; }

// Index where the name part of a path begins.
size_t NameStart(const std::string& FileName)
{
    for (size_t i = FileName.size(); i > 0; --i)
        if (IsPathSeparator(FileName[i - 1])) return i;
    return 0;
}

} // namespace

std::string kelLTrim(const std::string& S)
{
    size_t first = S.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : S.substr(first);
}

std::string kelRTrim(const std::string& S)
{
    size_t last = S.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : S.substr(0, last + 1);
}

std::string kelLRTrim(const std::string& S) { return kelLTrim(kelRTrim(S)); }

std::string kelReplaceStr(const std::string& Find, const std::string& Replace, const std::string& Source,
                          bool CaseSensitive)
{
    size_t p = TFinder(Find, Source, CaseSensitive).Next(0);
    if (p == std::string::npos) return Source;
    return Source.substr(0, p) + Replace + Source.substr(p + Find.size());
}

std::string kelReplaceAll(const std::string& Find, const std::string& Replace, const std::string& Source,
                          bool CaseSensitive)
{
    // Searching on from the end of each match is the same as applying the
    // replacement again to the tail, without recursion depth growing with the
    // number of matches.
    TFinder finder(Find, Source, CaseSensitive);
    std::string result;
    size_t from = 0;
    for (;;) {
        size_t p = finder.Next(from);
        if (p == std::string::npos) break;
        result.append(Source, from, p - from);
        result += Replace;
        from = p + Find.size();
    }
    result.append(Source, from, std::string::npos);
    return result;
}

std::string kelProperCase(const std::string& S)
{
    std::string result;
    result.reserve(S.size());
    bool capitalise = true;
    for (char c : S) {
        c = LowerAscii(c);
        if (c == ' ') {
            capitalise = true;
        } else if (c >= 'a' && c <= 'z' && capitalise) {
            c = UpperAscii(c);
            capitalise = false;
        }
        result += c;
    }
    return result;
}

std::string kelFileNamePart(const std::string& FileName)
{
    std::string name = FileName.substr(NameStart(FileName));
    return name.substr(0, name.find('.'));
}

std::string kelReplaceFileExt(const std::string& FileName, const std::string& NewExt)
{
    // The dot is looked for in the name part only: a dot in a folder name
    // ("c:\my.dir\file.txt") is not an extension.
    size_t dot = FileName.find('.', NameStart(FileName));
    if (dot == std::string::npos) return FileName;
    return FileName.substr(0, dot) + NewExt;
}

} // namespace kel
