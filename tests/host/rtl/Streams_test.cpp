#include "host/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

using namespace host;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir()
    {
        std::string tmpl = (fs::temp_directory_path() / "kel_streams_XXXXXX").string();
        FPath = ::mkdtemp(tmpl.data());
    }
    ~TempDir() { fs::remove_all(FPath); }
    std::string operator/(const std::string& name) const { return (fs::path(FPath) / name).string(); }

private:
    std::string FPath;
};

std::string ReadAll(TStream& s)
{
    std::string out(static_cast<size_t>(s.GetSize()), '\0');
    s.SetPosition(0);
    s.ReadBuffer(out.data(), static_cast<int64_t>(out.size()));
    return out;
}

} // namespace

TEST(Streams, MemoryStreamSeekReadWrite)
{
    TMemoryStream m;
    m.WriteBuffer("hello", 5);
    EXPECT_EQ(m.GetSize(), 5);
    EXPECT_EQ(m.GetPosition(), 5);

    // Seeking beyond the end is allowed; reading there yields nothing and a
    // write there fills the gap with zeros.
    EXPECT_EQ(m.Seek(3, soEnd), 8);
    char c;
    EXPECT_EQ(m.Read(&c, 1), 0);
    m.WriteBuffer("!", 1);
    EXPECT_EQ(ReadAll(m), std::string("hello\0\0\0!", 9));

    // Overwriting in the middle keeps the tail.
    m.SetPosition(1);
    m.WriteBuffer("EL", 2);
    EXPECT_EQ(ReadAll(m).substr(0, 5), "hELlo");

    // Shrinking below the position moves the position to the new end.
    m.SetPosition(9);
    m.SetSize(2);
    EXPECT_EQ(m.GetPosition(), 2);
    EXPECT_EQ(ReadAll(m), "hE");

    // A negative position reads and writes nothing instead of touching memory
    // before the block.
    m.Seek(-10, soBeginning);
    EXPECT_EQ(m.Read(&c, 1), 0);
    EXPECT_EQ(m.Write("x", 1), 0);

    m.Clear();
    EXPECT_EQ(m.GetSize(), 0);
    EXPECT_EQ(m.GetCapacity(), 0);
    EXPECT_EQ(m.GetMemory(), nullptr);
}

TEST(Streams, BufferCallsRaiseOnShortTransfers)
{
    TMemoryStream m;
    m.WriteBuffer("abc", 3);
    m.SetPosition(1);
    char buf[8];
    try {
        m.ReadBuffer(buf, 3);
        FAIL() << "short read did not raise";
    } catch (const EReadError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
    }
    // Zero-length transfers never raise, even where nothing can move.
    m.SetPosition(100);
    EXPECT_NO_THROW(m.ReadBuffer(buf, 0));
}

TEST(Streams, CopyFrom)
{
    struct Case {
        const char* name;
        int64_t sourcePos;
        int64_t count;
        int64_t expectedResult;
        const char* expected;
    };
    const Case cases[] = {
        {"zero copies whole source from its start", 4, 0, 10, "0123456789"},
        {"count copies from current position", 4, 3, 3, "456"},
        {"count up to the end", 7, 3, 3, "789"},
    };
    for (const Case& c : cases) {
        TStringStream src("0123456789");
        TStringStream dst;
        src.SetPosition(c.sourcePos);
        EXPECT_EQ(dst.CopyFrom(&src, c.count), c.expectedResult) << c.name;
        EXPECT_EQ(dst.GetDataString(), c.expected) << c.name;
    }
    TStringStream src("0123");
    TStringStream dst;
    src.SetPosition(2);
    EXPECT_THROW(dst.CopyFrom(&src, 3), EReadError);

    // Copies larger than the internal buffer arrive whole.
    TMemoryStream big, copy;
    std::string data(200000, 'x');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    big.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    EXPECT_EQ(copy.CopyFrom(&big, 0), 200000);
    EXPECT_EQ(ReadAll(copy), data);
    EXPECT_EQ(copy.GetCapacity() % 0x2000, 0);
}

TEST(Streams, StringStream)
{
    TStringStream s("hello world");
    EXPECT_EQ(s.Seek(100, soBeginning), 11);
    EXPECT_EQ(s.Seek(-100, soCurrent), 0);
    EXPECT_EQ(s.ReadString(5), "hello");
    EXPECT_EQ(s.ReadString(100), " world");
    EXPECT_EQ(s.ReadString(3), "");

    // A write in the middle overwrites and keeps the tail.
    s.SetPosition(6);
    s.WriteString("W");
    EXPECT_EQ(s.GetDataString(), "hello World");
    s.Seek(0, soEnd);
    s.WriteString("!!");
    EXPECT_EQ(s.GetDataString(), "hello World!!");

    s.SetSize(5);
    EXPECT_EQ(s.GetPosition(), 5);
    EXPECT_EQ(s.GetDataString(), "hello");
}

TEST(Streams, FileStreamRoundTripAndErrors)
{
    TempDir dir;
    const std::string name = dir / "data.bin";
    {
        TFileStream f(name, fmCreate);
        f.WriteBuffer("abcdef", 6);
        EXPECT_EQ(f.GetSize(), 6);
    }
    {
        TFileStream f(name, fmOpenRead | fmShareDenyNone);
        EXPECT_EQ(ReadAll(f), "abcdef");
        EXPECT_THROW(f.WriteBuffer("x", 1), EWriteError);
    }
    {
        TFileStream f(name, fmOpenReadWrite | fmShareDenyNone);
        f.SetSize(3);
        EXPECT_EQ(f.GetPosition(), 3);
        f.WriteBuffer("XY", 2);
        EXPECT_EQ(ReadAll(f), "abcXY");
    }
    {
        TFileStream f(name, fmOpenWrite);
        f.Seek(0, soEnd);
        f.WriteBuffer("Z", 1);
    }
    TMemoryStream m;
    m.LoadFromFile(name);
    EXPECT_EQ(ReadAll(m), "abcXYZ");

    try {
        TFileStream f(dir / "missing.bin", fmOpenRead);
        FAIL() << "opening a missing file succeeded";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Cannot open file " + (dir / "missing.bin"), 0), 0u) << e.what();
    }
    EXPECT_THROW(TFileStream(dir / "no/such/dir.bin", fmCreate), EFCreateError);
    EXPECT_THROW(TFileStream(dir / "", fmOpenRead), EFOpenError);
}

TEST(Streams, FileStreamSizesBeyondFourGigabytes)
{
    TempDir dir;
    TFileStream f(dir / "sparse.bin", fmCreate);
    const int64_t big = (int64_t(5) << 30) + 3;
    f.SetSize(big);
    EXPECT_EQ(f.GetSize(), big);
    EXPECT_EQ(f.Seek(-1, soEnd), big - 1);
    f.WriteBuffer("q", 1);
    f.Seek(big - 1, soBeginning);
    char c = 0;
    f.ReadBuffer(&c, 1);
    EXPECT_EQ(c, 'q');
}

TEST(Streams, FileSharingModes)
{
    struct Case {
        unsigned first;
        unsigned second;
        bool secondOpens;
    };
    const Case cases[] = {
        {fmOpenRead | fmShareDenyNone, fmOpenRead | fmShareDenyNone, true},
        {fmOpenRead | fmShareDenyNone, fmOpenReadWrite | fmShareDenyNone, true},
        {fmOpenRead | fmShareDenyWrite, fmOpenRead | fmShareDenyWrite, true},
        {fmOpenRead | fmShareDenyWrite, fmOpenWrite | fmShareDenyNone, false},
        {fmOpenReadWrite | fmShareDenyNone, fmOpenRead | fmShareDenyWrite, false},
        {fmOpenRead | fmShareExclusive, fmOpenRead | fmShareDenyNone, false},
        {fmOpenRead | fmShareDenyNone, fmOpenRead | fmShareExclusive, false},
        {fmOpenRead | fmShareCompat, fmOpenRead | fmShareDenyNone, false},
        {fmOpenWrite | fmShareDenyRead, fmOpenRead | fmShareDenyNone, false},
        {fmOpenWrite | fmShareDenyRead, fmOpenWrite | fmShareDenyNone, true},
        {fmOpenRead | fmShareDenyNone, fmCreate, false},
    };
    TempDir dir;
    const std::string name = dir / "shared.bin";
    { TFileStream(name, fmCreate).WriteBuffer("keep", 4); }
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.first << " then " << c.second);
        TFileStream first(name, c.first);
        std::unique_ptr<TFileStream> second;
        if (c.secondOpens) {
            EXPECT_NO_THROW(second = std::make_unique<TFileStream>(name, c.second));
        } else {
            EXPECT_THROW(second = std::make_unique<TFileStream>(name, c.second), EStreamError);
        }
    }
    // A refused fmCreate must not have truncated the file, and closing a
    // stream releases its sharing.
    TFileStream f(name, fmOpenRead | fmShareExclusive);
    EXPECT_EQ(ReadAll(f), "keep");
}
