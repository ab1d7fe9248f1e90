#pragma once
// The clipboard with the platform's numbered formats: CF_TEXT (GB18030 bytes with a terminating
// zero), CF_UNICODETEXT (UTF-16LE with a terminating zero character) and formats registered by
// name. Writes between Open and Close replace the whole content in one go; every format keeps
// its bytes exactly. The content lives in a store: the system clipboard, or one in memory.
#include "platform/core/String.h"

#include <QByteArray>

#include <map>
#include <memory>
#include <optional>

using TClipboardFormat = unsigned;
constexpr TClipboardFormat CF_TEXT = 1;
constexpr TClipboardFormat CF_BITMAP = 2;
constexpr TClipboardFormat CF_OEMTEXT = 7;
constexpr TClipboardFormat CF_UNICODETEXT = 13;

// Registers a format by name (case-insensitive) and returns its id, the same id for the same
// name for the life of the program; registered ids start at 0xC000 as on the platform.
TClipboardFormat RegisterClipboardFormat(const String& Name);
// The name a format was registered with; empty for the numbered standard formats.
String GetClipboardFormatName(TClipboardFormat Format);

// Every format of one clipboard content with its bytes.
using TClipboardContent = std::map<TClipboardFormat, QByteArray>;

// Where the clipboard's content lives.
class TClipboardStore {
public:
    virtual ~TClipboardStore() = default;
    // Replaces the whole content.
    virtual void Put(const TClipboardContent& Content) = 0;
    // The bytes of Format as stored; none when the content lacks it.
    virtual std::optional<QByteArray> Get(TClipboardFormat Format) const = 0;
};

// A clipboard of this process only, for tests.
class TMemoryClipboardStore : public TClipboardStore {
public:
    void Put(const TClipboardContent& Content) override { FContent = Content; }
    std::optional<QByteArray> Get(TClipboardFormat Format) const override;

private:
    TClipboardContent FContent;
};

class TClipboard {
public:
    TClipboard();
    ~TClipboard();

    // Open and Close bracket a batch of writes; they nest. The first write of a batch empties the
    // clipboard; Close of the outermost bracket hands the batch to the store in one go.
    void Open();
    void Close();
    void Clear();

    bool HasFormat(TClipboardFormat Format) const;
    // The bytes of Format, whole; a text format missing from the content is made from the other
    // text format, as the platform does. Empty when the content has neither.
    QByteArray GetFormatData(TClipboardFormat Format) const;
    void SetFormatData(TClipboardFormat Format, const QByteArray& Data);

    // The text up to its terminating zero; setting it stores it as CF_UNICODETEXT.
    String AsText() const;
    void SetAsText(const String& Value);

    // Replaces the store (nullptr returns to the system clipboard).
    void SetStore(std::unique_ptr<TClipboardStore> Store);

private:
    std::optional<QByteArray> Stored(TClipboardFormat Format) const;

    std::unique_ptr<TClipboardStore> FStore;
    int FOpenRefCount = 0;
    bool FEmptied = false;
    TClipboardContent FBatch;
};

// The application's clipboard.
TClipboard* Clipboard();
