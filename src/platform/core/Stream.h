#pragma once
// Byte streams: the abstract TStream, a memory stream and a file stream.
#include "platform/core/Object.h"
#include "platform/core/String.h"

#include <QFile>

#include <cstdint>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// Blocks of at least this size are filled as large ones: see AdviseLargeBlock.
inline constexpr std::int64_t LargeMemoryBlock = 4 << 20;

// Asks the system to back a large block, about to be filled from start to end, with huge pages
// where it has them: filling hundreds of MB in 4 KB pages spends most of its time in page faults.
// Nothing happens to smaller blocks or where the system does not offer it.
void AdviseLargeBlock(void* Block, std::int64_t Size);

class TStream : public TObject {
public:
    // Read and Write move the position by what they transfer and return that count, which
    // may be short of Count; ReadBuffer and WriteBuffer raise instead of transferring less.
    virtual std::int64_t Read(void* Buffer, std::int64_t Count) = 0;
    virtual std::int64_t Write(const void* Buffer, std::int64_t Count) = 0;
    // Returns the new position.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

    std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t Value) { Seek(Value, TSeekOrigin::soBeginning); }
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t NewSize) = 0;

    void ReadBuffer(void* Buffer, std::int64_t Count);    // EReadError "Stream read error"
    void WriteBuffer(const void* Buffer, std::int64_t Count);  // EWriteError "Stream write error"
    // Copies Count bytes from Source's position; Count 0 copies all of Source from its start.
    // Returns the bytes copied.
    std::int64_t CopyFrom(TStream& Source, std::int64_t Count);
};

class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    ~TMemoryStream() override;

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override { return FSize; }
    void SetSize(std::int64_t NewSize) override;

    void* Memory() { return FMemory; }
    const void* Memory() const { return FMemory; }
    std::int64_t Capacity() const { return FCapacity; }

    void Clear();
    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream) const;
    void LoadFromFile(const String& FileName);
    void SaveToFile(const String& FileName) const;

protected:
    // Never below Size(): only SetSize and Write change the capacity from outside.
    void SetCapacity(std::int64_t NewCapacity);
    // Returns the block for NewCapacity after applying the growth rule to it: a capacity other
    // than the current size is rounded up to a multiple of 8192. Descendants change the rule.
    virtual void* Realloc(std::int64_t& NewCapacity);
    // Resizes the block to exactly NewCapacity bytes (frees it at 0) and returns it; a failed
    // allocation raises EStreamError and leaves the block as it was.
    void* ResizeMemory(std::int64_t NewCapacity);

private:
    void ZeroFill(std::int64_t From, std::int64_t To);
    // Gives the block back, however it was allocated.
    void ReleaseMemory();

    void* FMemory = nullptr;
    std::int64_t FSize = 0;
    std::int64_t FCapacity = 0;
    // The bytes allocated: a large block is allocated ahead of its capacity (see ResizeMemory).
    std::int64_t FAllocated = 0;
    // A large block is a mapping of its own rather than from the heap.
    bool FMapped = false;
    std::int64_t FPosition = 0;
};

// File modes: one access mode, optionally or-ed with a sharing flag (accepted, not enforced).
inline constexpr std::uint16_t fmCreate = 0xFF00;
inline constexpr std::uint16_t fmOpenRead = 0x0000;
inline constexpr std::uint16_t fmOpenWrite = 0x0001;
inline constexpr std::uint16_t fmOpenReadWrite = 0x0002;
inline constexpr std::uint16_t fmShareCompat = 0x0000;
inline constexpr std::uint16_t fmShareExclusive = 0x0010;
inline constexpr std::uint16_t fmShareDenyWrite = 0x0020;
inline constexpr std::uint16_t fmShareDenyRead = 0x0030;
inline constexpr std::uint16_t fmShareDenyNone = 0x0040;

class TFileStream : public TStream {
public:
    // fmCreate creates the file or empties an existing one (EFCreateError on failure); the
    // open modes need an existing file (EFOpenError on failure).
    TFileStream(const String& FileName, std::uint16_t Mode);

    std::int64_t Read(void* Buffer, std::int64_t Count) override;
    std::int64_t Write(const void* Buffer, std::int64_t Count) override;
    // Seeking past the end is allowed, a write there extends the file; a negative position fails
    // and returns -1.
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t Size() override { return FFile.size(); }
    void SetSize(std::int64_t NewSize) override;

    const String& FileName() const { return FFileName; }

private:
    String FFileName;
    QFile FFile;
    bool FWriteOnly = false;
};
