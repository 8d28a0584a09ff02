// Folder listings with masks: FindFirst / FindNext / FindClose, MatchesMask.
#include "host/rtl/SysUtils.h"

#include <algorithm>
#include <ctime>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace host {

namespace {

constexpr int ErrorFileNotFound = 2;
constexpr int ErrorPathNotFound = 3;
constexpr int ErrorNoMoreFiles = 18;

constexpr double UnixDateDelta = 25569.0;

struct TMaskElement {
    enum class TKind { Char, Any, Star, Set };
    explicit TMaskElement(TKind K, char C = 0) : Kind(K), Ch(C) {}
    TKind Kind;
    char Ch;
    bool Negate = false;
    std::vector<std::pair<char, char>> Ranges;
};

char Fold(char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C + 32) : C; }

[[noreturn]] void InvalidMask(const std::string& Mask, size_t Pos)
{
    throw EMaskException("'%s' is an invalid mask at (%d)", {Mask, static_cast<int>(Pos + 1)});
}

std::vector<TMaskElement> ParseMask(const std::string& Mask)
{
    std::vector<TMaskElement> r;
    for (size_t i = 0; i < Mask.size(); ++i) {
        char c = Mask[i];
        if (c == '*') {
            if (r.empty() || r.back().Kind != TMaskElement::TKind::Star) r.emplace_back(TMaskElement::TKind::Star);
        } else if (c == '?') {
            r.emplace_back(TMaskElement::TKind::Any);
        } else if (c == '[') {
            TMaskElement e(TMaskElement::TKind::Set);
            size_t j = i + 1;
            if (j < Mask.size() && Mask[j] == '!') {
                e.Negate = true;
                ++j;
            }
            for (; j < Mask.size() && Mask[j] != ']'; ++j) {
                char lo = Fold(Mask[j]), hi = lo;
                if (j + 2 < Mask.size() && Mask[j + 1] == '-' && Mask[j + 2] != ']') {
                    hi = Fold(Mask[j + 2]);
                    j += 2;
                }
                e.Ranges.emplace_back(lo, hi);
            }
            if (j >= Mask.size() || e.Ranges.empty()) InvalidMask(Mask, i);
            r.push_back(std::move(e));
            i = j;
        } else {
            r.emplace_back(TMaskElement::TKind::Char, Fold(c));
        }
    }
    return r;
}

// Length of the character at S[I]; a UTF-8 sequence counts as one character.
size_t CharLen(const std::string& S, size_t I)
{
    size_t n = 1;
    if (static_cast<unsigned char>(S[I]) >= 0xC0)
        while (I + n < S.size() && (static_cast<unsigned char>(S[I + n]) & 0xC0) == 0x80) ++n;
    return n;
}

// Characters consumed by element E at S[I]; 0 when it does not match.
size_t MatchOne(const TMaskElement& E, const std::string& S, size_t I)
{
    switch (E.Kind) {
    case TMaskElement::TKind::Any: return CharLen(S, I);
    case TMaskElement::TKind::Char: return Fold(S[I]) == E.Ch ? 1 : 0;
    case TMaskElement::TKind::Set: {
        char c = Fold(S[I]);
        bool in = std::any_of(E.Ranges.begin(), E.Ranges.end(),
                              [c](const auto& r) { return c >= r.first && c <= r.second; });
        return in != E.Negate ? CharLen(S, I) : 0;
    }
    default: return 0;
    }
}

// Wildcard matching with backtracking to the last star only: linear enough
// for any mask, with no recursion a long name could exhaust.
bool MatchElements(const std::vector<TMaskElement>& M, const std::string& S)
{
    size_t mi = 0, si = 0;
    size_t starM = std::string::npos, starS = 0;
    while (si < S.size()) {
        if (mi < M.size() && M[mi].Kind == TMaskElement::TKind::Star) {
            starM = mi++;
            starS = si;
            continue;
        }
        if (mi < M.size()) {
            if (size_t n = MatchOne(M[mi], S, si)) {
                ++mi;
                si += n;
                continue;
            }
        }
        if (starM == std::string::npos) return false;
        mi = starM + 1;
        starS += CharLen(S, starS);
        si = starS;
    }
    while (mi < M.size() && M[mi].Kind == TMaskElement::TKind::Star) ++mi;
    return mi == M.size();
}

struct TFindEntry {
    std::string Name;
    int Attr;
    int64_t Size;
    TDateTime Time;
};

struct TFindState {
    std::vector<TFindEntry> Entries;
    size_t Next = 0;
};

int AttrOf(const std::string& Name, const struct stat& St)
{
    int a = 0;
    if (S_ISDIR(St.st_mode)) a |= faDirectory;
    else if (S_ISREG(St.st_mode)) a |= faArchive;
    else a |= faSysFile;
    if (!(St.st_mode & S_IWUSR)) a |= faReadOnly;
    if (Name.size() > 1 && Name[0] == '.' && Name != "..") a |= faHidden;
    return a;
}

TDateTime EntryTime(const struct stat& St)
{
    std::tm local{};
    time_t secs = St.st_mtim.tv_sec;
    localtime_r(&secs, &local);
    double s = static_cast<double>(secs) + static_cast<double>(local.tm_gmtoff);
    return UnixDateDelta + s / SecsPerDay;
}

bool NameMatches(const std::vector<TMaskElement>& Mask, const std::vector<TMaskElement>& NoExtMask, bool OptionalExt,
                 const std::string& Name)
{
    return MatchElements(Mask, Name) || (OptionalExt && MatchElements(NoExtMask, Name));
}

void Fill(TSearchRec& F, const TFindEntry& E)
{
    F.Name = E.Name;
    F.Attr = E.Attr;
    F.Size = E.Size;
    F.Time = E.Time;
}

} // namespace

bool MatchesMask(const std::string& FileName, const std::string& Mask)
{
    return MatchElements(ParseMask(Mask), FileName);
}

int FindFirst(const std::string& Path, int Attr, TSearchRec& F)
{
    FindClose(F);
    std::string dir = NativeFileName(ExtractFilePath(Path));
    std::string mask = ExtractFileName(Path);
    if (dir.empty()) dir = "./";
    DIR* d = opendir(dir.c_str());
    if (d == nullptr) return ErrorPathNotFound;
    // As on the classic platform, "x*.*" also matches names without a dot.
    bool optionalExt = mask.size() >= 2 && mask.compare(mask.size() - 2, 2, ".*") == 0;
    std::vector<TMaskElement> m, noExt;
    try {
        m = ParseMask(mask);
        if (optionalExt) noExt = ParseMask(mask.substr(0, mask.size() - 2));
    } catch (...) {
        closedir(d);
        throw;
    }
    auto state = std::make_shared<TFindState>();
    F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name;
        if (mask.empty() || !NameMatches(m, noExt, optionalExt, name)) continue;
        struct stat st;
        std::string full = dir + (dir.back() == '/' ? "" : "/") + name;
        if (stat(full.c_str(), &st) != 0 && lstat(full.c_str(), &st) != 0) continue;
        int attr = AttrOf(name, st);
        if (attr & F.ExcludeAttr) continue;
        state->Entries.push_back({name, attr, S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size), EntryTime(st)});
    }
    closedir(d);
    std::sort(state->Entries.begin(), state->Entries.end(), [](const TFindEntry& a, const TFindEntry& b) {
        int c = CompareText(a.Name, b.Name);
        return c != 0 ? c < 0 : a.Name < b.Name;
    });
    if (state->Entries.empty()) return ErrorFileNotFound;
    F.FindHandle = state;
    return FindNext(F);
}

int FindNext(TSearchRec& F)
{
    auto* state = static_cast<TFindState*>(F.FindHandle.get());
    if (state == nullptr || state->Next >= state->Entries.size()) return ErrorNoMoreFiles;
    Fill(F, state->Entries[state->Next++]);
    return 0;
}

void FindClose(TSearchRec& F) { F.FindHandle.reset(); }

} // namespace host
