// Text drawing with a warm glyph cache against the cost of raw FreeType
// rendering of the same string at the same size.
#include "host/gdi/FontFile.h"
#include "host/gdi/WinGdi.h"
#include "host/gdi/WinText.h"

#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

using namespace host;

namespace {

const char kText[] = "The quick brown fox jumps over the lazy dog 0123456789";
constexpr int kEm = 16;

struct TCanvas {
    HDC Dc = nullptr;
    HBITMAP Bmp = nullptr;
    HFONT Font = nullptr;
    TCanvas()
    {
        Dc = CreateCompatibleDC(nullptr);
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi.bmiHeader.biWidth = 640;
        bi.bmiHeader.biHeight = -64;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        Bmp = CreateDIBSection(Dc, &bi, 0, &bits, nullptr, 0);
        SelectObject(Dc, Bmp);
        Font = CreateFont(-kEm, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial");
        SelectObject(Dc, Font);
        SetBkMode(Dc, TRANSPARENT);
    }
    ~TCanvas()
    {
        DeleteDC(Dc);
        DeleteObject(Bmp);
        DeleteObject(Font);
    }
};

void BM_TextOutWarmCache(benchmark::State& State)
{
    TCanvas c;
    TextOut(c.Dc, 4, 4, kText, -1); // warms the glyph cache
    for (auto _ : State) benchmark::DoNotOptimize(TextOut(c.Dc, 4, 4, kText, -1));
    State.SetItemsProcessed(int64_t(State.iterations()) * int64_t(std::strlen(kText)));
}

// What drawing costs without a cache: load, hint and rasterise each glyph,
// then copy its bitmap into a buffer.
void BM_RawFreeType(benchmark::State& State)
{
    FT_Library lib;
    FT_Init_FreeType(&lib);
    FT_Face face;
    if (FT_New_Face(lib, ResolveFontFile("Arial", false, false).Path.c_str(), 0, &face)) {
        State.SkipWithError("no font");
        return;
    }
    FT_Set_Pixel_Sizes(face, 0, kEm);
    std::vector<uint8_t> buffer(640 * 64);
    for (auto _ : State) {
        int pen = 4;
        for (const char* p = kText; *p; ++p) {
            FT_Load_Glyph(face, FT_Get_Char_Index(face, FT_ULong(*p)), FT_LOAD_TARGET_MONO);
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO);
            const FT_Bitmap& b = face->glyph->bitmap;
            int top = 4 + kEm - face->glyph->bitmap_top, left = pen + face->glyph->bitmap_left;
            for (unsigned y = 0; y < b.rows; ++y)
                for (unsigned x = 0; x < b.width; ++x)
                    if (top + int(y) >= 0 && top + int(y) < 64 && left + int(x) >= 0 && left + int(x) < 640 &&
                        (b.buffer[y * b.pitch + (x >> 3)] >> (7 - (x & 7)) & 1))
                        buffer[size_t(top + int(y)) * 640 + size_t(left + int(x))] = 255;
            pen += int(face->glyph->advance.x >> 6);
        }
        benchmark::DoNotOptimize(buffer.data());
    }
    State.SetItemsProcessed(int64_t(State.iterations()) * int64_t(std::strlen(kText)));
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
}

BENCHMARK(BM_TextOutWarmCache);
BENCHMARK(BM_RawFreeType);

class TRatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& Runs) override
    {
        for (const Run& r : Runs) FTimes[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(Runs);
    }
    std::map<std::string, double> FTimes;
};

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    double ours = reporter.FTimes["BM_TextOutWarmCache"], raw = reporter.FTimes["BM_RawFreeType"];
    if (ours > 0 && raw > 0)
        std::printf("TextOut with warm cache takes %.2fx the time of raw FreeType rendering (%.2fx faster)\n",
                    ours / raw, raw / ours);
    benchmark::Shutdown();
    return 0;
}
