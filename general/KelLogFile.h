#pragma once
// Comma-separated log files shared by the exception handler and the stopwatch:
// one CR LF record per call, a header line only in a file that is new.
#include <string>

namespace kel {

// Appends Line and CR LF to FileName. A file that does not exist yet is
// created with Header as its first line; an existing file is never truncated,
// and any other failure to open or write it raises (EFOpenError, EWriteError).
void kelAppendLogLine(const std::string& FileName, const std::string& Header, const std::string& Line);

// Value as one comma-separated column: unchanged unless it holds a comma, a
// double quote, CR or LF, in which case it is quoted with inner quotes doubled.
std::string kelLogValue(const std::string& Value);

} // namespace kel
