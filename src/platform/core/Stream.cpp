// Reading, writing, seeking and sizing memory and file streams; large memory blocks are mapped.
#include "platform/core/Stream.h"

#include "platform/core/Exceptions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

// --- TStream -------------------------------------------------------------------------------

std::int64_t TStream::Size()
{
    const std::int64_t Current = Seek(0, TSeekOrigin::soCurrent);
    const std::int64_t Result = Seek(0, TSeekOrigin::soEnd);
    Seek(Current, TSeekOrigin::soBeginning);
    return Result;
}

void TStream::ReadBuffer(void* Buffer, std::int64_t Count)
{
    if (Count != 0 && Read(Buffer, Count) != Count)
        throw EReadError(QStringLiteral("读取数据流出错"));
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError(QStringLiteral("写入数据流出错"));
}

std::int64_t TStream::CopyFrom(TStream& Source, std::int64_t Count)
{
    if (Count == 0) {
        Source.SetPosition(0);
        Count = Source.Size();
    }
    constexpr std::int64_t MaxBufSize = 0xF000;
    const std::int64_t BufSize = std::min(Count, MaxBufSize);
    const auto Buffer = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(BufSize));
    for (std::int64_t Left = Count; Left > 0;) {
        const std::int64_t N = std::min(Left, BufSize);
        Source.ReadBuffer(Buffer.get(), N);
        WriteBuffer(Buffer.get(), N);
        Left -= N;
    }
    return Count;
}

void AdviseLargeBlock([[maybe_unused]] void* Block, [[maybe_unused]] std::int64_t Size)
{
#ifdef MADV_HUGEPAGE
    if (Size < LargeMemoryBlock)
        return;
    // The whole pages the block lies in, not only the huge pages inside it: a mapping advised in
    // part is split in two, and the allocator can then no longer grow it in place (mremap).
    constexpr std::uintptr_t Page = 4096;
    const auto start = reinterpret_cast<std::uintptr_t>(Block);
    const std::uintptr_t first = start & ~(Page - 1);
    const std::uintptr_t last = (start + static_cast<std::uintptr_t>(Size) + Page - 1) & ~(Page - 1);
    // A refusal leaves the block as it is.
    madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

// --- TMemoryStream -------------------------------------------------------------------------

namespace {

#if __has_include(<sys/mman.h>)
constexpr std::int64_t HugePage = 2 << 20;
// What a large stream reserves at least: growing inside it never moves the bytes. Only the pages
// written to are ever backed by memory.
constexpr std::int64_t LargeReservation = 256 << 20;

std::int64_t RoundUp(std::int64_t Value, std::int64_t To) { return (Value + To - 1) / To * To; }

// Length bytes starting on a huge-page boundary, so the system can back the whole block with
// huge pages: a block that starts anywhere else loses them at both ends and moves when it grows.
// nullptr when the system refuses.
void* MapBlock(std::int64_t Length)
{
    const auto length = static_cast<std::size_t>(Length);
    void* raw = mmap(nullptr, length + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                     -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const auto aligned = static_cast<std::uintptr_t>(RoundUp(static_cast<std::int64_t>(start), HugePage));
    if (aligned > start)
        munmap(raw, aligned - start);
    const std::uintptr_t end = start + length + HugePage;
    if (end > aligned + length)
        munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
    AdviseLargeBlock(reinterpret_cast<void*>(aligned), Length);
    return reinterpret_cast<void*>(aligned);
}

void UnmapBlock(void* Block, std::int64_t Length) { munmap(Block, static_cast<std::size_t>(Length)); }
#endif

}  // namespace

TMemoryStream::~TMemoryStream() { ReleaseMemory(); }

void TMemoryStream::ReleaseMemory()
{
#if __has_include(<sys/mman.h>)
    if (FMapped) {
        UnmapBlock(FMemory, FAllocated);
        FMapped = false;
        FAllocated = 0;
        return;
    }
#endif
    std::free(FMemory);
    FAllocated = 0;
}

std::int64_t TMemoryStream::Read(void* Buffer, std::int64_t Count)
{
    if (FPosition < 0 || Count <= 0 || FPosition >= FSize)
        return 0;
    const std::int64_t N = std::min(Count, FSize - FPosition);
    std::memcpy(Buffer, static_cast<const char*>(FMemory) + FPosition, static_cast<std::size_t>(N));
    FPosition += N;
    return N;
}

std::int64_t TMemoryStream::Write(const void* Buffer, std::int64_t Count)
{
    // An end past the largest position would wrap; the platform's stream writes nothing then.
    if (FPosition < 0 || Count <= 0 || Count > std::numeric_limits<std::int64_t>::max() - FPosition)
        return 0;
    const std::int64_t End = FPosition + Count;
    if (End > FSize) {
        if (End > FCapacity)
            SetCapacity(End);
        ZeroFill(FSize, FPosition);  // the gap left by seeking past the end
        FSize = End;
    }
    std::memcpy(static_cast<char*>(FMemory) + FPosition, Buffer, static_cast<std::size_t>(Count));
    FPosition = End;
    return Count;
}

std::int64_t TMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    switch (Origin) {
    case TSeekOrigin::soBeginning: FPosition = Offset; break;
    case TSeekOrigin::soCurrent: FPosition += Offset; break;
    case TSeekOrigin::soEnd: FPosition = FSize + Offset; break;
    }
    return FPosition;
}

void TMemoryStream::SetSize(std::int64_t NewSize)
{
    SetCapacity(NewSize);
    ZeroFill(FSize, NewSize);
    FSize = NewSize;
    FPosition = std::min(FPosition, NewSize);
}

void TMemoryStream::Clear()
{
    SetCapacity(0);
    FSize = 0;
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream)
{
    Stream.SetPosition(0);
    const std::int64_t Count = Stream.Size();
    SetSize(Count);
    Stream.ReadBuffer(FMemory, Count);
}

void TMemoryStream::SaveToStream(TStream& Stream) const { Stream.WriteBuffer(FMemory, FSize); }

void TMemoryStream::LoadFromFile(const String& FileName)
{
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(Stream);
}

void TMemoryStream::SaveToFile(const String& FileName) const
{
    TFileStream Stream(FileName, fmCreate);
    SaveToStream(Stream);
}

void TMemoryStream::SetCapacity(std::int64_t NewCapacity)
{
    FMemory = Realloc(NewCapacity);
    FCapacity = NewCapacity;
}

void* TMemoryStream::Realloc(std::int64_t& NewCapacity)
{
    constexpr std::int64_t MemoryDelta = 0x2000;
    if (NewCapacity > 0 && NewCapacity != FSize)
        NewCapacity = (NewCapacity + (MemoryDelta - 1)) & ~(MemoryDelta - 1);
    return ResizeMemory(NewCapacity);
}

void* TMemoryStream::ResizeMemory(std::int64_t NewCapacity)
{
    if (NewCapacity == FCapacity)
        return FMemory;
    if (NewCapacity == 0) {
        ReleaseMemory();
        return nullptr;
    }
    // A stream growing by its small steps (8 KB, or the 128 KB of a clipboard copy) takes them
    // from room allocated ahead, so that it is moved a few times instead of once per step.
    if (NewCapacity > FCapacity && NewCapacity <= FAllocated)
        return FMemory;
    const std::int64_t Keep = std::min(FSize, NewCapacity);
#if __has_include(<sys/mman.h>)
    // A large block is a reservation of its own, several times the capacity: it is filled
    // without moving, in huge pages, and a 150 MB export no longer spends most of its time in
    // page faults and copies.
    if (NewCapacity >= LargeMemoryBlock && NewCapacity > FCapacity &&
        NewCapacity <= std::numeric_limits<std::int64_t>::max() / 4) {
        const std::int64_t Length = RoundUp(std::max(4 * NewCapacity, LargeReservation), HugePage);
        void* Block = MapBlock(Length);
        if (Block == nullptr)
            throw EStreamError(QStringLiteral("扩展内存流时内存不足"));
        if (Keep > 0)
            std::memcpy(Block, FMemory, static_cast<std::size_t>(Keep));
        ReleaseMemory();
        FMapped = true;
        FAllocated = Length;
        return Block;
    }
    // Shrinking: a large block stays as it is; a small one goes back to the heap.
    if (FMapped) {
        if (NewCapacity >= LargeMemoryBlock) {
            // The pages past the new end go back to the system; the reservation stays.
            const std::int64_t Used = RoundUp(NewCapacity, 4096);
            if (Used < FAllocated)
                madvise(static_cast<char*>(FMemory) + Used, static_cast<std::size_t>(FAllocated - Used), MADV_DONTNEED);
            return FMemory;
        }
        void* Small = std::malloc(static_cast<std::size_t>(NewCapacity));
        if (!Small)
            throw EStreamError(QStringLiteral("扩展内存流时内存不足"));
        if (Keep > 0)
            std::memcpy(Small, FMemory, static_cast<std::size_t>(Keep));
        ReleaseMemory();
        FAllocated = NewCapacity;
        return Small;
    }
#endif
    void* Result = std::realloc(FMemory, static_cast<std::size_t>(NewCapacity));
    if (!Result)
        throw EStreamError(QStringLiteral("扩展内存流时内存不足"));
    FAllocated = NewCapacity;
    return Result;
}

void TMemoryStream::ZeroFill(std::int64_t From, std::int64_t To)
{
    if (To > From)
        std::memset(static_cast<char*>(FMemory) + From, 0, static_cast<std::size_t>(To - From));
}

// --- TFileStream ---------------------------------------------------------------------------

TFileStream::TFileStream(const String& FileName, std::uint16_t Mode)
    : FFileName(FileName), FFile(FileName)
{
    // Unbuffered: every write reaches the file at once, as with the platform's file handles.
    constexpr QIODevice::OpenMode Unbuffered = QIODevice::Unbuffered;
    if ((Mode & fmCreate) == fmCreate) {
        if (!FFile.open(QIODevice::ReadWrite | QIODevice::Truncate | Unbuffered))
            throw EFCreateError(QStringLiteral("无法创建文件“%1”。%2").arg(FileName, FFile.errorString()));
        return;
    }
    const int Access = Mode & 0x3;
    // A write-only QFile would empty the file, so write access opens it for both.
    const QIODevice::OpenMode OpenMode = Access == fmOpenRead ? QIODevice::ReadOnly
                                                              : QIODevice::ReadWrite | QIODevice::ExistingOnly;
    if (!FFile.open(OpenMode | Unbuffered))
        throw EFOpenError(QStringLiteral("无法打开文件“%1”。%2").arg(FileName, FFile.errorString()));
    FWriteOnly = Access == fmOpenWrite;
}

std::int64_t TFileStream::Read(void* Buffer, std::int64_t Count)
{
    if (FWriteOnly || Count <= 0)
        return 0;
    return std::max<std::int64_t>(FFile.read(static_cast<char*>(Buffer), Count), 0);
}

std::int64_t TFileStream::Write(const void* Buffer, std::int64_t Count)
{
    if (!FFile.isWritable() || Count <= 0)
        return 0;
    return std::max<std::int64_t>(FFile.write(static_cast<const char*>(Buffer), Count), 0);
}

std::int64_t TFileStream::Seek(std::int64_t Offset, TSeekOrigin Origin)
{
    std::int64_t Base = 0;
    switch (Origin) {
    case TSeekOrigin::soBeginning: Base = 0; break;
    case TSeekOrigin::soCurrent: Base = FFile.pos(); break;
    case TSeekOrigin::soEnd: Base = FFile.size(); break;
    }
    const std::int64_t Target = Base + Offset;
    return Target >= 0 && FFile.seek(Target) ? Target : -1;
}

void TFileStream::SetSize(std::int64_t NewSize)
{
    if (!FFile.resize(NewSize))
        throw EStreamError(FFile.errorString());
    FFile.seek(NewSize);
}
