#include "host/rtl/Drives.h"

#include <array>
#include <cctype>

namespace host {

namespace {

std::array<std::string, 26>& Roots()
{
    static std::array<std::string, 26> roots = [] {
        std::array<std::string, 26> r;
        r['C' - 'A'] = "/";
        return r;
    }();
    return roots;
}

int SlotOf(char Drive)
{
    unsigned char c = static_cast<unsigned char>(Drive);
    if (!std::isalpha(c)) return -1;
    return std::toupper(c) - 'A';
}

std::string Slashed(std::string S)
{
    for (char& c : S)
        if (c == '\\') c = '/';
    return S;
}

std::string WithoutTrailingSlash(std::string S)
{
    while (S.size() > 1 && S.back() == '/') S.pop_back();
    return S;
}

// Whether Path is Root itself or lies below it.
bool IsUnder(const std::string& Path, const std::string& Root)
{
    if (Root == "/") return !Path.empty() && Path[0] == '/';
    if (Path.compare(0, Root.size(), Root) != 0) return false;
    return Path.size() == Root.size() || Path[Root.size()] == '/';
}

} // namespace

void SetDriveRoot(char Drive, const std::string& Root)
{
    int slot = SlotOf(Drive);
    if (slot < 0) return;
    Roots()[slot] = Root.empty() ? std::string() : WithoutTrailingSlash(Slashed(Root));
}

std::string GetDriveRoot(char Drive)
{
    int slot = SlotOf(Drive);
    return slot < 0 ? std::string() : Roots()[slot];
}

std::string GetDriveLetters()
{
    std::string letters;
    for (int i = 0; i < 26; ++i)
        if (!Roots()[i].empty()) letters += char('A' + i);
    return letters;
}

void ResetDriveRoots()
{
    for (auto& r : Roots()) r.clear();
    Roots()['C' - 'A'] = "/";
}

std::string DrivePathToNative(const std::string& Path)
{
    std::string p = Slashed(Path);
    if (p.size() < 2 || p[1] != ':' || SlotOf(p[0]) < 0) return p;
    const std::string& root = Roots()[SlotOf(p[0])];
    if (root.empty()) return p;
    std::string rest = p.substr(2);
    // "C:" alone and "C:name" both sit at the drive's root.
    if (rest.empty()) return root;
    if (rest[0] != '/') rest.insert(rest.begin(), '/');
    return root == "/" ? rest : root + rest;
}

char DriveOfPath(const std::string& NativePath)
{
    std::string p = Slashed(NativePath);
    char best = 0;
    size_t bestLength = 0;
    for (int i = 0; i < 26; ++i) {
        const std::string& root = Roots()[i];
        if (root.empty() || !IsUnder(p, root)) continue;
        if (best == 0 || root.size() > bestLength) {
            best = char('A' + i);
            bestLength = root.size();
        }
    }
    return best;
}

std::string NativeToDrivePath(const std::string& NativePath)
{
    std::string p = Slashed(NativePath);
    char drive = DriveOfPath(p);
    if (!drive) return NativePath;
    const std::string& root = Roots()[drive - 'A'];
    std::string rest = root == "/" ? p.substr(1) : p.substr(std::min(p.size(), root.size() + 1));
    for (char& c : rest)
        if (c == '/') c = '\\';
    return std::string(1, drive) + ":\\" + rest;
}

} // namespace host
