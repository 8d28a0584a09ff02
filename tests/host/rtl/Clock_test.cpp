#include "host/rtl/SysUtils.h"

#include <cmath>
#include <ctime>
#include <gtest/gtest.h>

using namespace host;

TEST(Clock, VirtualClockMovesOnlyWhenAdvanced)
{
    TVirtualClock clock(EncodeDate(2020, 5, 1) + EncodeTime(23, 59, 0, 0), 1000);
    TClockOverride use(clock);
    EXPECT_EQ(&GetClock(), &clock);
    EXPECT_EQ(GetTickCount(), 1000u);
    TDateTime before = Now();
    EXPECT_EQ(Now(), before);
    clock.Advance(90 * 1000);
    EXPECT_EQ(GetTickCount(), 91000u);
    EXPECT_EQ(DateToStr(Date()), "5/2/2020");
    EXPECT_NEAR(Time(), EncodeTime(0, 0, 30, 0), 1e-9);
    clock.SetNow(EncodeDate(1999, 1, 1));
    EXPECT_EQ(GetTickCount(), 91000u);
    EXPECT_EQ(Now(), EncodeDate(1999, 1, 1));
}

TEST(Clock, TickCountWrapsAt32Bits)
{
    TVirtualClock clock(0, 0xFFFFFFF0ull);
    TClockOverride use(clock);
    uint32_t start = GetTickCount();
    clock.Advance(0x20);
    EXPECT_EQ(GetTickCount(), 0x10u);
    EXPECT_EQ(GetTickCount64(), 0x100000010ull);
    // Elapsed time by unsigned subtraction survives the wrap.
    EXPECT_EQ(GetTickCount() - start, 0x20u);
}

TEST(Clock, OverridesNestAndRestore)
{
    TClock* system = &GetClock();
    {
        TVirtualClock a(1), b(2);
        TClockOverride useA(a);
        {
            TClockOverride useB(b);
            EXPECT_EQ(Now(), 2);
        }
        EXPECT_EQ(Now(), 1);
    }
    EXPECT_EQ(&GetClock(), system);
}

TEST(Clock, SystemClockTracksRealTime)
{
    TSystemClock clock;
    uint64_t a = clock.MonotonicMs();
    uint64_t b = clock.MonotonicMs();
    EXPECT_GE(b, a);
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    TDateTime expected = EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday)
                         + EncodeTime(local.tm_hour, local.tm_min, local.tm_sec, 0);
    EXPECT_NEAR(clock.Now(), expected, 5.0 / SecsPerDay);
}
