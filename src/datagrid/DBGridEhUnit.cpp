// The grid unit's shared values and its counted start-up and shutdown.
#include "datagrid/DBGridEhUnit.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhCenter.h"
#include "datagrid/DBGridEhFindDlgs.h"
#include "datagrid/DBGridEhSimpleFilterDlg.h"
#include "datagrid/DBGridEhFilterRow.h"
#include "datagrid/DBGridEhStyle.h"
#include "platform/core/Exceptions.h"
#include "platform/ui/Forms.h"

#include <memory>

namespace {

int UnitUsers = 0;
std::unique_ptr<TDBGridEhStyle> Style;
std::unique_ptr<TDBGridEhCenter> Center;

struct TGridCursorImage {
    TCursor Id;
    const char* Name;
    TPoint HotSpot;
};

// The hot spots are the arrow tips of the 16 x 16 images.
constexpr TGridCursorImage GridCursorImages[] = {
    {crColumnSelectEh, "DOWNCUREH", {7, 15}},
    {crRecordSelectEh, "RIGHTCUREH", {15, 7}},
    {crRecordSelectRtlEh, "LEFTCUREH", {0, 7}},
};

} // namespace

// The images live in a static library: the resource must be pulled in by name.
static void InitCursorResources() { Q_INIT_RESOURCE(DBGridEhCursors); }

const TDBGridEhShortCuts& DBGridEhShortCuts()
{
    static const TDBGridEhShortCuts shortCuts{
        ShortCut('F', ssCtrl),
        ShortCut('F', ssCtrl),
        ShortCut(VK_RETURN, ssCtrl),
        ShortCut(VK_RETURN, ssCtrl | ssShift),
        ShortCut(VK_OEM_7, ssCtrl),
        ShortCut('T', ssCtrl),
    };
    return shortCuts;
}

TDBGridEhSearchSettings& DBGridEhSearchSettings()
{
    static TDBGridEhSearchSettings settings;
    return settings;
}

bool& DBGridEhBufferedPaint()
{
    static bool allowed = true;
    return allowed;
}

void RegisterDBGridEhCursors(const String& Folder)
{
    for (const TGridCursorImage& image : GridCursorImages) {
        const String path = Folder + u'/' + QLatin1String(image.Name) + QStringLiteral(".png");
        if (!Screen->SetCursors(image.Id, path, image.HotSpot))
            throw EOutOfResources(QStringLiteral("Cannot load cursor resource"));
    }
}

void StartDBGridEhUnit()
{
    if (UnitUsers++ > 0)
        return;
    try {
        InitCursorResources();
        RegisterDBGridEhCursors(QStringLiteral(":/datagrid"));
        InstallColumnPropertyInterceptors();
        Style = std::make_unique<TDBGridEhStyle>();
        Center = std::make_unique<TDBGridEhCenter>();
        StartDBGridEhFindDlgs();
        StartDBGridEhSimpleFilterDlg();
        MakeFilterPopupItems();
    } catch (...) {
        --UnitUsers;
        throw;
    }
}

void ShutdownDBGridEhUnit()
{
    if (UnitUsers == 0 || --UnitUsers > 0)
        return;
    for (const TGridCursorImage& image : GridCursorImages)
        Screen->DeleteCursor(image.Id);
    FreeDBGridEhIndicatorTitlePopupMenu();
    ShutdownDBGridEhFindDlgs();
    ShutdownDBGridEhSimpleFilterDlg();
    FreeFilterPopupItems();
    Center.reset();
    Style.reset();
}

TDBGridEhStyle* DBGridEhStyle() { return Style.get(); }

TDBGridEhCenter* DBGridEhCenter() { return Center.get(); }

TDBGridEhSharedUse::TDBGridEhSharedUse(TCustomDBGridEh* Grid) : FGrid(Grid)
{
    Grid->SetStyle(DBGridEhStyle());
    Grid->SetCenter(DBGridEhCenter());
}

TDBGridEhSharedUse::~TDBGridEhSharedUse()
{
    FGrid->SetStyle(nullptr);
    FGrid->SetCenter(nullptr);
}

int DBGridEhUnitUsers() { return UnitUsers; }

namespace {

int BusyCursorUses = 0;
TCursor CursorBeforeBusy = crDefault;

} // namespace

void BeginBusyCursor()
{
    if (BusyCursorUses++ > 0)
        return;
    CursorBeforeBusy = Screen->Cursor();
    Screen->SetCursor(crHourGlass);
}

void EndBusyCursor()
{
    if (BusyCursorUses == 0 || --BusyCursorUses > 0)
        return;
    Screen->SetCursor(CursorBeforeBusy);
}

// --- Simple grid settings -----------------------------------------------------------------------

void TCustomDBGridEh::SetEvenRowColor(TColor Value)
{
    const bool changed = Value != EvenRowColor();
    FEvenRowColor = Value;
    FEvenRowColorSet = true;
    if (changed)
        Invalidate();
}

void TCustomDBGridEh::SetOddRowColor(TColor Value)
{
    const bool changed = Value != OddRowColor();
    FOddRowColor = Value;
    FOddRowColorSet = true;
    if (changed)
        Invalidate();
}

void TCustomDBGridEh::SetEditButtonsShowOptions(TDBGridEhEditButtonsShowOptions Value)
{
    if (Value == FEditButtonsShowOptions)
        return;
    FEditButtonsShowOptions = Value;
    Invalidate();
}
