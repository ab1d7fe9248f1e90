// The size grip: corners and sides, its triangle, its hatching, and dragging a drop-down's
// size within the work area of the monitor that holds it.
#include "ToolCtrlsEhPopupTestSupport.h"

#include <QImage>

namespace {

using enum TSizeGripPosition;

class SizeGripTest : public PopupTest {
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        List()->Items()->SetCommaText(QStringLiteral("一,二,三,四,五,六,七,八,九,十"));
        List()->SetItemHeight(20);
    }

    TSizeGripEh* Grip() const { return List()->SizeGrip(); }

    // Opens the list at a screen place: Rows rows, 150 wide.
    void OpenAt(int X, int Y, int Rows)
    {
        List()->SetHeightByRows(Rows);
        List()->SetBounds(X, Y, 150, List()->Height());
        List()->Show();
    }

    // Presses on the grip's middle and drags it by (DX, DY) screen pixels, in two moves.
    void Drag(int DX, int DY)
    {
        QWidget* grip = Grip()->Handle();
        const QPoint start = grip->mapToGlobal(QPoint(Grip()->Width() / 2, Grip()->Height() / 2));
        SendMouse(grip, QEvent::MouseButtonPress, grip->mapFromGlobal(start), Qt::LeftButton, Qt::LeftButton);
        const QPoint half = start + QPoint(DX / 2, DY / 2);
        SendMouse(grip, QEvent::MouseMove, grip->mapFromGlobal(half), Qt::NoButton, Qt::LeftButton);
        const QPoint end = start + QPoint(DX, DY);
        SendMouse(grip, QEvent::MouseMove, grip->mapFromGlobal(end), Qt::NoButton, Qt::LeftButton);
        SendMouse(grip, QEvent::MouseButtonRelease, grip->mapFromGlobal(end), Qt::LeftButton, Qt::NoButton);
    }
};

TEST_F(SizeGripTest, SnapToSideMovesOnlyAlongTheSide)
{
    struct TCase {
        TSizeGripPosition From;
        WPARAM Side;
        TSizeGripPosition To;
    };
    const TCase cases[] = {
        {sgpTopRight, sgsLeft, sgpTopLeft},       {sgpBottomRight, sgsLeft, sgpBottomLeft},
        {sgpTopLeft, sgsLeft, sgpTopLeft},        {sgpBottomLeft, sgsLeft, sgpBottomLeft},
        {sgpTopLeft, sgsRight, sgpTopRight},      {sgpBottomLeft, sgsRight, sgpBottomRight},
        {sgpTopRight, sgsRight, sgpTopRight},     {sgpBottomRight, sgsRight, sgpBottomRight},
        {sgpBottomRight, sgsTop, sgpTopRight},    {sgpBottomLeft, sgsTop, sgpTopLeft},
        {sgpTopLeft, sgsTop, sgpTopLeft},         {sgpTopRight, sgsTop, sgpTopRight},
        {sgpTopRight, sgsBottom, sgpBottomRight}, {sgpTopLeft, sgsBottom, sgpBottomLeft},
        {sgpBottomLeft, sgsBottom, sgpBottomLeft}, {sgpBottomRight, sgsBottom, sgpBottomRight},
    };
    for (const TCase& c : cases) {
        Grip()->SetPosition(c.From);
        Grip()->SnapToSide(c.Side);
        EXPECT_EQ(Grip()->Position(), c.To) << static_cast<int>(c.From) << " side " << c.Side;
    }
}

TEST_F(SizeGripTest, TriangleLiesInTheGripsCornerWithTheMatchingCursor)
{
    OpenAt(100, 100, 5);
    const int w = Grip()->Width();
    const int h = Grip()->Height();
    struct TCase {
        TSizeGripPosition Position;
        TPoint Inside;
        TPoint Outside;
        TCursor Cursor;
    };
    const TCase cases[] = {
        {sgpBottomRight, Point(w - 1, h - 1), Point(0, 0), crSizeNWSE},
        {sgpBottomLeft, Point(0, h - 1), Point(w - 1, 0), crSizeNESW},
        {sgpTopLeft, Point(0, 0), Point(w - 1, h - 1), crSizeNWSE},
        {sgpTopRight, Point(w - 1, 0), Point(0, h - 1), crSizeNESW},
    };
    for (const TCase& c : cases) {
        Grip()->SetPosition(c.Position);
        const TRegion region = GetWindowRgn(Grip());
        EXPECT_TRUE(region.Contains(c.Inside)) << static_cast<int>(c.Position);
        EXPECT_FALSE(region.Contains(c.Outside)) << static_cast<int>(c.Position);
        EXPECT_EQ(Grip()->Cursor(), c.Cursor);
    }
    Grip()->SetTriangleShape(false);
    EXPECT_TRUE(GetWindowRgn(Grip()).IsEmpty());
}

TEST_F(SizeGripTest, GripSitsInItsCornerOfTheClientArea)
{
    OpenAt(100, 100, 5);
    EXPECT_EQ(Grip()->Left(), List()->ClientWidth() - Grip()->Width());
    EXPECT_EQ(Grip()->Top(), List()->ClientHeight() - Grip()->Height());
    Grip()->SetPosition(sgpTopLeft);
    EXPECT_EQ(Grip()->Left(), 0);
    EXPECT_EQ(Grip()->Top(), 0);
    Grip()->SetPosition(sgpBottomLeft);
    EXPECT_EQ(Grip()->Left(), 0);
    EXPECT_EQ(Grip()->Top(), List()->ClientHeight() - Grip()->Height());
}

TEST_F(SizeGripTest, HatchingRunsHighlightTwoShadowsFace)
{
    OpenAt(100, 100, 5);
    const QImage image = Grip()->Handle()->grab().toImage();
    const auto at = [&](int X, int Y) { return image.pixel(X, Y); };
    const auto rgb = [](TColor C) { return ToQColor(ColorToRGB(C)).rgb(); };
    // Bottom-right: the line through (8, 8) runs along the hypotenuse, x + y = 16.
    EXPECT_EQ(at(8, 8), rgb(clBtnHighlight));
    EXPECT_EQ(at(9, 8), rgb(clBtnShadow));
    EXPECT_EQ(at(10, 8), rgb(clBtnShadow));
    EXPECT_EQ(at(11, 8), rgb(clBtnFace));
    EXPECT_EQ(at(12, 8), rgb(clBtnHighlight));
    // Top-left mirrors it.
    Grip()->SetPosition(sgpTopLeft);
    const QImage mirrored = Grip()->Handle()->grab().toImage();
    EXPECT_EQ(mirrored.pixel(8, 8), rgb(clBtnHighlight));
    EXPECT_EQ(mirrored.pixel(7, 8), rgb(clBtnShadow));
    EXPECT_EQ(mirrored.pixel(5, 8), rgb(clBtnFace));
}

TEST_F(SizeGripTest, BottomRightDragGrowsWithinTheWorkArea)
{
    OpenAt(700, 500, 5);
    int resized = 0;
    Grip()->OnParentResized = [&](TObject*) { ++resized; };
    Drag(60, 40);
    EXPECT_EQ(List()->Left(), 700);
    EXPECT_EQ(List()->Top(), 500);
    EXPECT_EQ(List()->Width(), 210);
    EXPECT_EQ(List()->Height(), List()->FrameHeight() + 7 * 20);
    EXPECT_GT(resized, 0);
    // Far past the work area's right and bottom edges (1000, 760): clamped to them.
    Drag(1000, 1000);
    EXPECT_EQ(List()->Left() + List()->Width(), 1000);
    EXPECT_LE(List()->Top() + List()->Height(), 760);
    EXPECT_GT(List()->Top() + List()->Height(), 760 - 20);
    EXPECT_EQ(Grip()->Left(), List()->ClientWidth() - Grip()->Width());
}

TEST_F(SizeGripTest, TopLeftDragKeepsTheRightAndBottomEdges)
{
    OpenAt(300, 300, 5);
    Grip()->SetPosition(sgpTopLeft);
    const int right = List()->Left() + List()->Width();
    const int bottom = List()->Top() + List()->Height();
    Drag(-50, -40);
    EXPECT_EQ(List()->Width(), 200);
    EXPECT_EQ(List()->Height(), List()->FrameHeight() + 7 * 20);
    EXPECT_EQ(List()->Left() + List()->Width(), right);
    EXPECT_EQ(List()->Top() + List()->Height(), bottom);
    // Past the work area's left and top edges: the edges land on them at most.
    Drag(-1000, -1000);
    EXPECT_EQ(List()->Left(), 0);
    EXPECT_GE(List()->Top(), 0);
    EXPECT_EQ(List()->Left() + List()->Width(), right);
    EXPECT_EQ(List()->Top() + List()->Height(), bottom);
}

TEST_F(SizeGripTest, DragOnASecondMonitorIsBoundByThatMonitor)
{
    PlatformMetrics().SetMonitors({{Rect(0, 0, 1000, 800), Rect(0, 0, 1000, 760)},
                                   {Rect(1000, 0, 2000, 800), Rect(1000, 0, 2000, 800)}});
    OpenAt(1700, 100, 5);
    Drag(100, 0);
    EXPECT_EQ(List()->Width(), 250);
    Drag(1000, 0);
    EXPECT_EQ(List()->Left(), 1700);
    EXPECT_EQ(List()->Left() + List()->Width(), 2000);
}

TEST_F(SizeGripTest, ShowGripHidesTheWindowOnly)
{
    OpenAt(300, 300, 5);
    Grip()->ShowGrip(false);
    EXPECT_FALSE(Grip()->Handle()->isVisible());
    EXPECT_TRUE(Grip()->Visible());
    Grip()->ShowGrip(true);
    EXPECT_TRUE(Grip()->Handle()->isVisible());
}

TEST_F(SizeGripTest, MovesWithoutTheButtonDoNotResize)
{
    OpenAt(300, 300, 5);
    QWidget* grip = Grip()->Handle();
    SendMouse(grip, QEvent::MouseMove, QPoint(40, 40), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(List()->Width(), 150);
    EXPECT_EQ(List()->RowCount(), 5);
}

}  // namespace
