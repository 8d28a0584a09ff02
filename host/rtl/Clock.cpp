#include "host/rtl/Clock.h"

#include <chrono>
#include <cmath>
#include <ctime>

namespace host {

namespace {

constexpr double MSecsPerDay = 86400000.0;
// Days from 1899-12-30 to 1970-01-01.
constexpr double UnixDateDelta = 25569.0;

TClock*& Installed()
{
    static TSystemClock System;
    static TClock* Current = &System;
    return Current;
}

} // namespace

uint64_t TSystemClock::MonotonicMs() const
{
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

TDateTime TSystemClock::Now() const
{
    using namespace std::chrono;
    auto now = system_clock::now();
    auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count();
    std::time_t secs = static_cast<std::time_t>(ms / 1000);
    std::tm local{};
    localtime_r(&secs, &local);
    // Local time as if it were UTC gives the local day count directly.
    double localSecs = static_cast<double>(secs) + static_cast<double>(local.tm_gmtoff);
    return UnixDateDelta + (localSecs * 1000.0 + static_cast<double>(ms % 1000)) / MSecsPerDay;
}

TVirtualClock::TVirtualClock(TDateTime StartNow, uint64_t StartTicks)
    : FTicks(StartTicks), FBaseTicks(StartTicks), FBaseNow(StartNow)
{
}

TDateTime TVirtualClock::Now() const
{
    return FBaseNow + static_cast<double>(FTicks - FBaseTicks) / MSecsPerDay;
}

void TVirtualClock::SetNow(TDateTime Value)
{
    FBaseNow = Value;
    FBaseTicks = FTicks;
}

TClock& GetClock() { return *Installed(); }

TClockOverride::TClockOverride(TClock& Clock) : FPrevious(Installed()) { Installed() = &Clock; }

TClockOverride::~TClockOverride() { Installed() = FPrevious; }

uint32_t GetTickCount() { return static_cast<uint32_t>(GetClock().MonotonicMs()); }

uint64_t GetTickCount64() { return GetClock().MonotonicMs(); }

} // namespace host
