#pragma once
// File names and the file system. Names may use '\' or '/' between folders
// and a drive prefix ending in ':'; calls that touch the file system read
// '\' as '/'.
#include <cstdint>
#include <memory>
#include <string>

namespace host {

using TDateTime = double;

constexpr char PathDelim = '/';
constexpr char DriveDelim = ':';

std::string ExtractFilePath(const std::string& FileName);   // with the trailing delimiter
std::string ExtractFileDir(const std::string& FileName);    // without it, except for a root
std::string ExtractFileName(const std::string& FileName);
std::string ExtractFileExt(const std::string& FileName);    // with the dot; "" if none
std::string ExtractFileDrive(const std::string& FileName);  // "C:" or "\\server\share"
std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);
// An absolute name with "." and ".." resolved and '/' between folders.
std::string ExpandFileName(const std::string& FileName);
std::string IncludeTrailingPathDelimiter(const std::string& S);
std::string ExcludeTrailingPathDelimiter(const std::string& S);
// The name as the file system sees it: '\' becomes '/'.
std::string NativeFileName(const std::string& FileName);

bool FileExists(const std::string& FileName);       // a file, not a folder
bool DirectoryExists(const std::string& Directory);
bool CreateDir(const std::string& Dir);
bool ForceDirectories(const std::string& Dir);
bool RemoveDir(const std::string& Dir);
bool DeleteFile(const std::string& FileName);
// Fails rather than replace an existing NewName.
bool RenameFile(const std::string& OldName, const std::string& NewName);
// Last modification time (local), or -1 when there is no such file.
TDateTime FileAge(const std::string& FileName);
TDateTime FileGetDate(int Handle);
bool FileSetDate(const std::string& FileName, TDateTime Age);
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& Dir);
// The folder for temporary files, with a trailing delimiter.
std::string GetTempDir();

constexpr int faReadOnly = 0x01;
constexpr int faHidden = 0x02;     // names starting with '.'
constexpr int faSysFile = 0x04;    // devices, sockets, pipes
constexpr int faVolumeID = 0x08;
constexpr int faDirectory = 0x10;
constexpr int faArchive = 0x20;    // every regular file
constexpr int faAnyFile = 0x3F;

struct TSearchRec {
    TDateTime Time = 0;
    int64_t Size = 0;
    int Attr = 0;
    std::string Name;
    int ExcludeAttr = 0;
    std::shared_ptr<void> FindHandle;
};

// Lists the folder of Path whose names match its last part ('*' and '?',
// case-insensitive; "*.*" matches names without a dot too), in name order.
// Normal files always match; hidden, system and folder entries only when Attr
// asks for them. Returns 0 on success, else an error code (2: nothing found,
// 3: no such folder, 18: no more files).
int FindFirst(const std::string& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

// Case-insensitive match with '*', '?' and sets such as [a-c] or [!x].
// EMaskException for a malformed set.
bool MatchesMask(const std::string& FileName, const std::string& Mask);

} // namespace host
