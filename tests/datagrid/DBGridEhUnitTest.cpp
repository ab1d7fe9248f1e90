// The grid unit's shared state: its cursors, loaded while grids exist, its shortcuts and settings.
#include "DBGridEhTestGrid.h"

#include "platform/ui/Forms.h"

#include <QTemporaryDir>

namespace {

TEST(DBGridEhUnitTest, GridsShareTheUnitUntilTheLastOneGoes)
{
    const int before = DBGridEhUnitUsers();
    {
        TTestDBGridEh first(nullptr);
        TTestDBGridEh second(nullptr);
        EXPECT_EQ(DBGridEhUnitUsers(), before + 2);
        EXPECT_NE(Screen->Cursors(crColumnSelectEh).shape(), Qt::ArrowCursor);
    }
    EXPECT_EQ(DBGridEhUnitUsers(), before);
    if (before == 0) {
        // Shut down: the grid cursors are gone again.
        EXPECT_EQ(Screen->Cursors(crColumnSelectEh).shape(), Qt::ArrowCursor);
    }
}

TEST(DBGridEhUnitTest, TheCursorsAreBitmapsWithTheirHotSpotsAtTheArrowTips)
{
    TTestDBGridEh grid(nullptr);
    const QCursor down = Screen->Cursors(crColumnSelectEh);
    const QCursor right = Screen->Cursors(crRecordSelectEh);
    const QCursor left = Screen->Cursors(crRecordSelectRtlEh);
    EXPECT_EQ(down.shape(), Qt::BitmapCursor);
    EXPECT_FALSE(down.pixmap().isNull());
    EXPECT_EQ(down.hotSpot(), QPoint(7, 15));
    EXPECT_EQ(right.hotSpot(), QPoint(15, 7));
    EXPECT_EQ(left.hotSpot(), QPoint(0, 7));
}

TEST(DBGridEhUnitTest, AMissingCursorImageStopsTheLoadBeforeTheOthers)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // Only the second and third images exist: the first one fails and nothing is registered.
    QFile::copy(QStringLiteral(":/datagrid/RIGHTCUREH.png"), folder.filePath(QStringLiteral("RIGHTCUREH.png")));
    QFile::copy(QStringLiteral(":/datagrid/LEFTCUREH.png"), folder.filePath(QStringLiteral("LEFTCUREH.png")));
    Screen->DeleteCursor(crRecordSelectEh);
    try {
        RegisterDBGridEhCursors(folder.path());
        FAIL() << "no error for a missing cursor";
    } catch (const EOutOfResources& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Cannot load cursor resource"));
    }
    EXPECT_EQ(Screen->Cursors(crRecordSelectEh).shape(), Qt::ArrowCursor);
}

TEST(DBGridEhUnitTest, ShortCutsAndSearchSettings)
{
    const TDBGridEhShortCuts& keys = DBGridEhShortCuts();
    EXPECT_EQ(keys.IncSearch, scCtrl | 'F');
    EXPECT_EQ(keys.FindDialog, keys.IncSearch);
    EXPECT_EQ(keys.SearchNext, scCtrl | VK_RETURN);
    EXPECT_EQ(keys.SearchPrior, scCtrl | scShift | VK_RETURN);
    EXPECT_EQ(keys.CopyPrevValue, scCtrl | VK_OEM_7);
    EXPECT_EQ(keys.TitleFilter, scCtrl | 'T');
    EXPECT_EQ(DBGridEhSearchSettings().TimeoutMs, 1500);
    EXPECT_EQ(DBGridEhSearchSettings().HighlightColor, RGB(255, 255, 0));
    EXPECT_EQ(DBGridEhSearchSettings().TextColor, clBlack);
    EXPECT_TRUE(DBGridEhBufferedPaint());
}

} // namespace

namespace {

TEST(DBGridEhSettingsTest, RowColoursFollowTheGridColourUntilSet)
{
    TTestDBGridEh grid(nullptr);
    grid.SetColor(clYellow);
    EXPECT_EQ(grid.EvenRowColor(), clYellow);
    EXPECT_FALSE(grid.IsEvenRowColorStored());
    grid.SetEvenRowColor(clAqua);
    grid.SetColor(clLime);
    EXPECT_EQ(grid.EvenRowColor(), clAqua);
    EXPECT_TRUE(grid.IsEvenRowColorStored());
    EXPECT_EQ(grid.OddRowColor(), clLime);
    // Set to the colour it already reads, it is still the grid's own from then on.
    grid.SetOddRowColor(clLime);
    grid.SetColor(clRed);
    EXPECT_EQ(grid.OddRowColor(), clLime);
}

TEST(DBGridEhSettingsTest, EditButtonsShowOptionsAreKept)
{
    TTestDBGridEh grid(nullptr);
    EXPECT_TRUE(grid.EditButtonsShowOptions().Empty());
    grid.SetEditButtonsShowOptions(sebShowOnlyWhenGridActiveEh | sebShowOnlyForCurCellEh);
    EXPECT_TRUE(grid.EditButtonsShowOptions().Contains(sebShowOnlyForCurCellEh));
}

} // namespace
