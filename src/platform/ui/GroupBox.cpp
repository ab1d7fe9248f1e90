// TGroupBox: the frame runs through the middle of the caption's line; the caption interrupts it.
#include "platform/ui/GroupBox.h"

namespace {

// Where the caption starts, from the frame's left edge.
constexpr int CaptionIndent = 8;

}  // namespace

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetControlStyle(ControlStyle() | csAcceptsControls);
    SetBounds(0, 0, 185, 105);
    SetParentColor(true);
}

int TGroupBox::CaptionHeight() const
{
    TCanvas measure;
    measure.Font()->Assign(Font());
    return measure.TextHeight(QStringLiteral("0"));
}

void TGroupBox::AlignControls(TControl* AControl, TRect& Rect)
{
    Rect.Inflate(-2, -2);
    Rect.Top += CaptionHeight() - 2;
    TCustomControl::AlignControls(AControl, Rect);
}

void TGroupBox::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    const int textHeight = canvas->TextHeight(QStringLiteral("0"));
    TRect frame = ClientRect();
    frame.Top = textHeight / 2 - 1;
    canvas->DrawEdge(frame, EDGE_ETCHED, BF_RECT);
    const String caption = Caption();
    if (caption.isEmpty())
        return;
    TRect text = Rect(CaptionIndent, 0, 0, textHeight);
    canvas->DrawText(caption, text, DT_SINGLELINE | DT_CALCRECT);
    // A space's room on each side of the caption, in the box's colour over the frame line.
    const int pad = canvas->TextWidth(QStringLiteral(" ")) / 2;
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect(text.Left - pad, text.Top, text.Right + pad, text.Bottom));
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    canvas->DrawText(caption, text, DT_SINGLELINE);
}

void TGroupBox::Dispatch(TMessage& Message)
{
    TCustomControl::Dispatch(Message);
    // The caption's height decides where aligned children start.
    if (Message.Msg == CM_FONTCHANGED || Message.Msg == CM_TEXTCHANGED)
        Realign();
}
