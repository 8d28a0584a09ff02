#pragma once
// Little-endian reading and writing for the codecs. Every read is bounds-checked
// and a read past the end raises EInvalidGraphic naming the format.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace host {

class TByteReader {
public:
    TByteReader(const uint8_t* Data, size_t Size, const char* What) : FData(Data), FSize(Size), FWhat(What) {}

    size_t Size() const { return FSize; }
    uint8_t U8(size_t At) const { Need(At, 1); return FData[At]; }
    uint16_t U16(size_t At) const { Need(At, 2); return uint16_t(FData[At] | FData[At + 1] << 8); }
    uint32_t U32(size_t At) const
    {
        Need(At, 4);
        return FData[At] | uint32_t(FData[At + 1]) << 8 | uint32_t(FData[At + 2]) << 16 | uint32_t(FData[At + 3]) << 24;
    }
    int32_t S32(size_t At) const { return static_cast<int32_t>(U32(At)); }
    // Pointer to Count bytes at At, after checking they exist.
    const uint8_t* Ptr(size_t At, size_t Count = 0) const { Need(At, Count); return FData + At; }

private:
    void Need(size_t At, size_t Count) const;

    const uint8_t* FData;
    size_t FSize;
    const char* FWhat;
};

class TByteWriter {
public:
    void U8(uint8_t V) { FData.push_back(V); }
    void U16(uint16_t V) { U8(uint8_t(V)); U8(uint8_t(V >> 8)); }
    void U32(uint32_t V) { U16(uint16_t(V)); U16(uint16_t(V >> 16)); }
    void Bytes(const uint8_t* P, size_t N) { FData.insert(FData.end(), P, P + N); }
    void PatchU32(size_t At, uint32_t V)
    {
        for (int i = 0; i < 4; ++i) FData[At + i] = uint8_t(V >> (8 * i));
    }
    size_t Size() const { return FData.size(); }
    std::vector<uint8_t>& Data() { return FData; }

private:
    std::vector<uint8_t> FData;
};

} // namespace host
