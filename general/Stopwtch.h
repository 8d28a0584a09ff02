#pragma once
// A stopwatch component for timing code in a running program: Start/Stop
// brackets laps, Show opens a dialog with the totals, and a comma-separated
// log file can record the figures.
#include <cstdint>
#include <string>

#include "host/vcl/Classes.h"
#include "host/vcl/TypInfo.h"

namespace kel {

HOST_ENUM(TLogWhen, lwAfterStop, lwBeforeReset)
HOST_ENUM(TLogFormat, lfSeconds, lfTicks)

class TStopWatch : public host::TComponent {
    HOST_CLASS(TStopWatch, host::TComponent)
public:
    explicit TStopWatch(host::TComponent* AOwner);

    void Start();
    void Stop();
    void Reset();
    // Total divided by the lap count, rounded to the nearest millisecond
    // (halves to even); 0 before the first lap.
    uint32_t GetAverage() const;
    // Shows the figures in a modal dialog captioned with the component's name.
    void Show();

    uint32_t GetLaps() const { return FLaps; }
    uint32_t GetTotal() const { return FTotal; }
    uint32_t GetLastLap() const { return FLastLap; }

    const std::string& GetLogFile() const { return FLogFile; }
    void SetLogFile(const std::string& Value) { FLogFile = Value; }
    TLogWhen GetLogWhen() const { return FLogWhen; }
    void SetLogWhen(TLogWhen Value) { FLogWhen = Value; }
    TLogFormat GetLogFormat() const { return FLogFormat; }
    void SetLogFormat(TLogFormat Value) { FLogFormat = Value; }

    // A time as the log writes it: "0.167" (seconds) or "167" (ticks).
    std::string TimeText(uint32_t Milliseconds) const;
    // A time as the dialog shows it: "0.167  seconds" or "167 mS".
    std::string DialogTimeText(uint32_t Milliseconds) const;

private:
    void WriteRecord();
    void WriteLine(const std::string& Line);

    std::string FLogFile;
    TLogWhen FLogWhen = lwAfterStop;
    TLogFormat FLogFormat = lfSeconds;
    uint32_t FLaps = 0;
    uint32_t FStartTick = 0;
    uint32_t FStopTick = 0;
    uint32_t FTotal = 0;
    uint32_t FLastLap = 0;
};

} // namespace kel
