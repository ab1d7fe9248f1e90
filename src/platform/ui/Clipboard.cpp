// TClipboard on a store: the system clipboard through Qt, or memory.
#include "platform/ui/Clipboard.h"

#include "platform/core/TextEncoding.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <vector>

namespace {

constexpr TClipboardFormat FirstRegisteredFormat = 0xC000;

std::vector<String>& RegisteredNames()
{
    static std::vector<String> names;
    return names;
}

bool IsAnsiText(TClipboardFormat Format) { return Format == CF_TEXT || Format == CF_OEMTEXT; }

QByteArray UnicodeBytes(const String& Text)
{
    QByteArray bytes;
    bytes.reserve((Text.size() + 1) * 2);
    for (const QChar ch : Text) {
        bytes.append(static_cast<char>(ch.unicode() & 0xFF));
        bytes.append(static_cast<char>(ch.unicode() >> 8));
    }
    bytes.append(2, '\0');
    return bytes;
}

String UnicodeText(const QByteArray& Bytes)
{
    String text;
    for (qsizetype i = 0; i + 1 < Bytes.size(); i += 2) {
        const auto code = static_cast<char16_t>(static_cast<unsigned char>(Bytes[i]) |
                                                (static_cast<unsigned char>(Bytes[i + 1]) << 8));
        if (code == 0)
            break;
        text.append(QChar(code));
    }
    return text;
}

QByteArray AnsiBytes(const String& Text) { return EncodeGB18030(Text).append('\0'); }

String AnsiText(const QByteArray& Bytes)
{
    const qsizetype end = Bytes.indexOf('\0');
    return DecodeGB18030(end < 0 ? Bytes : Bytes.left(end));
}

// Each format travels under a MIME type of its own, so other instances of the program read it
// back byte for byte; plain text is offered besides for other programs.
QString MimeType(TClipboardFormat Format)
{
    const String name = GetClipboardFormatName(Format);
    return name.isEmpty() ? QStringLiteral("application/x-vellomar-cf-%1").arg(Format)
                          : QStringLiteral("application/x-vellomar-") + name;
}

// What other programs read a registered format as: the type and its bytes, without the
// terminator. A CSV table is text in the ANSI code page on this clipboard, but other programs on
// this desktop read text/csv as UTF-8.
std::vector<std::pair<QString, QByteArray>> PublicForms(TClipboardFormat Format, const QByteArray& Bytes)
{
    const String name = GetClipboardFormatName(Format);
    const qsizetype end = Bytes.indexOf('\0');
    const QByteArray text = end < 0 ? Bytes : Bytes.left(end);
    if (name.compare(QStringLiteral("Csv"), Qt::CaseInsensitive) == 0)
        return {{QStringLiteral("text/csv"), AnsiText(text).toUtf8()}};
    if (name.compare(QStringLiteral("Rich Text Format"), Qt::CaseInsensitive) == 0)
        return {{QStringLiteral("text/rtf"), text}, {QStringLiteral("application/rtf"), text}};
    return {};
}

class TSystemClipboardStore : public TClipboardStore {
public:
    void Put(const TClipboardContent& Content) override
    {
        if (Content.empty()) {
            QGuiApplication::clipboard()->clear();
            return;
        }
        auto* data = new QMimeData;
        for (const auto& [format, bytes] : Content) {
            data->setData(MimeType(format), bytes);
            for (const auto& [mime, publicBytes] : PublicForms(format, bytes))
                data->setData(mime, publicBytes);
        }
        if (const auto unicode = Content.find(CF_UNICODETEXT); unicode != Content.end())
            data->setText(UnicodeText(unicode->second));
        else if (const auto ansi = Content.find(CF_TEXT); ansi != Content.end())
            data->setText(AnsiText(ansi->second));
        QGuiApplication::clipboard()->setMimeData(data);
    }

    std::optional<QByteArray> Get(TClipboardFormat Format) const override
    {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (data == nullptr)
            return std::nullopt;
        if (data->hasFormat(MimeType(Format)))
            return data->data(MimeType(Format));
        // Text another program put there.
        if (Format == CF_UNICODETEXT && data->hasText())
            return UnicodeBytes(data->text());
        return std::nullopt;
    }
};

}  // namespace

TClipboardFormat RegisterClipboardFormat(const String& Name)
{
    auto& names = RegisteredNames();
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i].compare(Name, Qt::CaseInsensitive) == 0)
            return FirstRegisteredFormat + static_cast<TClipboardFormat>(i);
    names.push_back(Name);
    return FirstRegisteredFormat + static_cast<TClipboardFormat>(names.size() - 1);
}

String GetClipboardFormatName(TClipboardFormat Format)
{
    const auto& names = RegisteredNames();
    if (Format < FirstRegisteredFormat || Format - FirstRegisteredFormat >= names.size())
        return String();
    return names[Format - FirstRegisteredFormat];
}

std::optional<QByteArray> TMemoryClipboardStore::Get(TClipboardFormat Format) const
{
    const auto found = FContent.find(Format);
    if (found == FContent.end())
        return std::nullopt;
    return found->second;
}

TClipboard::TClipboard() : FStore(std::make_unique<TSystemClipboardStore>()) {}

TClipboard::~TClipboard() = default;

void TClipboard::Open()
{
    if (FOpenRefCount++ == 0)
        FEmptied = false;
}

void TClipboard::Close()
{
    if (FOpenRefCount == 0 || --FOpenRefCount > 0)
        return;
    if (FEmptied)
        FStore->Put(FBatch);
    FBatch.clear();
    FEmptied = false;
}

void TClipboard::Clear()
{
    Open();
    FEmptied = true;
    FBatch.clear();
    Close();
}

void TClipboard::SetFormatData(TClipboardFormat Format, const QByteArray& Data)
{
    Open();
    if (!FEmptied) {
        FEmptied = true;
        FBatch.clear();
    }
    FBatch[Format] = Data;
    Close();
}

std::optional<QByteArray> TClipboard::Stored(TClipboardFormat Format) const
{
    if (!FEmptied)
        return FStore->Get(Format);
    const auto found = FBatch.find(Format);
    if (found == FBatch.end())
        return std::nullopt;
    return found->second;
}

QByteArray TClipboard::GetFormatData(TClipboardFormat Format) const
{
    if (auto bytes = Stored(Format))
        return *bytes;
    if (IsAnsiText(Format)) {
        if (const auto unicode = Stored(CF_UNICODETEXT))
            return AnsiBytes(UnicodeText(*unicode));
        if (const auto other = Stored(Format == CF_TEXT ? CF_OEMTEXT : CF_TEXT))
            return *other;
    } else if (Format == CF_UNICODETEXT) {
        if (const auto ansi = Stored(CF_TEXT))
            return UnicodeBytes(AnsiText(*ansi));
        if (const auto oem = Stored(CF_OEMTEXT))
            return UnicodeBytes(AnsiText(*oem));
    }
    return QByteArray();
}

bool TClipboard::HasFormat(TClipboardFormat Format) const
{
    if (Stored(Format))
        return true;
    const bool text = IsAnsiText(Format) || Format == CF_UNICODETEXT;
    return text && (Stored(CF_TEXT) || Stored(CF_OEMTEXT) || Stored(CF_UNICODETEXT));
}

String TClipboard::AsText() const { return UnicodeText(GetFormatData(CF_UNICODETEXT)); }

void TClipboard::SetAsText(const String& Value) { SetFormatData(CF_UNICODETEXT, UnicodeBytes(Value)); }

void TClipboard::SetStore(std::unique_ptr<TClipboardStore> Store)
{
    FStore = Store ? std::move(Store) : std::make_unique<TSystemClipboardStore>();
}

TClipboard* Clipboard()
{
    static TClipboard clipboard;
    return &clipboard;
}
