// TPopupListboxEh and the item behaviour objects of its special items.
#include "controls/ToolCtrlsEh.h"

#include "platform/ui/ImageList.h"
#include "platform/ui/PlatformMetrics.h"

#include <algorithm>

namespace {

// A typed prefix lives this long after its last character, and grows to this many characters.
constexpr std::uint32_t TypedPrefixTimeout = 2000;
constexpr int TypedPrefixMaxLength = 32;

}  // namespace

// --- Item behaviour -------------------------------------------------------------------------

bool TPopupListboxItemEh::DrawsFocusRect(TPopupListboxEh*, int) { return true; }

void TPopupListboxItemEh::PaintItem(TPopupListboxEh* ListBox, int Index, TOwnerDrawState State, const TRect& Rect)
{
    ListBox->DrawItemContent(Index, Rect, State);
}

void TPopupListboxItemEh::ItemMouseDown(TPopupListboxEh*, int, TMouseButton, TShiftState, TPoint) {}

void TPopupListboxItemEh::ItemMouseMove(TPopupListboxEh*, int, TShiftState, TPoint) {}

void TPopupListboxItemEh::ItemMouseUp(TPopupListboxEh* ListBox, int Index, bool& CloseList, TMouseButton, TShiftState,
                                      TPoint)
{
    CloseList = ClosesListOnSelect(ListBox, Index);
}

void TPopupListboxItemEh::ItemKeyPress(TPopupListboxEh*, int, bool&, TShiftState, Char&) {}

bool TPopupListboxItemEh::ClosesListOnSelect(TPopupListboxEh*, int) { return true; }

void TPopupListboxItemEh::Execute(TPopupListboxEh*, int) {}

TPopupListboxItemEh* DefaultPopupListboxItemEh()
{
    static TPopupListboxItemEh item;
    return &item;
}

// --- The list box ---------------------------------------------------------------------------

TPopupListboxEh::TPopupListboxEh(TComponent* AOwner) : TCustomListBox(AOwner)
{
    SetStyle(TListBoxStyle::lbOwnerDrawFixed);
    SetTabStop(false);
    SetBorderStyle(TBorderStyle::bsNone);
    SetVisible(false);
    SetControlStyle(ControlStyle() | csNeedsBorderPaint);
    FSizeGrip = new TSizeGripEh(this);
    FSizeGrip->SetParent(this);
    OnData = [this](TWinControl* Control, int Index, String& Data) { GetSourceItemText(Control, Index, Data); };
    OnDataObject = [this](TWinControl* Control, int Index, TObject*& DataObject) {
        GetSourceItemObject(Control, Index, DataObject);
    };
}

TPopupListboxEh::~TPopupListboxEh() = default;

void TPopupListboxEh::CreateParams(TCreateParams& Params)
{
    TCustomListBox::CreateParams(Params);
    MakeDropDownWindowParams(Params, Ctl3D());
    Params.Style |= WS_CLIPCHILDREN;
    // The 3D border is non-client too: the raised edges painted in the two-pixel frame the window
    // layer keeps for a client edge, so the window's scroll bar lies inside them.
    if (Ctl3D())
        Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void MakeDropDownWindowParams(TCreateParams& Params, bool Ctl3D)
{
    Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
    if (!Ctl3D)
        Params.Style |= WS_BORDER;
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    Params.WindowClassStyle |= CS_SAVEBITS;
    Params.WndParent = nullptr;
}

void TPopupListboxEh::SetImageList(TImageList* Value)
{
    if (Value == FImageList)
        return;
    if (FImageList != nullptr)
        FImageList->RemoveFreeNotification(this);
    FImageList = Value;
    if (FImageList != nullptr)
        FImageList->FreeNotification(this);
    Invalidate();
}

void TPopupListboxEh::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomListBox::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FImageList)
        FImageList = nullptr;
}

void TPopupListboxEh::SetSourceItems(TStrings* Value)
{
    FSourceItems = Value;
    SetStyle(Value != nullptr ? TListBoxStyle::lbVirtualOwnerDraw : TListBoxStyle::lbOwnerDrawFixed);
    SetCount(Value != nullptr ? Value->Count() : 0);
    Invalidate();
}

void TPopupListboxEh::GetSourceItemText(TWinControl*, int Index, String& Data)
{
    if (FSourceItems != nullptr && Index >= 0 && Index < FSourceItems->Count())
        Data = FSourceItems->Strings(Index);
}

void TPopupListboxEh::GetSourceItemObject(TWinControl*, int Index, TObject*& DataObject)
{
    if (FSourceItems != nullptr && Index >= 0 && Index < FSourceItems->Count())
        DataObject = FSourceItems->Objects(Index);
}

int TPopupListboxEh::FrameHeight() const
{
    // A plain border is one pixel on each side; the 3-D border is painted inside the extra.
    return (Ctl3D() ? 0 : 2) + 2 * FBorderExtra;
}

void TPopupListboxEh::SetHeightByRows(int Rows)
{
    SetHeight(std::max(Rows, 1) * ItemHeight() + FrameHeight());
}

void TPopupListboxEh::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    FRowCount = std::max((AHeight - FrameHeight()) / ItemHeight(), 1);
    AHeight = FrameHeight() + FRowCount * ItemHeight();
    if (!ComponentState().Contains(TComponentStateFlag::csLoading) &&
        !ComponentState().Contains(TComponentStateFlag::csDestroying)) {
        AWidth = std::max(AWidth, GetSystemMetrics(SM_CXVSCROLL));
        AHeight = std::max(AHeight, GetSystemMetrics(SM_CYHSCROLL));
    }
    TCustomListBox::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TPopupListboxEh::InvalidateItem(int Index)
{
    if (Index < 0 || !HandleAllocated())
        return;
    const TRect rect = ItemRect(Index);
    InvalidateRect(&rect);
}

TPopupListboxItemEh* TPopupListboxEh::ItemBehaviour(int Index) const
{
    if (!FUseItemObjects)
        return nullptr;
    return dynamic_cast<TPopupListboxItemEh*>(ItemObject(Index));
}

void TPopupListboxEh::CNDrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (TPopupListboxItemEh* item = ItemBehaviour(Index); item != nullptr && !item->DrawsFocusRect(this, Index))
        State.Exclude(odFocused);
    TCustomListBox::CNDrawItem(Index, Rect, State);
}

// The image column stays outside the focus rectangle.
TRect TPopupListboxEh::ItemFocusRect(const TRect& Rect) const
{
    TRect focus = Rect;
    if (FImageList != nullptr)
        focus.Left += FImageList->Width() + 4;
    return focus;
}

void TPopupListboxEh::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (TPopupListboxItemEh* item = ItemBehaviour(Index))
        item->PaintItem(this, Index, State, Rect);
    else
        DrawItemContent(Index, Rect, State);
}

void TPopupListboxEh::DrawItemContent(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (FImageList == nullptr) {
        TCustomListBox::DrawItem(Index, Rect, State);
        return;
    }
    TCanvas* canvas = Canvas();
    TRect column = Rect;
    column.Right = std::min(Rect.Left + FImageList->Width() + 4, Rect.Right);
    canvas->FillRect(column);
    int imageIndex = Index;
    if (OnGetImageIndex)
        OnGetImageIndex(Owner(), Index, imageIndex);
    DrawImageListCentered(canvas, column, FImageList, State.Contains(odSelected), imageIndex);
    // The text cell starts after the image column, so its opaque background leaves the image.
    TRect text = Rect;
    text.Left = column.Right;
    canvas->ExtTextOut(Rect.Left + FImageList->Width() + 5, Rect.Top, ETO_OPAQUE | ETO_CLIPPED, &text, ItemText(Index));
}

void TPopupListboxEh::PaintBorder(TCanvas* Canvas, TRect Rect)
{
    DrawRaisedPopupBorder(Canvas, Rect);
}

void TPopupListboxEh::KeyPress(Char& Key)
{
    if (TPopupListboxItemEh* item = ItemBehaviour(ItemIndex()))
        item->ItemKeyPress(this, ItemIndex(), FCloseList, CurrentShiftState(), Key);
    TCustomListBox::KeyPress(Key);
    SearchTypedPrefix(Key);
}

void TPopupListboxEh::SearchTypedPrefix(Char& Key)
{
    if (Key == Char(8) || Key == Char(27)) {
        FTypedPrefix.clear();
        return;
    }
    // Any printable character counts, Chinese included, not only the single bytes of old.
    if (Key.unicode() < 32 || !Key.isPrint())
        return;
    const std::uint32_t now = GetTickCount();
    if (now - FTypedTime > TypedPrefixTimeout)
        FTypedPrefix.clear();
    FTypedTime = now;
    if (FTypedPrefix.size() < TypedPrefixMaxLength)
        FTypedPrefix += Key;
    SelectString(FTypedPrefix);
    Key = Char();
}

void TPopupListboxEh::MouseMove(TShiftState Shift, int X, int Y)
{
    TCustomListBox::MouseMove(Shift, X, Y);
    const TPoint at = Point(X, Y);
    const bool buttonHeld = Shift.Contains(ssLeft) || Shift.Contains(ssRight) || Shift.Contains(ssMiddle);
    const int index = ItemAtPos(at);
    if (at != FLastMousePos && !buttonHeld) {
        if (index >= 0)
            SetItemIndex(index);
        if (index != FHotItem) {
            InvalidateItem(FHotItem);
            InvalidateItem(index);
            FHotItem = index;
        }
    }
    if (TPopupListboxItemEh* item = ItemBehaviour(index))
        item->ItemMouseMove(this, index, Shift, at);
    FLastMousePos = at;
}

void TPopupListboxEh::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FCloseList = true;
    TCustomListBox::MouseDown(Button, Shift, X, Y);
    const int index = ItemAtPos(Point(X, Y));
    if (TPopupListboxItemEh* item = ItemBehaviour(index))
        item->ItemMouseDown(this, index, Button, Shift, Point(X, Y));
}

void TPopupListboxEh::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    FCloseList = true;
    const int index = ItemAtPos(Point(X, Y));
    if (TPopupListboxItemEh* item = ItemBehaviour(index))
        item->ItemMouseUp(this, index, FCloseList, Button, Shift, Point(X, Y));
    TCustomListBox::MouseUp(Button, Shift, X, Y);
}

void TPopupListboxEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_NCPAINT:
        PaintPopupFrame(reinterpret_cast<HDC>(Message.WParam), this,
                        [this](TCanvas* Canvas, TRect Rect) { PaintBorder(Canvas, Rect); });
        return;
    case WM_SIZE:
        TCustomListBox::Dispatch(Message);
        FSizeGrip->UpdatePosition();
        FUserSized = true;
        return;
    case WM_SIZEGRIPSIDE: FSizeGrip->SnapToSide(Message.WParam); return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        InvalidateItem(ItemIndex());
        TCustomListBox::Dispatch(Message);
        return;
    case CM_CTL3DCHANGED:
        // The window layer makes the window again with the new border after this.
        FBorderExtra = Ctl3D() ? 2 : 0;
        SetBounds(Left(), Top(), Width(), Height());
        return;
    default: TCustomListBox::Dispatch(Message); return;
    }
}

TPopupListboxEh* NewPopupListbox(TComponent* Owner, std::function<void(bool Accept)> CloseUp)
{
    auto* box = new TPopupListboxEh(Owner);
    box->SetVisible(false);
    box->OnMouseUp = [box, CloseUp = std::move(CloseUp)](TObject*, TMouseButton Button, TShiftState, int X, int Y) {
        if (Button == TMouseButton::mbLeft && box->CloseList())
            CloseUp(box->ClientRect().Contains(Point(X, Y)));
    };
    return box;
}
