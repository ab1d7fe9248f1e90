// TStatusBar: painted here, each panel a sunken cell with its text inset from the edges.
#include "platform/ui/StatusBar.h"

#include <algorithm>

namespace {

// Room between a panel's edge and its text.
constexpr int TextInset = 2;

}  // namespace

void TStatusPanel::SetText(const String& Value)
{
    if (Value == FText)
        return;
    FText = Value;
    Changed(false);
}

void TStatusPanel::SetWidth(int Value)
{
    if (Value == FWidth)
        return;
    FWidth = Value;
    Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment)
        return;
    FAlignment = Value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value)
{
    if (Value == FStyle)
        return;
    FStyle = Value;
    Changed(false);
}

void TStatusPanel::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TStatusPanel*>(Source);
    if (source == nullptr) {
        TCollectionItem::Assign(Source);
        return;
    }
    FText = source->FText;
    FWidth = source->FWidth;
    FAlignment = source->FAlignment;
    FStyle = source->FStyle;
    Changed(true);
}

TStatusPanels::TStatusPanels(TStatusBar* StatusBar)
    : TCollection(CollectionItemClass<TStatusPanel>()), FStatusBar(StatusBar)
{
}

void TStatusPanels::Update(TCollectionItem*) { FStatusBar->Invalidate(); }

TPersistent* TStatusPanels::GetOwner() { return FStatusBar; }

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomControl(AOwner), FPanels(std::make_unique<TStatusPanels>(this))
{
    SetColor(clBtnFace);
    SetBounds(0, 0, 0, 19);
    SetAlign(TAlign::alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool Value)
{
    if (Value == FSimplePanel)
        return;
    FSimplePanel = Value;
    Invalidate();
}

void TStatusBar::SetSimpleText(const String& Value)
{
    if (Value == FSimpleText)
        return;
    FSimpleText = Value;
    if (FSimplePanel)
        Invalidate();
}

TRect TStatusBar::PanelRect(int Index) const
{
    int left = 0;
    for (int i = 0; i < Index; ++i)
        left += FPanels->Items(i)->Width();
    const bool last = Index == FPanels->Count() - 1;
    const int right = last ? std::max(ClientWidth(), left) : left + FPanels->Items(Index)->Width();
    return Rect(left, 0, right, ClientHeight());
}

void TStatusBar::DrawPanelText(const String& Text, TRect Rect, TAlignment Alignment)
{
    Rect.Inflate(-TextInset, 0);
    const unsigned align = Alignment == TAlignment::taRightJustify ? DT_RIGHT
                           : Alignment == TAlignment::taCenter     ? DT_CENTER
                                                                   : DT_LEFT;
    Canvas()->DrawText(Text, Rect, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TStatusBar::Paint()
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    canvas->Font()->Assign(Font());
    if (FSimplePanel) {
        canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        DrawPanelText(FSimpleText, ClientRect(), TAlignment::taLeftJustify);
        return;
    }
    for (int i = 0; i < FPanels->Count(); ++i) {
        TStatusPanel* panel = FPanels->Items(i);
        TRect cell = PanelRect(i);
        canvas->DrawEdge(cell, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
        if (panel->Style() == TStatusPanelStyle::psOwnerDraw) {
            if (OnDrawPanel)
                OnDrawPanel(this, panel, cell);
            continue;
        }
        canvas->Brush()->SetStyle(TBrushStyle::bsClear);
        DrawPanelText(panel->Text(), cell, panel->Alignment());
        canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    }
}
