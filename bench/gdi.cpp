// Rasterizer throughput, each figure next to a plain-memory reference that
// touches the same pixels, measured in the same run. The "ratio" counter is
// our time divided by the reference time.
#include "host/gdi/DcInternal.h"
#include "host/gdi/WinGdi.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <vector>

using namespace host;

namespace {

constexpr int kSize = 512;
constexpr uint32_t kFill = 0x000A141E;  // RGB(10, 20, 30) as a pixel

struct Target {
    HDC Dc;
    HBITMAP Bmp;
    uint32_t* Bits;
    Target()
    {
        Dc = CreateCompatibleDC(nullptr);
        Bmp = CreateCompatibleBitmap(nullptr, kSize, kSize);
        SelectObject(Dc, Bmp);
        Bits = gdi::FindDc(Dc)->Target->Bits;
    }
    ~Target()
    {
        DeleteDC(Dc);
        DeleteObject(Bmp);
    }
};

template <class F>
double Seconds(int64_t iterations, F f)
{
    auto t0 = std::chrono::steady_clock::now();
    for (int64_t i = 0; i < iterations; ++i)
        f(i);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void Report(benchmark::State& state, double ours, double reference, int64_t pixelsPerIteration)
{
    state.counters["ratio"] = reference > 0 ? ours / reference : 0;
    state.counters["Mpix/s"] = benchmark::Counter(double(pixelsPerIteration) * double(state.iterations()) / 1e6 / ours);
}

void BM_FillRect(benchmark::State& state)
{
    Target t;
    int side = int(state.range(0));
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    RECT r{3, 5, 3 + side, 5 + side};
    double ours = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        FillRect(t.Dc, &r, brush);
        ours += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        benchmark::DoNotOptimize(t.Bits[5 * kSize + 3]);
    }
    double ref = Seconds(state.iterations(), [&](int64_t) {
        for (int y = 5; y < 5 + side; ++y)
            std::fill(t.Bits + y * kSize + 3, t.Bits + y * kSize + 3 + side, kFill);
        benchmark::DoNotOptimize(t.Bits[5 * kSize + 3]);
    });
    Report(state, ours, ref, int64_t(side) * side);
    DeleteObject(brush);
}
BENCHMARK(BM_FillRect)->Arg(8)->Arg(64)->Arg(500);

// Random one-pixel lines against a plain DDA writing the same pixel counts.
void BM_Lines(benchmark::State& state)
{
    Target t;
    std::vector<POINT> ends(1024);
    std::srand(7);
    for (POINT& p : ends)
        p = POINT{std::rand() % kSize, std::rand() % kSize};
    int64_t pixels = 0;
    for (size_t i = 0; i + 1 < ends.size(); i += 2)
        pixels += std::max(std::abs(ends[i + 1].x - ends[i].x), std::abs(ends[i + 1].y - ends[i].y));
    double ours = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        for (size_t i = 0; i + 1 < ends.size(); i += 2) {
            MoveToEx(t.Dc, ends[i].x, ends[i].y, nullptr);
            LineTo(t.Dc, ends[i + 1].x, ends[i + 1].y);
        }
        ours += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    double ref = Seconds(state.iterations(), [&](int64_t) {
        for (size_t i = 0; i + 1 < ends.size(); i += 2) {
            POINT a = ends[i], b = ends[i + 1];
            int n = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
            for (int k = 0; k < n; ++k) {
                int x = a.x + (b.x - a.x) * k / n, y = a.y + (b.y - a.y) * k / n;
                t.Bits[y * kSize + x] = 0;
            }
        }
        benchmark::DoNotOptimize(t.Bits[0]);
    });
    Report(state, ours, ref, pixels);
}
BENCHMARK(BM_Lines);

// A filled 40-pointed star (no pen) against a memory fill of the same runs.
void BM_Polygon(benchmark::State& state)
{
    Target t;
    SelectObject(t.Dc, GetStockObject(NULL_PEN));
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    SelectObject(t.Dc, brush);
    std::vector<POINT> pts;
    for (int i = 0; i < 40; ++i) {
        double a = i * 6.283185307179586 / 40;
        int r = (i % 2) ? 250 : 180;
        pts.push_back(POINT{LONG(256 + r * std::cos(a)), LONG(256 + r * std::sin(a))});
    }
    PatBlt(t.Dc, 0, 0, kSize, kSize, WHITENESS);
    Polygon(t.Dc, pts.data(), int(pts.size()));
    // The reference fills the same runs of pixels the polygon covers.
    std::vector<gdi::Span> runs;
    int64_t pixels = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize;) {
            if (t.Bits[y * kSize + x] != kFill) {
                ++x;
                continue;
            }
            int x0 = x;
            while (x < kSize && t.Bits[y * kSize + x] == kFill)
                ++x;
            runs.push_back(gdi::Span{y, x0, x});
            pixels += x - x0;
        }
    double ours = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        Polygon(t.Dc, pts.data(), int(pts.size()));
        ours += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    }
    double ref = Seconds(state.iterations(), [&](int64_t) {
        for (const gdi::Span& r : runs)
            std::fill(t.Bits + r.Y * kSize + r.X1, t.Bits + r.Y * kSize + r.X2, kFill);
        benchmark::DoNotOptimize(t.Bits[0]);
    });
    Report(state, ours, ref, pixels);
    SelectObject(t.Dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
}
BENCHMARK(BM_Polygon);

}  // namespace

BENCHMARK_MAIN();
