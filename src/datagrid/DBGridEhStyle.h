#pragma once
// The grid style every data grid shares: it picks the colours of highlighted cells, lightened
// toward the highlight colour on a true-colour screen, and keeps the grids that use it.
#include "datagrid/DBGridEhDraw.h"
#include "platform/ui/Colors.h"
#include "platform/ui/Messages.h"

#include <vector>

class TCustomDBGridEh;
class TFont;

// Color1 moved toward Color2 by Amount / 255 per channel, cut toward zero and kept to 0..255.
TColor MixColors(TColor Color1, TColor Color2, double Amount);

class TDBGridEhStyle {
public:
    TDBGridEhStyle();
    // Every grid that uses the style loses it.
    virtual ~TDBGridEhStyle();
    TDBGridEhStyle(const TDBGridEhStyle&) = delete;
    TDBGridEhStyle& operator=(const TDBGridEhStyle&) = delete;

    void RegisterGrid(TCustomDBGridEh* Grid);
    void UnregisterGrid(TCustomDBGridEh* Grid);
    bool IsGridRegistered(const TCustomDBGridEh* Grid) const;

    // Selected cells take lightened colours instead of the plain highlight (on at creation).
    bool LuminateSelection() const { return FLuminateSelection; }
    void SetLuminateSelection(bool Value) { FLuminateSelection = Value; }
    // The screen's colour count; -1 for more than 256, the only depth lightened colours use.
    static int ColorDepth();
    static void SetColorDepth(int Value);

    // Per channel of Color and GlassColor: halfway to the glass, then 60% toward 225, then with
    // Ungray a quarter away from 122; rounded and kept to 0..255.
    static TColor LightenColor(TColor Color, TColor GlassColor, bool Ungray);

    // The colours of a data cell Cell describes; true when it is highlighted (State then holds
    // gdSelected and Background and Font the highlight's).
    virtual bool PickDataCellColors(const TDataCellHighlightEh& Cell, TGridDrawState& State, TColor& Background,
                                    TFont* Font);
    // A cell of the hot row that is not highlighted: lightened toward the highlight colour.
    void PickHotTrackColor(const TDataCellHighlightEh& Cell, TColor& Background);
    // The cells hot tracking lights: the hot row with the row highlight or row selection, else
    // the hot cell alone.
    static bool HotTracked(const TDataCellHighlightEh& Cell);
    // A highlighted cell of an unfocused grid that hot tracking lights: two thirds of the way to
    // its lightened colour.
    static void MixHotTrackedHighlight(const TDataCellHighlightEh& Cell, TColor& Background);
    // The colours of a selected cell outside the data area: indicator and title-area cells of
    // data columns dark grey with white text; others lightened or plain by focus. False when
    // not Selected.
    virtual bool PickOtherCellColors(bool Selected, bool IndicatorOrTitle, bool GridFocused, TColor& Background,
                                     TFont* Font);
    // A change of the system colours reads the colour depth again.
    virtual void StyleWndProc(TMessage& Message);
    virtual int ReadColorDepth();

private:
    std::vector<TCustomDBGridEh*> FGrids;
    bool FLuminateSelection = true;
};
