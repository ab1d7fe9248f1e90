// Parsing an edit mask, laying values over its positions and checking typed characters.
#include "platform/core/EditMask.h"

#include "platform/core/FormatSettings.h"

#include <algorithm>

namespace {

TMaskPosition LiteralPosition(Char C) { return {TMaskCharKind::Literal, C, false, TMaskCase::None}; }

bool IsAsciiDigit(Char C) { return C >= u'0' && C <= u'9'; }

bool FitsKind(TMaskCharKind Kind, Char C)
{
    switch (Kind) {
    case TMaskCharKind::Literal: return false;
    case TMaskCharKind::Letter: return C.isLetter();
    case TMaskCharKind::LetterOrDigit: return C.isLetterOrNumber();
    case TMaskCharKind::AnyChar: return true;
    case TMaskCharKind::Digit: return IsAsciiDigit(C);
    case TMaskCharKind::DigitOrSign: return IsAsciiDigit(C) || C == u'+' || C == u'-' || C == u' ';
    }
    return false;
}

// The literal positions met walking the mask by Step, for asking which literal comes next.
// Asked at positions in walking order, it moves only forward, so a whole walk is linear.
class TNextLiteral {
public:
    TNextLiteral(const TEditMask& Mask, int Step)
        : FMask(Mask), FStep(Step), FNext(Step > 0 ? 0 : qsizetype(Mask.Positions.size()) - 1)
    {
    }

    // Whether C is the literal at or after Position in the walking direction.
    bool Is(qsizetype Position, Char C)
    {
        const qsizetype Count = qsizetype(FMask.Positions.size());
        if ((FNext - Position) * FStep < 0)
            FNext = Position;
        while (FNext >= 0 && FNext < Count && FMask.Positions[FNext].Kind != TMaskCharKind::Literal)
            FNext += FStep;
        return FNext >= 0 && FNext < Count && FMask.Positions[FNext].Literal == C;
    }

private:
    const TEditMask& FMask;
    int FStep;
    qsizetype FNext;  // the first literal not behind the last position asked, or one past the end
};

// Lays Value on the positions, from the left, or from the right under '!', so a short value
// leaves the positions on the other side showing Blank. With literals in Value, a character
// equal to the literal at its place stands for it, and one that does not fit its position but
// is the next literal leaves that position empty ("1-5" on "99-99" gives "1 - 5"); the mask
// supplies the literals Value lacks.
String LayOut(const TEditMask& Mask, QStringView Value, bool ValueHasLiterals, Char Blank)
{
    const qsizetype Count = qsizetype(Mask.Positions.size());
    const int Step = Mask.ReverseDir ? -1 : 1;
    String Result(Count, Blank);
    TNextLiteral NextLiteral(Mask, Step);
    qsizetype V = Mask.ReverseDir ? Value.size() - 1 : 0;
    for (qsizetype P = Mask.ReverseDir ? Count - 1 : 0; P >= 0 && P < Count; P += Step) {
        const TMaskPosition& Position = Mask.Positions[P];
        const bool HaveChar = V >= 0 && V < Value.size();
        if (Position.Kind == TMaskCharKind::Literal) {
            Result[P] = Position.Literal;
            if (ValueHasLiterals && HaveChar && Value[V] == Position.Literal)
                V += Step;
        } else if (HaveChar && !(ValueHasLiterals && !FitsKind(Position.Kind, Value[V]) &&
                                 NextLiteral.Is(P, Value[V]))) {
            Result[P] = Value[V];
            V += Step;
        }
    }
    // Characters beyond the mask stay, as the platform keeps them.
    return Mask.ReverseDir ? Result.prepend(Value.first(V + 1)) : Result.append(Value.sliced(V));
}

}  // namespace

TEditMask ParseEditMask(const String& EditMask)
{
    TEditMask Result;
    TMaskCase Case = TMaskCase::None;
    const auto AddClass = [&](TMaskCharKind Kind, bool Required) {
        Result.Positions.push_back({Kind, Char(), Required, Case});
    };
    qsizetype I = 0;
    for (; I < EditMask.size() && EditMask[I] != u';'; ++I) {
        const Char C = EditMask[I];
        switch (C.unicode()) {
        case u'!': Result.ReverseDir = true; break;
        case u'>': Case = TMaskCase::Upper; break;
        case u'<':
            if (I + 1 < EditMask.size() && EditMask[I + 1] == u'>') {
                Case = TMaskCase::None;
                ++I;
            } else {
                Case = TMaskCase::Lower;
            }
            break;
        case u'\\':
            if (++I < EditMask.size())
                Result.Positions.push_back(LiteralPosition(EditMask[I]));
            break;
        case u'L': AddClass(TMaskCharKind::Letter, true); break;
        case u'l': AddClass(TMaskCharKind::Letter, false); break;
        case u'A': AddClass(TMaskCharKind::LetterOrDigit, true); break;
        case u'a': AddClass(TMaskCharKind::LetterOrDigit, false); break;
        case u'C': AddClass(TMaskCharKind::AnyChar, true); break;
        case u'c': AddClass(TMaskCharKind::AnyChar, false); break;
        case u'0': AddClass(TMaskCharKind::Digit, true); break;
        case u'9': AddClass(TMaskCharKind::Digit, false); break;
        case u'#': AddClass(TMaskCharKind::DigitOrSign, false); break;
        case u':': Result.Positions.push_back(LiteralPosition(FormatSettings().TimeSeparator)); break;
        case u'/': Result.Positions.push_back(LiteralPosition(FormatSettings().DateSeparator)); break;
        case u'_': Result.Positions.push_back(LiteralPosition(u' ')); break;
        default: Result.Positions.push_back(LiteralPosition(C)); break;
        }
    }
    // The fields after the mask: save-literals, then the blank after a second ';'.
    const QStringView Fields = QStringView(EditMask).sliced(std::min(I + 1, EditMask.size()));
    Result.SaveLiterals = !Fields.startsWith(u'0');
    const qsizetype BlankField = Fields.indexOf(u';') + 1;
    if (BlankField > 0 && BlankField < Fields.size())
        Result.Blank = Fields[BlankField];
    return Result;
}

String FormatMaskText(const String& EditMask, const String& Value)
{
    const TEditMask Mask = ParseEditMask(EditMask);
    return LayOut(Mask, Value, Mask.SaveLiterals, u' ');
}

String MaskEditText(const TEditMask& Mask, const String& Text)
{
    return LayOut(Mask, Text, Mask.SaveLiterals, Mask.Blank);
}

String MaskBlankText(const TEditMask& Mask) { return LayOut(Mask, {}, false, Mask.Blank); }

String MaskEditValue(const TEditMask& Mask, const String& EditText)
{
    String Value;
    const qsizetype Count = std::min(qsizetype(Mask.Positions.size()), EditText.size());
    for (qsizetype P = 0; P < Count; ++P) {
        if (Mask.Positions[P].Kind != TMaskCharKind::Literal)
            Value += EditText[P];
    }
    if (Mask.ReverseDir) {
        qsizetype Leading = 0;
        while (Leading < Value.size() && Value[Leading] == Mask.Blank)
            ++Leading;
        Value.remove(0, Leading);
    } else {
        while (Value.endsWith(Mask.Blank))
            Value.chop(1);
    }
    Value.replace(Mask.Blank, u' ');
    return Mask.SaveLiterals ? LayOut(Mask, Value, false, u' ') : Value;
}

bool MaskAcceptChar(const TEditMask& Mask, int Position, Char& Ch)
{
    if (Position < 0 || Position >= int(Mask.Positions.size()))
        return false;
    const TMaskPosition& Target = Mask.Positions[Position];
    if (Target.Kind == TMaskCharKind::Literal)
        return Ch == Target.Literal;
    if (!FitsKind(Target.Kind, Ch))
        return false;
    if (Target.Case == TMaskCase::Upper)
        Ch = Ch.toUpper();
    else if (Target.Case == TMaskCase::Lower)
        Ch = Ch.toLower();
    return true;
}

bool MaskValidateText(const TEditMask& Mask, const String& EditText, int& ErrorPos)
{
    if (EditText.isEmpty())
        return true;
    for (qsizetype P = 0; P < qsizetype(Mask.Positions.size()); ++P) {
        const TMaskPosition& Position = Mask.Positions[P];
        if (Position.Kind == TMaskCharKind::Literal)
            continue;
        const Char C = P < EditText.size() ? EditText[P] : Mask.Blank;
        const bool Empty = C == Mask.Blank || (C == u' ' && Position.Kind != TMaskCharKind::AnyChar);
        if (Empty ? Position.Required : !FitsKind(Position.Kind, C)) {
            ErrorPos = int(P);
            return false;
        }
    }
    return true;
}
