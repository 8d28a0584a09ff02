#include "host/gdi/PdfWriter.h"

#include "host/rtl/SysUtils.h"

#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>

namespace host {

namespace {

// The catalog and the page tree come first in number but are written last,
// when every page is known.
constexpr int kCatalogObject = 1;
constexpr int kPagesObject = 2;

// PDF units are points; 4 decimals keep a page exact to far below a pixel.
std::string Points(int Pixels, int Dpi)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.4f", double(Pixels) * 72.0 / Dpi);
    std::string s = buf;
    s.erase(s.find_last_not_of('0') + 1);
    if (s.back() == '.')
        s.pop_back();
    return s;
}

// A literal string: bytes outside printable ASCII, the parentheses and the
// backslash are written as octal escapes so that no title can end it early.
std::string PdfString(const std::string& Text)
{
    std::string s = "(";
    for (unsigned char c : Text) {
        if (c < 32 || c > 126 || c == '(' || c == ')' || c == '\\') {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\%03o", c);
            s += esc;
        } else {
            s += char(c);
        }
    }
    return s + ")";
}

}  // namespace

std::vector<uint8_t> DeflateRgb(const TImageData& Image)
{
    z_stream z{};
    if (deflateInit(&z, Z_DEFAULT_COMPRESSION) != Z_OK)
        throw EOutOfMemory("Out of memory compressing a page");
    std::vector<uint8_t> out, row(size_t(Image.Width) * 3);
    uint8_t chunk[65536];
    for (int y = 0; y < Image.Height; ++y) {
        for (int x = 0; x < Image.Width; ++x) {
            uint32_t p = Image.Pixel(x, y);
            row[size_t(x) * 3] = uint8_t(p >> 16);
            row[size_t(x) * 3 + 1] = uint8_t(p >> 8);
            row[size_t(x) * 3 + 2] = uint8_t(p);
        }
        z.next_in = row.data();
        z.avail_in = uInt(row.size());
        int flush = y + 1 == Image.Height ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = chunk;
            z.avail_out = sizeof chunk;
            deflate(&z, flush);
            out.insert(out.end(), chunk, chunk + (sizeof chunk - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return out;
}

std::vector<uint8_t> InflateBytes(const uint8_t* Data, size_t Size, size_t Expected)
{
    // One spare byte tells an overlong stream from an exact one.
    std::vector<uint8_t> out(Expected + 1);
    uLongf length = uLongf(out.size());
    if (uncompress(out.data(), &length, Data, uLong(Size)) != Z_OK || length != Expected)
        throw EReadError("Compressed data is corrupt");
    out.pop_back();
    return out;
}

TPdfWriter::TPdfWriter(std::string FileName) : FFileName(std::move(FileName))
{
    std::string pattern = FFileName + ".XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0 || !(FFile = fdopen(fd, "wb"))) {
        if (fd >= 0) {
            close(fd);
            unlink(pattern.c_str());
        }
        throw EFCreateError("Cannot create file \"" + FFileName + "\"");
    }
    FTempName = pattern;
    // mkstemp makes the file private; a printed document gets the permissions
    // any new file of the user would.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    FObjectOffsets.resize(2);  // catalog and page tree, placed at Commit
    Write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
}

TPdfWriter::~TPdfWriter() { Discard(); }

void TPdfWriter::Discard()
{
    if (FFile) {
        std::fclose(FFile);
        FFile = nullptr;
    }
    if (!FCommitted && !FTempName.empty())
        unlink(FTempName.c_str());
    FTempName.clear();
}

void TPdfWriter::Fail(const std::string& What)
{
    Discard();
    throw EWriteError("Cannot write file \"" + FFileName + "\": " + What);
}

void TPdfWriter::Write(const void* Data, size_t Size)
{
    if (!FFile)
        Fail("the document is closed");
    if (std::fwrite(Data, 1, Size, FFile) != Size)
        Fail(std::strerror(errno));
    FOffset += Size;
}

int TPdfWriter::NewObject()
{
    FObjectOffsets.push_back(0);
    return int(FObjectOffsets.size());
}

void TPdfWriter::BeginObject(int Number)
{
    FObjectOffsets[size_t(Number - 1)] = FOffset;
    Write(std::to_string(Number) + " 0 obj\n");
}

void TPdfWriter::WriteStream(const std::string& Dict, const std::vector<uint8_t>& Data)
{
    Write("<< " + Dict + " /Length " + std::to_string(Data.size()) + " >>\nstream\n");
    Write(Data.data(), Data.size());
    Write("\nendstream\nendobj\n");
}

void TPdfWriter::AddPage(const TImageData& Page, int DpiX, int DpiY)
{
    if (Page.Empty() || DpiX <= 0 || DpiY <= 0)
        throw EInvalidGraphicOperation("A page needs pixels and a resolution");
    int page = NewObject(), content = NewObject(), image = NewObject();
    std::string w = Points(Page.Width, DpiX), h = Points(Page.Height, DpiY);

    BeginObject(page);
    Write("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + w + " " + h + "] /Resources << "
          "/XObject << /Im0 " + std::to_string(image) + " 0 R >> >> /Contents " +
          std::to_string(content) + " 0 R >>\nendobj\n");

    std::string draw = "q " + w + " 0 0 " + h + " 0 0 cm /Im0 Do Q\n";
    BeginObject(content);
    WriteStream("", std::vector<uint8_t>(draw.begin(), draw.end()));

    BeginObject(image);
    WriteStream("/Type /XObject /Subtype /Image /Width " + std::to_string(Page.Width) +
                    " /Height " + std::to_string(Page.Height) +
                    " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Filter /FlateDecode",
                DeflateRgb(Page));
    FPageObjects.push_back(page);
}

void TPdfWriter::WriteTrailer(int InfoObject)
{
    uint64_t xref = FOffset;
    std::string table = "xref\n0 " + std::to_string(FObjectOffsets.size() + 1) +
                        "\n0000000000 65535 f \n";
    char entry[32];
    for (uint64_t offset : FObjectOffsets) {
        std::snprintf(entry, sizeof entry, "%010llu 00000 n \n", (unsigned long long)offset);
        table += entry;
    }
    table += "trailer\n<< /Size " + std::to_string(FObjectOffsets.size() + 1) + " /Root 1 0 R";
    if (InfoObject)
        table += " /Info " + std::to_string(InfoObject) + " 0 R";
    table += " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    Write(table);
}

void TPdfWriter::Commit()
{
    if (!FFile)
        Fail("the document is closed");
    int info = 0;
    if (!FTitle.empty()) {
        info = NewObject();
        BeginObject(info);
        Write("<< /Title " + PdfString(FTitle) + " >>\nendobj\n");
    }
    std::string kids;
    for (int page : FPageObjects)
        kids += (kids.empty() ? "" : " ") + std::to_string(page) + " 0 R";
    BeginObject(kPagesObject);
    Write("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(FPageObjects.size()) +
          " >>\nendobj\n");
    BeginObject(kCatalogObject);
    Write("<< /Type /Catalog /Pages 2 0 R >>\nendobj\n");
    WriteTrailer(info);

    bool flushed = std::fflush(FFile) == 0 && fsync(fileno(FFile)) == 0;
    bool closed = std::fclose(FFile) == 0;
    FFile = nullptr;
    if (!flushed || !closed)
        Fail(std::strerror(errno));
    if (std::rename(FTempName.c_str(), FFileName.c_str()) != 0)
        Fail(std::strerror(errno));
    FCommitted = true;
    FTempName.clear();
}

}  // namespace host
