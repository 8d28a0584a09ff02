#pragma once
// Drive letters on a file system that has none. Each letter may stand for a
// folder (by default C: is the root "/"), so that programs written with
// "D:\DATA\CUSTOMER.DB" paths find their files; paths with '/' need no drive.
#include <string>

namespace host {

// Maps Drive ('a'..'z' or 'A'..'Z') to the folder Root; an empty Root
// removes the mapping. Other characters are ignored.
void SetDriveRoot(char Drive, const std::string& Root);
// The folder Drive stands for (no trailing delimiter except for "/"); empty
// when the letter is not mapped.
std::string GetDriveRoot(char Drive);
// The mapped letters in order, upper case ("CD").
std::string GetDriveLetters();
// Back to C: = "/" and nothing else.
void ResetDriveRoots();

// A path as the file system sees it: a leading mapped "X:" is replaced by
// its root and '\' becomes '/'. A path on an unmapped drive keeps its
// letter, so it names nothing that exists rather than some other file.
std::string DrivePathToNative(const std::string& Path);
// The letter whose root holds the absolute NativePath, preferring the
// deepest root; 0 when none does.
char DriveOfPath(const std::string& NativePath);
// The drive form of an absolute native path: "D:\sub\file" for
// "/mnt/data/sub/file" when D: is "/mnt/data"; unchanged when no drive holds it.
std::string NativeToDrivePath(const std::string& NativePath);

} // namespace host
