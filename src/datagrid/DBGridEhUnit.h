#pragma once
// What every data grid of the process shares: the grid style and centre, the grid cursors, the
// keyboard shortcuts, the incremental-search settings and the buffered-paint switch. Made when
// the first grid is made and freed when the last one goes (a counter), since cursors need a
// running application.
#include "platform/ui/Colors.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Menus.h"
#include "platform/ui/SmallSet.h"

// When the cells show their edit buttons (the grid's EditButtonsShowOptions).
using TDBGridEhEditButtonsShowOptions = TSmallSet<struct TDBGridEhEditButtonsShowOptionsTag>;
constexpr TDBGridEhEditButtonsShowOptions sebShowOnlyForCurCellEh{1u << 0};
constexpr TDBGridEhEditButtonsShowOptions sebShowOnlyForCurRowEh{1u << 1};
constexpr TDBGridEhEditButtonsShowOptions sebShowOnlyWhenGridActiveEh{1u << 2};

// The grid cursors, registered with Screen while the unit runs.
constexpr TCursor crColumnSelectEh = 0x4E01;     // "DOWNCUREH": selects a column from its title
constexpr TCursor crRecordSelectEh = 0x4E02;     // "RIGHTCUREH": selects records by the indicator
constexpr TCursor crRecordSelectRtlEh = 0x4E03;  // "LEFTCUREH": the same, right-to-left

struct TDBGridEhShortCuts {
    TShortCut IncSearch;     // starts the incremental search
    TShortCut FindDialog;    // opens the find dialog (the same key as IncSearch)
    TShortCut SearchNext;    // the next match of the incremental search
    TShortCut SearchPrior;   // the previous match
    TShortCut CopyPrevValue; // the previous record's value into the focused cell
    TShortCut TitleFilter;   // drops the title filter down
};

struct TDBGridEhSearchSettings {
    int TimeoutMs = 1500;
    TColor HighlightColor = RGB(255, 255, 0);
    TColor TextColor = clBlack;
};

const TDBGridEhShortCuts& DBGridEhShortCuts();
TDBGridEhSearchSettings& DBGridEhSearchSettings();
// Off-screen painting is allowed (the default) for grids whose look needs it.
bool& DBGridEhBufferedPaint();

class TCustomDBGridEh;
class TDBGridEhCenter;
class TDBGridEhStyle;

// The one style and the one centre, while the unit runs; nullptr otherwise.
TDBGridEhStyle* DBGridEhStyle();
TDBGridEhCenter* DBGridEhCenter();

// Counted start-up and shutdown. Start-up makes the style and the centre, registers the cursors (the first that cannot be loaded
// raises EOutOfResources "Cannot load cursor resource") and the column stored-property
// interceptors; the last shutdown removes the cursors and frees the centre and the style.
void StartDBGridEhUnit();
void ShutdownDBGridEhUnit();
int DBGridEhUnitUsers();
// Registers the three cursors from the PNG images in Folder, in the order DOWNCUREH, RIGHTCUREH,
// LEFTCUREH; start-up uses the program's own resources.
void RegisterDBGridEhCursors(const String& Folder);

// Holds the unit for as long as it lives.
class TDBGridEhUnitUse {
public:
    TDBGridEhUnitUse() { StartDBGridEhUnit(); }
    ~TDBGridEhUnitUse() { ShutdownDBGridEhUnit(); }
    TDBGridEhUnitUse(const TDBGridEhUnitUse&) = delete;
    TDBGridEhUnitUse& operator=(const TDBGridEhUnitUse&) = delete;
};

// A grid's tie to the shared style and centre for the grid's lifetime: registers the grid with
// both as it is made and takes it off them as it goes.
class TDBGridEhSharedUse {
public:
    explicit TDBGridEhSharedUse(TCustomDBGridEh* Grid);
    ~TDBGridEhSharedUse();
    TDBGridEhSharedUse(const TDBGridEhSharedUse&) = delete;
    TDBGridEhSharedUse& operator=(const TDBGridEhSharedUse&) = delete;

private:
    TCustomDBGridEh* FGrid;
};

// The busy cursor (crHourGlass) on Screen while any use lives: the first keeps the cursor
// shown before, the last puts it back.
void BeginBusyCursor();
void EndBusyCursor();
class TBusyCursorUse {
public:
    TBusyCursorUse() { BeginBusyCursor(); }
    ~TBusyCursorUse() { EndBusyCursor(); }
    TBusyCursorUse(const TBusyCursorUse&) = delete;
    TBusyCursorUse& operator=(const TBusyCursorUse&) = delete;
};
