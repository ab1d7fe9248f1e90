// The check box edit: its state to and from the data, toggling by mouse and keys, painting.
#include "editors/DBCtrlsEhCheckBox.h"

#include "controls/ToolCtrlsEhDraw.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/data/TypedFields.h"
#include "platform/ui/Graphics.h"

using namespace Qt::StringLiterals;

namespace {

const String TrueText = u"True"_s;
const String FalseText = u"False"_s;
constexpr int CaptionGap = 5;

// Whether Text is one of the ';'-separated items of List (case ignored); a list ending in ';'
// also holds the empty text.
bool MatchesValueList(const String& List, const String& Text)
{
    for (const String& item : List.split(u';'))
        if (!item.isEmpty() && AnsiSameText(item, Text))
            return true;
    return Text.isEmpty() && List.endsWith(u';');
}

String FirstItem(const String& List) { return List.section(u';', 0, 0); }

}  // namespace

TCustomDBCheckBoxEh::TCustomDBCheckBoxEh(TComponent* AOwner)
    : TButtonControl(AOwner), FDataLink(std::make_unique<TFieldDataLinkEh>()), FValueChecked(TrueText),
      FValueUnchecked(FalseText)
{
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
    // The release toggles by itself (a press that could not take the focus does not): the
    // control's own click on release would toggle a second time.
    SetControlStyle(ControlStyle() - csDoubleClicks - csClickEvents);
    SetAlignment(TAlignment::taRightJustify);
    FDataLink->SetControl(this);
    FDataLink->OnDataChange = [this](TObject*) { HandleDataChange(); };
    FDataLink->OnUpdateData = [this](TObject*) { PostStateToField(); };
    FDataLink->PutFieldValue(Variant(false));
}

TCustomDBCheckBoxEh::~TCustomDBCheckBoxEh() = default;

// --- State and data -------------------------------------------------------------------------

TCheckBoxState TCustomDBCheckBoxEh::StateFromData() const
{
    if (FDataLink->OwnValueMode()) {
        const Variant& own = FDataLink->OwnValue();
        if (VarType(own) == varBoolean)
            return own.AsBoolean() ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked;
        return TCheckBoxState::cbGrayed;
    }
    const TField* field = FDataLink->Field();
    if (field == nullptr)
        return TCheckBoxState::cbUnchecked;
    if (dynamic_cast<const TBooleanField*>(field) != nullptr && FValueChecked == TrueText &&
        FValueUnchecked == FalseText) {
        if (field->IsNull())
            return TCheckBoxState::cbGrayed;
        return field->AsBoolean() ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked;
    }
    const String text = field->Text();
    if (MatchesValueList(FValueChecked, text))
        return TCheckBoxState::cbChecked;
    if (MatchesValueList(FValueUnchecked, text))
        return TCheckBoxState::cbUnchecked;
    return TCheckBoxState::cbGrayed;
}

void TCustomDBCheckBoxEh::HandleDataChange()
{
    ApplyState(StateFromData());
    FDataLink->SetModified(false);
}

void TCustomDBCheckBoxEh::ApplyState(TCheckBoxState Value)
{
    if (Value == FState)
        return;
    FState = Value;
    if (!ClicksDisabled() && OnClick)
        OnClick(this);
    Invalidate();
    FDataLink->SetModified(true);
}

void TCustomDBCheckBoxEh::SetState(TCheckBoxState Value)
{
    if (!FDataLink->OwnValueMode()) {
        if (!FDataLink->IsOperational())
            return;
        FDataLink->DataSet()->Edit();
    }
    ApplyState(Value);
    if (FPosting)
        return;
    try {
        PostStateToField();
    } catch (...) {
        FDataLink->ReloadRecord();
        throw;
    }
}

void TCustomDBCheckBoxEh::SetValueChecked(const String& Value)
{
    if (Value == FValueChecked)
        return;
    FValueChecked = Value;
    HandleDataChange();
}

void TCustomDBCheckBoxEh::SetValueUnchecked(const String& Value)
{
    if (Value == FValueUnchecked)
        return;
    FValueUnchecked = Value;
    HandleDataChange();
}

void TCustomDBCheckBoxEh::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    Invalidate();
}

void TCustomDBCheckBoxEh::SetAlwaysShowBorder(bool Value)
{
    if (Value == FAlwaysShowBorder)
        return;
    FAlwaysShowBorder = Value;
    Invalidate();
}

void TCustomDBCheckBoxEh::WriteStateToField()
{
    if (FDataLink->OwnValueMode()) {
        FDataLink->PutFieldValue(FState == TCheckBoxState::cbGrayed ? Variant::Null() : Variant(Checked()));
        return;
    }
    TField* field = FDataLink->Field();
    if (field == nullptr)
        return;
    if (FState == TCheckBoxState::cbGrayed)
        field->Clear();
    else if (dynamic_cast<TBooleanField*>(field) != nullptr)
        field->SetAsBoolean(Checked());
    else
        field->SetText(FirstItem(Checked() ? FValueChecked : FValueUnchecked));
}

void TCustomDBCheckBoxEh::PostStateToField()
{
    if (!UpdateDataHandled(OnUpdateData, this, FPosting))
        WriteStateToField();
    FDataLink->SetModified(false);
}

void TCustomDBCheckBoxEh::ToggleState()
{
    if (!FDataLink->TryEdit())
        return;
    // Only shown and marked: leaving the box writes it, Escape before that shows the stored state.
    switch (FState) {
    case TCheckBoxState::cbUnchecked:
        ApplyState(FAllowGrayed ? TCheckBoxState::cbGrayed : TCheckBoxState::cbChecked);
        break;
    case TCheckBoxState::cbChecked: ApplyState(TCheckBoxState::cbUnchecked); break;
    case TCheckBoxState::cbGrayed: ApplyState(TCheckBoxState::cbChecked); break;
    }
}

// A click toggles once, whichever way it came: mouse, Space or the caption's accelerator.
void TCustomDBCheckBoxEh::ButtonClicked() { ToggleState(); }

void TCustomDBCheckBoxEh::Click() { ToggleState(); }

// --- Keys and mouse -------------------------------------------------------------------------

void TCustomDBCheckBoxEh::KeyDown(WORD& Key, TShiftState Shift)
{
    TButtonControl::KeyDown(Key, Shift);
    if (Key == VK_SPACE && !FSpaceDown) {
        FSpaceDown = true;
        Invalidate();
    }
}

void TCustomDBCheckBoxEh::KeyUp(WORD& Key, TShiftState Shift)
{
    TButtonControl::KeyUp(Key, Shift);
    if (Key == VK_SPACE && FSpaceDown) {
        FSpaceDown = false;
        Invalidate();
        ToggleState();
    }
}

void TCustomDBCheckBoxEh::KeyPress(Char& Key)
{
    TButtonControl::KeyPress(Key);
    if (Key == Char(8) || Key == Char(32))
        FDataLink->TryEdit();
    else if (Key == Char(27))
        FDataLink->ReloadRecord();
}

void TCustomDBCheckBoxEh::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == TMouseButton::mbLeft) {
        // Taking the focus is no click; a press on a box that cannot take it does nothing.
        if (!Focused() && CanFocus()) {
            SetClicksDisabled(true);
            SetFocus();
            SetClicksDisabled(false);
        }
        FMouseDown = Focused();
        Invalidate();
    }
    TButtonControl::MouseDown(Button, Shift, X, Y);
}

void TCustomDBCheckBoxEh::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TButtonControl::MouseUp(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft || !FMouseDown)
        return;
    FMouseDown = false;
    Invalidate();
    if (ClientRect().Contains(Point(X, Y)))
        ToggleState();
}

void TCustomDBCheckBoxEh::DoExit()
{
    try {
        FDataLink->UpdateRecord();
    } catch (...) {
        SetFocus();
        throw;
    }
    TButtonControl::DoExit();
}

void TCustomDBCheckBoxEh::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_GETDATALINK: Message.Result = reinterpret_cast<LRESULT>(FDataLink.get()); return;
    case CM_WANTSPECIALKEY:
        if (Message.WParam == VK_ESCAPE && FDataLink->Modified()) {
            Message.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(static_cast<WORD>(Message.WParam), Caption()) && CanFocus()) {
            SetFocus();
            if (Focused())
                ToggleState();
            Message.Result = 1;
            return;
        }
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        FMouseOver = Message.Msg == CM_MOUSEENTER;
        Invalidate();
        break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    default: break;
    }
    TButtonControl::Dispatch(Message);
}

// --- Painting -------------------------------------------------------------------------------

void TCustomDBCheckBoxEh::PaintWindow(HDC DC)
{
    TCanvas canvas;
    canvas.BeginPaint(DC);
    PaintControl(&canvas);
    canvas.EndPaint();
}

void TCustomDBCheckBoxEh::PaintControl(TCanvas* Canvas)
{
    PaintState(Canvas, FState, Focused(), FMouseDown || FSpaceDown, FMouseOver);
}

void TCustomDBCheckBoxEh::PaintState(TCanvas* Canvas, TCheckBoxState State, bool Focused, bool Pressed, bool Hot)
{
    const TRect client = ClientRect();
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(Color());
    Canvas->FillRect(client);
    const bool boxRight = Alignment() == TAlignment::taLeftJustify;
    const TRect box = PlaceCheckBoxInRect(client, boxRight ? TAlignment::taRightJustify : TAlignment::taLeftJustify,
                                          TTextLayout::tlCenter);
    const TRect caption = boxRight ? Rect(0, 0, box.Left - CaptionGap, Height())
                                   : Rect(box.Right + CaptionGap, 0, Width(), Height());
    PaintCaption(Canvas, caption, Focused);
    PaintCheckMark(Canvas, box, State, Focused, Pressed, Hot);
}

void TCustomDBCheckBoxEh::PaintCheckMark(TCanvas* Canvas, const TRect& Rect, TCheckBoxState State, bool Focused,
                                         bool Pressed, bool Hot)
{
    const bool hot = Hot || Focused || (FAlwaysShowBorder && !ThemesActive());
    PaintButtonFace(Canvas, Rect, Color(), State, Enabled(), hot, FFlat, Pressed ? bppUpperEh : bppNoneEh,
                    TDrawButtonStyleEh::dbsCheckBoxEh);
}

void TCustomDBCheckBoxEh::PaintCaption(TCanvas* Canvas, const TRect& Rect, bool Focused)
{
    Canvas->Font()->Assign(Font());
    Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    const String text = Caption();
    TRect measured = Rect;
    Canvas->DrawText(text, measured, DT_CALCRECT | DT_SINGLELINE);
    TRect shown = Bounds(Rect.Left, Height() / 2 - measured.Height() / 2, measured.Width(), measured.Height());
    if (Enabled()) {
        Canvas->DrawText(text, shown, DT_SINGLELINE);
    } else {
        TRect shadow = shown;
        shadow.Offset(1, 1);
        Canvas->Font()->SetColor(clHighlightText);
        Canvas->DrawText(text, shadow, DT_SINGLELINE);
        Canvas->Font()->SetColor(clGrayText);
        Canvas->DrawText(text, shown, DT_SINGLELINE);
    }
    if (Focused && !text.isEmpty()) {
        TRect focus = shown;
        focus.Inflate(1, 1);
        focus.Bottom += 1;
        Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        Canvas->DrawFocusRect(focus);
    }
}
