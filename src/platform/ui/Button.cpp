// Push buttons on Qt's QPushButton, and the windowless speed button painted on its parent.
#include "platform/ui/Button.h"

#include "platform/ui/WindowHost.h"

#include <QIcon>
#include <QPixmap>
#include <QPushButton>

#include <algorithm>

namespace {

// A button glyph's bottom-left pixel gives its transparent colour.
void AssignTransparent(TBitmap& Target, TBitmap* Glyph)
{
    Target.Assign(Glyph);
    Target.SetTransparentMode(TTransparentMode::tmAuto);
    Target.SetTransparent(true);
}

// The caption's '&' still underlines its letter, but the press comes through the form as
// CM_DIALOGCHAR, as on the platform; Qt's own shortcut would click again, a moment later.
void DropQtMnemonic(QAbstractButton* Button) { Button->setShortcut(QKeySequence()); }

}  // namespace

bool IsAccel(WORD VK, const String& Str)
{
    for (qsizetype i = 0; i + 1 < Str.size(); ++i) {
        if (Str[i] != u'&')
            continue;
        if (Str[i + 1] != u'&')
            return Str[i + 1].toUpper() == QChar(static_cast<char16_t>(VK)).toUpper();
        ++i;
    }
    return false;
}

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner)
{
    SetTabStop(true);
}

void TButtonControl::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    RecreateWnd();
}

QAbstractButton* TButtonControl::Button()
{
    return HandleAllocated() ? qobject_cast<QAbstractButton*>(Handle()) : nullptr;
}

void TButtonControl::CreateWnd()
{
    TWinControl::CreateWnd();
    if (QAbstractButton* button = Button()) {
        DropQtMnemonic(button);
        QObject::connect(button, &QAbstractButton::clicked, button,
                         [this] { CallGuarded(this, [this] { ButtonClicked(); }); });
    }
}

bool TButtonControl::FocusAndClickByMnemonic(TMessage& Message)
{
    if (!IsAccel(static_cast<WORD>(Message.WParam), Caption()) || !CanFocus())
        return false;
    SetFocus();
    if (Focused())
        ButtonClicked();
    Message.Result = 1;
    return true;
}

void TButtonControl::CancelMode()
{
    SetMouseCapture(false);
    if (QAbstractButton* button = Button())
        button->setDown(false);
}

void TButtonControl::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CANCELMODE: CancelMode(); return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // A button window takes the focus when pressed, before it shows the press.
        if (Button() != nullptr && !Focused() && CanFocus())
            SetFocus();
        TWinControl::Dispatch(Message);
        return;
    case CM_TEXTCHANGED:
        if (QAbstractButton* button = Button()) {
            button->setText(FText);
            DropQtMnemonic(button);
        }
        TWinControl::Dispatch(Message);
        return;
    default: TWinControl::Dispatch(Message); return;
    }
}

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner)
{
    // The Qt button reports its clicks; the mouse-up rule of windowless controls would repeat them.
    SetControlStyle(ControlStyle() - csClickEvents - csDoubleClicks);
    SetBounds(0, 0, 75, 25);
}

QWidget* TButton::CreateWindowHandle(const TCreateParams& Params)
{
    auto* button = new QPushButton(Params.Caption, Params.WndParent != nullptr ? Params.WndParent->Handle() : nullptr);
    button->setAutoDefault(false);
    return button;
}

void TButton::Click()
{
    if (TCustomForm* form = GetParentForm(this))
        form->SetModalResult(FModalResult);
    TButtonControl::Click();
}

void TButton::Dispatch(TMessage& Message)
{
    if (Message.Msg == CM_DIALOGCHAR && IsAccel(static_cast<WORD>(Message.WParam), Caption()) && CanFocus()) {
        Click();
        Message.Result = 1;
        return;
    }
    TButtonControl::Dispatch(Message);
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    FGlyph->OnChange = [this](TObject*) { ApplyGlyph(); };
}

TBitBtn::~TBitBtn() = default;

QWidget* TBitBtn::CreateWindowHandle(const TCreateParams& Params)
{
    QWidget* button = TButton::CreateWindowHandle(Params);
    button->setLayoutDirection(FLayout == TButtonLayout::blGlyphRight ? Qt::RightToLeft : Qt::LeftToRight);
    return button;
}

void TBitBtn::SetLayout(TButtonLayout Value)
{
    if (Value == FLayout)
        return;
    FLayout = Value;
    RecreateWnd();
}

void TBitBtn::CreateWnd()
{
    TButton::CreateWnd();
    ApplyGlyph();
}

void TBitBtn::ApplyGlyph()
{
    QAbstractButton* button = Button();
    if (button == nullptr)
        return;
    if (FGlyph->Empty()) {
        button->setIcon(QIcon());
        return;
    }
    TBitmap masked;
    AssignTransparent(masked, FGlyph.get());
    button->setIcon(QIcon(QPixmap::fromImage(masked.MaskedImage())));
    button->setIconSize(QSize(FGlyph->Width(), FGlyph->Height()));
}

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    // The button clicks on its own release rule: only a press that ends inside it.
    SetControlStyle(csCaptureMouse | csDoubleClicks);
    SetBounds(0, 0, 23, 22);
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetFlat(bool Value)
{
    if (Value == FFlat)
        return;
    FFlat = Value;
    Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout Value)
{
    if (Value == FLayout)
        return;
    FLayout = Value;
    Invalidate();
}

void TSpeedButton::SetNumGlyphs(int Value)
{
    Value = std::clamp(Value, 1, 4);
    if (Value == FNumGlyphs)
        return;
    FNumGlyphs = Value;
    Invalidate();
}

void TSpeedButton::SetMouseInControl(bool Value)
{
    if (Value == FMouseInControl)
        return;
    FMouseInControl = Value;
    if (FFlat)
        Invalidate();
}

void TSpeedButton::SetDown(bool Value)
{
    if (FGroupIndex == 0)
        Value = false;
    if (Value == FDown || (FDown && !FAllowAllUp))
        return;
    FDown = Value;
    FState = Value ? TButtonState::bsExclusive : TButtonState::bsUp;
    Invalidate();
    if (Value)
        UpdateExclusive();
}

void TSpeedButton::SetGroupIndex(int Value)
{
    if (Value == FGroupIndex)
        return;
    FGroupIndex = Value;
    UpdateExclusive();
}

void TSpeedButton::SetAllowAllUp(bool Value)
{
    if (Value == FAllowAllUp)
        return;
    FAllowAllUp = Value;
    UpdateExclusive();
}

void TSpeedButton::UpdateExclusive()
{
    if (FGroupIndex == 0 || Parent() == nullptr)
        return;
    TMessage message{CM_BUTTONPRESSED, static_cast<WPARAM>(FGroupIndex), reinterpret_cast<LPARAM>(this), 0};
    Parent()->Broadcast(message);
}

void TSpeedButton::ButtonPressed(int Group, TSpeedButton* Sender)
{
    if (Group != FGroupIndex || Sender == this)
        return;
    if (Sender->Down() && FDown) {
        FDown = false;
        FState = TButtonState::bsUp;
        Invalidate();
    }
    FAllowAllUp = Sender->AllowAllUp();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (Button != TMouseButton::mbLeft || !Enabled())
        return;
    if (!FDown) {
        FState = TButtonState::bsDown;
        Invalidate();
    }
    FDragging = true;
}

void TSpeedButton::MouseMove(TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseMove(Shift, X, Y);
    if (!FDragging)
        return;
    const bool inside = PtInRect(ClientRect(), Point(X, Y));
    const TButtonState state = !inside ? (FDown ? TButtonState::bsExclusive : TButtonState::bsUp)
                                       : (FDown ? TButtonState::bsExclusive : TButtonState::bsDown);
    if (state != FState) {
        FState = state;
        Invalidate();
    }
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TGraphicControl::MouseUp(Button, Shift, X, Y);
    if (!FDragging)
        return;
    FDragging = false;
    const bool doClick = PtInRect(ClientRect(), Point(X, Y));
    if (FGroupIndex == 0) {
        FState = TButtonState::bsUp;
        Invalidate();
    } else if (doClick) {
        SetDown(!FDown);
        FState = FDown ? TButtonState::bsExclusive : TButtonState::bsUp;
        Invalidate();
    } else {
        FState = FDown ? TButtonState::bsExclusive : TButtonState::bsUp;
        Invalidate();
    }
    if (doClick)
        Click();
}

void TSpeedButton::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_BUTTONPRESSED:
        ButtonPressed(static_cast<int>(Message.WParam), reinterpret_cast<TSpeedButton*>(Message.LParam));
        return;
    case CM_MOUSEENTER:
        SetMouseInControl(true);
        break;
    case CM_MOUSELEAVE:
        SetMouseInControl(false);
        break;
    default:
        break;
    }
    TGraphicControl::Dispatch(Message);
}

void TSpeedButton::Paint()
{
    TCanvas* canvas = Canvas();
    TRect face = ClientRect();
    const bool pressed = FState == TButtonState::bsDown || FState == TButtonState::bsExclusive;
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(FState == TButtonState::bsExclusive ? clBtnHighlight : clBtnFace);
    canvas->FillRect(face);
    if (!FFlat)
        canvas->DrawFrameControl(face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0u));
    else if (pressed)
        canvas->DrawEdge(face, BDR_SUNKENOUTER, BF_RECT);
    else if (FlatHot())
        canvas->DrawEdge(face, BDR_RAISEDINNER, BF_RECT);

    // Glyph and caption centred together, the glyph on the side Layout names.
    constexpr int Spacing = 4;
    canvas->Font()->Assign(Font());
    const String caption = Caption();
    const TSize text = caption.isEmpty() ? TSize{} : canvas->TextExtent(caption);
    TBitmap shown;
    GlyphForState(shown);
    const TSize glyph = shown.Empty() ? TSize{} : TSize{shown.Width(), shown.Height()};
    const int gap = text.cx > 0 && glyph.cx > 0 ? Spacing : 0;
    const bool across = FLayout == TButtonLayout::blGlyphLeft || FLayout == TButtonLayout::blGlyphRight;
    const int totalW = across ? glyph.cx + gap + text.cx : std::max(glyph.cx, text.cx);
    const int totalH = across ? std::max(glyph.cy, text.cy) : glyph.cy + gap + text.cy;
    const int shift = pressed ? 1 : 0;
    const int left = (Width() - totalW) / 2 + shift;
    const int top = (Height() - totalH) / 2 + shift;
    TPoint glyphAt;
    TPoint textAt;
    switch (FLayout) {
    case TButtonLayout::blGlyphLeft:
        glyphAt = Point(left, top + (totalH - glyph.cy) / 2);
        textAt = Point(left + glyph.cx + gap, top + (totalH - text.cy) / 2);
        break;
    case TButtonLayout::blGlyphRight:
        textAt = Point(left, top + (totalH - text.cy) / 2);
        glyphAt = Point(left + text.cx + gap, top + (totalH - glyph.cy) / 2);
        break;
    case TButtonLayout::blGlyphTop:
        glyphAt = Point(left + (totalW - glyph.cx) / 2, top);
        textAt = Point(left + (totalW - text.cx) / 2, top + glyph.cy + gap);
        break;
    case TButtonLayout::blGlyphBottom:
        textAt = Point(left + (totalW - text.cx) / 2, top);
        glyphAt = Point(left + (totalW - glyph.cx) / 2, top + text.cy + gap);
        break;
    }
    if (!shown.Empty())
        canvas->Draw(glyphAt.X, glyphAt.Y, &shown);
    if (!caption.isEmpty()) {
        canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        canvas->Font()->SetColor(Enabled() ? Font()->Color() : clGrayText);
        TRect textRect = Bounds(textAt.X, textAt.Y, text.cx, text.cy);
        canvas->DrawText(caption, textRect, DT_SINGLELINE | DT_NOCLIP);
    }
}

void TSpeedButton::GlyphForState(TBitmap& Result) const
{
    if (FGlyph->Empty())
        return;
    // The picture for the state when the strip has one, else the first.
    int index = 0;
    switch (Enabled() ? FState : TButtonState::bsDisabled) {
    case TButtonState::bsDisabled: index = 1; break;
    case TButtonState::bsDown: index = 2; break;
    case TButtonState::bsExclusive: index = 3; break;
    default: break;
    }
    if (index >= FNumGlyphs)
        index = 0;
    const int width = FGlyph->Width() / FNumGlyphs;
    if (width <= 0)
        return;
    TBitmap picture;
    picture.SetImage(FGlyph->Image().copy(index * width, 0, width, FGlyph->Height()));
    AssignTransparent(Result, &picture);
}
