// TCanvas: text output and the platform's DrawText layout rules.
#include "platform/ui/Canvas.h"

#include "platform/ui/CanvasTarget.h"
#include "platform/ui/QtConvert.h"

#include <QTextBoundaryFinder>

#include <algorithm>
#include <vector>

namespace {

const QString Ellipsis = QStringLiteral("...");
constexpr int DefaultTabStop = 8;  // in average character widths

// Widths and painting of one line; with a tab width, tabs advance to the next multiple of it.
class TTextMeasure {
public:
    TTextMeasure(const QFontMetrics& Metrics, int TabWidth) : FMetrics(Metrics), FTabWidth(TabWidth) {}

    int Width(const QString& Text) const { return Run(Text, nullptr, 0, 0); }
    void Paint(QPainter& Painter, int X, int Baseline, const QString& Text) const { Run(Text, &Painter, X, Baseline); }

private:
    // The width when measuring; painting measures only to place the pieces between tabs.
    int Run(const QString& Text, QPainter* Painter, int X, int Baseline) const
    {
        if (FTabWidth <= 0 || !Text.contains(u'\t')) {
            if (Painter != nullptr) {
                Painter->drawText(X, Baseline, Text);
                return 0;
            }
            return FMetrics.horizontalAdvance(Text);
        }
        int x = 0;
        qsizetype start = 0;
        while (true) {
            const qsizetype tab = Text.indexOf(u'\t', start);
            const QString piece = Text.mid(start, (tab < 0 ? Text.size() : tab) - start);
            if (Painter != nullptr)
                Painter->drawText(X + x, Baseline, piece);
            x += FMetrics.horizontalAdvance(piece);
            if (tab < 0)
                return x;
            x = (x / FTabWidth + 1) * FTabWidth;
            start = tab + 1;
        }
    }

    const QFontMetrics& FMetrics;
    int FTabWidth;
};

// One line of laid-out text and its underlined mnemonic character (-1: none).
struct TTextLine {
    QString Text;
    int Underline = -1;
};

// Removes the mnemonic prefixes: "&&" shows "&", "&x" shows x underlined (the last one counts).
TTextLine StripPrefixes(const QString& Text)
{
    TTextLine line;
    line.Text.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        if (Text[i] == u'&' && i + 1 < Text.size()) {
            ++i;
            if (Text[i] != u'&')
                line.Underline = static_cast<int>(line.Text.size());
        } else if (Text[i] == u'&') {
            continue;  // a lone '&' at the end shows nothing
        }
        line.Text.append(Text[i]);
    }
    return line;
}

std::vector<QString> Paragraphs(const QString& Text, bool SingleLine)
{
    if (SingleLine)
        return {Text};
    std::vector<QString> result;
    qsizetype start = 0;
    for (qsizetype i = 0; i < Text.size(); ++i) {
        if (Text[i] != u'\r' && Text[i] != u'\n')
            continue;
        result.push_back(Text.mid(start, i - start));
        if (Text[i] == u'\r' && i + 1 < Text.size() && Text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    result.push_back(Text.mid(start));
    return result;
}

qsizetype WithoutTrailingSpaces(const QString& Text, qsizetype Start, qsizetype End)
{
    while (End > Start && Text[End - 1].isSpace())
        --End;
    return End;
}

// Line ranges [first, second) of Text at most Width wide, broken where the line-breaking rules
// allow (between words, between CJK characters). A word wider than a line stays whole, or with
// BreakWords is cut where it stops fitting.
std::vector<std::pair<qsizetype, qsizetype>> BreakLines(const QString& Text, int Width, bool BreakWords,
                                                         const TTextMeasure& Measure)
{
    std::vector<std::pair<qsizetype, qsizetype>> lines;
    const auto fits = [&](qsizetype start, qsizetype end) {
        return Measure.Width(Text.mid(start, WithoutTrailingSpaces(Text, start, end) - start)) <= Width;
    };
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, Text);
    qsizetype start = 0;
    while (start < Text.size()) {
        finder.setPosition(start);
        qsizetype end = -1;
        qsizetype next = finder.toNextBoundary();
        while (next > 0 && fits(start, next)) {
            end = next;
            if (next >= Text.size())
                break;
            next = finder.toNextBoundary();
        }
        if (end < 0) {  // the first word alone is too wide
            end = next > 0 ? next : Text.size();
            if (BreakWords) {
                qsizetype cut = start + 1;
                while (cut < end && fits(start, cut + 1))
                    ++cut;
                end = cut;
            }
        }
        lines.emplace_back(start, WithoutTrailingSpaces(Text, start, end));
        start = end;
    }
    if (lines.empty())
        lines.emplace_back(0, 0);
    return lines;
}

// Cuts Line so that it and the ellipsis fit Width.
void EndEllipsis(TTextLine& Line, int Width, const TTextMeasure& Measure)
{
    if (Measure.Width(Line.Text) <= Width)
        return;
    qsizetype keep = Line.Text.size();
    while (keep > 0 && Measure.Width(QString(Line.Text.left(keep) + Ellipsis)) > Width)
        --keep;
    Line.Text = Line.Text.left(keep) + Ellipsis;
    if (Line.Underline >= keep)
        Line.Underline = -1;
}

std::vector<TTextLine> LayOut(const QString& Text, unsigned Format, int Width, const TTextMeasure& Measure)
{
    const bool singleLine = (Format & DT_SINGLELINE) != 0;
    const bool wordBreak = !singleLine && (Format & DT_WORDBREAK) != 0;
    std::vector<TTextLine> lines;
    for (const QString& paragraph : Paragraphs(Text, singleLine)) {
        const TTextLine stripped = (Format & DT_NOPREFIX) != 0 ? TTextLine{paragraph} : StripPrefixes(paragraph);
        if (!wordBreak) {
            lines.push_back(stripped);
            continue;
        }
        for (auto [first, last] : BreakLines(stripped.Text, Width, (Format & DT_EDITCONTROL) != 0, Measure)) {
            const int underline = stripped.Underline >= first && stripped.Underline < last
                                      ? static_cast<int>(stripped.Underline - first)
                                      : -1;
            lines.push_back({stripped.Text.mid(first, last - first), underline});
        }
    }
    if ((Format & DT_END_ELLIPSIS) != 0)
        for (TTextLine& line : lines)
            EndEllipsis(line, Width, Measure);
    return lines;
}

// How text comes out: its colour, and the background of its cells when opaque.
struct TTextStyle {
    const QFont& Font;
    const QFontMetrics& Metrics;
    QColor Color;
    std::optional<QColor> Background;
    int CellHeight;
};

// Gives the painter the text's font and colour. They stay set after the text, as nothing else
// on the canvas draws with them, so the next text in the same font leaves the font alone:
// setting one makes the painter build its own copy and look its glyphs up again.
void UseStyle(QPainter& Painter, const TTextStyle& Style)
{
    if (Painter.font() != Style.Font)
        Painter.setFont(Style.Font);
    Painter.setPen(Style.Color);
}

// Narrows the painter's clip to R for one text output; no R, no clip. Clipping costs far less
// than measuring whether the text stays inside R, so it is never measured for that.
class TTextClip {
public:
    TTextClip(QPainter& Painter, const TRect* R) : FPainter(R != nullptr ? &Painter : nullptr)
    {
        if (FPainter == nullptr)
            return;
        FPainter->save();
        FPainter->setClipRect(ToQRect(*R), Qt::IntersectClip);
    }
    ~TTextClip()
    {
        if (FPainter != nullptr)
            FPainter->restore();
    }
    TTextClip(const TTextClip&) = delete;
    TTextClip& operator=(const TTextClip&) = delete;

private:
    QPainter* FPainter;
};

// Paints one line with its cell's top left at (X, Y); Width is the line's when the cell has a
// background.
void PaintLine(QPainter& Painter, const TTextStyle& Style, const TTextMeasure& Measure, int X, int Y,
               int Width, const TTextLine& Line)
{
    if (Style.Background)
        Painter.fillRect(QRect(X, Y, Width, Style.CellHeight), *Style.Background);
    const int baseline = Y + Style.Metrics.ascent();
    Measure.Paint(Painter, X, baseline, Line.Text);
    if (Line.Underline >= 0) {
        const int left = X + Measure.Width(Line.Text.left(Line.Underline));
        const int charWidth = Measure.Width(Line.Text.mid(Line.Underline, 1));
        Painter.fillRect(QRect(left, baseline + Style.Metrics.underlinePos(), charWidth,
                               std::max(1, Style.Metrics.lineWidth())),
                         Style.Color);
    }
}

}  // namespace

int TCanvas::TextWidth(const String& Text) const
{
    return FFont.FontMetrics().horizontalAdvance(Text);
}

int TCanvas::TextHeight(const String& Text) const
{
    return TextExtent(Text).cy;
}

TSize TCanvas::TextExtent(const String& Text) const
{
    return {TextWidth(Text), FFont.Metrics().tmHeight};
}

void TCanvas::TextOut(int X, int Y, const String& Text)
{
    ExtTextOut(X, Y, 0, nullptr, Text);
    MoveTo(X + TextWidth(Text), Y);
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& Text)
{
    const unsigned options = FBrush.Style() == TBrushStyle::bsClear ? ETO_CLIPPED : ETO_CLIPPED | ETO_OPAQUE;
    ExtTextOut(X, Y, options, &R, Text);
}

bool TCanvas::ExtTextOut(int X, int Y, unsigned Options, const TRect* R, const String& Text)
{
    TTarget target(*this);
    if (!target || !target.UseCopy())
        return true;
    QPainter& painter = target.Painter();
    const bool opaque = R != nullptr && (Options & ETO_OPAQUE) != 0;
    const bool clipped = R != nullptr && (Options & ETO_CLIPPED) != 0;
    if (opaque)
        painter.fillRect(ToQRect(*R), ToQColor(FBkColor));
    const QFontMetrics& metrics = FFont.FontMetrics();
    const int cellHeight = FFont.Metrics().tmHeight;
    // Inside an opaque clipping rectangle the text's own background is there already.
    const bool background = FBkMode == OPAQUE && !(opaque && clipped);
    const TTextStyle style{FFont.Handle(), metrics, ToQColor(FTextColor),
                           background ? std::optional(ToQColor(FBkColor)) : std::nullopt, cellHeight};
    const TTextMeasure measure(metrics, 0);
    UseStyle(painter, style);
    const TTextClip clip(painter, clipped ? R : nullptr);
    PaintLine(painter, style, measure, X, Y, background ? measure.Width(Text) : 0, {Text});
    return true;
}

int TCanvas::DrawText(const String& Text, TRect& R, unsigned Format)
{
    return DrawTextEx(Text, R, Format, nullptr);
}

int TCanvas::DrawTextEx(const String& Text, TRect& R, unsigned Format, TDrawTextParams* Params)
{
    const int leftMargin = Params != nullptr ? Params->iLeftMargin : 0;
    const int rightMargin = Params != nullptr ? Params->iRightMargin : 0;
    if (Params != nullptr)
        Params->uiLengthDrawn = static_cast<unsigned>(Text.size());
    if (Text.isEmpty()) {
        if ((Format & DT_CALCRECT) != 0) {
            R.Right = R.Left;
            R.Bottom = R.Top;
        }
        return 0;
    }

    const QFontMetrics& metrics = FFont.FontMetrics();
    const TTextMetric tm = FFont.Metrics();
    const int tabStop = Params != nullptr && Params->iTabLength > 0 ? Params->iTabLength : DefaultTabStop;
    const TTextMeasure measure(metrics, (Format & DT_EXPANDTABS) != 0 ? tabStop * tm.tmAveCharWidth : 0);
    const int left = R.Left + leftMargin;
    const int right = R.Right - rightMargin;
    const std::vector<TTextLine> lines = LayOut(Text, Format, right - left, measure);
    const int lineHeight = tm.tmHeight + ((Format & DT_EXTERNALLEADING) != 0 ? tm.tmExternalLeading : 0);
    const int textHeight = static_cast<int>(lines.size()) * lineHeight;
    const bool singleLine = (Format & DT_SINGLELINE) != 0;

    if ((Format & DT_CALCRECT) != 0) {
        int widest = 0;
        for (const TTextLine& line : lines)
            widest = std::max(widest, measure.Width(line.Text));
        const int needed = left + widest + rightMargin;
        // Word-broken text keeps the width unless one of its words is wider.
        const bool wordBreak = !singleLine && (Format & DT_WORDBREAK) != 0;
        R.Right = wordBreak ? std::max(R.Right, needed) : needed;
        R.Bottom = R.Top + textHeight;
        return textHeight;
    }

    // Vertical placement applies to a single line only.
    int top = R.Top;
    if (singleLine && (Format & DT_VCENTER) != 0)
        top = (R.Top + R.Bottom - lineHeight) / 2;
    else if (singleLine && (Format & DT_BOTTOM) != 0)
        top = R.Bottom - lineHeight;
    const int result = singleLine && (Format & (DT_VCENTER | DT_BOTTOM)) != 0 ? top + textHeight - R.Top : textHeight;

    TTarget target(*this);
    if (!target || !target.UseCopy())
        return result;
    QPainter& painter = target.Painter();
    const TTextStyle style{FFont.Handle(), metrics, ToQColor(FTextColor),
                           FBkMode == OPAQUE ? std::optional(ToQColor(FBkColor)) : std::nullopt, tm.tmHeight};
    // Lines are measured only when placing them or filling behind them needs it.
    const bool measured = (Format & (DT_CENTER | DT_RIGHT)) != 0 || style.Background;
    UseStyle(painter, style);
    const TTextClip clip(painter, (Format & DT_NOCLIP) == 0 ? &R : nullptr);
    int y = top;
    for (const TTextLine& line : lines) {
        const int width = measured ? measure.Width(line.Text) : 0;
        int x = left;
        if ((Format & DT_CENTER) != 0)
            x = (left + right - width) / 2;
        else if ((Format & DT_RIGHT) != 0)
            x = right - width;
        PaintLine(painter, style, measure, x, y, width, line);
        y += lineHeight;
    }
    return result;
}
