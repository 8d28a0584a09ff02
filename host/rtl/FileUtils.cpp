#include "host/rtl/SysUtils.h"

#include "host/rtl/Drives.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace host {

namespace {

bool IsDelim(char C) { return C == '/' || C == '\\'; }

const char* const PathDelims = "/\\:";

// Days from 1899-12-30 to 1970-01-01.
constexpr double UnixDateDelta = 25569.0;

TDateTime LocalDateTime(const struct timespec& T)
{
    std::tm local{};
    time_t secs = T.tv_sec;
    localtime_r(&secs, &local);
    double s = static_cast<double>(secs) + static_cast<double>(local.tm_gmtoff);
    return UnixDateDelta + (s + static_cast<double>(T.tv_nsec / 1000000) / 1000.0) / SecsPerDay;
}

} // namespace

// Besides the delimiters, a leading mapped drive ("D:") becomes its folder.
std::string NativeFileName(const std::string& FileName) { return DrivePathToNative(FileName); }

std::string ExtractFilePath(const std::string& FileName)
{
    return FileName.substr(0, static_cast<size_t>(LastDelimiter(PathDelims, FileName)));
}

std::string ExtractFileDir(const std::string& FileName)
{
    int i = LastDelimiter(PathDelims, FileName);
    // Keep the delimiter of a root ("/", "C:\") so the result still names it.
    if (i > 1 && IsDelim(FileName[static_cast<size_t>(i - 1)]) && !IsDelim(FileName[static_cast<size_t>(i - 2)])
        && FileName[static_cast<size_t>(i - 2)] != ':')
        --i;
    return FileName.substr(0, static_cast<size_t>(i));
}

std::string ExtractFileName(const std::string& FileName)
{
    return FileName.substr(static_cast<size_t>(LastDelimiter(PathDelims, FileName)));
}

std::string ExtractFileExt(const std::string& FileName)
{
    int i = LastDelimiter(".\\/:", FileName);
    if (i > 0 && FileName[static_cast<size_t>(i - 1)] == '.') return FileName.substr(static_cast<size_t>(i - 1));
    return "";
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension)
{
    int i = LastDelimiter(".\\/:", FileName);
    if (i == 0 || FileName[static_cast<size_t>(i - 1)] != '.') i = static_cast<int>(FileName.size()) + 1;
    return FileName.substr(0, static_cast<size_t>(i - 1)) + Extension;
}

std::string ExtractFileDrive(const std::string& FileName)
{
    if (FileName.size() >= 2 && FileName[1] == ':') return FileName.substr(0, 2);
    if (FileName.size() >= 2 && IsDelim(FileName[0]) && IsDelim(FileName[1])) {
        // \\server\share: up to the delimiter after the share name.
        size_t i = 2;
        int delims = 0;
        for (; i < FileName.size(); ++i) {
            if (IsDelim(FileName[i]) && ++delims == 2) break;
        }
        return FileName.substr(0, i);
    }
    return "";
}

std::string IncludeTrailingPathDelimiter(const std::string& S)
{
    if (!S.empty() && IsDelim(S.back())) return S;
    return S + PathDelim;
}

std::string ExcludeTrailingPathDelimiter(const std::string& S)
{
    if (!S.empty() && IsDelim(S.back())) return S.substr(0, S.size() - 1);
    return S;
}

std::string ExpandFileName(const std::string& FileName)
{
    // A name operation: the drive stays in the result, only the delimiters change.
    std::string name = FileName;
    std::replace(name.begin(), name.end(), '\\', '/');
    std::string prefix;
    if (name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]))) {
        prefix = name.substr(0, 2);
        name.erase(0, 2);
        name.insert(name.begin(), '/');
    } else if (name.empty() || name[0] != '/') {
        name = GetCurrentDir() + "/" + name;
    }
    bool trailing = !FileName.empty() && IsDelim(FileName.back());
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= name.size()) {
        size_t j = name.find('/', i);
        if (j == std::string::npos) j = name.size();
        std::string part = name.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string r = prefix;
    for (const std::string& p : parts) r += "/" + p;
    if (parts.empty() || trailing) r += "/";
    return r;
}

bool FileExists(const std::string& FileName)
{
    struct stat st;
    return !FileName.empty() && stat(NativeFileName(FileName).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& Directory)
{
    struct stat st;
    return !Directory.empty() && stat(NativeFileName(Directory).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool CreateDir(const std::string& Dir) { return !Dir.empty() && mkdir(NativeFileName(Dir).c_str(), 0777) == 0; }

bool ForceDirectories(const std::string& Dir)
{
    std::string d = ExcludeTrailingPathDelimiter(NativeFileName(Dir));
    if (d.empty()) return DirectoryExists(Dir);
    if (DirectoryExists(d)) return true;
    std::string parent = ExtractFilePath(d);
    if (!parent.empty() && !ForceDirectories(parent)) return false;
    return CreateDir(d) || DirectoryExists(d);
}

bool RemoveDir(const std::string& Dir) { return rmdir(NativeFileName(Dir).c_str()) == 0; }

bool DeleteFile(const std::string& FileName)
{
    // unlink would also remove a folder's link on some systems; only files go.
    return FileExists(FileName) && unlink(NativeFileName(FileName).c_str()) == 0;
}

bool RenameFile(const std::string& OldName, const std::string& NewName)
{
    std::string from = NativeFileName(OldName), to = NativeFileName(NewName);
    struct stat st;
    // rename() would silently replace the target and lose its contents.
    if (lstat(to.c_str(), &st) == 0 && from != to) return false;
    return rename(from.c_str(), to.c_str()) == 0;
}

TDateTime FileAge(const std::string& FileName)
{
    struct stat st;
    if (stat(NativeFileName(FileName).c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return -1;
    return LocalDateTime(st.st_mtim);
}

TDateTime FileGetDate(int Handle)
{
    struct stat st;
    if (fstat(Handle, &st) != 0) return -1;
    return LocalDateTime(st.st_mtim);
}

bool FileSetDate(const std::string& FileName, TDateTime Age)
{
    int y, mo, d, h, mi, s, ms;
    try {
        DecodeDateTime(Age, y, mo, d, h, mi, s, ms);
    } catch (const Exception&) {
        return false;
    }
    std::tm local{};
    local.tm_year = y - 1900;
    local.tm_mon = mo - 1;
    local.tm_mday = d;
    local.tm_hour = h;
    local.tm_min = mi;
    local.tm_sec = s;
    local.tm_isdst = -1;
    time_t t = mktime(&local);
    if (t == static_cast<time_t>(-1)) return false;
    struct timespec times[2];
    times[0].tv_sec = times[1].tv_sec = t;
    times[0].tv_nsec = times[1].tv_nsec = static_cast<long>(ms) * 1000000;
    return utimensat(AT_FDCWD, NativeFileName(FileName).c_str(), times, 0) == 0;
}

std::string GetCurrentDir()
{
    std::vector<char> buf(4096);
    while (getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE) return "";
        buf.resize(buf.size() * 2);
    }
    return buf.data();
}

bool SetCurrentDir(const std::string& Dir) { return chdir(NativeFileName(Dir).c_str()) == 0; }

std::string GetTempDir()
{
    const char* t = std::getenv("TMPDIR");
    std::string dir = t && *t ? t : "/tmp";
    return IncludeTrailingPathDelimiter(dir);
}

} // namespace host
