// DrawText and the text outputs read back from a bitmap: sizes, breaks, alignment, prefixes, clips.
#include "platform/ui/Bitmap.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Printers.h"

#include <gtest/gtest.h>

namespace {

// Expectations come from the canvas font's own metrics, never from fixed pixel sizes.
class DrawTextTest : public ::testing::Test {
protected:
    DrawTextTest() : FBitmap(300, 200) { Canvas().Brush()->SetStyle(TBrushStyle::bsClear); }

    TCanvas& Canvas() { return *FBitmap.Canvas(); }
    int Width(const QString& Text) { return Canvas().TextWidth(Text); }
    int LineHeight() { return Canvas().GetTextMetrics().tmHeight; }
    // Rows [first, last] holding any non-white pixel; {-1, -1} when blank.
    static std::pair<int, int> InkRows(const QImage& image)
    {
        std::pair<int, int> rows{-1, -1};
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu) {
                    if (rows.first < 0)
                        rows.first = y;
                    rows.second = y;
                    break;
                }
        return rows;
    }
    QImage Drawn(const QString& Text, TRect R, unsigned Format)
    {
        TBitmap bitmap(FBitmap.Width(), FBitmap.Height());
        bitmap.Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
        bitmap.Canvas()->DrawText(Text, R, Format);
        return bitmap.Image();
    }
    std::pair<int, int> InkRows() const { return InkRows(FBitmap.Image()); }

    TBitmap FBitmap;
};

TEST_F(DrawTextTest, CalcRectOfOneLineSetsRightAndBottom)
{
    const QString text = QStringLiteral("Hello 世界");
    TRect r = Rect(10, 20, 11, 21);
    EXPECT_EQ(Canvas().DrawText(text, r, DT_CALCRECT | DT_SINGLELINE), LineHeight());
    EXPECT_EQ(r, Rect(10, 20, 10 + Width(text), 20 + LineHeight()));
    EXPECT_EQ(InkRows().first, -1);  // measuring draws nothing
}

TEST_F(DrawTextTest, CalcRectOfLinesTakesTheWidestAndAllLines)
{
    TRect r = Rect(0, 0, 1, 1);
    EXPECT_EQ(Canvas().DrawText(QStringLiteral("ab\r\nabcdef\nx"), r, DT_CALCRECT), 3 * LineHeight());
    EXPECT_EQ(r, Rect(0, 0, Width(QStringLiteral("abcdef")), 3 * LineHeight()));
}

TEST_F(DrawTextTest, CalcRectWithWordBreakKeepsTheWidthAndGrowsDown)
{
    const QString text = QStringLiteral("aaa bbb ccc");
    const int width = Width(QStringLiteral("aaa bbb")) + 2;
    ASSERT_LT(width, Width(text));
    TRect r = Rect(5, 5, 5 + width, 6);
    EXPECT_EQ(Canvas().DrawText(text, r, DT_CALCRECT | DT_WORDBREAK), 2 * LineHeight());
    EXPECT_EQ(r, Rect(5, 5, 5 + width, 5 + 2 * LineHeight()));
}

TEST_F(DrawTextTest, CalcRectWithWordBreakWidensForAWordThatCannotBreak)
{
    const QString word = QStringLiteral("unbreakable");
    TRect r = Rect(0, 0, Width(word) / 2, 1);
    EXPECT_EQ(Canvas().DrawText(word + QStringLiteral(" x"), r, DT_CALCRECT | DT_WORDBREAK), 2 * LineHeight());
    EXPECT_EQ(r.Right, Width(word));

    // An edit control breaks inside the word instead.
    r = Rect(0, 0, Width(word) / 2, 1);
    EXPECT_GE(Canvas().DrawText(word, r, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL), 2 * LineHeight());
    EXPECT_LE(r.Right, Width(word) / 2);
}

TEST_F(DrawTextTest, WordBreakSplitsChineseBetweenCharacters)
{
    const QString text = QStringLiteral("办公用品登记");
    TRect r = Rect(0, 0, Width(QStringLiteral("办公用")) + 1, 1);
    EXPECT_EQ(Canvas().DrawText(text, r, DT_CALCRECT | DT_WORDBREAK), 2 * LineHeight());
}

TEST_F(DrawTextTest, SingleLineIsCentredVerticallyAndReportsItsBottom)
{
    const TRect r = Rect(0, 10, 200, 110);
    TRect drawn = r;
    const int top = (r.Top + r.Bottom - LineHeight()) / 2;
    EXPECT_EQ(Canvas().DrawText(QStringLiteral("Mg"), drawn, DT_SINGLELINE | DT_VCENTER), top + LineHeight() - r.Top);
    const auto [first, last] = InkRows();
    EXPECT_GE(first, top);
    EXPECT_LT(last, top + LineHeight());
    EXPECT_GT(first, r.Top + LineHeight());  // really moved down
}

TEST_F(DrawTextTest, VerticalCentringNeedsSingleLine)
{
    TRect r = Rect(0, 10, 200, 110);
    EXPECT_EQ(Canvas().DrawText(QStringLiteral("Mg"), r, DT_VCENTER | DT_BOTTOM), LineHeight());
    const auto [first, last] = InkRows();
    EXPECT_GE(first, 10);
    EXPECT_LT(last, 10 + LineHeight());
}

TEST_F(DrawTextTest, BottomAlignsTheLineToTheBottomEdge)
{
    TRect r = Rect(0, 0, 200, 100);
    EXPECT_EQ(Canvas().DrawText(QStringLiteral("Mg"), r, DT_SINGLELINE | DT_BOTTOM), 100);
    EXPECT_GE(InkRows().first, 100 - LineHeight());
}

TEST_F(DrawTextTest, EndEllipsisReplacesWhatDoesNotFit)
{
    const QString cut = QStringLiteral("abc...");
    const TRect r = Rect(0, 0, Width(cut) + 1, 40);
    EXPECT_EQ(Drawn(QStringLiteral("abcdefghijklmnop"), r, DT_SINGLELINE | DT_END_ELLIPSIS), Drawn(cut, r, DT_SINGLELINE));
    EXPECT_EQ(Drawn(QStringLiteral("abc"), r, DT_SINGLELINE | DT_END_ELLIPSIS), Drawn(QStringLiteral("abc"), r, DT_SINGLELINE));
}

TEST_F(DrawTextTest, PrefixesAreHiddenUnlessNoPrefix)
{
    TRect r = Rect(0, 0, 1, 1);
    Canvas().DrawText(QStringLiteral("&File"), r, DT_CALCRECT);
    EXPECT_EQ(r.Right, Width(QStringLiteral("File")));
    r = Rect(0, 0, 1, 1);
    Canvas().DrawText(QStringLiteral("A&&B"), r, DT_CALCRECT);
    EXPECT_EQ(r.Right, Width(QStringLiteral("A&B")));
    r = Rect(0, 0, 1, 1);
    Canvas().DrawText(QStringLiteral("&File"), r, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(r.Right, Width(QStringLiteral("&File")));
}

TEST_F(DrawTextTest, PrefixUnderlinesOnlyTheNextCharacter)
{
    const TRect r = Rect(0, 0, 200, 60);
    const QImage marked = Drawn(QStringLiteral("&File"), r, DT_SINGLELINE);
    const QImage plain = Drawn(QStringLiteral("File"), r, DT_SINGLELINE);
    const int underlineRow = Canvas().GetTextMetrics().tmAscent + Canvas().Font()->FontMetrics().underlinePos();
    int differences = 0;
    for (int y = 0; y < marked.height(); ++y)
        for (int x = 0; x < marked.width(); ++x)
            if (marked.pixel(x, y) != plain.pixel(x, y)) {
                ++differences;
                EXPECT_LT(x, Width(QStringLiteral("F")));
                EXPECT_GE(y, underlineRow);
            }
    EXPECT_GT(differences, 0);
}

TEST_F(DrawTextTest, EmptyTextHasNoHeight)
{
    TRect r = Rect(3, 4, 50, 60);
    EXPECT_EQ(Canvas().DrawText(QString(), r, DT_CALCRECT), 0);
    EXPECT_EQ(r, Rect(3, 4, 3, 4));
}

TEST_F(DrawTextTest, TextOutsideTheRectangleIsClippedUnlessNoClip)
{
    TRect r = Rect(0, 0, 200, 5);
    Canvas().DrawText(QStringLiteral("Mg"), r, DT_SINGLELINE);
    EXPECT_LT(InkRows().second, 5);
    Canvas().DrawText(QStringLiteral("Mg"), r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GE(InkRows().second, 5);
}

TEST_F(DrawTextTest, ExTextMarginsTabsAndLengthDrawn)
{
    TDrawTextParams params;
    params.iLeftMargin = 7;
    params.iRightMargin = 3;
    TRect r = Rect(10, 0, 11, 1);
    Canvas().DrawTextEx(QStringLiteral("abc"), r, DT_CALCRECT | DT_SINGLELINE, &params);
    EXPECT_EQ(r.Right, 10 + 7 + Width(QStringLiteral("abc")) + 3);
    EXPECT_EQ(params.uiLengthDrawn, 3u);

    params = TDrawTextParams();
    params.iTabLength = 4;
    r = Rect(0, 0, 1, 1);
    Canvas().DrawTextEx(QStringLiteral("a\tb"), r, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS, &params);
    EXPECT_EQ(r.Right, 4 * Canvas().GetTextMetrics().tmAveCharWidth + Width(QStringLiteral("b")));
}

TEST_F(DrawTextTest, OpaqueBackgroundFollowsTheBrush)
{
    Canvas().Brush()->SetColor(clYellow);
    EXPECT_EQ(Canvas().BkMode(), OPAQUE);
    TRect r = Rect(0, 0, 200, 100);
    Canvas().DrawText(QStringLiteral("W"), r, DT_SINGLELINE);
    EXPECT_EQ(Canvas().Pixels(0, LineHeight() - 1), clYellow);
    EXPECT_EQ(Canvas().Pixels(0, LineHeight()), clWhite);

    Canvas().Brush()->SetStyle(TBrushStyle::bsClear);
    EXPECT_EQ(Canvas().BkMode(), TRANSPARENT);
}

TEST_F(DrawTextTest, ExtTextOutOpaqueFillsTheRectangleAndClipsTheText)
{
    Canvas().SetBkColor(clAqua);
    const TRect r = Rect(2, 2, 6, 6);
    Canvas().ExtTextOut(0, 0, ETO_OPAQUE | ETO_CLIPPED, &r, QStringLiteral("WWWW"));
    EXPECT_EQ(Canvas().Pixels(2, 2), clAqua);
    EXPECT_EQ(Canvas().Pixels(5, 5) == clWhite, false);
    EXPECT_EQ(Canvas().Pixels(1, 1), clWhite);  // transparent background, clipped text
    EXPECT_EQ(Canvas().Pixels(6, 6), clWhite);
}

TEST_F(DrawTextTest, TextOutMovesThePenToTheEndOfTheText)
{
    Canvas().TextOut(4, 9, QStringLiteral("xyz"));
    EXPECT_EQ(Canvas().PenPos(), Point(4 + Width(QStringLiteral("xyz")), 9));
    EXPECT_EQ(Canvas().TextExtent(QStringLiteral("xyz")), (TSize{Width(QStringLiteral("xyz")), LineHeight()}));
}

}  // namespace
