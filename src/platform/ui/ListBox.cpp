// TListBox: rows painted on the canvas, selection by mouse, keys and code.
#include "platform/ui/ListBox.h"

#include <QFontMetrics>

#include <algorithm>

TListBox::TListBox(TComponent* AOwner) : TCustomControl(AOwner), FItems(std::make_unique<TStringList>())
{
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetBorderStyle(TBorderStyle::bsSingle);
    SetColor(clWindow);
    FItems->OnChange = [this](TObject*) { ItemsChanged(); };
}

TListBox::~TListBox() = default;

int TListBox::ItemHeight() const { return QFontMetrics(Font()->Handle()).height() + 2; }

int TListBox::VisibleRows() const { return std::max(ClientHeight() / ItemHeight(), 1); }

int TListBox::ItemAtPos(TPoint Pos) const
{
    if (Pos.Y < 0 || Pos.X < 0 || Pos.X >= ClientWidth())
        return -1;
    const int index = FTopIndex + Pos.Y / ItemHeight();
    return index < FItems->Count() ? index : -1;
}

void TListBox::SetItemIndex(int Value)
{
    FItemIndex = Value >= 0 && Value < FItems->Count() ? Value : -1;
    MakeVisible(FItemIndex);
    Invalidate();
}

void TListBox::SetTopIndex(int Value)
{
    FTopIndex = std::clamp(Value, 0, std::max(FItems->Count() - VisibleRows(), 0));
    UpdateScrollBar();
    Invalidate();
}

void TListBox::MakeVisible(int Index)
{
    if (Index < 0)
        return;
    if (Index < FTopIndex)
        SetTopIndex(Index);
    else if (Index >= FTopIndex + VisibleRows())
        SetTopIndex(Index - VisibleRows() + 1);
}

void TListBox::UpdateScrollBar()
{
    if (!HandleAllocated())
        return;
    TScrollInfo info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = FItems->Count() - 1;
    info.nPage = static_cast<unsigned>(VisibleRows());
    info.nPos = FTopIndex;
    SetScrollInfo(SB_VERT, info);
}

void TListBox::ItemsChanged()
{
    if (FItemIndex >= FItems->Count())
        FItemIndex = -1;
    SetTopIndex(FTopIndex);
}

void TListBox::UserSelect(int Index)
{
    if (Index < 0)
        return;
    SetItemIndex(Index);
    Click();
}

void TListBox::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->SetFont(Font());
    const int height = ItemHeight();
    for (int row = 0; row * height < ClientHeight(); ++row) {
        const int index = FTopIndex + row;
        const TRect rect = Rect(0, row * height, ClientWidth(), (row + 1) * height);
        const bool selected = index == FItemIndex;
        canvas->Brush()->SetColor(selected ? clHighlight : Color());
        canvas->FillRect(rect);
        if (index >= FItems->Count())
            continue;
        canvas->Font()->SetColor(selected ? clHighlightText : Font()->Color());
        canvas->TextRect(rect, rect.Left + 2, rect.Top + 1, FItems->Strings(index));
        if (selected && Focused())
            canvas->DrawFocusRect(rect);
    }
}

void TListBox::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomControl::KeyDown(Key, Shift);
    const int last = FItems->Count() - 1;
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

void TListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
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

bool TListBox::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (!TCustomControl::DoMouseWheelDown(Shift, MousePos))
        SetTopIndex(FTopIndex + 1);
    return true;
}

bool TListBox::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (!TCustomControl::DoMouseWheelUp(Shift, MousePos))
        SetTopIndex(FTopIndex - 1);
    return true;
}

void TListBox::Dispatch(TMessage& Message)
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
        default: break;
        }
        return;
    default: TCustomControl::Dispatch(Message); return;
    }
}
