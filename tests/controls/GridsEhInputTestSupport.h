#pragma once
// A grid on a shown form, driven with real Qt key, mouse and wheel events through its window.
#include "GridsEhTestGrid.h"
#include "platform/ui/Forms.h"
#include "platform/ui/UiTestSupport.h"

#include <QWheelEvent>

#include <vector>

class TInputGrid : public TTestGrid {
public:
    using TTestGrid::TTestGrid;

    struct TCellClick {
        TGridCoord Cell;
        TShiftState Shift;
        int X;
        int Y;
    };
    std::vector<TCellClick> CellClicks;
    int Clicks = 0;

    using TCustomGridEh::ApplyScrollBarAction;
    using TCustomGridEh::MouseMode;

protected:
    void DefaultCellMouseClick(TGridCoord Cell, TMouseButton, TShiftState Shift, int X, int Y) override
    {
        CellClicks.push_back({Cell, Shift, X, Y});
    }
    void Click() override
    {
        ++Clicks;
        TTestGrid::Click();
    }
};

// A borderless 400 x 300 grid with both scroll bars on a shown form, focused; its client area
// starts at the window's origin, so client points are window points. A bar shows, and takes
// room, only while its cells do not fit.
class GridInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 500, 400);
        Grid = new TInputGrid(Form);
        Grid->SetBorderStyle(TBorderStyle::bsNone);
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetParent(Form);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Grid->SetFocus();
    }
    void TearDown() override { delete Form; }

    QWidget* Window() const { return Grid->Handle(); }

    void Key(int QtKey, Qt::KeyboardModifiers Modifiers = Qt::NoModifier, const QString& Text = QString())
    {
        SendKey(Window(), QtKey, Text, Modifiers);
    }
    void Press(int X, int Y, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        SendMouse(Window(), QEvent::MouseButtonPress, QPoint(X, Y), Qt::LeftButton, Qt::LeftButton, Modifiers);
    }
    void DragTo(int X, int Y)
    {
        SendMouse(Window(), QEvent::MouseMove, QPoint(X, Y), Qt::NoButton, Qt::LeftButton);
    }
    void Release(int X, int Y, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        SendMouse(Window(), QEvent::MouseButtonRelease, QPoint(X, Y), Qt::LeftButton, Qt::NoButton, Modifiers);
    }
    void ClickCell(int X, int Y, Qt::KeyboardModifiers Modifiers = Qt::NoModifier)
    {
        Press(X, Y, Modifiers);
        Release(X, Y, Modifiers);
    }
    void Hover(int X, int Y)
    {
        SendMouse(Window(), QEvent::MouseMove, QPoint(X, Y), Qt::NoButton, Qt::NoButton);
    }
    // One notch of the wheel: negative turns it toward the user (down).
    void Wheel(int Delta)
    {
        const QPointF at(50, 50);
        QWheelEvent event(at, Window()->mapToGlobal(at), QPoint(), QPoint(0, Delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(Window(), &event);
    }

    TForm* Form = nullptr;
    TInputGrid* Grid = nullptr;
};
