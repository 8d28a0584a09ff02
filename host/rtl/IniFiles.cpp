#include "host/rtl/IniFiles.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_set>

#include "host/rtl/Strings.h"

namespace host {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view TrimSpaces(std::string_view s)
{
    while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x += 32;
        if (y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return false;
    }
    return true;
}

std::string FoldedName(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

// The profile calls drop one pair of matching quotes around a value.
std::string_view Unquote(std::string_view v)
{
    if (v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'')) return v.substr(1, v.size() - 2);
    return v;
}

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

[[noreturn]] void InvalidWrite(std::string_view What, std::string_view Name)
{
    throw EIniFileException("Invalid " + std::string(What) + " for a profile file: \"" + std::string(Name) + "\"");
}

} // namespace

// ---- TIniDocument

TIniDocument::TLine TIniDocument::ClassifyLine(std::string Text, std::string Eol)
{
    TLine line{std::move(Text), std::move(Eol), TLineKind::Other, {}};
    const std::string_view t = TrimSpaces(line.Text);
    if (t.empty() || t.front() == ';') return line;
    if (t.front() == '[') {
        const size_t close = t.find(']', 1);
        // A header without its bracket is neither a section nor a key.
        if (close == std::string_view::npos) return line;
        line.Kind = TLineKind::Section;
        line.Name = TrimSpaces(t.substr(1, close - 1));
        return line;
    }
    const size_t eq = t.find('=');
    if (eq == std::string_view::npos) return line;
    const std::string_view name = TrimSpaces(t.substr(0, eq));
    if (name.empty()) return line;
    line.Kind = TLineKind::Key;
    line.Name = name;
    return line;
}

void TIniDocument::Parse(std::string_view Text)
{
    FLines.clear();
    FLineBreak = "\r\n";
    bool breakSeen = false;
    size_t p = 0;
    while (p < Text.size()) {
        size_t e = p;
        while (e < Text.size() && Text[e] != '\r' && Text[e] != '\n') ++e;
        std::string eol;
        if (e < Text.size()) eol = (Text[e] == '\r' && e + 1 < Text.size() && Text[e + 1] == '\n') ? "\r\n" : std::string(1, Text[e]);
        // New lines follow the file's own line ends.
        if (!breakSeen && !eol.empty()) {
            FLineBreak = eol;
            breakSeen = true;
        }
        FLines.push_back(ClassifyLine(std::string(Text.substr(p, e - p)), eol));
        p = e + eol.size();
    }
}

std::string TIniDocument::Serialize() const
{
    std::string out;
    for (const TLine& line : FLines) {
        out += line.Text;
        out += line.Eol;
    }
    return out;
}

int TIniDocument::FindSection(std::string_view Section) const
{
    Section = TrimSpaces(Section);
    for (size_t i = 0; i < FLines.size(); ++i)
        if (FLines[i].Kind == TLineKind::Section && SameName(FLines[i].Name, Section)) return static_cast<int>(i);
    return -1;
}

int TIniDocument::SectionEnd(int Header) const
{
    int i = Header + 1;
    while (i < static_cast<int>(FLines.size()) && FLines[i].Kind != TLineKind::Section) ++i;
    return i;
}

int TIniDocument::FindKey(int Header, std::string_view Key) const
{
    Key = TrimSpaces(Key);
    const int end = SectionEnd(Header);
    for (int i = Header + 1; i < end; ++i)
        if (FLines[i].Kind == TLineKind::Key && SameName(FLines[i].Name, Key)) return i;
    return -1;
}

bool TIniDocument::ReadValue(std::string_view Section, std::string_view Key, std::string& Value) const
{
    const int header = FindSection(Section);
    if (header < 0) return false;
    const int key = FindKey(header, Key);
    if (key < 0) return false;
    Value = ValueOf(key);
    return true;
}

std::string TIniDocument::ValueOf(int Line) const
{
    const std::string& text = FLines[Line].Text;
    return std::string(Unquote(TrimSpaces(std::string_view(text).substr(text.find('=') + 1))));
}

std::vector<std::string> TIniDocument::Sections() const
{
    std::vector<std::string> result;
    std::unordered_set<std::string> seen;
    for (const TLine& line : FLines)
        if (line.Kind == TLineKind::Section && seen.insert(FoldedName(line.Name)).second) result.push_back(line.Name);
    return result;
}

std::vector<int> TIniDocument::KeyLines(std::string_view Section) const
{
    std::vector<int> result;
    const int header = FindSection(Section);
    if (header < 0) return result;
    std::unordered_set<std::string> seen;
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i)
        if (FLines[i].Kind == TLineKind::Key && seen.insert(FoldedName(FLines[i].Name)).second) result.push_back(i);
    return result;
}

std::vector<std::string> TIniDocument::Keys(std::string_view Section) const
{
    std::vector<std::string> result;
    for (int line : KeyLines(Section)) result.push_back(FLines[line].Name);
    return result;
}

std::vector<std::string> TIniDocument::SectionValues(std::string_view Section) const
{
    std::vector<std::string> result;
    for (int line : KeyLines(Section)) result.push_back(FLines[line].Name + "=" + ValueOf(line));
    return result;
}

void TIniDocument::InsertLine(int Index, std::string Text)
{
    if (Index == static_cast<int>(FLines.size()) && !FLines.empty() && FLines.back().Eol.empty())
        FLines.back().Eol = FLineBreak;
    FLines.insert(FLines.begin() + Index, ClassifyLine(std::move(Text), FLineBreak));
}

void TIniDocument::WriteValue(std::string_view Section, std::string_view Key, std::string_view Value)
{
    Section = TrimSpaces(Section);
    Key = TrimSpaces(Key);
    // Anything that would read back as another line, section or key is refused.
    if (HasLineBreak(Section) || Section.find(']') != std::string_view::npos) InvalidWrite("section name", Section);
    if (Key.empty() || HasLineBreak(Key) || Key.find('=') != std::string_view::npos || Key.front() == '[' ||
        Key.front() == ';')
        InvalidWrite("key name", Key);
    if (HasLineBreak(Value)) InvalidWrite("value", Value);

    const std::string entry = std::string(Key) + "=" + std::string(Value);
    const int header = FindSection(Section);
    if (header < 0) {
        if (!FLines.empty() && !TrimSpaces(FLines.back().Text).empty()) InsertLine(static_cast<int>(FLines.size()), "");
        std::string headerLine = "[";
        headerLine.append(Section).append("]");
        InsertLine(static_cast<int>(FLines.size()), std::move(headerLine));
        InsertLine(static_cast<int>(FLines.size()), entry);
        return;
    }
    const int key = FindKey(header, Key);
    if (key >= 0) {
        // The key keeps the spelling the file gave it.
        FLines[key].Text = FLines[key].Name + "=" + std::string(Value);
        return;
    }
    // After the section's last non-blank line, so the blank line that
    // separates it from the next section stays in place.
    int pos = SectionEnd(header);
    while (pos - 1 > header && TrimSpaces(FLines[pos - 1].Text).empty()) --pos;
    InsertLine(pos, entry);
}

bool TIniDocument::DeleteKey(std::string_view Section, std::string_view Key)
{
    const int header = FindSection(Section);
    if (header < 0) return false;
    bool changed = false;
    // Every line of the name goes, or a later duplicate would surface.
    for (int key = FindKey(header, Key); key >= 0; key = FindKey(header, Key)) {
        FLines.erase(FLines.begin() + key);
        changed = true;
    }
    return changed;
}

bool TIniDocument::EraseSection(std::string_view Section)
{
    bool changed = false;
    for (int header = FindSection(Section); header >= 0; header = FindSection(Section)) {
        FLines.erase(FLines.begin() + header, FLines.begin() + SectionEnd(header));
        changed = true;
    }
    return changed;
}

// ---- Windows directory

namespace {

std::string& WindowsDirectory()
{
    static std::string dir = [] {
        const char* home = std::getenv("HOME");
        return home && *home ? std::string(home) + "/.kel" : std::string(".");
    }();
    return dir;
}

} // namespace

std::string GetWindowsDirectory() { return WindowsDirectory(); }

void SetWindowsDirectory(const std::string& Dir)
{
    std::string dir = Dir.empty() ? std::string(".") : Dir;
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    WindowsDirectory() = dir;
}

// ---- TCustomIniFile

bool TCustomIniFile::SectionExists(const std::string& Section)
{
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.GetCount() > 0;
}

bool TCustomIniFile::ValueExists(const std::string& Section, const std::string& Ident)
{
    TStringList keys;
    ReadSection(Section, &keys);
    return keys.IndexOf(Ident) >= 0;
}

int TCustomIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default)
{
    return StrToIntDef(ReadString(Section, Ident, ""), Default);
}

void TCustomIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value)
{
    WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default)
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const std::string& Section, const std::string& Ident, double Default)
{
    const std::string text = ReadString(Section, Ident, "");
    double value;
    return !text.empty() && TryStrToFloat(text, value) ? value : Default;
}

void TCustomIniFile::WriteFloat(const std::string& Section, const std::string& Ident, double Value)
{
    WriteString(Section, Ident, FloatToStr(Value));
}

namespace {

using TTextToDate = bool (*)(const std::string&, TDateTime&);

TDateTime ReadConverted(TCustomIniFile& Ini, const std::string& Section, const std::string& Ident, TDateTime Default,
                        TTextToDate Convert)
{
    const std::string text = Ini.ReadString(Section, Ident, "");
    TDateTime value;
    return !text.empty() && Convert(text, value) ? value : Default;
}

} // namespace

TDateTime TCustomIniFile::ReadDate(const std::string& Section, const std::string& Ident, TDateTime Default)
{
    return ReadConverted(*this, Section, Ident, Default, &TryStrToDate);
}

TDateTime TCustomIniFile::ReadDateTime(const std::string& Section, const std::string& Ident, TDateTime Default)
{
    return ReadConverted(*this, Section, Ident, Default, &TryStrToDateTime);
}

TDateTime TCustomIniFile::ReadTime(const std::string& Section, const std::string& Ident, TDateTime Default)
{
    return ReadConverted(*this, Section, Ident, Default, &TryStrToTime);
}

void TCustomIniFile::WriteDate(const std::string& Section, const std::string& Ident, TDateTime Value)
{
    WriteString(Section, Ident, DateToStr(Value));
}

void TCustomIniFile::WriteDateTime(const std::string& Section, const std::string& Ident, TDateTime Value)
{
    WriteString(Section, Ident, DateTimeToStr(Value));
}

void TCustomIniFile::WriteTime(const std::string& Section, const std::string& Ident, TDateTime Value)
{
    WriteString(Section, Ident, TimeToStr(Value));
}

// ---- TIniFile

namespace {

bool HasFolder(const std::string& FileName) { return FileName.find('/') != std::string::npos; }

std::string ParentFolder(const std::string& Path)
{
    const size_t slash = Path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : Path.substr(0, slash);
}

std::string BaseName(const std::string& Path)
{
    const size_t slash = Path.rfind('/');
    return slash == std::string::npos ? Path : Path.substr(slash + 1);
}

bool ReadWholeFile(const std::string& Path, int64_t Size, std::string& Data)
{
    const int fd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    // One byte more than expected shows a file that grew past the limit.
    Data.resize(static_cast<size_t>(Size) + 1);
    size_t done = 0;
    while (done < Data.size()) {
        const ssize_t n = ::read(fd, Data.data() + done, Data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    Data.resize(done);
    return true;
}

bool WriteAll(int fd, const std::string& Data)
{
    size_t done = 0;
    while (done < Data.size()) {
        const ssize_t n = ::write(fd, Data.data() + done, Data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

void FillStrings(TStrings* Strings, const std::vector<std::string>& Items)
{
    Strings->BeginUpdate();
    try {
        Strings->Clear();
        for (const std::string& item : Items) Strings->Add(item);
    } catch (...) {
        Strings->EndUpdate();
        throw;
    }
    Strings->EndUpdate();
}

mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

TIniFile::TIniFile(const std::string& FileName) : TCustomIniFile(FileName) {}

std::string TIniFile::GetPath() const
{
    if (HasFolder(GetFileName())) return GetFileName();
    return GetWindowsDirectory() + "/" + GetFileName();
}

void TIniFile::WriteError(const std::string& Reason) const
{
    throw EIniFileException("Unable to write to " + GetPath() + ". " + Reason);
}

const TIniDocument& TIniFile::Document(bool ForWrite)
{
    const std::string path = GetPath();
    struct stat st{};
    const bool exists = ::stat(path.c_str(), &st) == 0;
    const int err = errno;
    auto empty = [&]() -> const TIniDocument& {
        FCache.Parse("");
        FCacheValid = false;
        return FCache;
    };
    if (!exists) {
        if (ForWrite && err != ENOENT) WriteError(std::strerror(err));
        return empty();
    }
    // Devices and pipes are never read: they may not end.
    if (!S_ISREG(st.st_mode)) {
        if (ForWrite) WriteError("It is not a regular file");
        return empty();
    }
    const TFileStamp stamp{st.st_dev, st.st_ino, static_cast<int64_t>(st.st_size),
                           static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
    if (FCacheValid && stamp == FCacheStamp) return FCache;
    if (st.st_size > MaxIniFileSize) throw EIniFileException("The profile file " + path + " is too large");
    std::string data;
    if (!ReadWholeFile(path, st.st_size, data)) {
        if (ForWrite) WriteError(std::strerror(errno));
        return empty();
    }
    if (static_cast<int64_t>(data.size()) > MaxIniFileSize)
        throw EIniFileException("The profile file " + path + " is too large");
    FCache.Parse(data);
    FCacheStamp = stamp;
    FCacheValid = true;
    return FCache;
}

// Writes a temporary file beside the target, flushes it to disk and renames it
// over the target: readers and crashes see the old or the new file whole.
void TIniFile::Save(const TIniDocument& Doc)
{
    std::string target = GetPath();
    struct stat st{};
    if (::lstat(target.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* real = ::realpath(target.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    const bool exists = ::stat(target.c_str(), &st) == 0;
    const std::string dir = ParentFolder(target);
    if (!HasFolder(GetFileName())) ::mkdir(dir.c_str(), 0700);

    std::string temp = dir + "/." + BaseName(target) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) WriteError(std::strerror(errno));
    const std::string data = Doc.Serialize();
    const bool written = WriteAll(fd, data) && ::fchmod(fd, exists ? (st.st_mode & 07777) : NewFileMode()) == 0 &&
                         ::fsync(fd) == 0;
    const int err = errno;
    if (::close(fd) != 0 || !written || ::rename(temp.c_str(), target.c_str()) != 0) {
        const int failure = written ? errno : err;
        ::unlink(temp.c_str());
        WriteError(std::strerror(failure));
    }
    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    FCacheValid = false;
    if (::stat(GetPath().c_str(), &st) == 0) {
        FCache = Doc;
        FCacheStamp = {st.st_dev, st.st_ino, static_cast<int64_t>(st.st_size),
                       static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
        FCacheValid = true;
    }
}

std::string TIniFile::ReadString(const std::string& Section, const std::string& Ident, const std::string& Default)
{
    std::string value;
    return Document(false).ReadValue(Section, Ident, value) ? value : Default;
}

void TIniFile::WriteString(const std::string& Section, const std::string& Ident, const std::string& Value)
{
    TIniDocument doc = Document(true);
    doc.WriteValue(Section, Ident, Value);
    Save(doc);
}

void TIniFile::ReadSection(const std::string& Section, TStrings* Strings)
{
    FillStrings(Strings, Document(false).Keys(Section));
}

void TIniFile::ReadSections(TStrings* Strings) { FillStrings(Strings, Document(false).Sections()); }

void TIniFile::ReadSectionValues(const std::string& Section, TStrings* Strings)
{
    FillStrings(Strings, Document(false).SectionValues(Section));
}

void TIniFile::EraseSection(const std::string& Section)
{
    TIniDocument doc = Document(true);
    if (doc.EraseSection(Section)) Save(doc);
}

void TIniFile::DeleteKey(const std::string& Section, const std::string& Ident)
{
    TIniDocument doc = Document(true);
    if (doc.DeleteKey(Section, Ident)) Save(doc);
}

} // namespace host
