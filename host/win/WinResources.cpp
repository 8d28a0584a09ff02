// Resource calls over the program's resource registry: blocks are found by
// type and name, loaded and locked in place; bitmaps and strings decode.
#include "host/gdi/Image.h"
#include "host/gdi/Bmp.h"
#include "host/gdi/Png.h"
#include "host/rtl/Resources.h"
#include "host/win/WinInternal.h"

#include <cstring>
#include <deque>
#include <optional>

namespace host::win {

namespace {

struct TResourceRec {
    std::string_view Data;
};

std::deque<TResourceRec>& Found()
{
    static std::deque<TResourceRec> found;
    return found;
}

TResourceRec* FindRec(HANDLE h)
{
    for (TResourceRec& r : Found())
        if (static_cast<HANDLE>(&r) == h)
            return &r;
    return nullptr;
}

std::optional<TResType> TypeOf(LPCSTR type)
{
    if (IS_INTRESOURCE(type)) {
        switch (uintptr_t(type)) {
        case 1:
        case 12: return TResType::Cursor;
        case 2: return TResType::Bitmap;
        case 3:
        case 14: return TResType::Icon;
        case 10: return TResType::RawData;
        default: return std::nullopt;
        }
    }
    std::string t = type;
    for (char& c : t)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (t == "WAVE")
        return TResType::Wave;
    if (t == "DFM" || t == "FORM" || t == "RCDATA")
        return t == "RCDATA" ? TResType::RawData : TResType::FormLayout;
    return std::nullopt;
}

// Bitmap resources hold a BMP file, a bare DIB (as compiled resources do) or a PNG.
TImageData DecodeBitmap(std::string_view data)
{
    auto bytes = reinterpret_cast<const uint8_t*>(data.data());
    TImageFormat f = DetectImageFormat(bytes, data.size());
    if (f == TImageFormat::Png)
        return LoadPng(bytes, data.size());
    if (f == TImageFormat::Bmp)
        return LoadBmp(bytes, data.size());
    return LoadDib(bytes, data.size());
}

}  // namespace

}  // namespace host::win

namespace host {

using namespace win;

HRSRC FindResource(HMODULE, LPCSTR name, LPCSTR type)
{
    if (!name || !type)
        return nullptr;
    auto t = TypeOf(type);
    if (!t)
        return nullptr;
    std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(uintptr_t(name)) : std::string(name);
    auto data = FindResourceData(*t, key);
    if (!data)
        return nullptr;
    for (TResourceRec& r : Found())
        if (r.Data.data() == data->data() && r.Data.size() == data->size())
            return &r;
    Found().push_back(TResourceRec{*data});
    return &Found().back();
}

HGLOBAL LoadResource(HMODULE, HRSRC res) { return FindRec(res) ? res : nullptr; }

LPVOID LockResource(HGLOBAL res)
{
    TResourceRec* r = FindRec(res);
    return r ? const_cast<char*>(r->Data.data()) : nullptr;
}

DWORD SizeofResource(HMODULE, HRSRC res)
{
    TResourceRec* r = FindRec(res);
    return r ? DWORD(r->Data.size()) : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }

HBITMAP LoadBitmap(HINSTANCE, LPCSTR name)
{
    if (!name)
        return nullptr;
    std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(uintptr_t(name)) : std::string(name);
    auto data = FindResourceData(TResType::Bitmap, key);
    if (!data)
        return nullptr;
    TImageData img;
    try {
        img = DecodeBitmap(*data);
    } catch (const std::exception&) {
        return nullptr;
    }
    HBITMAP bmp = CreateBitmap(img.Width, img.Height, 1, 32, nullptr);
    if (bmp)
        SetBitmapBits(bmp, DWORD(img.Pixels.size() * 4), img.Pixels.data());
    return bmp;
}

int LoadString(HINSTANCE, UINT id, LPSTR buffer, int max)
{
    if (!buffer || max <= 0 || !HasStr(int(id)))
        return 0;
    std::string s = LoadStr(int(id));
    int n = std::min<int>(int(s.size()), max - 1);
    std::memcpy(buffer, s.data(), size_t(n));
    buffer[n] = 0;
    return n;
}

}  // namespace host
