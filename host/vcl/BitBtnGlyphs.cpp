// The standard glyphs of the bitmap button kinds, drawn as 16 x 16 pixel
// maps. '.' is the transparent background (fuchsia, the bottom-left pixel).
#include <array>

#include "host/vcl/Buttons.h"

namespace host {

namespace {

using TGlyphMap = std::array<const char*, 16>;

constexpr TGlyphMap kCheck = {
    "................", "................", "............g...", "...........gg...",
    "..........ggg...", ".........ggg....", "..g.....ggg.....", "..gg...ggg......",
    "..ggg.ggg.......", "...ggggg........", "....ggg.........", ".....g..........",
    "................", "................", "................", "................"};

constexpr TGlyphMap kCross = {
    "................", "................", "..RR.......RR...", "..RRR.....RRR...",
    "...RRR...RRR....", "....RRR.RRR.....", ".....RRRRR......", "......RRR.......",
    ".....RRRRR......", "....RRR.RRR.....", "...RRR...RRR....", "..RRR.....RRR...",
    "..RR.......RR...", "................", "................", "................"};

constexpr TGlyphMap kQuestion = {
    "................", ".....bbbbb......", "....bb...bb.....", "...bb.....bb....",
    "...bb.....bb....", "..........bb....", ".........bb.....", "........bb......",
    ".......bb.......", ".......bb.......", ".......bb.......", "................",
    ".......bb.......", ".......bb.......", "................", "................"};

constexpr TGlyphMap kNo = {
    "................", ".....rrrrrr.....", "...rrRRRRRRrr...", "..rRRR....RRRr..",
    "..rRRR.....RRr..", ".rRRRRR.....RRr.", ".rR..RRR....RRr.", ".rR...RRR...RRr.",
    ".rR....RRR..RRr.", ".rR.....RRRRRRr.", "..rRR.....RRRr..", "..rRRR....RRRr..",
    "...rrRRRRRRrr...", ".....rrrrrr.....", "................", "................"};

constexpr TGlyphMap kDoor = {
    "................", "...kkkkkkkkkk...", "...k.......ok...", "...k......ooo...",
    "...k.....oooo...", "...k....ooooo...", "...k....ooooo...", "...k....oyooo...",
    "...k....ooooo...", "...k....ooooo...", "...k....ooooo...", "...k.....oooo...",
    "...k......ooo...", "...kkkkkkkkkk...", "................", "................"};

constexpr TGlyphMap kAbort = {
    "................", ".....RRRRRR.....", "...RRRRRRRRRR...", "..RRRRRRRRRRRR..",
    "..RRwwRRRRwwRR..", ".RRRRwwRRwwRRRR.", ".RRRRRwwwwRRRRR.", ".RRRRRRwwRRRRRR.",
    ".RRRRRwwwwRRRRR.", ".RRRRwwRRwwRRRR.", "..RRwwRRRRwwRR..", "..RRRRRRRRRRRR..",
    "...RRRRRRRRRR...", ".....RRRRRR.....", "................", "................"};

constexpr TGlyphMap kRetry = {
    "................", "................", "......ggggg.....", "....gg.....gg...",
    "...g.........g..", "..g...........g.", "..g.........ggg.", "..g..........g..",
    "..g.............", "..g.............", "...g.........g..", "....gg.....gg...",
    "......ggggg.....", "................", "................", "................"};

constexpr TGlyphMap kIgnore = {
    "................", "................", "........kk......", "........kk......",
    "................", "......kkkk......", ".....k.kk.k.....", "....k..kk..k....",
    ".......kk.......", "......k..k......", ".....k....k.....", "....k......k....",
    "...kk......kk...", "................", "................", "................"};

constexpr TGlyphMap kAll = {
    "................", "................", "...........g...g", "..........gg..gg",
    ".........gg..gg.", "........gg..gg..", ".g.....gg..gg...", ".gg...gg..gg....",
    ".ggg.gg..gg.....", "..gggg..gg......", "...gg...........", "....g...........",
    "................", "................", "................", "................"};

TColor ColorOf(char C)
{
    switch (C) {
    case 'k': return clBlack;
    case 'g': return clGreen;
    case 'r': return clMaroon;
    case 'R': return clRed;
    case 'b': return clNavy;
    case 'o': return clOlive;
    case 'y': return clYellow;
    case 'w': return clWhite;
    default: return clFuchsia;
    }
}

} // namespace

std::unique_ptr<TBitmap> MakeBitBtnGlyph(TBitBtnKind Kind)
{
    const TGlyphMap* map = nullptr;
    switch (Kind) {
    case bkCustom: return nullptr;
    case bkOK:
    case bkYes: map = &kCheck; break;
    case bkCancel: map = &kCross; break;
    case bkHelp: map = &kQuestion; break;
    case bkNo: map = &kNo; break;
    case bkClose: map = &kDoor; break;
    case bkAbort: map = &kAbort; break;
    case bkRetry: map = &kRetry; break;
    case bkIgnore: map = &kIgnore; break;
    case bkAll: map = &kAll; break;
    }
    auto bmp = std::make_unique<TBitmap>();
    bmp->SetSize(16, 16);
    for (int y = 0; y < 16; ++y) {
        uint32_t* row = bmp->ScanLine(y);
        for (int x = 0; x < 16; ++x) {
            COLORREF c = ColorToRGB(ColorOf((*map)[y][x]));
            row[x] = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
        }
    }
    bmp->Changed(bmp.get());
    return bmp;
}

} // namespace host
