// Sorting and searching a string list, against std::sort and std::lower_bound
// of a plain vector with the same comparison.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "host/rtl/Strings.h"

namespace {

std::vector<std::string> Words(size_t Count)
{
    std::mt19937 rng(42);
    std::vector<std::string> out;
    for (size_t i = 0; i < Count; ++i) {
        std::string s;
        const int n = 5 + static_cast<int>(rng() % 15);
        for (int j = 0; j < n; ++j) s += static_cast<char>('A' + rng() % 58);
        out.push_back(s);
    }
    return out;
}

void BM_StringListSort(benchmark::State& State)
{
    const auto words = Words(static_cast<size_t>(State.range(0)));
    for (auto _ : State) {
        host::TStringList list;
        for (const auto& w : words) list.Add(w);
        list.SetSorted(true);
        benchmark::DoNotOptimize(list.GetCount());
    }
}

void BM_ReferenceVectorSort(benchmark::State& State)
{
    const auto words = Words(static_cast<size_t>(State.range(0)));
    for (auto _ : State) {
        std::vector<std::string> v(words);
        std::sort(v.begin(), v.end(),
                  [](const std::string& a, const std::string& b) { return host::AnsiCompareText(a, b) < 0; });
        benchmark::DoNotOptimize(v.data());
    }
}

void BM_StringListFind(benchmark::State& State)
{
    const auto words = Words(static_cast<size_t>(State.range(0)));
    host::TStringList list;
    for (const auto& w : words) list.Add(w);
    list.SetSorted(true);
    size_t i = 0;
    for (auto _ : State) {
        int index;
        benchmark::DoNotOptimize(list.Find(words[i++ % words.size()], index));
    }
}

void BM_ReferenceLowerBound(benchmark::State& State)
{
    auto words = Words(static_cast<size_t>(State.range(0)));
    auto less = [](const std::string& a, const std::string& b) { return host::AnsiCompareText(a, b) < 0; };
    std::vector<std::string> sorted(words);
    std::sort(sorted.begin(), sorted.end(), less);
    size_t i = 0;
    for (auto _ : State)
        benchmark::DoNotOptimize(std::lower_bound(sorted.begin(), sorted.end(), words[i++ % words.size()], less));
}

} // namespace

BENCHMARK(BM_StringListSort)->Arg(10000);
BENCHMARK(BM_ReferenceVectorSort)->Arg(10000);
BENCHMARK(BM_StringListFind)->Arg(10000);
BENCHMARK(BM_ReferenceLowerBound)->Arg(10000);
BENCHMARK_MAIN();
