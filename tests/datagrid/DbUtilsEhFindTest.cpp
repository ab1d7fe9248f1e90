// Finding a text in a grid's records: every direction and option, through the grid centre, the
// busy cursor while it scans; the centre's indicator-title menu and cell clicks, and the shared
// style's colours.
#include "DBGridEhCoreSupport.h"

#include "datagrid/DBGridEhCenter.h"
#include "datagrid/DBGridEhStyle.h"
#include "datagrid/DbUtilsEh.h"
#include "platform/data/DataSet.h"
#include "platform/ui/Menus.h"
#include "platform/ui/UiTestSupport.h"

#include <QKeyEvent>
#include <QWidget>

namespace {

using enum TLocateTextDirectionEh;
using enum TLocateTextMatchTypeEh;

class DbUtilsEhFindTest : public DBGridEhCoreFixture {
protected:
    void SetUp() override
    {
        DBGridEhCoreFixture::SetUp();
        Grid->SetDataSource(Source.get());
        for (const auto& [recNo, name] : {std::pair{5, u"Abc"_s}, std::pair{40, u"xabcx"_s}}) {
            Data->SetRecNo(recNo);
            Data->Edit();
            Data->FieldByName(u"名称"_s)->SetAsString(name);
            Data->Post();
        }
        Data->First();
    }

    void TearDown() override
    {
        DBGridEhCenter()->OnLocateText = nullptr;
        DBGridEhCenter()->OnCellMouseClick = nullptr;
        DBGridEhCenter()->SetMenuItem(TDBGridEhMenuItemEh::gmiCutEh, true);
        UnregisterDatasetFeaturesEh(typeid(TDataSet));
        Screen->SetCursor(crDefault);
        DBGridEhCoreFixture::TearDown();
    }

    bool Find(const char* FieldName, const String& Text, TLocateTextMatchTypeEh Matching,
              TLocateTextDirectionEh Direction, TLocateTextOptionsEh Options)
    {
        return FindTextInGrid(Grid, QString::fromUtf8(FieldName), Text, TLocateTextTreeFindRangeEh::lttInAllNodesEh,
                              Matching, Direction, Options);
    }

    String FocusedFieldName() const { return Grid->FocusedColumn()->FieldName(); }
};

TEST_F(DbUtilsEhFindTest, FindsInEachDirectionAndWithEachOption)
{
    const struct {
        int StartRecNo;
        const char* FieldName;
        const char* Text;
        TLocateTextMatchTypeEh Matching;
        TLocateTextDirectionEh Direction;
        TLocateTextOptionsEh Options;
        int FoundRecNo;  // 0: not found, the record kept
        const char* FocusedField;
    } cases[] = {
        {30, "名称", "物品7", ltmWholeEh, ltdAllEh, {}, 7, "名称"},
        {30, "名称", "1", ltmAnyPartEh, ltdDownEh, {}, 31, "名称"},
        {20, "名称", "物品1", ltmAnyPartEh, ltdUpEh, {}, 19, "名称"},
        {20, "名称", "物品2", ltmFromBeginningEh, ltdUpEh, {}, 2, "名称"},
        {1, "名称", "abc", ltmWholeEh, ltdAllEh, ltoCaseInsensitiveEh, 5, "名称"},
        {1, "名称", "abc", ltmWholeEh, ltdAllEh, {}, 0, "id"},
        {1, "名称", "abc", ltmAnyPartEh, ltdAllEh, {}, 40, "名称"},
        {1, "名称", "ABC", ltmAnyPartEh, ltdDownEh, ltoCaseInsensitiveEh, 5, "名称"},
        // The shown text of a float reads as it shows; its field text as well here.
        {1, "", "3.5", ltmWholeEh, ltdAllEh, ltoAllFieldsEh | ltoMatchFormatEh, 7, "金额"},
        {1, "", "物品", ltmWholeEh, ltdAllEh, ltoAllFieldsEh, 0, "id"},
        {10, "数量", "10", ltmWholeEh, ltdDownEh, {}, 0, "id"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        Grid->FocusDataColumn(0);
        Data->SetRecNo(c.StartRecNo);
        const int row = Grid->Row();
        const bool found = Find(c.FieldName, QString::fromUtf8(c.Text), c.Matching, c.Direction, c.Options);
        EXPECT_EQ(found, c.FoundRecNo != 0);
        EXPECT_EQ(Data->RecNo(), found ? c.FoundRecNo : c.StartRecNo);
        // A miss leaves the view as it was, the record on the same row.
        if (!found) {
            EXPECT_EQ(Grid->Row(), row);
        }
        EXPECT_EQ(FocusedFieldName(), QString::fromUtf8(c.FocusedField));
    }
}

TEST_F(DbUtilsEhFindTest, AllColumnsStartAtTheFirstColumnAndStepCellByCell)
{
    // Focused on the last column: a search of all records still reads the first record's first cell.
    Grid->FocusDataColumn(3);
    EXPECT_TRUE(Find("", u"1"_s, ltmWholeEh, ltdAllEh, ltoAllFieldsEh));
    EXPECT_EQ(Data->RecNo(), 1);
    EXPECT_EQ(FocusedFieldName(), u"id"_s);
    // After a hit in a record's last column the next one down is the next record's first.
    Data->SetRecNo(2);
    Grid->FocusDataColumn(3);
    EXPECT_TRUE(Find("", u"3"_s, ltmWholeEh, ltdDownEh, ltoAllFieldsEh));
    EXPECT_EQ(Data->RecNo(), 3);
    EXPECT_EQ(FocusedFieldName(), u"id"_s);
    // Up from a record's first column goes to the previous record's last.
    EXPECT_TRUE(Find("", u"1"_s, ltmWholeEh, ltdUpEh, ltoAllFieldsEh));
    EXPECT_EQ(Data->RecNo(), 2);
    EXPECT_EQ(FocusedFieldName(), AmountField);
}

TEST_F(DbUtilsEhFindTest, EscapePressedForTheGridStopsTheScanAndStillReachesIt)
{
    std::vector<WORD> keys;
    Grid->OnKeyDown = [&keys](TObject*, WORD& Key, TShiftState) { keys.push_back(Key); };
    QCoreApplication::postEvent(Grid->Handle(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, u"\x1b"_s));
    EXPECT_FALSE(Find("名称", u"xabcx"_s, ltmWholeEh, ltdDownEh, ltoStopOnEscapeEh));
    EXPECT_EQ(Data->RecNo(), 1);
    EXPECT_TRUE(keys.empty());  // held while the scan ran
    QCoreApplication::processEvents();
    EXPECT_EQ(keys, std::vector<WORD>{VK_ESCAPE});
    EXPECT_TRUE(Find("名称", u"xabcx"_s, ltmWholeEh, ltdDownEh, ltoStopOnEscapeEh));
    EXPECT_EQ(Data->RecNo(), 40);
}

TEST_F(DbUtilsEhFindTest, AnUnknownFieldRaisesTheGridError)
{
    try {
        Find("无此字段", u"1"_s, ltmWholeEh, ltdAllEh, {});
        ADD_FAILURE() << "no error";
    } catch (const EInvalidGridOperationEh& e) {
        EXPECT_EQ(e.Message(), u"字段名 '无此字段' 没有找到"_s);
    }
}

TEST_F(DbUtilsEhFindTest, TheGridSearchesThroughItsCentreUnderTheBusyCursor)
{
    EXPECT_EQ(Grid->Center(), DBGridEhCenter());
    EXPECT_TRUE(DBGridEhCenter()->IsGridRegistered(Grid));
    EXPECT_TRUE(DBGridEhStyle()->IsGridRegistered(Grid));
    TCursor during = crDefault;
    Data->FieldByName(u"名称"_s)->OnGetText = [&](TField*, String& Text, bool) {
        during = Screen->Cursor();
        Text = u"x"_s;
    };
    TColumnEh* column = Grid->RequireColumnByFieldName(u"名称"_s);
    EXPECT_FALSE(Grid->LocateTextInColumn(column, u"y"_s, ltmWholeEh, ltdAllEh, ltoMatchFormatEh));
    EXPECT_EQ(during, crHourGlass);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    Data->FieldByName(u"名称"_s)->OnGetText = nullptr;

    String asked;
    DBGridEhCenter()->OnLocateText = [&](TDBGridEhCenter*, TCustomDBGridEh* G, const String& FieldName, const String&,
                                         TLocateTextTreeFindRangeEh, TLocateTextMatchTypeEh, TLocateTextDirectionEh,
                                         TLocateTextOptionsEh) {
        asked = FieldName;
        return G == Grid;
    };
    EXPECT_TRUE(Grid->LocateTextInColumn(column, u"y"_s, ltmWholeEh, ltdAllEh, {}));
    EXPECT_EQ(asked, u"名称"_s);
}

// Features registered for the dataset's class answer the centre instead of the record scan.
TEST_F(DbUtilsEhFindTest, RegisteredDatasetFeaturesSearchInsteadOfTheScan)
{
    class TAnswering : public TDatasetFeaturesEh {
    public:
        bool LocateText(TCustomDBGridEh*, const String&, const String& Text, TLocateTextTreeFindRangeEh,
                        TLocateTextMatchTypeEh, TLocateTextDirectionEh, TLocateTextOptionsEh) override
        {
            return Text == u"x"_s;
        }
    };
    RegisterDatasetFeaturesEh<TDataSet>(std::make_unique<TAnswering>());
    EXPECT_THROW(RegisterDatasetFeaturesEh<TDataSet>(std::make_unique<TAnswering>()), Exception);
    TColumnEh* column = Grid->RequireColumnByFieldName(u"名称"_s);
    EXPECT_TRUE(Grid->LocateTextInColumn(column, u"x"_s, ltmWholeEh, ltdAllEh, {}));
    EXPECT_FALSE(Grid->LocateTextInColumn(column, u"物品3"_s, ltmWholeEh, ltdAllEh, {}));
    UnregisterDatasetFeaturesEh(typeid(TDataSet));
    EXPECT_EQ(DatasetFeaturesOf(Data.get()), nullptr);
    EXPECT_TRUE(Grid->LocateTextInColumn(column, u"物品3"_s, ltmWholeEh, ltdAllEh, {}));
}

TEST(DBGridEhStyleTest, ColourRulesKeepEveryChannelInRange)
{
    EXPECT_EQ(TDBGridEhStyle::LightenColor(RGB(255, 255, 255), RGB(0, 120, 215), true), RGB(202, 232, 255));
    EXPECT_EQ(TDBGridEhStyle::LightenColor(RGB(0, 0, 0), RGB(0, 0, 0), false), RGB(135, 135, 135));
    EXPECT_EQ(TDBGridEhStyle::LightenColor(RGB(0, 0, 0), RGB(0, 0, 0), true), RGB(138, 138, 138));
    EXPECT_EQ(MixColors(RGB(255, 0, 10), RGB(0, 255, 10), 8), RGB(247, 8, 10));
    EXPECT_EQ(MixColors(RGB(0, 255, 0), RGB(255, 0, 0), 170.67), RGB(170, 85, 0));
}

TEST(DBGridEhStyleTest, AStyleOrCentreGoingAwayLeavesItsGridsWithout)
{
    TDBGridEhUnitUse unit;
    TDBGridEh first(nullptr);
    TDBGridEh second(nullptr);
    EXPECT_EQ(first.Style(), second.Style());
    EXPECT_EQ(first.Center(), second.Center());
    {
        TDBGridEhStyle style;
        TDBGridEhCenter center;
        first.SetStyle(&style);
        first.SetCenter(&center);
        EXPECT_FALSE(DBGridEhStyle()->IsGridRegistered(&first));
        EXPECT_TRUE(center.IsGridRegistered(&first));
    }
    EXPECT_EQ(first.Style(), nullptr);
    EXPECT_EQ(first.Center(), nullptr);
    EXPECT_EQ(second.Center(), DBGridEhCenter());
    EXPECT_EQ(DBGridEhCenter()->FilterDefaultOperator(TSTFilterValueKindEh::fvkBoolean),
              TSTFilterDefaultOperatorEh::fdoNone);
}

TEST_F(DbUtilsEhFindTest, TheIndicatorTitleMenuActsOnTheGrid)
{
    Grid->SetOptions(Grid->Options() | dgMultiSelect);
    Grid->SetEditActions(geaCopyEh | geaSelectAllEh);
    TPopupMenu* menu = nullptr;
    DBGridEhCenter()->BuildIndicatorTitleMenu(Grid, menu);
    ASSERT_EQ(menu, DBGridEhIndicatorTitlePopupMenu());
    TMenuItem* items = menu->Items();
    ASSERT_EQ(items->Count(), 6);
    const char* const captions[] = {"错误的列", "剪贴", "复制", "粘贴", "删除", "全选"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(items->Items(i)->Caption(), QString::fromUtf8(captions[i]));
    EXPECT_FALSE(items->Items(1)->Enabled());
    EXPECT_TRUE(items->Items(5)->Enabled());
    for (int i = 0; i < 6; ++i) {
        const auto* item = dynamic_cast<const TDBGridEhMenuItem*>(items->Items(i));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Grid(), Grid);
        EXPECT_EQ(item->Action(), static_cast<TDBGridEhMenuItemEh>(i));
    }
    items->Items(5)->Click();
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstAll);

    TMenuItem* columns = items->Items(0);
    ASSERT_EQ(columns->Count(), Grid->Columns()->Count());
    for (int i = 0; i < columns->Count(); ++i) {
        const auto* item = dynamic_cast<const TColumnEhMenuItem*>(columns->Items(i));
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->Column(), Grid->Columns()->ColumnAt(i));
    }
    for (int i = 1; i < columns->Count(); ++i) {
        EXPECT_TRUE(columns->Items(i)->Checked());
        columns->Items(i)->Click();
        EXPECT_FALSE(Grid->Columns()->ColumnAt(i)->Visible());
    }
    // The last column shown stays.
    columns->Items(0)->Click();
    EXPECT_TRUE(Grid->Columns()->ColumnAt(0)->Visible());

    // Built again, it holds the new states and only the items offered.
    DBGridEhCenter()->SetMenuItem(TDBGridEhMenuItemEh::gmiCutEh, false);
    DBGridEhCenter()->BuildIndicatorTitleMenu(Grid, menu);
    EXPECT_EQ(menu->Items()->Count(), 5);
    EXPECT_FALSE(menu->Items()->Items(0)->Items(1)->Checked());
}

// A click on a cell reaches the centre, with the cell and the point within it, unless the
// grid's own OnCellMouseClick takes it.
TEST_F(DbUtilsEhFindTest, ACellClickReachesTheCentreUnlessTheGridTakesIt)
{
    std::vector<std::pair<TGridCoord, TPoint>> centreClicks;
    DBGridEhCenter()->OnCellMouseClick = [&](TDBGridEhCenter*, TCustomDBGridEh* G, TGridCoord Cell, TMouseButton Button,
                                             TShiftState, int X, int Y) {
        EXPECT_EQ(G, Grid);
        EXPECT_EQ(Button, TMouseButton::mbLeft);
        centreClicks.push_back({Cell, Point(X, Y)});
    };
    const TRect cell = Grid->CellPixelRect(2, 3);
    const QPoint at(cell.Left + 4, cell.Top + 3);
    ClickAt(Grid->Handle(), at);
    ASSERT_EQ(centreClicks.size(), 1u);
    EXPECT_EQ(centreClicks[0].first.X, 2);
    EXPECT_EQ(centreClicks[0].first.Y, 3);
    EXPECT_EQ(centreClicks[0].second, Point(4, 3));

    int gridClicks = 0;
    Grid->OnCellMouseClick = [&](TObject*, TGridCoord, TMouseButton, TShiftState, int, int) { ++gridClicks; };
    ClickAt(Grid->Handle(), at);
    EXPECT_EQ(gridClicks, 1);
    EXPECT_EQ(centreClicks.size(), 1u);
}

}  // namespace
