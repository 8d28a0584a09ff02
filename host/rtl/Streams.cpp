#include "host/rtl/Streams.h"

#include "host/rtl/FileUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace host {

// ---- TStream

void TStream::ReadBuffer(void* Buffer, int64_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count)
{
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->GetSize();
    }
    const int64_t Result = Count;
    constexpr int64_t MaxBufSize = 0xF000;
    std::vector<char> buffer(static_cast<size_t>(std::min(std::max<int64_t>(Count, 0), MaxBufSize)));
    while (Count > 0) {
        const int64_t n = std::min(Count, MaxBufSize);
        Source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        Count -= n;
    }
    return Result;
}

int64_t TStream::GetSize()
{
    const int64_t pos = Seek(0, soCurrent);
    const int64_t size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(int64_t) {}

// ---- THandleStream

namespace {

// One read or write call moves at most this much on Linux anyway.
constexpr int64_t MaxIoChunk = 0x40000000;

std::string OsReason(int err) { return std::strerror(err); }

} // namespace

int64_t THandleStream::Read(void* Buffer, int64_t Count)
{
    int64_t done = 0;
    char* p = static_cast<char*>(Buffer);
    while (done < Count) {
        const ssize_t n = ::read(FHandle, p + done, static_cast<size_t>(std::min(Count - done, MaxIoChunk)));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return done > 0 ? done : -1;
        if (n == 0) break;
        done += n;
    }
    return done;
}

int64_t THandleStream::Write(const void* Buffer, int64_t Count)
{
    int64_t done = 0;
    const char* p = static_cast<const char*>(Buffer);
    while (done < Count) {
        const ssize_t n = ::write(FHandle, p + done, static_cast<size_t>(std::min(Count - done, MaxIoChunk)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return done > 0 ? done : -1;
        done += n;
    }
    return done;
}

int64_t THandleStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    const int whence = Origin == soCurrent ? SEEK_CUR : Origin == soEnd ? SEEK_END : SEEK_SET;
    return ::lseek(FHandle, Offset, whence);
}

void THandleStream::SetSize(int64_t NewSize)
{
    Seek(NewSize, soBeginning);
    if (::ftruncate(FHandle, NewSize) != 0) throw EStreamError("Cannot change the size of the stream. " + OsReason(errno));
}

// ---- TFileStream

namespace {

// Sharing modes are kept as open-file-description locks on bytes far beyond
// any real data: holding a shared lock on a slot announces "I read", "I write",
// "I deny reading" or "I deny writing" to every other open of the file.
enum ShareSlot { slotRead, slotWrite, slotDenyRead, slotDenyWrite };
constexpr off_t ShareLockBase = 0x7FFFFFFF00000000LL;

bool SlotHeldByOthers(int fd, ShareSlot slot)
{
    struct flock fl{};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = ShareLockBase + slot;
    fl.l_len = 1;
    if (::fcntl(fd, F_OFD_GETLK, &fl) != 0) return false;
    return fl.l_type != F_UNLCK;
}

bool HoldSlot(int fd, ShareSlot slot)
{
    struct flock fl{};
    fl.l_type = F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = ShareLockBase + slot;
    fl.l_len = 1;
    return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
}

struct Sharing {
    bool read, write, denyRead, denyWrite;
};

Sharing SharingOf(unsigned Mode)
{
    if (Mode == fmCreate) return {true, true, true, true};
    const unsigned access = Mode & 3;
    const unsigned share = Mode & 0xF0;
    Sharing s{access != fmOpenWrite, access != fmOpenRead, false, false};
    s.denyRead = share == fmShareCompat || share == fmShareExclusive || share == fmShareDenyRead;
    s.denyWrite = share == fmShareCompat || share == fmShareExclusive || share == fmShareDenyWrite;
    return s;
}

// Checks the other opens against ours and announces ours. A write-only
// descriptor cannot hold shared locks, so LockFd is a read descriptor then.
bool AcquireSharing(int LockFd, const Sharing& s)
{
    if ((s.read && SlotHeldByOthers(LockFd, slotDenyRead)) || (s.write && SlotHeldByOthers(LockFd, slotDenyWrite)) ||
        (s.denyRead && SlotHeldByOthers(LockFd, slotRead)) || (s.denyWrite && SlotHeldByOthers(LockFd, slotWrite)))
        return false;
    if (s.read) HoldSlot(LockFd, slotRead);
    if (s.write) HoldSlot(LockFd, slotWrite);
    if (s.denyRead) HoldSlot(LockFd, slotDenyRead);
    if (s.denyWrite) HoldSlot(LockFd, slotDenyWrite);
    return true;
}

[[noreturn]] void RaiseOpenError(const std::string& FileName, unsigned Mode, const std::string& Reason)
{
    if (Mode == fmCreate) throw EFCreateError("Cannot create file " + FileName + ". " + Reason);
    throw EFOpenError("Cannot open file " + FileName + ". " + Reason);
}

int OpenFlags(unsigned Mode)
{
    if (Mode == fmCreate) return O_RDWR | O_CREAT;
    switch (Mode & 3) {
    case fmOpenWrite: return O_WRONLY;
    case fmOpenReadWrite: return O_RDWR;
    default: return O_RDONLY;
    }
}

} // namespace

TFileStream::TFileStream(const std::string& FileName, unsigned Mode) : THandleStream(-1), FFileName(FileName)
{
    if (Mode != fmCreate && (Mode & 3) == 3) RaiseOpenError(FileName, Mode, "Invalid file mode");
    const std::string native = NativeFileName(FileName);
    FHandle = ::open(native.c_str(), OpenFlags(Mode) | O_CLOEXEC, 0666);
    if (FHandle < 0) RaiseOpenError(FileName, Mode, OsReason(errno));
    struct stat st{};
    if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(FHandle);
        RaiseOpenError(FileName, Mode, OsReason(EISDIR));
    }
    // Locks live on the open file description; a write-only one needs a
    // readable twin to hold them. Without read permission sharing is not kept.
    int lockFd = FHandle;
    if ((OpenFlags(Mode) & O_ACCMODE) == O_WRONLY) {
        lockFd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
        FLockHandle = lockFd;
    }
    // A file in use must not be truncated, so fmCreate truncates only after
    // the sharing check.
    if (lockFd >= 0 && !AcquireSharing(lockFd, SharingOf(Mode))) {
        CloseHandles();
        RaiseOpenError(FileName, Mode, "The file is in use");
    }
    if (Mode == fmCreate && ::ftruncate(FHandle, 0) != 0) {
        const int err = errno;
        CloseHandles();
        RaiseOpenError(FileName, Mode, OsReason(err));
    }
}

TFileStream::~TFileStream() { CloseHandles(); }

void TFileStream::CloseHandles()
{
    if (FLockHandle >= 0) ::close(FLockHandle);
    if (FHandle >= 0) ::close(FHandle);
    FLockHandle = -1;
    FHandle = -1;
}

// ---- TCustomMemoryStream

int64_t TCustomMemoryStream::Read(void* Buffer, int64_t Count)
{
    if (FPosition < 0 || Count <= 0 || FPosition >= FSize) return 0;
    const int64_t n = std::min(Count, FSize - FPosition);
    std::memcpy(Buffer, FMemory + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TCustomMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = FSize + Offset; break;
    }
    return FPosition;
}

void TCustomMemoryStream::SetPointer(void* Ptr, int64_t Size)
{
    FMemory = static_cast<char*>(Ptr);
    FSize = Size;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream)
{
    if (FSize != 0) Stream->WriteBuffer(FMemory, FSize);
}

void TCustomMemoryStream::SaveToFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmCreate);
    SaveToStream(&stream);
}

// ---- TMemoryStream

namespace {
constexpr int64_t MemoryDelta = 0x2000;
}

TMemoryStream::~TMemoryStream() { std::free(FMemory); }

void TMemoryStream::SetCapacity(int64_t NewCapacity)
{
    if (NewCapacity < FSize) NewCapacity = FSize;
    NewCapacity = (NewCapacity + MemoryDelta - 1) & ~(MemoryDelta - 1);
    if (NewCapacity == FCapacity) return;
    if (NewCapacity == 0) {
        std::free(FMemory);
        FMemory = nullptr;
    } else {
        void* p = std::realloc(FMemory, static_cast<size_t>(NewCapacity));
        if (!p) throw EOutOfMemory("Out of memory while expanding memory stream");
        FMemory = static_cast<char*>(p);
    }
    FCapacity = NewCapacity;
}

// Grows by a quarter at least, so that appending many small pieces stays linear.
void TMemoryStream::Reserve(int64_t Needed)
{
    if (Needed <= FCapacity) return;
    SetCapacity(std::max(Needed, FCapacity + FCapacity / 4));
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count)
{
    if (FPosition < 0 || Count <= 0) return 0;
    const int64_t end = FPosition + Count;
    if (end > FSize) {
        Reserve(end);
        if (FPosition > FSize) std::memset(FMemory + FSize, 0, static_cast<size_t>(FPosition - FSize));
        FSize = end;
    }
    std::memcpy(FMemory + FPosition, Buffer, static_cast<size_t>(Count));
    FPosition = end;
    return Count;
}

void TMemoryStream::SetSize(int64_t NewSize)
{
    if (NewSize < 0) NewSize = 0;
    const int64_t oldSize = FSize;
    const int64_t oldPosition = FPosition;
    if (NewSize > FCapacity) SetCapacity(NewSize);
    if (NewSize > oldSize) std::memset(FMemory + oldSize, 0, static_cast<size_t>(NewSize - oldSize));
    FSize = NewSize;
    if (oldPosition > NewSize) Seek(0, soEnd);
}

void TMemoryStream::Clear()
{
    FSize = 0;
    FPosition = 0;
    SetCapacity(0);
}

void TMemoryStream::LoadFromStream(TStream* Stream)
{
    Stream->SetPosition(0);
    const int64_t count = Stream->GetSize();
    SetSize(count);
    if (count != 0) Stream->ReadBuffer(FMemory, count);
}

void TMemoryStream::LoadFromFile(const std::string& FileName)
{
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

// ---- TStringStream

int64_t TStringStream::Read(void* Buffer, int64_t Count)
{
    const int64_t n = std::clamp<int64_t>(GetSize() - FPosition, 0, std::max<int64_t>(Count, 0));
    if (n > 0) std::memcpy(Buffer, FDataString.data() + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

int64_t TStringStream::Write(const void* Buffer, int64_t Count)
{
    if (Count <= 0) return 0;
    const size_t end = static_cast<size_t>(FPosition + Count);
    if (end > FDataString.size()) FDataString.resize(end);
    std::memcpy(FDataString.data() + FPosition, Buffer, static_cast<size_t>(Count));
    FPosition += Count;
    return Count;
}

int64_t TStringStream::Seek(int64_t Offset, TSeekOrigin Origin)
{
    switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = GetSize() + Offset; break;
    }
    FPosition = std::clamp<int64_t>(FPosition, 0, GetSize());
    return FPosition;
}

void TStringStream::SetSize(int64_t NewSize)
{
    FDataString.resize(static_cast<size_t>(std::max<int64_t>(NewSize, 0)));
    if (FPosition > GetSize()) FPosition = GetSize();
}

std::string TStringStream::ReadString(int64_t Count)
{
    const int64_t n = std::clamp<int64_t>(GetSize() - FPosition, 0, std::max<int64_t>(Count, 0));
    std::string result = FDataString.substr(static_cast<size_t>(FPosition), static_cast<size_t>(n));
    FPosition += n;
    return result;
}

void TStringStream::WriteString(const std::string& AString)
{
    Write(AString.data(), static_cast<int64_t>(AString.size()));
}

} // namespace host
