#pragma once
// Profile (INI) files: sections of Name=Value lines, read and written the way
// the Windows profile calls do, so files move between the two unchanged.
#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

#include "host/rtl/Object.h"
#include "host/rtl/SysUtils.h"

namespace host {

class TStrings;

HOST_DECLARE_EXCEPTION(EIniFileException, Exception);

// Where a profile file named without a folder lives: $HOME/.kel by default, or
// the current directory when HOME is not set. The folder is created on the
// first write into it.
std::string GetWindowsDirectory();
void SetWindowsDirectory(const std::string& Dir);

// Files larger than this are refused rather than read into memory.
constexpr int64_t MaxIniFileSize = 16 * 1024 * 1024;

// The lines of a profile file. Untouched lines (comments, blank lines, lines
// that are neither sections nor keys) survive every edit byte for byte, and a
// document that is not edited writes back exactly as it was read. Names
// compare without regard to ASCII case; only the first section of a name and
// the first key of a name in it count.
class TIniDocument {
public:
    TIniDocument() = default;
    explicit TIniDocument(std::string_view Text) { Parse(Text); }

    void Parse(std::string_view Text);
    std::string Serialize() const;

    // The trimmed value, with one pair of enclosing quotes removed.
    bool ReadValue(std::string_view Section, std::string_view Key, std::string& Value) const;
    // Distinct names in file order.
    std::vector<std::string> Sections() const;
    std::vector<std::string> Keys(std::string_view Section) const;
    // "Name=Value" for each distinct key, values as ReadValue gives them.
    std::vector<std::string> SectionValues(std::string_view Section) const;

    // Replaces the key's line or adds one at the end of its section, adding the
    // section at the end of the file when needed. Raises EIniFileException for
    // names or values that the file format cannot hold.
    void WriteValue(std::string_view Section, std::string_view Key, std::string_view Value);
    // Each returns whether the document changed.
    bool DeleteKey(std::string_view Section, std::string_view Key);
    bool EraseSection(std::string_view Section);

private:
    enum class TLineKind { Other, Section, Key };
    struct TLine {
        std::string Text;
        std::string Eol;
        TLineKind Kind = TLineKind::Other;
        std::string Name;
    };

    static TLine ClassifyLine(std::string Text, std::string Eol);
    // Index of the first header of Section, or -1.
    int FindSection(std::string_view Section) const;
    // One past the last line of the section whose header is at Header.
    int SectionEnd(int Header) const;
    int FindKey(int Header, std::string_view Key) const;
    // The distinct keys of the section as line indexes; the first of a name wins.
    std::vector<int> KeyLines(std::string_view Section) const;
    std::string ValueOf(int Line) const;
    void InsertLine(int Index, std::string Text);

    std::vector<TLine> FLines;
    std::string FLineBreak = "\r\n";
};

class TCustomIniFile : public TObject {
    HOST_CLASS(TCustomIniFile, TObject)
public:
    explicit TCustomIniFile(std::string FileName) : FFileName(std::move(FileName)) {}

    // True when the section holds at least one key.
    bool SectionExists(const std::string& Section);
    virtual std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) = 0;
    virtual void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) = 0;
    // Decimal, or hexadecimal after "$" or "0x"; anything else gives Default.
    virtual int ReadInteger(const std::string& Section, const std::string& Ident, int Default);
    virtual void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
    // Any integer but 0 is true; text that is no integer gives Default.
    virtual bool ReadBool(const std::string& Section, const std::string& Ident, bool Default);
    virtual void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
    virtual double ReadFloat(const std::string& Section, const std::string& Ident, double Default);
    virtual void WriteFloat(const std::string& Section, const std::string& Ident, double Value);
    // In the locale's short date and long time formats; text that does not
    // convert gives Default.
    virtual TDateTime ReadDate(const std::string& Section, const std::string& Ident, TDateTime Default);
    virtual TDateTime ReadDateTime(const std::string& Section, const std::string& Ident, TDateTime Default);
    virtual TDateTime ReadTime(const std::string& Section, const std::string& Ident, TDateTime Default);
    virtual void WriteDate(const std::string& Section, const std::string& Ident, TDateTime Value);
    virtual void WriteDateTime(const std::string& Section, const std::string& Ident, TDateTime Value);
    virtual void WriteTime(const std::string& Section, const std::string& Ident, TDateTime Value);
    // Replace the contents of Strings.
    virtual void ReadSection(const std::string& Section, TStrings* Strings) = 0;
    virtual void ReadSections(TStrings* Strings) = 0;
    virtual void ReadSectionValues(const std::string& Section, TStrings* Strings) = 0;
    virtual void EraseSection(const std::string& Section) = 0;
    virtual void DeleteKey(const std::string& Section, const std::string& Ident) = 0;
    virtual void UpdateFile() = 0;
    bool ValueExists(const std::string& Section, const std::string& Ident);

    const std::string& GetFileName() const { return FFileName; }

private:
    std::string FFileName;
};

// A profile file on disk. Every read sees the file as it is now (a parsed copy
// is kept only while the file is unchanged); every write goes to disk at once
// and replaces the file atomically, so a crash or a full disk leaves either
// the old or the new file, never part of one.
class TIniFile : public TCustomIniFile {
    HOST_CLASS(TIniFile, TCustomIniFile)
public:
    explicit TIniFile(const std::string& FileName);

    std::string ReadString(const std::string& Section, const std::string& Ident, const std::string& Default) override;
    void WriteString(const std::string& Section, const std::string& Ident, const std::string& Value) override;
    void ReadSection(const std::string& Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void ReadSectionValues(const std::string& Section, TStrings* Strings) override;
    void EraseSection(const std::string& Section) override;
    void DeleteKey(const std::string& Section, const std::string& Ident) override;
    // Writes are never held back, so there is nothing to flush.
    void UpdateFile() override {}

    // The path the file name resolves to.
    std::string GetPath() const;

private:
    struct TFileStamp {
        dev_t Dev = 0;
        ino_t Ino = 0;
        int64_t Size = -1;
        int64_t MTimeNs = 0;
        bool operator==(const TFileStamp&) const = default;
    };

    // The document as the file holds it now; ForWrite raises when the file
    // exists but cannot be read, as writing would then lose its contents.
    const TIniDocument& Document(bool ForWrite);
    void Save(const TIniDocument& Doc);
    [[noreturn]] void WriteError(const std::string& Reason) const;

    TIniDocument FCache;
    TFileStamp FCacheStamp;
    bool FCacheValid = false;
};

} // namespace host
