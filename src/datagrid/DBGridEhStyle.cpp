// The shared grid style: highlight colours of data and other cells, lightened on true colour.
#include "datagrid/DBGridEhStyle.h"

#include "datagrid/DBGridEh.h"
#include "platform/ui/Graphics.h"

#include <algorithm>
#include <cmath>

namespace {

int ScreenColorDepth = -1;

int ClampedChannel(double Value) { return std::clamp(static_cast<int>(Value), 0, 255); }

template <class TChannelRule>
TColor PerChannel(TColor Color1, TColor Color2, TChannelRule Rule)
{
    const TColor a = ColorToRGB(Color1);
    const TColor b = ColorToRGB(Color2);
    return RGB(Rule(GetRValue(a), GetRValue(b)), Rule(GetGValue(a), GetGValue(b)), Rule(GetBValue(a), GetBValue(b)));
}

}  // namespace

TColor MixColors(TColor Color1, TColor Color2, double Amount)
{
    return PerChannel(Color1, Color2, [Amount](int C1, int C2) {
        return ClampedChannel(C1 + std::trunc((C2 - C1) / 255.0 * Amount));
    });
}

TDBGridEhStyle::TDBGridEhStyle() { ScreenColorDepth = ReadColorDepth(); }

TDBGridEhStyle::~TDBGridEhStyle()
{
    while (!FGrids.empty())
        FGrids.back()->SetStyle(nullptr);
}

void TDBGridEhStyle::RegisterGrid(TCustomDBGridEh* Grid)
{
    if (!IsGridRegistered(Grid))
        FGrids.push_back(Grid);
}

void TDBGridEhStyle::UnregisterGrid(TCustomDBGridEh* Grid) { std::erase(FGrids, Grid); }

bool TDBGridEhStyle::IsGridRegistered(const TCustomDBGridEh* Grid) const
{
    return std::find(FGrids.begin(), FGrids.end(), Grid) != FGrids.end();
}

int TDBGridEhStyle::ColorDepth() { return ScreenColorDepth; }

void TDBGridEhStyle::SetColorDepth(int Value) { ScreenColorDepth = Value; }

TColor TDBGridEhStyle::LightenColor(TColor Color, TColor GlassColor, bool Ungray)
{
    return PerChannel(Color, GlassColor, [Ungray](int C, int Glass) {
        double c = C + (Glass - C) * 0.5;
        c += (225 - c) * 0.6;
        if (Ungray)
            c -= (122 - c) * 0.25;
        return ClampedChannel(std::round(c));
    });
}

bool TDBGridEhStyle::PickDataCellColors(const TDataCellHighlightEh& Cell, TGridDrawState& State, TColor& Background,
                                        TFont* Font)
{
    bool emphasis = false;
    const bool trueColor = ColorDepth() == -1;
    if (!DataCellHighlighted(Cell, State, emphasis)) {
        if (trueColor && Cell.HotRow)
            PickHotTrackColor(Cell, Background);
        return false;
    }
    const bool current = Cell.CurrentRow && (Cell.CurrentCell || Cell.RowSelect);
    if (Cell.GridFocused) {
        if (current || !FLuminateSelection || !trueColor) {
            Background = clHighlight;
            Font->SetColor(clHighlightText);
        } else {
            Background = LightenColor(Background, clHighlight, true);
            // The hovered cell of a highlighted row stands out from the rest of it.
            if (Cell.RowHighlight && Cell.HotRow && (Cell.RowSelect || (Cell.HotCell && !Cell.CurrentColumn)))
                Background = MixColors(Background, clHighlight, 85.33);
        }
    } else if (current && (emphasis || Cell.AlwaysShowSelection)) {
        Background = clBtnShadow;
        Font->SetColor(clHighlightText);
        if (trueColor)
            MixHotTrackedHighlight(Cell, Background);
    } else if (trueColor) {
        Background = LightenColor(Background, clBtnShadow, false);
        MixHotTrackedHighlight(Cell, Background);
    } else {
        Background = clBtnFace;
    }
    return true;
}

bool TDBGridEhStyle::HotTracked(const TDataCellHighlightEh& Cell)
{
    return Cell.HotRow && (Cell.RowHighlight || Cell.RowSelect || Cell.HotCell);
}

void TDBGridEhStyle::PickHotTrackColor(const TDataCellHighlightEh& Cell, TColor& Background)
{
    const TColor lit = LightenColor(Background, clHighlight, true);
    if (Cell.RowHighlight || Cell.RowSelect)
        // The whole row lights up; the cell under the pointer brightest unless rows are selected.
        Background = Cell.HotCell && !Cell.RowSelect ? lit : MixColors(lit, Background, 170.67);
    else if (Cell.HotCell)
        Background = lit;
}

void TDBGridEhStyle::MixHotTrackedHighlight(const TDataCellHighlightEh& Cell, TColor& Background)
{
    if (HotTracked(Cell))
        Background = MixColors(Background, LightenColor(Background, clHighlight, true), 170.67);
}

bool TDBGridEhStyle::PickOtherCellColors(bool Selected, bool IndicatorOrTitle, bool GridFocused, TColor& Background,
                                         TFont* Font)
{
    if (!Selected)
        return false;
    const bool lighten = FLuminateSelection && ColorDepth() == -1;
    if (IndicatorOrTitle) {
        Background = RGB(64, 64, 64);
        Font->SetColor(clWhite);
    } else if (GridFocused && lighten) {
        Background = LightenColor(Background, clHighlight, true);
    } else if (GridFocused) {
        Background = clHighlight;
        Font->SetColor(clHighlightText);
    } else {
        Background = ColorDepth() == -1 ? LightenColor(Background, clBtnShadow, false) : clBtnFace;
    }
    return true;
}

void TDBGridEhStyle::StyleWndProc(TMessage& Message)
{
    if (Message.Msg == WM_SYSCOLORCHANGE)
        ScreenColorDepth = ReadColorDepth();
}

// A Linux screen always has more than 256 colours.
int TDBGridEhStyle::ReadColorDepth() { return -1; }
