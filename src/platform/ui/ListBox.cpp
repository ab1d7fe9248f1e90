// TCustomListBox: rows painted on the canvas, selection by mouse, keys and code.
#include "platform/ui/ListBox.h"

#include <QFontMetrics>

#include <algorithm>

TCustomListBox::TCustomListBox(TComponent* AOwner) : TCustomControl(AOwner), FItems(std::make_unique<TStringList>())
{
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetBorderStyle(TBorderStyle::bsSingle);
    SetColor(clWindow);
    FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TCustomListBox::~TCustomListBox() = default;

int TCustomListBox::ItemHeight() const
{
    return FItemHeight > 0 ? FItemHeight : QFontMetrics(Font()->Handle()).height() + 2;
}

void TCustomListBox::SetItemHeight(int Value)
{
    Value = std::max(Value, 0);
    if (Value == FItemHeight)
        return;
    FItemHeight = Value;
    SetTopIndex(FTopIndex);
}

void TCustomListBox::SetStyle(TListBoxStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    ItemsChanged();
}

int TCustomListBox::Count() const
{
    return FStyle == TListBoxStyle::lbVirtualOwnerDraw ? FVirtualCount : FItems->Count();
}

void TCustomListBox::SetCount(int Value)
{
    FVirtualCount = std::max(Value, 0);
    if (FStyle == TListBoxStyle::lbVirtualOwnerDraw)
        ItemsChanged();
}

String TCustomListBox::ItemText(int Index) const
{
    if (Index < 0 || Index >= Count())
        return {};
    if (FStyle != TListBoxStyle::lbVirtualOwnerDraw)
        return FItems->Strings(Index);
    String data;
    if (OnData)
        OnData(const_cast<TCustomListBox*>(this), Index, data);
    return data;
}

TObject* TCustomListBox::ItemObject(int Index) const
{
    if (Index < 0 || Index >= Count())
        return nullptr;
    if (FStyle != TListBoxStyle::lbVirtualOwnerDraw)
        return FItems->Objects(Index);
    TObject* data = nullptr;
    if (OnDataObject)
        OnDataObject(const_cast<TCustomListBox*>(this), Index, data);
    return data;
}

int TCustomListBox::SelectString(const String& Prefix)
{
    const int count = Count();
    for (int index = 0; index < count; ++index)
        if (ItemText(index).startsWith(Prefix, Qt::CaseInsensitive)) {
            SetItemIndex(index);
            return index;
        }
    return -1;
}

TRect TCustomListBox::ItemRect(int Index) const
{
    const int height = ItemHeight();
    const int top = (Index - FTopIndex) * height;
    return Rect(0, top, ClientWidth(), top + height);
}

int TCustomListBox::VisibleRows() const { return std::max(ClientHeight() / ItemHeight(), 1); }

int TCustomListBox::ItemAtPos(TPoint Pos) const
{
    if (Pos.Y < 0 || Pos.X < 0 || Pos.X >= ClientWidth())
        return -1;
    const int index = FTopIndex + Pos.Y / ItemHeight();
    return index < Count() ? index : -1;
}

void TCustomListBox::SetItemIndex(int Value)
{
    FItemIndex = Value >= 0 && Value < Count() ? Value : -1;
    MakeVisible(FItemIndex);
    Invalidate();
}

void TCustomListBox::SetTopIndex(int Value)
{
    FTopIndex = std::clamp(Value, 0, std::max(Count() - VisibleRows(), 0));
    UpdateScrollBar();
    Invalidate();
}

void TCustomListBox::MakeVisible(int Index)
{
    if (Index < 0)
        return;
    if (Index < FTopIndex)
        SetTopIndex(Index);
    else if (Index >= FTopIndex + VisibleRows())
        SetTopIndex(Index - VisibleRows() + 1);
}

void TCustomListBox::UpdateScrollBar()
{
    if (!HandleAllocated())
        return;
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = Count() - 1;
    info.nPage = static_cast<unsigned>(VisibleRows());
    info.nPos = FTopIndex;
    SetScrollInfo(SB_VERT, info);
}

void TCustomListBox::CreateWnd()
{
    TCustomControl::CreateWnd();
    // Items and rows set before the window existed reach its scroll bar now.
    UpdateScrollBar();
}

void TCustomListBox::ItemsChanged()
{
    if (FItemIndex >= Count())
        FItemIndex = -1;
    SetTopIndex(FTopIndex);
}

void TCustomListBox::UserSelect(int Index)
{
    if (Index < 0)
        return;
    SetItemIndex(Index);
    Click();
}

void TCustomListBox::Paint()
{
    const int height = ItemHeight();
    const int count = Count();
    for (int row = 0; row * height < ClientHeight(); ++row) {
        const int index = FTopIndex + row;
        TOwnerDrawState state;
        if (index == FItemIndex) {
            state.Include(odSelected);
            if (PaintsFocused())
                state.Include(odFocused);
        }
        CNDrawItem(index < count ? index : -1, Rect(0, row * height, ClientWidth(), (row + 1) * height), state);
    }
}

void TCustomListBox::CNDrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    canvas->Brush()->SetColor(Color());
    if (State.Contains(odSelected)) {
        canvas->Brush()->SetColor(clHighlight);
        canvas->Font()->SetColor(clHighlightText);
    }
    if (Index < 0) {
        canvas->FillRect(Rect);
        return;
    }
    DrawItem(Index, Rect, State);
    if (State.Contains(odFocused))
        canvas->DrawFocusRect(ItemFocusRect(Rect));
}

void TCustomListBox::DrawItem(int Index, const TRect& Rect, TOwnerDrawState State)
{
    if (OnDrawItem && FStyle != TListBoxStyle::lbStandard) {
        OnDrawItem(this, Index, Rect, State);
        return;
    }
    Canvas()->TextRect(Rect, Rect.Left + 2, Rect.Top + 1, ItemText(Index));
}

void TCustomListBox::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const int last = Count() - 1;
    switch (Key) {
    case VK_UP: UserSelect(std::max(FItemIndex - 1, 0)); break;
    case VK_DOWN: UserSelect(std::min(FItemIndex + 1, last)); break;
    case VK_PRIOR: UserSelect(std::max(FItemIndex - VisibleRows() + 1, 0)); break;
    case VK_NEXT: UserSelect(std::min(FItemIndex + VisibleRows() - 1, last)); break;
    case VK_HOME: UserSelect(last >= 0 ? 0 : -1); break;
    case VK_END: UserSelect(last); break;
    default: return;
    }
    Key = 0;
}

void TCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CanFocus() && !Focused())
        SetFocus();
    if (Button == TMouseButton::mbLeft && !Shift.Contains(ssDouble)) {
        const int index = ItemAtPos(Point(X, Y));
        if (index >= 0)
            SetItemIndex(index);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

bool TCustomListBox::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (!TCustomControl::DoMouseWheelDown(Shift, MousePos))
        SetTopIndex(FTopIndex + 1);
    return true;
}

bool TCustomListBox::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (!TCustomControl::DoMouseWheelUp(Shift, MousePos))
        SetTopIndex(FTopIndex - 1);
    return true;
}

void TCustomListBox::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        TCustomControl::Dispatch(Message);
        return;
    case WM_SIZE:
        SetTopIndex(FTopIndex);
        TCustomControl::Dispatch(Message);
        return;
    case WM_VSCROLL:
        switch (LOWORD(Message.WParam)) {
        case SB_LINEUP: SetTopIndex(FTopIndex - 1); break;
        case SB_LINEDOWN: SetTopIndex(FTopIndex + 1); break;
        case SB_PAGEUP: SetTopIndex(FTopIndex - VisibleRows()); break;
        case SB_PAGEDOWN: SetTopIndex(FTopIndex + VisibleRows()); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: SetTopIndex(HIWORD(Message.WParam)); break;
        case SB_TOP: SetTopIndex(0); break;
        case SB_BOTTOM: SetTopIndex(Count()); break;
        default: break;
        }
        return;
    default: TCustomControl::Dispatch(Message); return;
    }
}
