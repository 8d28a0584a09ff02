#include "general/KelLogFile.h"

#include "host/rtl/FileUtils.h"
#include "host/rtl/Streams.h"

namespace kel {

using namespace host;

namespace {

void WriteText(TStream& Stream, const std::string& Text)
{
    if (!Text.empty()) Stream.WriteBuffer(Text.data(), int64_t(Text.size()));
}

} // namespace

void kelAppendLogLine(const std::string& FileName, const std::string& Header, const std::string& Line)
{
    if (!FileExists(FileName)) {
        TFileStream Stream(FileName, fmCreate);
        // Header and record go out in one write so a reader never sees half a file.
        WriteText(Stream, Header + "\r\n" + Line + "\r\n");
        return;
    }
    TFileStream Stream(FileName, fmOpenWrite | fmShareDenyWrite);
    Stream.Seek(0, soEnd);
    WriteText(Stream, Line + "\r\n");
}

std::string kelLogValue(const std::string& Value)
{
    if (Value.find_first_of(",\"\r\n") == std::string::npos) return Value;
    std::string Result = "\"";
    for (char C : Value) {
        if (C == '"') Result += '"';
        Result += C;
    }
    return Result + "\"";
}

} // namespace kel
