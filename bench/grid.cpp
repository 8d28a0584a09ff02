// Grid painting and keyboard scrolling. A full screen of cells costs the same
// whatever the row count: the 100-row grid is the reference for the
// million-row one, measured in the same run, side by side.
#include <benchmark/benchmark.h>

#include <string>

#include "host/vcl/Grids.h"
#include "host/win/Input.h"
#include "host/win/Screen.h"

using namespace host;

namespace {

constexpr int kCols = 16;

// A plain host window on a fresh screen with one string grid filling it.
class TScene {
public:
    explicit TScene(int Rows)
    {
        ResetWindowSystem(SIZE{1280, 1024});
        WNDCLASS wc;
        wc.lpfnWndProc = &DefWindowProc;
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = "GridBenchHost";
        RegisterClass(&wc);
        FHost = CreateWindowEx(0, "GridBenchHost", "Host", WS_POPUP | WS_VISIBLE, 0, 0, 1200, 900, nullptr, nullptr,
                               HInstance(), nullptr);
        Grid = new TStringGrid(nullptr);
        Grid->SetBounds(0, 0, 1200, 900);
        Grid->SetColCount(kCols);
        Grid->SetRowCount(Rows);
        Grid->SetParentWindow(FHost);
        Fill(0);
        Fill(Rows / 2);
        Fill(Rows - 60);
        SetFocus(Grid->GetHandle());
        Grid->Update();
    }
    ~TScene()
    {
        Grid->Free();
        ResetWindowSystem();
    }
    TScene(const TScene&) = delete;
    TScene& operator=(const TScene&) = delete;

    // Text in the cells of about a screen of rows from First on; every
    // screen gets the same texts, so that only the row count differs.
    void Fill(int First)
    {
        for (int r = std::max(0, First); r < std::min(Grid->GetRowCount(), First + 60); ++r)
            for (int c = 0; c < kCols; ++c)
                Grid->SetCells(c, r, "Item " + std::to_string(1000 + (r - First) * kCols + c));
    }

    TStringGrid* Grid;

private:
    HWND FHost;
};

void BM_PaintFullScreen(benchmark::State& State)
{
    TScene scene(int(State.range(0)));
    scene.Grid->SetTopRow(int(State.range(1)));
    for (auto _ : State) scene.Grid->Repaint();
    State.counters["rows"] = double(scene.Grid->GetRowCount());
    State.counters["cells_shown"] = double((scene.Grid->GetVisibleColCount() + 2) * (scene.Grid->GetVisibleRowCount() + 2));
}
BENCHMARK(BM_PaintFullScreen)
    ->ArgNames({"rows", "top"})
    ->Args({100, 1})
    ->Args({1000000, 1})
    ->Args({1000000, 500000})
    ->Unit(benchmark::kMicrosecond);

// Ctrl+End from the first row: one key press, scroll and repaint.
void BM_CtrlEnd(benchmark::State& State)
{
    TScene scene(int(State.range(0)));
    for (auto _ : State) {
        Input::KeyPress(VK_HOME, Input::Ctrl);
        Input::KeyPress(VK_END, Input::Ctrl);
    }
    if (scene.Grid->GetRow() != scene.Grid->GetRowCount() - 1) State.SkipWithError("did not reach the last row");
}
BENCHMARK(BM_CtrlEnd)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Page Down from the first row to the last, each press repainting the grid.
void BM_PageDownToEnd(benchmark::State& State)
{
    TScene scene(int(State.range(0)));
    int presses = 0;
    for (auto _ : State) {
        Input::KeyPress(VK_HOME, Input::Ctrl);
        presses = 0;
        while (scene.Grid->GetRow() < scene.Grid->GetRowCount() - 1) {
            Input::KeyPress(VK_NEXT);
            ++presses;
        }
    }
    State.counters["presses"] = presses;
    State.counters["per_press_us"] =
        benchmark::Counter(double(presses), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PageDownToEnd)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
