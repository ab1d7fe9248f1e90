// TStrings built on its descendants' storage: texts, quoting, name=value lines and batches.
#include "platform/core/Strings.h"

#include "platform/core/Collation.h"
#include "platform/core/SysUtils.h"
#include "platform/core/UpdateBatch.h"

namespace {

bool IsBlank(Char C)
{
    return C.unicode() <= u' ';
}

bool NeedsQuotes(const String& S, Char Delimiter, Char Quote)
{
    for (const Char c : S)
        if (IsBlank(c) || c == Delimiter || c == Quote)
            return true;
    return false;
}

// Reads the quoted text starting at Value[Pos], undoubling inner quotes, and leaves Pos past the
// closing quote; an unclosed text runs to the end.
String ExtractQuoted(const String& Value, qsizetype& Pos, Char Quote)
{
    String result;
    for (++Pos; Pos < Value.size(); ++Pos) {
        if (Value[Pos] != Quote) {
            result += Value[Pos];
        } else if (Pos + 1 < Value.size() && Value[Pos + 1] == Quote) {
            result += Quote;
            ++Pos;
        } else {
            ++Pos;
            break;
        }
    }
    return result;
}

}  // namespace

void TStrings::SetStrings(int Index, const String& S)
{
    TObject* object = Objects(Index);
    Delete(Index);
    InsertObject(Index, S, object);
}

TObject* TStrings::Objects(int Index) const
{
    return nullptr;
}

void TStrings::SetObjects(int Index, TObject* Object) {}

int TStrings::Add(const String& S)
{
    const int index = Count();
    Insert(index, S);
    return index;
}

int TStrings::AddObject(const String& S, TObject* Object)
{
    const int index = Add(S);
    SetObjects(index, Object);
    return index;
}

void TStrings::AddStrings(TStrings* Strings)
{
    UpdateBatch(*this, [this, Strings] {
        const int count = Strings->Count();
        for (int i = 0; i < count; ++i)
            AddObject(Strings->Strings(i), Strings->Objects(i));
    });
}

void TStrings::InsertObject(int Index, const String& S, TObject* Object)
{
    Insert(Index, S);
    SetObjects(Index, Object);
}

void TStrings::Exchange(int Index1, int Index2)
{
    UpdateBatch(*this, [this, Index1, Index2] {
        const String s = Strings(Index1);
        TObject* object = Objects(Index1);
        SetStrings(Index1, Strings(Index2));
        SetObjects(Index1, Objects(Index2));
        SetStrings(Index2, s);
        SetObjects(Index2, object);
    });
}

void TStrings::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    UpdateBatch(*this, [this, CurIndex, NewIndex] {
        const String s = Strings(CurIndex);
        TObject* object = Objects(CurIndex);
        Delete(CurIndex);
        InsertObject(NewIndex, s, object);
    });
}

int TStrings::IndexOf(const String& S) const
{
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (CompareStrings(Strings(i), S) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfName(const String& Name) const
{
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        const String s = Strings(i);
        const qsizetype separator = s.indexOf(FNameValueSeparator);
        if (separator >= 0 && CompareStrings(s.left(separator), Name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* Object) const
{
    const int count = Count();
    for (int i = 0; i < count; ++i)
        if (Objects(i) == Object)
            return i;
    return -1;
}

bool TStrings::Equals(const TStrings* Strings) const
{
    const int count = Count();
    if (Strings->Count() != count)
        return false;
    for (int i = 0; i < count; ++i)
        if (this->Strings(i) != Strings->Strings(i))
            return false;
    return true;
}

void TStrings::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TStrings*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    if (source == this)
        return;
    UpdateBatch(*this, [this, source] {
        Clear();
        FDelimiter = source->FDelimiter;
        FQuoteChar = source->FQuoteChar;
        FNameValueSeparator = source->FNameValueSeparator;
        AddStrings(source);
    });
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount == 0)
        SetUpdateState(true);
    ++FUpdateCount;
}

void TStrings::EndUpdate()
{
    --FUpdateCount;
    if (FUpdateCount == 0)
        SetUpdateState(false);
}

String TStrings::Text() const
{
    String result;
    const int count = Count();
    for (int i = 0; i < count; ++i) {
        result += Strings(i);
        result += u"\r\n";
    }
    return result;
}

void TStrings::SetText(const String& Value)
{
    UpdateBatch(*this, [this, &Value] {
        Clear();
        qsizetype pos = 0;
        while (pos < Value.size()) {
            const qsizetype start = pos;
            while (pos < Value.size() && Value[pos] != u'\r' && Value[pos] != u'\n')
                ++pos;
            Add(Value.mid(start, pos - start));
            if (pos < Value.size() && Value[pos] == u'\r')
                ++pos;
            if (pos < Value.size() && Value[pos] == u'\n')
                ++pos;
        }
    });
}

String TStrings::CommaText() const
{
    return JoinDelimited(u',', u'"');
}

void TStrings::SetCommaText(const String& Value)
{
    SplitDelimited(Value, u',', u'"');
}

String TStrings::DelimitedText() const
{
    return JoinDelimited(FDelimiter, FQuoteChar);
}

void TStrings::SetDelimitedText(const String& Value)
{
    SplitDelimited(Value, FDelimiter, FQuoteChar);
}

String TStrings::Names(int Index) const
{
    const String s = Strings(Index);
    const qsizetype separator = s.indexOf(FNameValueSeparator);
    return separator >= 0 ? s.left(separator) : String();
}

String TStrings::Values(const String& Name) const
{
    return ValueFromIndex(IndexOfName(Name));
}

void TStrings::SetValues(const String& Name, const String& Value)
{
    const int index = IndexOfName(Name);
    if (Value.isEmpty()) {
        if (index >= 0)
            Delete(index);
        return;
    }
    const String line = Name + FNameValueSeparator + Value;
    if (index >= 0)
        SetStrings(index, line);
    else
        Add(line);
}

String TStrings::ValueFromIndex(int Index) const
{
    if (Index < 0)
        return String();
    const String s = Strings(Index);
    const qsizetype separator = s.indexOf(FNameValueSeparator);
    return separator >= 0 ? s.mid(separator + 1) : String();
}

int TStrings::CompareStrings(const String& S1, const String& S2) const
{
    return CollateCompare(S1, S2, TCaseSensitivity::Insensitive);
}

void TStrings::SetUpdateState(bool Updating) {}


String TStrings::JoinDelimited(Char Delimiter, Char Quote) const
{
    const int count = Count();
    // A lone empty text is written as an empty quoted text, so that it reads back as one line.
    if (count == 1 && Strings(0).isEmpty())
        return String(2, Quote);
    String result;
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            result += Delimiter;
        const String s = Strings(i);
        result += NeedsQuotes(s, Delimiter, Quote) ? AnsiQuotedStr(s, Quote) : s;
    }
    return result;
}

void TStrings::SplitDelimited(const String& Value, Char Delimiter, Char Quote)
{
    UpdateBatch(*this, [this, &Value, Delimiter, Quote] {
        Clear();
        qsizetype pos = 0;
        const auto skipBlanks = [&Value, &pos] {
            while (pos < Value.size() && IsBlank(Value[pos]))
                ++pos;
        };
        skipBlanks();
        while (pos < Value.size()) {
            if (Value[pos] == Quote) {
                Add(ExtractQuoted(Value, pos, Quote));
            } else {
                const qsizetype start = pos;
                while (pos < Value.size() && !IsBlank(Value[pos]) && Value[pos] != Delimiter)
                    ++pos;
                Add(Value.mid(start, pos - start));
            }
            skipBlanks();
            if (pos < Value.size() && Value[pos] == Delimiter) {
                // A trailing delimiter announces one more, empty, text.
                if (pos + 1 == Value.size())
                    Add(String());
                ++pos;
                skipBlanks();
            }
        }
    });
}
