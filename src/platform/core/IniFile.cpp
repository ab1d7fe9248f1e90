// The settings file read and rewritten on every call: its lines, sections and key values.
#include "platform/core/IniFile.h"

#include "platform/core/Exceptions.h"
#include "platform/core/SysUtils.h"

#include <QFile>
#include <QSaveFile>

#include <optional>

namespace {

bool SameName(QStringView A, QStringView B) { return A.compare(B, Qt::CaseInsensitive) == 0; }

// "[name]" gives the trimmed name.
std::optional<QStringView> SectionHeaderName(QStringView Line)
{
    Line = Line.trimmed();
    const qsizetype Close = Line.indexOf(u']');
    if (!Line.startsWith(u'[') || Close < 0)
        return std::nullopt;
    return Line.sliced(1, Close - 1).trimmed();
}

struct TKeyLine {
    QStringView Key;
    QStringView Value;
};

// "key=value": the key before the first '=', the value after it, both trimmed. Comments
// (';' first) and lines without '=' or without a key are not key lines.
std::optional<TKeyLine> ParseKeyLine(QStringView Line)
{
    Line = Line.trimmed();
    const qsizetype Equals = Line.indexOf(u'=');
    if (Line.startsWith(u';') || Equals <= 0)
        return std::nullopt;
    return TKeyLine{Line.first(Equals).trimmed(), Line.sliced(Equals + 1).trimmed()};
}

// The lines of the file as last written, with the edits a write makes.
class TIniLines {
public:
    static TIniLines Load(const String& FileName);
    void Save(const String& FileName) const;

    // Lines [Header, End) of the first section of that name: its header up to the next one.
    struct TSpan {
        qsizetype Header;
        qsizetype End;
    };
    std::optional<TSpan> FindSection(QStringView Section) const;
    // The line of the key in the span, -1 when absent.
    qsizetype FindKey(TSpan Span, QStringView Ident) const;
    QStringList Keys(TSpan Span) const;
    QStringList SectionNames() const;
    std::optional<QStringView> Value(QStringView Section, QStringView Ident) const;

    void SetValue(const String& Section, const String& Ident, const String& Value);
    void Remove(qsizetype First, qsizetype End)
    {
        FLines.remove(First, End - First);
        FBytes.remove(First, End - First);
    }

private:
    void Set(qsizetype Index, const String& Line);
    void Insert(qsizetype Index, const String& Line);

    // The lines as text, and as the bytes the file holds: a line that is not UTF-8 is written
    // back as it was read unless a write replaces it.
    QStringList FLines;
    QList<QByteArray> FBytes;
    QByteArrayView FLineBreak{"\n"};
};

TIniLines TIniLines::Load(const String& FileName)
{
    TIniLines Result;
    QFile File(FileName);
    if (!File.open(QIODevice::ReadOnly))
        return Result;
    QByteArray Bytes = File.readAll();
    if (Bytes.startsWith("\xEF\xBB\xBF"))
        Bytes.remove(0, 3);
    // Rewrites keep the file's own line breaks.
    if (Bytes.contains("\r\n"))
        Result.FLineBreak = "\r\n";
    Result.FBytes = Bytes.split('\n');
    if (Bytes.endsWith('\n'))
        Result.FBytes.removeLast();
    Result.FLines.reserve(Result.FBytes.size());
    for (QByteArray& Line : Result.FBytes) {
        if (Line.endsWith('\r'))
            Line.chop(1);
        Result.FLines.append(String::fromUtf8(Line));
    }
    return Result;
}

void TIniLines::Save(const String& FileName) const
{
    QByteArray Bytes;
    for (const QByteArray& Line : FBytes) {
        Bytes += Line;
        Bytes += FLineBreak;
    }
    // Written beside the file and renamed over it, so no crash leaves it half written.
    QSaveFile File(FileName);
    if (!File.open(QIODevice::WriteOnly) || File.write(Bytes) < 0 || !File.commit())
        throw EIniFileException(QStringLiteral("无法写入 %1").arg(FileName));
}

void TIniLines::Set(qsizetype Index, const String& Line)
{
    FLines[Index] = Line;
    FBytes[Index] = Line.toUtf8();
}

void TIniLines::Insert(qsizetype Index, const String& Line)
{
    FLines.insert(Index, Line);
    FBytes.insert(Index, Line.toUtf8());
}

std::optional<TIniLines::TSpan> TIniLines::FindSection(QStringView Section) const
{
    qsizetype Header = -1;
    for (qsizetype I = 0; I < FLines.size(); ++I) {
        const std::optional<QStringView> Name = SectionHeaderName(FLines[I]);
        if (!Name)
            continue;
        if (Header >= 0)
            return TSpan{Header, I};
        if (SameName(*Name, Section))
            Header = I;
    }
    if (Header < 0)
        return std::nullopt;
    return TSpan{Header, FLines.size()};
}

qsizetype TIniLines::FindKey(TSpan Span, QStringView Ident) const
{
    for (qsizetype I = Span.Header + 1; I < Span.End; ++I) {
        const std::optional<TKeyLine> Line = ParseKeyLine(FLines[I]);
        if (Line && SameName(Line->Key, Ident))
            return I;
    }
    return -1;
}

QStringList TIniLines::Keys(TSpan Span) const
{
    QStringList Result;
    for (qsizetype I = Span.Header + 1; I < Span.End; ++I) {
        if (const std::optional<TKeyLine> Line = ParseKeyLine(FLines[I]))
            Result.append(Line->Key.toString());
    }
    return Result;
}

QStringList TIniLines::SectionNames() const
{
    QStringList Result;
    for (const String& Line : FLines) {
        if (const std::optional<QStringView> Name = SectionHeaderName(Line))
            Result.append(Name->toString());
    }
    return Result;
}

std::optional<QStringView> TIniLines::Value(QStringView Section, QStringView Ident) const
{
    const std::optional<TSpan> Span = FindSection(Section);
    const qsizetype Line = Span ? FindKey(*Span, Ident) : -1;
    if (Line < 0)
        return std::nullopt;
    return ParseKeyLine(FLines[Line])->Value;
}

void TIniLines::SetValue(const String& Section, const String& Ident, const String& Value)
{
    const String KeyLine = Ident + u'=' + Value;
    const std::optional<TSpan> Span = FindSection(Section);
    if (!Span) {
        Insert(FLines.size(), u'[' + Section + u']');
        Insert(FLines.size(), KeyLine);
        return;
    }
    const qsizetype Line = FindKey(*Span, Ident);
    if (Line >= 0) {
        Set(Line, KeyLine);
        return;
    }
    // A new key goes after the section's last non-blank line, before the blank lines that
    // separate it from the next section.
    qsizetype At = Span->End;
    while (At > Span->Header + 1 && FLines[At - 1].trimmed().isEmpty())
        --At;
    Insert(At, KeyLine);
}

}  // namespace

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) const
{
    const TIniLines Lines = TIniLines::Load(FFileName);
    const std::optional<QStringView> Value = Lines.Value(Section, Ident);
    return Value ? Value->toString() : Default;
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value)
{
    TIniLines Lines = TIniLines::Load(FFileName);
    Lines.SetValue(Section, Ident, Value);
    Lines.Save(FFileName);
}

int TIniFile::ReadInteger(const String& Section, const String& Ident, int Default) const
{
    const TIniLines Lines = TIniLines::Load(FFileName);
    const std::optional<QStringView> Value = Lines.Value(Section, Ident);
    return Value ? StrToIntDef(Value->toString(), Default) : Default;
}

void TIniFile::WriteInteger(const String& Section, const String& Ident, int Value)
{
    WriteString(Section, Ident, String::number(Value));
}

bool TIniFile::ReadBool(const String& Section, const String& Ident, bool Default) const
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const String& Section, const String& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::SectionExists(const String& Section) const { return !ReadSection(Section).isEmpty(); }

bool TIniFile::ValueExists(const String& Section, const String& Ident) const
{
    return TIniLines::Load(FFileName).Value(Section, Ident).has_value();
}

QStringList TIniFile::ReadSection(const String& Section) const
{
    const TIniLines Lines = TIniLines::Load(FFileName);
    const std::optional<TIniLines::TSpan> Span = Lines.FindSection(Section);
    return Span ? Lines.Keys(*Span) : QStringList();
}

QStringList TIniFile::ReadSections() const { return TIniLines::Load(FFileName).SectionNames(); }

void TIniFile::EraseSection(const String& Section)
{
    TIniLines Lines = TIniLines::Load(FFileName);
    const std::optional<TIniLines::TSpan> Span = Lines.FindSection(Section);
    if (!Span)
        return;
    Lines.Remove(Span->Header, Span->End);
    Lines.Save(FFileName);
}

void TIniFile::DeleteKey(const String& Section, const String& Ident)
{
    TIniLines Lines = TIniLines::Load(FFileName);
    const std::optional<TIniLines::TSpan> Span = Lines.FindSection(Section);
    const qsizetype Line = Span ? Lines.FindKey(*Span, Ident) : -1;
    if (Line < 0)
        return;
    Lines.Remove(Line, Line + 1);
    Lines.Save(FFileName);
}
