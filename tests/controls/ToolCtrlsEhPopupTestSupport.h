#pragma once
// An edit on a shown form that drops a popup list box under itself, keeps the focus and passes
// the list its keys, as the data-aware edits do; the form is 600 x 400 at the screen's origin
// on one 1000 x 800 monitor.
#include "controls/ToolCtrlsEh.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/QtConvert.h"
#include "platform/ui/UiTestSupport.h"

#include <vector>

class TDropDownEdit : public TEdit, public IPopupOwnerEh {
public:
    explicit TDropDownEdit(TComponent* AOwner) : TEdit(AOwner)
    {
        List = new TPopupListboxEh(this);
        List->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
            if (Button == TMouseButton::mbLeft && List->CloseList() && List->ItemAtPos(Point(X, Y)) >= 0)
                CloseUp(true);
        };
    }

    void DropDown(int Rows)
    {
        List->SetFont(Font());
        List->SetWidth(Width());
        List->SetHeightByRows(Rows);
        const TPoint at = PlaceDropDownUnderEdit(this, List, TDropDownAlign::daLeft);
        List->SetBounds(at.X, at.Y, List->Width(), List->Height());
        List->Show();
    }

    void CloseUp(bool Accept) override
    {
        if (Accept && List->ItemIndex() >= 0)
            SetText(List->ItemText(List->ItemIndex()));
        List->Hide();
        Closes.push_back(Accept);
    }

    TPopupListboxEh* List = nullptr;
    std::vector<bool> Closes;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override
    {
        if (List->Visible()) {
            switch (Key) {
            case VK_UP:
            case VK_DOWN:
            case VK_PRIOR:
            case VK_NEXT: List->Perform(WM_KEYDOWN, Key); Key = 0; return;
            case VK_RETURN: CloseUp(true); Key = 0; return;
            case VK_ESCAPE: CloseUp(false); Key = 0; return;
            default: break;
            }
        }
        TEdit::KeyDown(Key, Shift);
    }

    void KeyPress(Char& Key) override
    {
        TEdit::KeyPress(Key);
        if (List->Visible() && Key.unicode() >= 32)
            List->Perform(WM_CHAR, Key.unicode());
    }
};

class PopupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ReleaseKeyboardModifiers();
        PlatformMetrics().SetMonitors({{Rect(0, 0, 1000, 800), Rect(0, 0, 1000, 760)}});
        PlatformMetrics().SetTickClock([this] { return Now; });
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 600, 400);
        Edit = new TDropDownEdit(Form);
        Edit->SetBounds(20, 30, 200, 21);
        Edit->SetParent(Form);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Edit->SetFocus();
    }

    void TearDown() override
    {
        delete Form;
        PlatformMetrics().Reset();
    }

    TPopupListboxEh* List() const { return Edit->List; }
    QWidget* EditWidget() const { return Edit->Handle(); }
    // The list window's point of a client point (the window has a border around its client).
    QPoint ListPoint(TPoint ClientPoint) const
    {
        const TPoint origin = List()->ScreenToClient(FromQPoint(List()->Handle()->mapToGlobal(QPoint(0, 0))));
        return QPoint(ClientPoint.X - origin.X, ClientPoint.Y - origin.Y);
    }
    // A point of the list window inside row Row.
    QPoint RowPoint(int Row) const
    {
        const TRect rect = List()->ItemRect(Row);
        return ListPoint(Point(rect.Left + 5, rect.Top + rect.Height() / 2));
    }

    std::uint32_t Now = 100000;
    TForm* Form = nullptr;
    TDropDownEdit* Edit = nullptr;
};
