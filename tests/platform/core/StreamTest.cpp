// Memory and file streams: positions, growth, sizes, copies, file modes and failures.
#include "platform/core/Stream.h"

#include "platform/core/Exceptions.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

namespace {

std::string ReadAll(TStream& Stream)
{
    std::string Result(static_cast<std::size_t>(Stream.Size()), '\0');
    Stream.SetPosition(0);
    Stream.ReadBuffer(Result.data(), Stream.Size());
    return Result;
}

void WriteText(TStream& Stream, const std::string& Text) { Stream.WriteBuffer(Text.data(), Text.size()); }

// A stream that grows in steps of twice a half step, as descendants of the memory stream do.
class TCoarseMemoryStream : public TMemoryStream {
public:
    std::int64_t HalfStep = 4096;
    using TMemoryStream::SetCapacity;

protected:
    void* Realloc(std::int64_t& NewCapacity) override
    {
        if (NewCapacity > 0 && NewCapacity != Size())
            NewCapacity = (NewCapacity + 2 * HalfStep - 1) & ~(2 * HalfStep - 1);
        return ResizeMemory(NewCapacity);
    }
};

}  // namespace

TEST(MemoryStream, WriteReadAndSeekMoveThePosition)
{
    TMemoryStream Stream;
    WriteText(Stream, "hello world");
    EXPECT_EQ(Stream.Position(), 11);
    EXPECT_EQ(Stream.Size(), 11);
    EXPECT_EQ(Stream.Seek(-5, TSeekOrigin::soEnd), 6);
    char Buffer[16] = {};
    EXPECT_EQ(Stream.Read(Buffer, sizeof Buffer), 5);
    EXPECT_STREQ(Buffer, "world");
    EXPECT_EQ(Stream.Read(Buffer, 1), 0);
    EXPECT_EQ(Stream.Seek(-11, TSeekOrigin::soCurrent), 0);
    WriteText(Stream, "HE");
    EXPECT_EQ(ReadAll(Stream), "HEllo world");
    EXPECT_EQ(std::memcmp(Stream.Memory(), "HEllo", 5), 0);
}

TEST(MemoryStream, WritingPastTheEndZeroFillsTheGapUnlessTheEndWouldWrap)
{
    TMemoryStream Stream;
    WriteText(Stream, "ab");
    Stream.SetPosition(5);
    EXPECT_EQ(Stream.Size(), 2);
    WriteText(Stream, "z");
    EXPECT_EQ(ReadAll(Stream), std::string("ab\0\0\0z", 6));
    Stream.Seek(std::numeric_limits<std::int64_t>::max() - 1, TSeekOrigin::soBeginning);
    EXPECT_EQ(Stream.Write("xyz", 3), 0);
    EXPECT_EQ(ReadAll(Stream), std::string("ab\0\0\0z", 6));
}

TEST(MemoryStream, CapacityGrowsInMultiplesOf8192)
{
    TMemoryStream Stream;
    WriteText(Stream, "x");
    EXPECT_EQ(Stream.Capacity(), 8192);
    const std::string Block(8192, 'y');
    WriteText(Stream, Block);
    EXPECT_EQ(Stream.Capacity(), 16384);
    Stream.Clear();
    EXPECT_EQ(Stream.Capacity(), 0);
    EXPECT_EQ(Stream.Size(), 0);
    EXPECT_EQ(Stream.Memory(), nullptr);
}

TEST(MemoryStream, DescendantsChangeTheGrowthStep)
{
    TCoarseMemoryStream Stream;
    WriteText(Stream, "x");
    EXPECT_EQ(Stream.Capacity(), 8192);
    Stream.HalfStep = 65536;
    WriteText(Stream, std::string(8192, 'y'));
    EXPECT_EQ(Stream.Capacity(), 131072);
    // A capacity equal to the size is taken as it is.
    Stream.SetCapacity(Stream.Size());
    EXPECT_EQ(Stream.Capacity(), 8193);
    EXPECT_EQ(ReadAll(Stream), "x" + std::string(8192, 'y'));
}

TEST(MemoryStream, ALargeStreamKeepsItsGrowthStepsAndBytesWhileAllocatedAhead)
{
    // Past the large-block size the block is allocated ahead of the capacity; the capacity
    // still follows the growth rule step by step, and the bytes survive every reallocation.
    TCoarseMemoryStream Stream;
    Stream.HalfStep = 65536;
    std::string Expected;
    for (int I = 0; Stream.Size() < 3 * LargeMemoryBlock; ++I) {
        const std::string Chunk(50000, static_cast<char>('a' + I % 26));
        WriteText(Stream, Chunk);
        Expected += Chunk;
        EXPECT_EQ(Stream.Capacity(), (Stream.Size() + 131071) / 131072 * 131072);
    }
    EXPECT_EQ(ReadAll(Stream), Expected);
    // Shrinking gives the memory back and growing again starts from there.
    Stream.SetSize(100);
    EXPECT_EQ(Stream.Capacity(), 131072);
    WriteText(Stream, "tail");
    EXPECT_EQ(ReadAll(Stream), Expected.substr(0, 100) + "tail");
    Stream.SetSize(LargeMemoryBlock + 1);
    EXPECT_EQ(Stream.Capacity(), LargeMemoryBlock + 131072);
    EXPECT_EQ(ReadAll(Stream).substr(100, 4), "tail");
    EXPECT_EQ(ReadAll(Stream).back(), '\0');
    Stream.Clear();
    EXPECT_EQ(Stream.Memory(), nullptr);
}

TEST(MemoryStream, ALargeStreamKeepsItsBytesWhenItOutgrowsItsBlockAndWhenItShrinks)
{
    TCoarseMemoryStream Stream;
    std::string Expected;
    for (int I = 0; Stream.Size() < 2 * LargeMemoryBlock; ++I) {
        const std::string Chunk(65536, static_cast<char>('A' + I % 26));
        WriteText(Stream, Chunk);
        Expected += Chunk;
    }
    // Far past what a large block holds ahead: the bytes move to a larger one, as they were.
    const void* Before = Stream.Memory();
    Stream.SetCapacity(std::int64_t(512) << 20);
    EXPECT_NE(Stream.Memory(), Before);
    EXPECT_EQ(Stream.Capacity(), std::int64_t(512) << 20);
    EXPECT_EQ(ReadAll(Stream), Expected);
    // Shrinking inside the block keeps what stays; growing again reads zeros after it.
    Stream.SetSize(LargeMemoryBlock + 10);
    EXPECT_EQ(ReadAll(Stream), Expected.substr(0, LargeMemoryBlock + 10));
    Stream.SetSize(LargeMemoryBlock + 20);
    EXPECT_EQ(ReadAll(Stream).substr(LargeMemoryBlock + 10), std::string(10, '\0'));
    // Small again: back to an ordinary block, with its bytes.
    Stream.SetSize(100);
    EXPECT_EQ(ReadAll(Stream), Expected.substr(0, 100));
    WriteText(Stream, "end");
    EXPECT_EQ(ReadAll(Stream), Expected.substr(0, 100) + "end");
}

TEST(MemoryStream, SetSizeTruncatesOrExtendsAndClampsThePosition)
{
    TMemoryStream Stream;
    WriteText(Stream, "abcdef");
    Stream.SetSize(3);
    EXPECT_EQ(Stream.Position(), 3);
    EXPECT_EQ(ReadAll(Stream), "abc");
    Stream.SetSize(5);
    EXPECT_EQ(ReadAll(Stream), std::string("abc\0\0", 5));
}

TEST(MemoryStream, FailedExpansionRaisesAndKeepsTheContents)
{
    TMemoryStream Stream;
    WriteText(Stream, "keep");
    try {
        Stream.SetSize(std::int64_t(1) << 60);
        FAIL() << "no exception";
    } catch (const EStreamError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("扩展内存流时内存不足"));
    }
    EXPECT_EQ(Stream.Size(), 4);
    EXPECT_EQ(ReadAll(Stream), "keep");
}

TEST(MemoryStream, ShortReadOrWriteBufferRaises)
{
    TMemoryStream Stream;
    WriteText(Stream, "ab");
    Stream.SetPosition(0);
    char Buffer[3];
    try {
        Stream.ReadBuffer(Buffer, 3);
        FAIL() << "no exception";
    } catch (const EReadError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("读取数据流出错"));
    }
    Stream.SetPosition(-1);
    EXPECT_THROW(Stream.WriteBuffer("x", 1), EWriteError);
    EXPECT_NO_THROW(Stream.ReadBuffer(Buffer, 0));
}

TEST(MemoryStream, CopyFromCopiesFromTheSourcePositionOrAllOfIt)
{
    TMemoryStream Source;
    WriteText(Source, "0123456789");
    TMemoryStream Target;
    Source.SetPosition(4);
    EXPECT_EQ(Target.CopyFrom(Source, 3), 3);
    EXPECT_EQ(Source.Position(), 7);
    EXPECT_EQ(Target.CopyFrom(Source, 0), 10);
    EXPECT_EQ(ReadAll(Target), "4560123456789");
    Source.SetPosition(8);
    EXPECT_THROW(Target.CopyFrom(Source, 5), EReadError);

    // A source larger than the copy buffer arrives whole and in order.
    std::string Data(200000, '\0');
    for (std::size_t I = 0; I < Data.size(); ++I)
        Data[I] = static_cast<char>(I * 7);
    Source.Clear();
    WriteText(Source, Data);
    Target.Clear();
    Target.CopyFrom(Source, 0);
    EXPECT_EQ(ReadAll(Target), Data);
}

class FileStreamTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    String Path(const char* Name) const { return Dir.filePath(QString::fromUtf8(Name)); }
};

TEST_F(FileStreamTest, MemoryStreamSavesAndLoadsFiles)
{
    TMemoryStream Out;
    WriteText(Out, "领用\r\n");
    Out.SaveToFile(Path("数据.bin"));
    TMemoryStream In;
    In.LoadFromFile(Path("数据.bin"));
    EXPECT_EQ(ReadAll(In), "领用\r\n");
    EXPECT_EQ(In.Position(), In.Size());
}

TEST_F(FileStreamTest, CreateEmptiesAnExistingFile)
{
    {
        TFileStream Stream(Path("a.bin"), fmCreate);
        WriteText(Stream, "long content");
    }
    TFileStream Stream(Path("a.bin"), fmCreate | fmShareExclusive);
    EXPECT_EQ(Stream.Size(), 0);
    WriteText(Stream, "new");
    EXPECT_EQ(ReadAll(Stream), "new");
}

TEST_F(FileStreamTest, OpenForWritingKeepsTheContentsAndCannotRead)
{
    {
        TFileStream Stream(Path("a.bin"), fmCreate);
        WriteText(Stream, "abcdef");
    }
    {
        TFileStream Stream(Path("a.bin"), fmOpenWrite | fmShareDenyNone);
        EXPECT_EQ(Stream.Size(), 6);
        Stream.SetPosition(2);
        WriteText(Stream, "XY");
        char Buffer[1];
        EXPECT_EQ(Stream.Read(Buffer, 1), 0);
    }
    TFileStream Stream(Path("a.bin"), fmOpenRead);
    EXPECT_EQ(ReadAll(Stream), "abXYef");
    EXPECT_EQ(Stream.Write("z", 1), 0);
}

TEST_F(FileStreamTest, SeekingPastTheEndAndWritingExtends)
{
    TFileStream Stream(Path("a.bin"), fmCreate);
    WriteText(Stream, "ab");
    EXPECT_EQ(Stream.Seek(2, TSeekOrigin::soEnd), 4);
    EXPECT_EQ(Stream.Size(), 2);
    WriteText(Stream, "z");
    EXPECT_EQ(ReadAll(Stream), std::string("ab\0\0z", 5));
    EXPECT_EQ(Stream.Seek(-1, TSeekOrigin::soBeginning), -1);
}

TEST_F(FileStreamTest, SetSizeTruncatesAndMovesThePositionThere)
{
    TFileStream Stream(Path("a.bin"), fmCreate);
    WriteText(Stream, "abcdef");
    Stream.SetSize(2);
    EXPECT_EQ(Stream.Position(), 2);
    EXPECT_EQ(ReadAll(Stream), "ab");
}

TEST_F(FileStreamTest, FailuresNameTheFileAndTheReason)
{
    const String Missing = Path("missing.bin");
    try {
        TFileStream Stream(Missing, fmOpenReadWrite);
        FAIL() << "no exception";
    } catch (const EFOpenError& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("无法打开文件“%1”。No such file or directory").arg(Missing));
    }
    EXPECT_FALSE(QFile::exists(Missing));
    const String NoFolder = Path("no/such/folder.bin");
    try {
        TFileStream Stream(NoFolder, fmCreate);
        FAIL() << "no exception";
    } catch (const EFCreateError& E) {
        EXPECT_TRUE(E.Message().startsWith(QStringLiteral("无法创建文件“%1”。").arg(NoFolder)));
    }
    TMemoryStream Memory;
    EXPECT_THROW(Memory.LoadFromFile(Missing), EFOpenError);
}
