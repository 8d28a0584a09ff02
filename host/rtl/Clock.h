#pragma once
// The host clock: wall time for Now and a monotonic millisecond count for
// ticks and timers. Everything reads the installed clock, so tests swap in a
// TVirtualClock whose time moves only when they advance it.
#include <cstdint>

namespace host {

using TDateTime = double;

class TClock {
public:
    virtual ~TClock() = default;
    // Milliseconds since an arbitrary start; never goes backwards.
    virtual uint64_t MonotonicMs() const = 0;
    // Local wall-clock date and time.
    virtual TDateTime Now() const = 0;
};

class TSystemClock : public TClock {
public:
    uint64_t MonotonicMs() const override;
    TDateTime Now() const override;
};

class TVirtualClock : public TClock {
public:
    // Defaults: 2000-01-01 00:00 and a tick count of zero.
    explicit TVirtualClock(TDateTime StartNow = 36526.0, uint64_t StartTicks = 0);
    uint64_t MonotonicMs() const override { return FTicks; }
    TDateTime Now() const override;

    void Advance(uint64_t Ms) { FTicks += Ms; }
    // Moves the wall clock only (as a user changing the system time would).
    void SetNow(TDateTime Value);

private:
    uint64_t FTicks;
    uint64_t FBaseTicks;
    TDateTime FBaseNow;
};

// The installed clock (the system clock unless a TClockOverride is alive).
TClock& GetClock();

// Installs a clock for its lifetime and restores the previous one after.
class TClockOverride {
public:
    explicit TClockOverride(TClock& Clock);
    ~TClockOverride();
    TClockOverride(const TClockOverride&) = delete;
    TClockOverride& operator=(const TClockOverride&) = delete;

private:
    TClock* FPrevious;
};

// Milliseconds as a 32-bit count that wraps about every 49.7 days.
uint32_t GetTickCount();
uint64_t GetTickCount64();

} // namespace host
