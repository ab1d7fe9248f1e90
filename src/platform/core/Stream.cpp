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
        throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void* Buffer, std::int64_t Count)
{
    if (Count != 0 && Write(Buffer, Count) != Count)
        throw EWriteError(QStringLiteral("Stream write error"));
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

TMemoryStream::~TMemoryStream() { std::free(FMemory); }

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
        std::free(FMemory);
        FAllocated = 0;
        return nullptr;
    }
    // A large stream growing by its small steps (8 KB, or the 128 KB of a clipboard copy) takes
    // the next steps from a block allocated twice as large, so that it is reallocated a few
    // times instead of once per step. Only the pages written to are ever touched. Shrinking
    // still gives the memory back.
    if (NewCapacity > FCapacity && NewCapacity <= FAllocated)
        return FMemory;
    const std::int64_t Ahead = NewCapacity > FCapacity && NewCapacity >= LargeMemoryBlock
                                   ? std::min(NewCapacity, std::numeric_limits<std::int64_t>::max() - NewCapacity)
                                   : 0;
    const std::int64_t Allocate = NewCapacity + Ahead;
    void* Result = std::realloc(FMemory, static_cast<std::size_t>(Allocate));
    if (!Result)
        throw EStreamError(QStringLiteral("Out of memory while expanding memory stream"));
    AdviseLargeBlock(Result, Allocate);
    FAllocated = Allocate;
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
            throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, FFile.errorString()));
        return;
    }
    const int Access = Mode & 0x3;
    // A write-only QFile would empty the file, so write access opens it for both.
    const QIODevice::OpenMode OpenMode = Access == fmOpenRead ? QIODevice::ReadOnly
                                                              : QIODevice::ReadWrite | QIODevice::ExistingOnly;
    if (!FFile.open(OpenMode | Unbuffered))
        throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, FFile.errorString()));
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
