#include "host/gdi/Ico.h"

#include "host/gdi/Bmp.h"
#include "host/gdi/BmpWrite.h"
#include "host/gdi/ImageBytes.h"
#include "host/gdi/Png.h"
#include "host/rtl/SysUtils.h"

#include <cstring>

namespace host {

namespace {

[[noreturn]] void Fail(const std::string& Why) { throw EInvalidGraphic("Invalid icon: " + Why); }

struct TDirEntry {
    TIconEntryInfo Info;
    size_t Offset = 0, Size = 0;
};

std::vector<TDirEntry> ReadDirectory(const uint8_t* Data, size_t Size)
{
    TByteReader r(Data, Size, "icon");
    if (Size < 6 || r.U16(0) != 0 || (r.U16(2) != 1 && r.U16(2) != 2)) Fail("bad header");
    bool cursor = r.U16(2) == 2;
    int count = r.U16(4);
    if (count == 0) Fail("no images");
    std::vector<TDirEntry> entries;
    for (int i = 0; i < count; ++i) {
        size_t at = 6 + 16 * size_t(i);
        TDirEntry e;
        e.Info.Width = r.U8(at) ? r.U8(at) : 256;
        e.Info.Height = r.U8(at + 1) ? r.U8(at + 1) : 256;
        if (cursor) {
            e.Info.HotSpotX = r.U16(at + 4);
            e.Info.HotSpotY = r.U16(at + 6);
        } else {
            e.Info.BitsPerPixel = r.U16(at + 6);
        }
        e.Size = r.U32(at + 8);
        e.Offset = r.U32(at + 12);
        if (e.Offset > Size || e.Size > Size - e.Offset) Fail("image " + std::to_string(i) + " lies outside the file");
        // Directory bit counts are often zero; the image header knows better.
        if (!e.Info.BitsPerPixel && e.Size >= 16) {
            const uint8_t* p = Data + e.Offset;
            e.Info.BitsPerPixel = p[0] == 0x89 ? 32 : (p[14] | p[15] << 8);
        }
        entries.push_back(e);
    }
    return entries;
}

TImageData DecodeEntry(const uint8_t* Data, const TDirEntry& E)
{
    const uint8_t* p = Data + E.Offset;
    if (E.Size >= 8 && DetectImageFormat(p, E.Size) == TImageFormat::Png) return LoadPng(p, E.Size);
    return LoadDib(p, E.Size, TDibMask::IconAndMask);
}

// Lower is better: exact size, then the smallest larger one, then the largest
// smaller one; deeper colour breaks ties.
int64_t Score(const TIconEntryInfo& I, int W, int H)
{
    int64_t area = int64_t(I.Width) * I.Height, want = int64_t(W) * H;
    int64_t sizeRank;
    if (W == 0 && H == 0) sizeRank = -area;
    else if (I.Width == W && I.Height == H) sizeRank = -(int64_t(1) << 40);
    else if (I.Width >= W && I.Height >= H) sizeRank = area - want;
    else sizeRank = (int64_t(1) << 32) + (want - area);
    return sizeRank * 64 - I.BitsPerPixel;
}

} // namespace

std::vector<TIconEntryInfo> ListIcoEntries(const uint8_t* Data, size_t Size)
{
    std::vector<TIconEntryInfo> out;
    for (const TDirEntry& e : ReadDirectory(Data, Size)) out.push_back(e.Info);
    return out;
}

TImageData LoadIco(const uint8_t* Data, size_t Size, int DesiredWidth, int DesiredHeight)
{
    std::vector<TDirEntry> entries = ReadDirectory(Data, Size);
    const TDirEntry* best = &entries[0];
    for (const TDirEntry& e : entries)
        if (Score(e.Info, DesiredWidth, DesiredHeight) < Score(best->Info, DesiredWidth, DesiredHeight)) best = &e;
    return DecodeEntry(Data, *best);
}

TImageData LoadIcoFile(const std::string& FileName, int DesiredWidth, int DesiredHeight)
{
    std::vector<uint8_t> d = ReadWholeFile(FileName);
    return LoadIco(d.data(), d.size(), DesiredWidth, DesiredHeight);
}

std::vector<TImageData> LoadIcoAll(const uint8_t* Data, size_t Size)
{
    std::vector<TImageData> out;
    for (const TDirEntry& e : ReadDirectory(Data, Size)) out.push_back(DecodeEntry(Data, e));
    return out;
}

std::vector<uint8_t> SaveIco(const std::vector<TImageData>& Images)
{
    if (Images.empty() || Images.size() > 0xFFFF) throw EInvalidGraphicOperation("Cannot write an icon without images");
    std::vector<std::vector<uint8_t>> dibs;
    for (const TImageData& img : Images) {
        if (img.Width > 256 || img.Height > 256) throw EInvalidGraphicOperation("Icon images are at most 256 x 256");
        TByteWriter w;
        AppendDib(w, img, 32, TDibMask::IconAndMask);
        dibs.push_back(std::move(w.Data()));
    }
    TByteWriter w;
    w.U16(0);
    w.U16(1);
    w.U16(uint16_t(Images.size()));
    uint32_t offset = uint32_t(6 + 16 * Images.size());
    for (size_t i = 0; i < Images.size(); ++i) {
        w.U8(uint8_t(Images[i].Width & 255));
        w.U8(uint8_t(Images[i].Height & 255));
        w.U8(0);
        w.U8(0);
        w.U16(1);
        w.U16(32);
        w.U32(uint32_t(dibs[i].size()));
        w.U32(offset);
        offset += uint32_t(dibs[i].size());
    }
    for (const auto& d : dibs) w.Bytes(d.data(), d.size());
    return std::move(w.Data());
}

} // namespace host
