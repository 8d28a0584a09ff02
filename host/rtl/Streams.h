#pragma once
// Byte streams: the abstract TStream, file streams over descriptors, memory
// streams and string streams.
#include <cstdint>
#include <string>

#include "host/rtl/Object.h"
#include "host/rtl/SysUtils.h"

namespace host {

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// The older integer origins, still used by code that passes Word values.
constexpr int soFromBeginning = 0;
constexpr int soFromCurrent = 1;
constexpr int soFromEnd = 2;

class TStream : public TObject {
    HOST_CLASS(TStream, TObject)
public:
    TStream() = default;
    TStream(const TStream&) = delete;
    TStream& operator=(const TStream&) = delete;

    // Read and Write move up to Count bytes and return how many moved; a
    // negative result reports an operating-system failure.
    virtual int64_t Read(void* Buffer, int64_t Count) = 0;
    virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
    virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;
    int64_t Seek(int64_t Offset, int Origin) { return Seek(Offset, static_cast<TSeekOrigin>(Origin)); }

    // Exactly Count bytes or EReadError / EWriteError.
    void ReadBuffer(void* Buffer, int64_t Count);
    void WriteBuffer(const void* Buffer, int64_t Count);

    // Copies Count bytes from Source's current position; Count 0 copies the
    // whole of Source from its start. Returns the number of bytes copied.
    int64_t CopyFrom(TStream* Source, int64_t Count);

    int64_t GetPosition() { return Seek(0, soCurrent); }
    void SetPosition(int64_t Pos) { Seek(Pos, soBeginning); }
    virtual int64_t GetSize();
    // Streams that cannot change their size ignore this.
    virtual void SetSize(int64_t NewSize);
};

// File open modes: one access mode combined with one sharing mode.
constexpr unsigned fmCreate = 0xFFFF;
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
constexpr unsigned fmShareCompat = 0x0000;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;

// A stream over an open file descriptor, which it does not own.
class THandleStream : public TStream {
    HOST_CLASS(THandleStream, TStream)
public:
    explicit THandleStream(int AHandle) : FHandle(AHandle) {}

    int64_t Read(void* Buffer, int64_t Count) override;
    int64_t Write(const void* Buffer, int64_t Count) override;
    using TStream::Seek;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    // Truncates or extends the file and leaves the position at NewSize.
    void SetSize(int64_t NewSize) override;

    int GetHandle() const { return FHandle; }

protected:
    int FHandle;
};

// A stream over a named file. Sharing modes hold between every file stream of
// every process on the machine (they are open-file-description locks, which
// other programs may ignore). fmShareCompat, like fmShareExclusive, denies all
// other opens; fmCreate creates or truncates the file and opens it exclusively.
class TFileStream : public THandleStream {
    HOST_CLASS(TFileStream, THandleStream)
public:
    TFileStream(const std::string& FileName, unsigned Mode);
    ~TFileStream() override;

    const std::string& GetFileName() const { return FFileName; }

private:
    void CloseHandles();

    std::string FFileName;
    int FLockHandle = -1;
};

// A stream over a block of memory that the derived class supplies.
class TCustomMemoryStream : public TStream {
    HOST_CLASS(TCustomMemoryStream, TStream)
public:
    int64_t Read(void* Buffer, int64_t Count) override;
    using TStream::Seek;
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t GetSize() override { return FSize; }

    void SaveToStream(TStream* Stream);
    void SaveToFile(const std::string& FileName);

    void* GetMemory() const { return FMemory; }

protected:
    void SetPointer(void* Ptr, int64_t Size);

    char* FMemory = nullptr;
    int64_t FSize = 0;
    int64_t FPosition = 0;
};

// A growable memory stream. Bytes between the old end and a write made past
// it read as zeros.
class TMemoryStream : public TCustomMemoryStream {
    HOST_CLASS(TMemoryStream, TCustomMemoryStream)
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;

    int64_t Write(const void* Buffer, int64_t Count) override;
    void SetSize(int64_t NewSize) override;

    void Clear();
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const std::string& FileName);

    int64_t GetCapacity() const { return FCapacity; }
    void SetCapacity(int64_t NewCapacity);

private:
    void Reserve(int64_t Needed);

    int64_t FCapacity = 0;
};

// A stream over a std::string.
class TStringStream : public TStream {
    HOST_CLASS(TStringStream, TStream)
public:
    explicit TStringStream(std::string AString = {}) : FDataString(std::move(AString)) {}

    int64_t Read(void* Buffer, int64_t Count) override;
    // Overwrites from the position on and extends the string when needed; the
    // bytes after the written range stay.
    int64_t Write(const void* Buffer, int64_t Count) override;
    using TStream::Seek;
    // Clamps the position to the string.
    int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
    int64_t GetSize() override { return static_cast<int64_t>(FDataString.size()); }
    void SetSize(int64_t NewSize) override;

    std::string ReadString(int64_t Count);
    void WriteString(const std::string& AString);

    const std::string& GetDataString() const { return FDataString; }

private:
    std::string FDataString;
    int64_t FPosition = 0;
};

} // namespace host
