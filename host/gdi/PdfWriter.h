#pragma once
// A PDF file whose pages are images: what a print job becomes. Pages stream to
// a temporary file beside the target as they finish, so a long job holds one
// page in memory; Commit renames the finished file into place, and a writer
// destroyed without Commit removes it, so a failed job never leaves half a file.
#include "host/gdi/Image.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace host {

class TPdfWriter {
public:
    // Raises EFCreateError when the temporary file cannot be created.
    explicit TPdfWriter(std::string FileName);
    ~TPdfWriter();
    TPdfWriter(const TPdfWriter&) = delete;
    TPdfWriter& operator=(const TPdfWriter&) = delete;

    void SetTitle(const std::string& Title) { FTitle = Title; }
    // One page showing Page at DpiX x DpiY pixels per inch; alpha is ignored.
    // Raises EWriteError on a write failure.
    void AddPage(const TImageData& Page, int DpiX, int DpiY);
    // Finishes the file and moves it to its name; raises EWriteError.
    void Commit();
    // Drops the temporary file; harmless after Commit.
    void Discard();

    int GetPageCount() const { return int(FPageObjects.size()); }
    const std::string& GetFileName() const { return FFileName; }

private:
    int NewObject();
    void BeginObject(int Number);
    void Write(const void* Data, size_t Size);
    void Write(const std::string& Text) { Write(Text.data(), Text.size()); }
    void WriteStream(const std::string& Dict, const std::vector<uint8_t>& Data);
    void WriteTrailer(int InfoObject);
    void Fail(const std::string& What);

    std::string FFileName;
    std::string FTempName;
    std::FILE* FFile = nullptr;
    uint64_t FOffset = 0;
    std::vector<uint64_t> FObjectOffsets;  // index = object number - 1
    std::vector<int> FPageObjects;
    std::string FTitle;
    bool FCommitted = false;
};

// Flate (zlib) compression of the image's pixels as 8-bit RGB rows.
std::vector<uint8_t> DeflateRgb(const TImageData& Image);
// The inverse, for readers of these files: exactly Expected bytes, or
// EReadError when the data is corrupt or of another size.
std::vector<uint8_t> InflateBytes(const uint8_t* Data, size_t Size, size_t Expected);

}  // namespace host
