// TLabel: text drawn with the platform's DrawText rules on the parent's painting.
#include "platform/ui/Label.h"

#include "platform/ui/Button.h"

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetBounds(0, 0, 65, 17);
    SetParentColor(true);
}

void TLabel::SetAutoSize(bool Value)
{
    if (Value == FAutoSize)
        return;
    FAutoSize = Value;
    AdjustBounds();
}

void TLabel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout Value)
{
    if (Value == FLayout)
        return;
    FLayout = Value;
    Invalidate();
}

void TLabel::SetTransparent(bool Value)
{
    if (Value == FTransparent)
        return;
    FTransparent = Value;
    Invalidate();
}

void TLabel::SetWordWrap(bool Value)
{
    if (Value == FWordWrap)
        return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetShowAccelChar(bool Value)
{
    if (Value == FShowAccelChar)
        return;
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetFocusControl(TWinControl* Value)
{
    if (FFocusControl != nullptr)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = Value;
    if (Value != nullptr)
        Value->FreeNotification(this);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FFocusControl)
        FFocusControl = nullptr;
}

unsigned TLabel::TextFormat() const
{
    unsigned format = DT_EXPANDTABS;
    if (FWordWrap)
        format |= DT_WORDBREAK;
    if (!FShowAccelChar)
        format |= DT_NOPREFIX;
    if (FAlignment == TAlignment::taRightJustify)
        format |= DT_RIGHT;
    else if (FAlignment == TAlignment::taCenter)
        format |= DT_CENTER;
    return format;
}

String TLabel::DrawnCaption() const
{
    const String caption = Caption();
    if (caption.isEmpty() || (FShowAccelChar && caption == QStringLiteral("&")))
        return caption + u' ';
    return caption;
}

void TLabel::AdjustBounds()
{
    if (!FAutoSize || ComponentState().Contains(TComponentStateFlag::csLoading))
        return;
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    TRect rect = Rect(0, 0, FWordWrap ? Width() : 0, 0);
    canvas->DrawText(DrawnCaption(), rect, TextFormat() | DT_CALCRECT);
    // The side the alignment holds stays where it is.
    int left = Left();
    if (!FWordWrap && FAlignment == TAlignment::taRightJustify)
        left += Width() - rect.Width();
    else if (!FWordWrap && FAlignment == TAlignment::taCenter)
        left += (Width() - rect.Width()) / 2;
    SetBounds(left, Top(), rect.Width(), rect.Height());
}

void TLabel::Paint()
{
    TCanvas* canvas = Canvas();
    if (!FTransparent) {
        canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(ClientRect());
    }
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    canvas->Font()->Assign(Font());
    const String caption = DrawnCaption();
    TRect rect = ClientRect();
    if (FLayout != TTextLayout::tlTop) {
        TRect measured = rect;
        canvas->DrawText(caption, measured, TextFormat() | DT_CALCRECT);
        const int offset = rect.Height() - measured.Height();
        rect.Offset(0, FLayout == TTextLayout::tlCenter ? offset / 2 : offset);
    }
    if (Enabled()) {
        canvas->DrawText(caption, rect, TextFormat());
        return;
    }
    // Disabled text: embossed, a highlight copy one pixel down and right under a shadow copy.
    TRect raised = rect;
    raised.Offset(1, 1);
    canvas->Font()->SetColor(clBtnHighlight);
    canvas->DrawText(caption, raised, TextFormat());
    canvas->Font()->SetColor(clBtnShadow);
    canvas->DrawText(caption, rect, TextFormat());
}

void TLabel::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        AdjustBounds();
        Invalidate();
        return;
    case CM_DIALOGCHAR:
        if (FFocusControl != nullptr && Enabled() && FShowAccelChar &&
            IsAccel(static_cast<WORD>(Message.WParam), Caption()) && FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            Message.Result = 1;
        }
        return;
    default: TGraphicControl::Dispatch(Message); return;
    }
}

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}
