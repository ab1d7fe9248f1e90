// The popup data grid: a lookup grid in a drop-down window with a size grip, which follows the
// mouse, never takes the focus and reports its close-up to the owner.
#include "datagrid/DBLookupGridsEh.h"

#include "platform/core/ScopeExit.h"
#include "platform/ui/PlatformMetrics.h"

#include <algorithm>

TPopupDataGridEh::TPopupDataGridEh(TComponent* AOwner) : TDBLookupGridEh(AOwner)
{
    SetPopup(true);
    SetVisible(false);
    SetShowHint(true);
    FSizeGrip = new TSizeGripEh(this);
    FSizeGrip->SetParent(this);
    FSizeGrip->SetTriangleShape(true);
}

TPopupDataGridEh::~TPopupDataGridEh()
{
    delete FSizeGrip;
    FSizeGrip = nullptr;
}

void TPopupDataGridEh::CreateParams(TCreateParams& Params)
{
    TDBLookupGridEh::CreateParams(Params);
    MakeDropDownWindowParams(Params, Ctl3D());
}

void TPopupDataGridEh::PaintFlatBorder(HDC DC)
{
    if (!Ctl3D())
        return;
    TCanvas canvas;
    canvas.BeginPaint(DC);
    TRect edge = Rect(0, 0, Width(), Height());
    canvas.DrawEdge(edge, BDR_RAISEDOUTER, BF_RECT);
    canvas.EndPaint();
}

void TPopupDataGridEh::CheckNewSize(int& NewWidth, int& NewHeight)
{
    NewWidth = std::max(NewWidth, GetSystemMetrics(SM_CXVSCROLL));
    NewHeight = std::max(NewHeight, GetSystemMetrics(SM_CYHSCROLL));
}

void TPopupDataGridEh::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (!ComponentState().Contains(TComponentStateFlag::csLoading) &&
        !ComponentState().Contains(TComponentStateFlag::csDestroying))
        CheckNewSize(AWidth, AHeight);
    TDBLookupGridEh::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TPopupDataGridEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_SIZEGRIPSIDE: FSizeGrip->SnapToSide(Message.WParam); return;
    case WM_SIZE:
        TDBLookupGridEh::Dispatch(Message);
        FSizeGrip->UpdatePosition();
        FResized = true;
        return;
    default: TDBLookupGridEh::Dispatch(Message); return;
    }
}

// --- Dropping down and closing up --------------------------------------------------------------------

void TPopupDataGridEh::DropDownUnder(const TRect& Rect, TDropDownAlign Alignment)
{
    if (Width() < Rect.Width())
        SetWidth(Rect.Width());
    // The list opens on the key's record.
    if (ListActive())
        KeyValueChanged();
    const TPoint at = PlaceDropDownAtRect(Rect, this, Alignment);
    SetBounds(at.X, at.Y, Width(), Height());
    Show();
    FSizeGrip->UpdatePosition();
}

void TPopupDataGridEh::CloseUp(bool Accept)
{
    if (MouseCapture())
        SetMouseCapture(false);
    Hide();
    if (OnCloseUp)
        OnCloseUp(this, Accept);
}

bool TPopupDataGridEh::ForwardKey(WORD Key, TShiftState Shift)
{
    if (!Visible())
        return false;
    WORD key = Key;
    KeyDown(key, Shift);
    return key == 0;
}

bool TPopupDataGridEh::ForwardChar(Char Key)
{
    if (!Visible())
        return false;
    Char key = Key;
    KeyPress(key);
    return key.unicode() == 0;
}

void TPopupDataGridEh::ForwardWheel(int WheelDelta)
{
    if (!Visible() || WheelDelta == 0)
        return;
    const TPoint at = Point(0, 0);
    if (WheelDelta < 0)
        DoMouseWheelDown(TShiftState(), at);
    else
        DoMouseWheelUp(TShiftState(), at);
}

// --- The user's changes ------------------------------------------------------------------------------

void TPopupDataGridEh::KeyDown(WORD& Key, TShiftState Shift)
{
    FUserAction = true;
    TScopeExit done([this] { FUserAction = false; });
    TDBLookupGridEh::KeyDown(Key, Shift);
}

void TPopupDataGridEh::KeyValueChanged()
{
    TDBLookupGridEh::KeyValueChanged();
    if (FUserAction && OnUserKeyValueChange)
        OnUserKeyValueChange(this);
}

void TPopupDataGridEh::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FUserAction = true;
    TScopeExit done([this] { FUserAction = false; });
    TDBLookupGridEh::MouseDown(Button, Shift, X, Y);
    // Only a press that started choosing a row counts: one on the titles sizes or sorts.
    FPressedInList = Button == TMouseButton::mbLeft && Tracking();
}

void TPopupDataGridEh::MouseMove(TShiftState Shift, int X, int Y)
{
    FUserAction = true;
    TScopeExit done([this] { FUserAction = false; });
    TDBLookupGridEh::MouseMove(Shift, X, Y);
    const bool buttonHeld = Shift.Contains(ssLeft) || Shift.Contains(ssRight) || Shift.Contains(ssMiddle);
    if (!buttonHeld && !ReadOnly())
        SelectRowAtPoint(X, Y);
}

void TPopupDataGridEh::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const bool pressedInList = FPressedInList;
    FPressedInList = false;
    TDBLookupGridEh::MouseUp(Button, Shift, X, Y);
    if (!pressedInList || Button != TMouseButton::mbLeft)
        return;
    if (X < 0 || Y < 0 || X >= Width() || Y >= Height()) {
        CloseUp(false);
        return;
    }
    if (PointOnDataOrSpecRow(X, Y))
        CloseUp(true);
}
