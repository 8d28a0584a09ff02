// Formatting, parsing and comparing text in the runtime, against the C
// library doing the nearest equivalent work in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <strings.h>

#include "host/rtl/SysUtils.h"

namespace {

void BM_Format(benchmark::State& State)
{
    for (auto _ : State) benchmark::DoNotOptimize(host::Format("%-8s|%5d|%.2f|%x", {"name", 12345, 3.14159, 255}));
}

void BM_ReferenceSnprintf(benchmark::State& State)
{
    char buf[64];
    for (auto _ : State) {
        std::snprintf(buf, sizeof buf, "%-8s|%5d|%.2f|%x", "name", 12345, 3.14159, 255);
        benchmark::DoNotOptimize(std::string(buf));
    }
}

void BM_FormatFloat(benchmark::State& State)
{
    double v = 1234567.891;
    for (auto _ : State) benchmark::DoNotOptimize(host::FormatFloat("#,##0.00", v));
}

void BM_ReferenceSnprintfFloat(benchmark::State& State)
{
    char buf[64];
    double v = 1234567.891;
    for (auto _ : State) {
        std::snprintf(buf, sizeof buf, "%.2f", v);
        benchmark::DoNotOptimize(std::string(buf));
    }
}

void BM_StrToFloat(benchmark::State& State)
{
    for (auto _ : State) benchmark::DoNotOptimize(host::StrToFloat("  -12345.6789e-3 "));
}

void BM_ReferenceStrtod(benchmark::State& State)
{
    std::string s = "  -12345.6789e-3 ";
    for (auto _ : State) benchmark::DoNotOptimize(std::strtod(s.c_str(), nullptr));
}

void BM_AnsiCompareText(benchmark::State& State)
{
    std::string a = "Customer Number 000123 Paris", b = "customer number 000124 paris";
    for (auto _ : State) benchmark::DoNotOptimize(host::AnsiCompareText(a, b));
}

void BM_ReferenceStrcasecmp(benchmark::State& State)
{
    std::string a = "Customer Number 000123 Paris", b = "customer number 000124 paris";
    for (auto _ : State) benchmark::DoNotOptimize(strcasecmp(a.c_str(), b.c_str()));
}

void BM_FormatDateTime(benchmark::State& State)
{
    double v = host::EncodeDate(2007, 3, 4) + host::EncodeTime(13, 5, 9, 7);
    for (auto _ : State) benchmark::DoNotOptimize(host::FormatDateTime("yyyy-mm-dd hh:nn:ss", v));
}

void BM_ReferenceStrftime(benchmark::State& State)
{
    std::tm t{};
    t.tm_year = 107;
    t.tm_mon = 2;
    t.tm_mday = 4;
    t.tm_hour = 13;
    t.tm_min = 5;
    t.tm_sec = 9;
    char buf[64];
    for (auto _ : State) {
        std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &t);
        benchmark::DoNotOptimize(std::string(buf));
    }
}

} // namespace

BENCHMARK(BM_Format);
BENCHMARK(BM_ReferenceSnprintf);
BENCHMARK(BM_FormatFloat);
BENCHMARK(BM_ReferenceSnprintfFloat);
BENCHMARK(BM_StrToFloat);
BENCHMARK(BM_ReferenceStrtod);
BENCHMARK(BM_AnsiCompareText);
BENCHMARK(BM_ReferenceStrcasecmp);
BENCHMARK(BM_FormatDateTime);
BENCHMARK(BM_ReferenceStrftime);
BENCHMARK_MAIN();
