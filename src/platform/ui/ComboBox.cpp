// TCustomComboBox: the edit, its drop-down button and the list window that never takes the focus.
#include "platform/ui/ComboBox.h"

#include "platform/ui/ListBox.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/QtConvert.h"
#include "platform/ui/WindowHost.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QWindow>

#include <algorithm>


// The drop-down list: a list box of the combo's items, the highlighted one selected, in a popup
// window. The combo's edit keeps the focus and steers it; the mouse chooses in it directly.
class TComboListWindow : public TListBox {
public:
    explicit TComboListWindow(TCustomComboBox& Combo) : TListBox(nullptr), FCombo(Combo)
    {
        SetCtl3D(false);
        SetTabStop(false);
        SetVisible(false);
        FWatcher.OnOutside = [this] { CallGuarded(&FCombo, [this] { FCombo.CloseList(false); }); };
    }

    int Highlighted() const { return ItemIndex(); }
    void SetHighlighted(int Index) { SetItemIndex(Index); }

    void Move(int Delta)
    {
        const int count = Items()->Count();
        if (count > 0)
            SetItemIndex(std::clamp(ItemIndex() < 0 ? (Delta > 0 ? 0 : count - 1) : ItemIndex() + Delta, 0, count - 1));
    }

    void Open(int Highlight)
    {
        Relayout();
        SetTopIndex(0);
        SetItemIndex(Highlight);
        Show();
        // The list belongs to the combo's window: while that window is modal, the mouse chooses
        // in the list as in the window itself, where a window of no owner would be blocked.
        if (QWindow* list = Handle()->windowHandle())
            list->setTransientParent(FCombo.Handle()->window()->windowHandle());
        FWatcher.Start({Handle(), FCombo.Handle()});
    }

    void Close()
    {
        FWatcher.Stop();
        Hide();
    }

    // Takes the combo's items and font, and sizes the window for them under the combo box.
    void Relayout()
    {
        const int highlighted = ItemIndex();
        SetFont(FCombo.Font());
        Items()->Assign(FCombo.Items());
        const int frame = 1;
        const int rows = std::clamp(Items()->Count(), 1, FCombo.DropDownCount());
        QWidget* combo = FCombo.Handle();
        const QPoint below = combo->mapToGlobal(QPoint(0, combo->height()));
        SetBounds(below.x(), below.y(), FCombo.Width(), rows * ItemHeight() + 2 * frame);
        SetItemIndex(highlighted);
    }

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TListBox::CreateParams(Params);
        Params.Style |= WS_POPUP;
        Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    }

    // A press takes no focus here: the edit keeps it; the release chooses.
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TControl::MouseDown(Button, Shift, X, Y);
    }

    void MouseMove(TShiftState Shift, int X, int Y) override
    {
        TListBox::MouseMove(Shift, X, Y);
        const int index = ItemAtPos(Point(X, Y));
        if (index >= 0 && index != ItemIndex())
            SetItemIndex(index);
    }

    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override
    {
        TListBox::MouseUp(Button, Shift, X, Y);
        const int index = ItemAtPos(Point(X, Y));
        if (Button != TMouseButton::mbLeft || index < 0)
            return;
        SetItemIndex(index);
        FCombo.CloseList(true);
    }

    const char* ClassName() const override { return "TComboListWindow"; }

private:
    TCustomComboBox& FCombo;
    TOutsidePressWatcher FWatcher;
};

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TCustomEdit(AOwner), FItems(std::make_unique<TStringList>())
{
    SetBounds(0, 0, 145, 21);
    FItems->OnChange = [this](TObject*) { ItemsChanged(); };
    FList = std::make_unique<TComboListWindow>(*this);
}

TCustomComboBox::~TCustomComboBox() = default;

void TCustomComboBox::CreateWnd()
{
    TCustomEdit::CreateWnd();
    Perform(EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, PlatformMetrics().VScrollWidth()));
    if (FStyle == TComboBoxStyle::csDropDownList)
        Perform(EM_SETREADONLY, 1);
}

void TCustomComboBox::SetStyle(TComboBoxStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    RecreateWnd();
}

TRect TCustomComboBox::ButtonRect() const
{
    const int width = PlatformMetrics().VScrollWidth();
    return Rect(ClientWidth() - width, 0, ClientWidth(), ClientHeight());
}

void TCustomComboBox::ShowComboText(const String& Value)
{
    TMessage message{WM_SETTEXT, 0, reinterpret_cast<LPARAM>(&Value), 0};
    TCustomEdit::Dispatch(message);
}

void TCustomComboBox::SetItemIndex(int Value)
{
    if (Value < -1 || Value >= FItems->Count())
        Value = -1;
    FItemIndex = Value;
    ShowComboText(Value >= 0 ? FItems->Strings(Value) : String());
}

void TCustomComboBox::ItemsChanged()
{
    if (FItemIndex >= FItems->Count())
        FItemIndex = -1;
    if (FDroppedDown)
        FList->Relayout();
}

int TCustomComboBox::FindPrefix(const String& Prefix, int From) const
{
    if (Prefix.isEmpty())
        return -1;
    for (int i = std::max(From, 0); i < FItems->Count(); ++i)
        if (FItems->Strings(i).startsWith(Prefix, Qt::CaseInsensitive))
            return i;
    return -1;
}

void TCustomComboBox::SetDroppedDown(bool Value)
{
    if (Value == FDroppedDown)
        return;
    if (!Value) {
        CloseList(false);
        return;
    }
    // The handler may refill the items before the list shows them.
    DropDown();
    FDroppedDown = true;
    FList->Open(FItemIndex >= 0 ? FItemIndex : FindPrefix(ComboText()));
    Invalidate();
}

void TCustomComboBox::CloseList(bool Accept)
{
    if (!FDroppedDown)
        return;
    const int chosen = FList->Highlighted();
    FDroppedDown = false;
    FList->Close();
    Invalidate();
    if (Accept && chosen >= 0 && chosen < FItems->Count())
        ChooseItem(chosen);
    CloseUp();
}

void TCustomComboBox::ChooseItem(int Index)
{
    FItemIndex = Index;
    ShowComboText(FItems->Strings(Index));
    SelectAll();
    Click();
    Select();
}

void TCustomComboBox::StepItem(int Delta)
{
    const int count = FItems->Count();
    if (count == 0)
        return;
    const int from = FItemIndex >= 0 ? FItemIndex : FItems->IndexOf(ComboText());
    const int index = from < 0 ? (Delta > 0 ? 0 : count - 1) : std::clamp(from + Delta, 0, count - 1);
    if (index != FItemIndex)
        ChooseItem(index);
}

void TCustomComboBox::SelectByLetter(Char Key)
{
    int index = FindPrefix(String(Key), FItemIndex + 1);
    if (index < 0)
        index = FindPrefix(String(Key));
    if (index < 0)
        return;
    if (FDroppedDown)
        FList->SetHighlighted(index);
    else if (index != FItemIndex)
        ChooseItem(index);
}

void TCustomComboBox::Complete()
{
    const String text = ComboText();
    if (!FAutoComplete || FStyle != TComboBoxStyle::csDropDown || SelLength() != 0 || SelStart() != text.size())
        return;
    const int index = FindPrefix(text);
    if (index < 0)
        return;
    const String item = FItems->Strings(index);
    if (item.size() == text.size() || (MaxLength() > 0 && item.size() > MaxLength()))
        return;
    // The completion is selected, so the next typed character replaces it.
    ReplaceText(item, static_cast<int>(text.size()), static_cast<int>(item.size() - text.size()));
    const bool chosen = index != FItemIndex;
    FItemIndex = index;
    if (FDroppedDown)
        FList->SetHighlighted(index);
    // Completing chooses the item, as a choice from the list does: its handlers see the whole text.
    if (chosen) {
        Click();
        Select();
    }
}

void TCustomComboBox::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (FStyle == TComboBoxStyle::csDropDownList ||
            PtInRect(ButtonRect(), Point(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)))) {
            if (!Focused() && CanFocus())
                SetFocus();
            SetDroppedDown(!FDroppedDown);
            return;
        }
        break;
    default: break;
    }
    TCustomEdit::WndProc(Message);
}

void TCustomComboBox::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETTEXT: {
        String value = *reinterpret_cast<const String*>(Message.LParam);
        if (FStyle == TComboBoxStyle::csDropDownList) {
            FItemIndex = FItems->IndexOf(value);
            value = FItemIndex >= 0 ? FItems->Strings(FItemIndex) : String();
        } else if (FItemIndex >= 0 && FItems->Strings(FItemIndex) != value) {
            FItemIndex = -1;
        }
        ShowComboText(value);
        return;
    }
    case WM_CHAR: {
        const String before = ComboText();
        TCustomEdit::Dispatch(Message);
        if (Message.WParam >= 32 && ComboText() != before)
            Complete();
        return;
    }
    case WM_KILLFOCUS:
        CloseList(false);
        TCustomEdit::Dispatch(Message);
        return;
    // Enter and Esc belong to the open list, not to the form's default and cancel buttons.
    case CM_WANTSPECIALKEY:
        if (FDroppedDown && (Message.WParam == VK_RETURN || Message.WParam == VK_ESCAPE)) {
            Message.Result = 1;
            return;
        }
        TCustomEdit::Dispatch(Message);
        return;
    default: TCustomEdit::Dispatch(Message); return;
    }
}

void TCustomComboBox::KeyDown(WORD& Key, TShiftState Shift)
{
    TCustomEdit::KeyDown(Key, Shift);
    if (Key == 0)
        return;
    const bool alt = Shift.Contains(ssAlt);
    if ((Key == VK_F4 && !alt) || (alt && (Key == VK_DOWN || Key == VK_UP))) {
        SetDroppedDown(!FDroppedDown);
        Key = 0;
        return;
    }
    if (alt)
        return;
    int delta = 0;
    switch (Key) {
    case VK_UP: delta = -1; break;
    case VK_DOWN: delta = 1; break;
    case VK_PRIOR: delta = -(FDropDownCount - 1); break;
    case VK_NEXT: delta = FDropDownCount - 1; break;
    default: return;
    }
    if (FDroppedDown)
        FList->Move(delta);
    else
        StepItem(delta);
    Key = 0;
}

void TCustomComboBox::KeyPress(Char& Key)
{
    TCustomEdit::KeyPress(Key);
    if (Key.isNull())
        return;
    if (FDroppedDown && (Key == u'\r' || Key == u'\x1b')) {
        CloseList(Key == u'\r');
        Key = Char();
        return;
    }
    if (Key.unicode() < 32)
        return;
    if (FAutoDropDown && !FDroppedDown)
        SetDroppedDown(true);
    if (FStyle == TComboBoxStyle::csDropDownList) {
        SelectByLetter(Key);
        Key = Char();
    }
}

bool TCustomComboBox::DoMouseWheelDown(TShiftState Shift, TPoint MousePos)
{
    if (TCustomEdit::DoMouseWheelDown(Shift, MousePos))
        return true;
    if (FDroppedDown)
        FList->Move(1);
    else
        StepItem(1);
    return true;
}

bool TCustomComboBox::DoMouseWheelUp(TShiftState Shift, TPoint MousePos)
{
    if (TCustomEdit::DoMouseWheelUp(Shift, MousePos))
        return true;
    if (FDroppedDown)
        FList->Move(-1);
    else
        StepItem(-1);
    return true;
}

void TCustomComboBox::Change()
{
    if (FItemIndex >= 0 && FItems->Strings(FItemIndex) != ComboText())
        FItemIndex = -1;
    if (FDroppedDown)
        FList->SetHighlighted(FindPrefix(ComboText()));
    TCustomEdit::Change();
}

void TCustomComboBox::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}

void TCustomComboBox::Select()
{
    if (OnSelect)
        OnSelect(this);
    else
        Change();
}

void TCustomComboBox::PaintWindow(HDC DC)
{
    QWidget* widget = Handle();
    QStyleOptionButton button;
    button.initFrom(widget);
    button.rect = ToQRect(ButtonRect());
    button.state |= FDroppedDown ? QStyle::State_Sunken : QStyle::State_Raised;
    widget->style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &button, DC, widget);
    QStyleOption arrow = button;
    arrow.rect = button.rect.adjusted(4, 4, -4, -4);
    widget->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, DC, widget);
}
