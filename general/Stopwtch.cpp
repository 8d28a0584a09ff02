#include "general/Stopwtch.h"

#include "general/KelLogFile.h"
#include "host/rtl/Clock.h"
#include "host/rtl/SysUtils.h"

namespace kel {

using namespace host;

namespace {
const char* const LogHeader = "Name, Laps, Total Time, Average Time, Last Lap";
}

HOST_PUBLISHED(TStopWatch)
{
    P.Property("LogFile", &TStopWatch::GetLogFile, &TStopWatch::SetLogFile);
    P.Property("LogWhen", &TStopWatch::GetLogWhen, &TStopWatch::SetLogWhen).Default(lwAfterStop);
    P.Property("LogFormat", &TStopWatch::GetLogFormat, &TStopWatch::SetLogFormat).Default(lfSeconds);
}

TStopWatch::TStopWatch(TComponent* AOwner) : TComponent(AOwner) {}

void TStopWatch::Start() { FStartTick = GetTickCount(); }

void TStopWatch::Stop()
{
    FStopTick = GetTickCount();
    FLastLap = FStopTick - FStartTick; // unsigned: a lap across the counter's wrap still measures right
    FTotal += FLastLap;
    ++FLaps;
    if (FLogWhen == lwAfterStop && !FLogFile.empty()) WriteRecord();
}

void TStopWatch::Reset()
{
    if (!FLogFile.empty()) {
        if (FLogWhen == lwBeforeReset) WriteRecord();
        WriteLine("Reset " + GetName());
    }
    FLaps = FStartTick = FStopTick = FTotal = FLastLap = 0;
}

uint32_t TStopWatch::GetAverage() const
{
    if (FLaps == 0) return 0;
    uint32_t Quotient = FTotal / FLaps;
    const uint64_t TwiceRest = uint64_t(FTotal % FLaps) * 2;
    if (TwiceRest > FLaps || (TwiceRest == FLaps && (Quotient & 1))) ++Quotient;
    return Quotient;
}

std::string TStopWatch::TimeText(uint32_t Milliseconds) const
{
    if (FLogFormat == lfTicks) return std::to_string(Milliseconds);
    const float Seconds = float(Milliseconds) * 0.001f; // single precision, as the figures always were
    return Format("%.3n", {double(Seconds)});
}

std::string TStopWatch::DialogTimeText(uint32_t Milliseconds) const
{
    if (FLogFormat == lfTicks) return std::to_string(Milliseconds) + " mS";
    const float Seconds = float(Milliseconds) * 0.001f;
    return Format("%.3n %s", {double(Seconds), " seconds"});
}

void TStopWatch::WriteRecord()
{
    WriteLine(GetName() + "," + std::to_string(FLaps) + "," + TimeText(FTotal) + "," + TimeText(GetAverage()) + "," +
              TimeText(FLastLap));
}

void TStopWatch::WriteLine(const std::string& Line) { kelAppendLogLine(FLogFile, LogHeader, Line); }

HOST_REGISTER_CLASSES(TStopWatch);

} // namespace kel
