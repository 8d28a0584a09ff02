#include "host/gdi/Png.h"

#include "host/rtl/SysUtils.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <cstdio>
#include <memory>
#include <new>

namespace host {

namespace {

// libpng reports errors by longjmp. The functions that call setjmp below hold
// only trivially destructible locals; every C++ object lives in the caller, so
// a jump skips no destructor, and the caller turns the failure into an exception.
struct TPngState {
    png_structp Png = nullptr;
    png_infop Info = nullptr;
    char Error[200] = "";
    const uint8_t* Data = nullptr;
    size_t Size = 0, Pos = 0;
    std::vector<uint8_t>* Out = nullptr;
};

void OnError(png_structp Png, png_const_charp Msg)
{
    auto* s = static_cast<TPngState*>(png_get_error_ptr(Png));
    std::snprintf(s->Error, sizeof s->Error, "%s", Msg ? Msg : "unknown error");
    png_longjmp(Png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp Png, png_bytep Dest, png_size_t Count)
{
    auto* s = static_cast<TPngState*>(png_get_io_ptr(Png));
    if (Count > s->Size - s->Pos) png_error(Png, "file is truncated");
    std::memcpy(Dest, s->Data + s->Pos, Count);
    s->Pos += Count;
}

void OnWrite(png_structp Png, png_bytep Src, png_size_t Count)
{
    auto* s = static_cast<TPngState*>(png_get_io_ptr(Png));
    bool ok = true;
    try {
        s->Out->insert(s->Out->end(), Src, Src + Count);
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok) png_error(Png, "out of memory");
}

void OnFlush(png_structp) {}

struct TPngHeader {
    png_uint_32 Width = 0, Height = 0;
    int SourceBpp = 0;
    bool Alpha = false;
    int PaletteCount = 0;
    png_color Palette[256];
};

bool ReadHeader(TPngState* S, TPngHeader* H)
{
    if (setjmp(png_jmpbuf(S->Png))) return false;
    png_set_read_fn(S->Png, S, OnRead);
    png_set_user_limits(S->Png, kMaxImageSide, kMaxImageSide);
    png_set_chunk_malloc_max(S->Png, 16u << 20);
    png_read_info(S->Png, S->Info);
    int depth = 0, colorType = 0;
    png_get_IHDR(S->Png, S->Info, &H->Width, &H->Height, &depth, &colorType, nullptr, nullptr, nullptr);
    H->SourceBpp = depth * png_get_channels(S->Png, S->Info);
    H->Alpha = (colorType & PNG_COLOR_MASK_ALPHA) || png_get_valid(S->Png, S->Info, PNG_INFO_tRNS);
    png_colorp pal = nullptr;
    if (colorType == PNG_COLOR_TYPE_PALETTE && png_get_PLTE(S->Png, S->Info, &pal, &H->PaletteCount)) {
        if (H->PaletteCount > 256) H->PaletteCount = 256;
        std::memcpy(H->Palette, pal, sizeof(png_color) * size_t(H->PaletteCount));
    }
    png_set_expand(S->Png);
    png_set_strip_16(S->Png);
    png_set_gray_to_rgb(S->Png);
    png_set_filler(S->Png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(S->Png);
    png_read_update_info(S->Png, S->Info);
    if (png_get_rowbytes(S->Png, S->Info) != size_t(H->Width) * 4) png_error(S->Png, "unexpected row layout");
    return true;
}

bool ReadImage(TPngState* S, png_bytepp Rows)
{
    if (setjmp(png_jmpbuf(S->Png))) return false;
    png_read_image(S->Png, Rows);
    png_read_end(S->Png, nullptr);
    return true;
}

bool WriteImage(TPngState* S, png_uint_32 W, png_uint_32 H, bool Alpha, png_bytepp Rows)
{
    if (setjmp(png_jmpbuf(S->Png))) return false;
    png_set_write_fn(S->Png, S, OnWrite, OnFlush);
    png_set_IHDR(S->Png, S->Info, W, H, 8, Alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(S->Png, S->Info);
    png_write_image(S->Png, Rows);
    png_write_end(S->Png, nullptr);
    return true;
}

class TReadGuard {
public:
    explicit TReadGuard(TPngState& S) : FS(S) {}
    ~TReadGuard() { png_destroy_read_struct(&FS.Png, FS.Info ? &FS.Info : nullptr, nullptr); }

private:
    TPngState& FS;
};

class TWriteGuard {
public:
    explicit TWriteGuard(TPngState& S) : FS(S) {}
    ~TWriteGuard() { png_destroy_write_struct(&FS.Png, FS.Info ? &FS.Info : nullptr); }

private:
    TPngState& FS;
};

[[noreturn]] void Fail(const char* Why) { throw EInvalidGraphic(std::string("Invalid PNG image: ") + Why); }

} // namespace

TImageData LoadPng(const uint8_t* Data, size_t Size)
{
    if (Size < 8 || png_sig_cmp(Data, 0, 8) != 0) Fail("bad signature");
    TPngState s;
    s.Data = Data;
    s.Size = Size;
    s.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &s, OnError, OnWarning);
    if (!s.Png) throw EOutOfResources("Cannot create a PNG reader");
    TReadGuard guard(s);
    s.Info = png_create_info_struct(s.Png);
    if (!s.Info) throw EOutOfResources("Cannot create a PNG reader");
    auto header = std::make_unique<TPngHeader>();
    if (!ReadHeader(&s, header.get())) Fail(s.Error);
    TImageData img;
    AllocateImage(img, header->Width, header->Height, "PNG image");
    std::vector<uint8_t> rgba(size_t(img.Width) * img.Height * 4);
    std::vector<png_bytep> rows(size_t(img.Height));
    for (int y = 0; y < img.Height; ++y) rows[size_t(y)] = rgba.data() + size_t(y) * img.Width * 4;
    if (!ReadImage(&s, rows.data())) Fail(s.Error);
    img.SourceBitsPerPixel = header->SourceBpp;
    for (int i = 0; i < header->PaletteCount; ++i)
        img.Palette.push_back(uint32_t(header->Palette[i].red) << 16 | uint32_t(header->Palette[i].green) << 8 |
                              header->Palette[i].blue);
    if (header->Alpha) img.Alpha.resize(img.Pixels.size());
    for (size_t i = 0; i < img.Pixels.size(); ++i) {
        const uint8_t* p = &rgba[i * 4];
        img.Pixels[i] = uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | p[2];
        if (header->Alpha) img.Alpha[i] = p[3];
    }
    return img;
}

TImageData LoadPngFile(const std::string& FileName)
{
    std::vector<uint8_t> d = ReadWholeFile(FileName);
    return LoadPng(d.data(), d.size());
}

std::vector<uint8_t> SavePng(const TImageData& Image)
{
    if (Image.Empty()) throw EInvalidGraphicOperation("Cannot write an empty image");
    const int channels = Image.HasAlpha() ? 4 : 3;
    std::vector<uint8_t> buf(size_t(Image.Width) * Image.Height * channels);
    std::vector<png_bytep> rows(size_t(Image.Height));
    for (int y = 0; y < Image.Height; ++y) {
        uint8_t* row = buf.data() + size_t(y) * Image.Width * channels;
        rows[size_t(y)] = row;
        for (int x = 0; x < Image.Width; ++x) {
            uint32_t c = Image.Pixel(x, y);
            uint8_t* p = row + size_t(x) * channels;
            p[0] = uint8_t(c >> 16); p[1] = uint8_t(c >> 8); p[2] = uint8_t(c);
            if (channels == 4) p[3] = Image.AlphaAt(x, y);
        }
    }
    std::vector<uint8_t> out;
    TPngState s;
    s.Out = &out;
    s.Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &s, OnError, OnWarning);
    if (!s.Png) throw EOutOfResources("Cannot create a PNG writer");
    TWriteGuard guard(s);
    s.Info = png_create_info_struct(s.Png);
    if (!s.Info) throw EOutOfResources("Cannot create a PNG writer");
    if (!WriteImage(&s, png_uint_32(Image.Width), png_uint_32(Image.Height), channels == 4, rows.data()))
        throw EInvalidGraphicOperation(std::string("Cannot write PNG image: ") + s.Error);
    return out;
}

void SavePngFile(const TImageData& Image, const std::string& FileName)
{
    WriteWholeFile(FileName, SavePng(Image));
}

} // namespace host
