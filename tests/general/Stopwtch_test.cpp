#include "general/Stopwtch.h"

#include "host/rtl/Clock.h"
#include "host/rtl/FileUtils.h"
#include "host/rtl/Streams.h"
#include "host/rtl/SysLocale.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace host;
using namespace kel;

namespace {

std::string ReadFile(const std::string& Name)
{
    std::ifstream In(Name, std::ios::binary);
    std::stringstream S;
    S << In.rdbuf();
    return S.str();
}

class StopWatchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Dir = std::filesystem::temp_directory_path() /
              ("kel_stopwatch_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Dir);
        Log = (Dir / "times.csv").string();
        Watch.SetName("SW1");
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }
    void Lap(uint32_t Ms)
    {
        Watch.Start();
        Clock.Advance(Ms);
        Watch.Stop();
    }

    TFormatSettingsGuard Settings;
    TVirtualClock Clock{36526.0, 1000};
    TClockOverride Override{Clock};
    TStopWatch Watch{nullptr};
    std::filesystem::path Dir;
    std::string Log;
};

TEST_F(StopWatchTest, LapsTotalsAndAverageRoundingHalfToEven)
{
    struct Case {
        std::vector<uint32_t> Laps;
        uint32_t Total, Average;
    };
    const Case Cases[] = {
        {{}, 0, 0}, {{1, 2}, 3, 2}, {{1, 2, 2}, 5, 2}, {{2, 3}, 5, 2}, {{3, 4}, 7, 4}, {{100, 250, 150}, 500, 167},
    };
    for (const Case& C : Cases) {
        Watch.Reset();
        for (uint32_t Ms : C.Laps) Lap(Ms);
        EXPECT_EQ(Watch.GetLaps(), C.Laps.size());
        EXPECT_EQ(Watch.GetTotal(), C.Total);
        EXPECT_EQ(Watch.GetAverage(), C.Average) << "total " << C.Total;
    }
}

TEST_F(StopWatchTest, LapAcrossTheTickCounterWrapMeasuresRight)
{
    TVirtualClock NearWrap(36526.0, 0xFFFFFFFFull - 49);
    TClockOverride Use(NearWrap);
    Watch.Start();
    NearWrap.Advance(100);
    Watch.Stop();
    EXPECT_EQ(Watch.GetLastLap(), 100u);
}

TEST_F(StopWatchTest, AfterStopWritesARecordPerStopAndResetOnlyItsLine)
{
    Watch.SetLogFile(Log);
    Watch.SetLogFormat(lfTicks);
    Lap(100);
    Lap(250);
    Lap(150);
    Watch.Reset();
    EXPECT_EQ(ReadFile(Log), "Name, Laps, Total Time, Average Time, Last Lap\r\n"
                             "SW1,1,100,100,100\r\n"
                             "SW1,2,350,175,250\r\n"
                             "SW1,3,500,167,150\r\n"
                             "Reset SW1\r\n");
    EXPECT_EQ(Watch.GetLaps(), 0u);
    EXPECT_EQ(Watch.GetTotal(), 0u);
}

TEST_F(StopWatchTest, BeforeResetWritesOneRecordThenTheResetLineInSeconds)
{
    Watch.SetLogFile(Log);
    Watch.SetLogWhen(lwBeforeReset);
    Lap(100);
    Lap(250);
    Lap(150);
    EXPECT_FALSE(FileExists(Log)) << "Stop must not write before Reset";
    Watch.Reset();
    EXPECT_EQ(ReadFile(Log), "Name, Laps, Total Time, Average Time, Last Lap\r\n"
                             "SW1,3,0.500,0.167,0.150\r\n"
                             "Reset SW1\r\n");
}

TEST_F(StopWatchTest, ExistingLogIsOnlyAppendedTo)
{
    {
        std::ofstream Out(Log, std::ios::binary);
        Out << "kept\r\n";
    }
    Watch.SetLogFile(Log);
    Watch.SetLogFormat(lfTicks);
    Lap(5);
    EXPECT_EQ(ReadFile(Log), "kept\r\nSW1,1,5,5,5\r\n");
}

TEST_F(StopWatchTest, ResetWithoutLogFileWritesNothingAndClears)
{
    Lap(10);
    Watch.Reset();
    EXPECT_EQ(Watch.GetLaps(), 0u);
    EXPECT_EQ(Watch.GetLastLap(), 0u);
    EXPECT_TRUE(std::filesystem::is_empty(Dir));
}

TEST_F(StopWatchTest, UnopenableLogRaisesAndCreatesNothing)
{
    Watch.SetLogFile((Dir / "missing-folder" / "log.csv").string());
    EXPECT_THROW(Lap(1), EStreamError);
}

TEST_F(StopWatchTest, TimeTexts)
{
    struct Case {
        TLogFormat Format;
        uint32_t Ms;
        const char *Log, *Dialog;
    };
    const Case Cases[] = {
        {lfTicks, 167, "167", "167 mS"},
        {lfSeconds, 167, "0.167", "0.167  seconds"},
        {lfSeconds, 0, "0.000", "0.000  seconds"},
        {lfSeconds, 1234567, "1,234.567", "1,234.567  seconds"},
    };
    for (const Case& C : Cases) {
        Watch.SetLogFormat(C.Format);
        EXPECT_EQ(Watch.TimeText(C.Ms), C.Log);
        EXPECT_EQ(Watch.DialogTimeText(C.Ms), C.Dialog);
    }
}

} // namespace
