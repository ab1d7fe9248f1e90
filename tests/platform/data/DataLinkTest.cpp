// A data link over a memory dataset: the order of its callbacks and its window of records.
#include "DataSetTestSupport.h"

#include "platform/core/Exceptions.h"

#include <gtest/gtest.h>

TEST(DataLinkTest, OpenCreatesFieldsBeforeActiveChangedAndAcceptsABufferCountInside)
{
    TPeopleTable table;
    table.DataSet->Close();
    table.Link.Calls.clear();
    int fieldsSeen = -1;
    table.Link.OnActiveChanged = [&] {
        if (!table.Link.Active())
            return;
        fieldsSeen = table.DataSet->FieldCount();
        table.Link.SetBufferCount(6);
    };
    table.DataSet->Open();
    EXPECT_EQ(fieldsSeen, 3);
    EXPECT_EQ(table.Link.Calls, QStringList({u"ActiveChanged(1)"_s}));
    EXPECT_EQ(table.Link.RecordCount(), 6);
    EXPECT_EQ(table.Link.ActiveRecord(), 0);
}

TEST(DataLinkTest, CloseDeactivatesTheLinkBeforeDefaultFieldsAreFreed)
{
    struct THolder : TComponent {
        using TComponent::TComponent;
        TRecordingLink* Link = nullptr;
        QStringList Seen;
        void Notification(TComponent* AComponent, TOperation Operation) override
        {
            TComponent::Notification(AComponent, Operation);
            if (Operation == TOperation::opRemove)
                Seen << u"removed, link active %1"_s.arg(Link->Active() ? 1 : 0);
        }
    };
    TPeopleTable table;
    THolder holder(nullptr);
    holder.Link = &table.Link;
    table.Name()->FreeNotification(&holder);
    table.DataSet->Close();
    EXPECT_EQ(table.Link.Calls, QStringList({u"ActiveChanged(0)"_s}));
    EXPECT_EQ(holder.Seen, QStringList({u"removed, link active 0"_s}));
    EXPECT_EQ(table.DataSet->FieldCount(), 0);
    table.DataSet->Open();
    EXPECT_EQ(table.DataSet->FieldCount(), 3);
    EXPECT_EQ(table.Name()->AsString(), u"张三"_s);
}

TEST(DataLinkTest, EditSendsEditingChangedThenRecordChangedBeforeReturning)
{
    TPeopleTable table;
    EXPECT_TRUE(table.Link.Edit());
    EXPECT_EQ(table.Link.Calls, QStringList({u"CheckBrowseMode"_s, u"EditingChanged(1)"_s, u"RecordChanged(nil)"_s}));
    table.Link.Calls.clear();
    table.Name()->SetAsString(u"张三丰"_s);
    EXPECT_EQ(table.Link.Calls, QStringList({u"RecordChanged(姓名)"_s}));
}

TEST(DataLinkTest, LinkEditRespectsAutoEditReadOnlyAndCanModify)
{
    TPeopleTable table;
    table.Source->SetAutoEdit(false);
    EXPECT_FALSE(table.Link.Edit());
    table.Source->SetAutoEdit(true);
    table.Link.SetReadOnly(true);
    EXPECT_FALSE(table.Link.Edit());
    EXPECT_EQ(table.DataSet->State(), TDataSetState::dsBrowse);
}

TEST(DataLinkTest, PostStoresLinksThenWritesThenLeavesEditing)
{
    TPeopleTable table;
    table.DataSet->Edit();
    table.Link.OnUpdateData = [&] { table.Name()->SetAsString(u"从控件来"_s); };
    table.Link.Calls.clear();
    table.DataSet->Post();
    EXPECT_EQ(table.Link.Calls,
              QStringList({u"UpdateData"_s, u"CheckBrowseMode"_s, u"EditingChanged(0)"_s, u"DataSetChanged"_s}));
    EXPECT_EQ(table.Name()->AsString(), u"从控件来"_s);
}

TEST(DataLinkTest, CancelLeavesEditingThenShowsTheRestoredRecord)
{
    TPeopleTable table;
    table.DataSet->Edit();
    table.Name()->SetAsString(u"改了"_s);
    table.Link.Calls.clear();
    table.DataSet->Cancel();
    EXPECT_EQ(table.Link.Calls, QStringList({u"CheckBrowseMode"_s, u"EditingChanged(0)"_s, u"DataSetChanged"_s}));
    EXPECT_EQ(table.Name()->AsString(), u"张三"_s);
}

TEST(DataLinkTest, DeleteRefillsWithTheNextRecordCurrent)
{
    TPeopleTable table;
    table.DataSet->Next();
    table.Link.Calls.clear();
    table.DataSet->Delete();
    EXPECT_EQ(table.Link.Calls, QStringList({u"CheckBrowseMode"_s, u"DataSetChanged"_s}));
    EXPECT_EQ(table.Name()->AsString(), u"王五"_s);
    EXPECT_EQ(table.DataSet->RecordCount(), 9);
    EXPECT_EQ(table.DataSet->RecNo(), 2);
}

TEST(DataLinkTest, ScrollsInsideTheWindowByZeroAndBeyondByTheShift)
{
    TPeopleTable table;  // window of 4
    table.DataSet->Next();
    table.DataSet->MoveBy(2);
    EXPECT_EQ(table.Link.ActiveRecord(), 3);
    table.DataSet->Next();  // record 5: the window moves one on
    EXPECT_EQ(table.Link.ActiveRecord(), 3);
    EXPECT_EQ(table.DataSet->MoveBy(-4), -4);  // record 1: back four, window starts there
    EXPECT_EQ(table.Link.ActiveRecord(), 0);
    EXPECT_EQ(table.DataSet->MoveBy(9), 9);  // record 10: far beyond the window
    EXPECT_EQ(table.Link.Calls, QStringList({u"CheckBrowseMode"_s, u"Scrolled(0)"_s, u"CheckBrowseMode"_s,
                                             u"Scrolled(0)"_s, u"CheckBrowseMode"_s, u"Scrolled(1)"_s,
                                             u"CheckBrowseMode"_s, u"Scrolled(-1)"_s, u"CheckBrowseMode"_s,
                                             u"Scrolled(6)"_s}));
    EXPECT_EQ(table.Link.ActiveRecord(), 3);
    EXPECT_EQ(table.Link.RecordCount(), 4);
}

TEST(DataLinkTest, MovesPastTheEndsSetEofAndBofAndAnswerTheDistanceMoved)
{
    TPeopleTable table;
    EXPECT_TRUE(table.DataSet->Bof());
    EXPECT_EQ(table.DataSet->MoveBy(-3), 0);
    EXPECT_EQ(table.DataSet->MoveBy(20), 9);
    EXPECT_TRUE(table.DataSet->Eof());
    EXPECT_EQ(table.Link.MoveBy(-2), -2);
    EXPECT_FALSE(table.DataSet->Eof());
    table.DataSet->Last();
    EXPECT_EQ(table.DataSet->RecNo(), 10);
    EXPECT_EQ(table.Link.ActiveRecord(), 3);
}

TEST(DataLinkTest, ASmallerLinkKeepsItsOwnWindowInsideTheDataSetWindow)
{
    TPeopleTable table(6);
    TRecordingLink small;
    small.SetBufferCount(2);
    small.SetDataSource(table.Source);
    table.DataSet->MoveBy(3);  // record 4: inside the big window, beyond the small one
    EXPECT_EQ(table.Link.ActiveRecord(), 3);
    EXPECT_EQ(small.ActiveRecord(), 1);
    EXPECT_EQ(small.RecordCount(), 2);
    EXPECT_EQ(small.Calls.last(), u"Scrolled(2)"_s);
    EXPECT_EQ(table.Link.Calls.last(), u"Scrolled(0)"_s);
    small.SetDataSource(nullptr);
}

TEST(DataLinkTest, ASmallTableFillsOnlyPartOfTheWindow)
{
    TPeopleTable table(8, 3);
    EXPECT_EQ(table.Link.RecordCount(), 3);
    table.DataSet->Last();
    EXPECT_EQ(table.Link.ActiveRecord(), 2);
}

TEST(DataLinkTest, SwitchingTheActiveRecordAnswersForThatRecordWithoutEvents)
{
    TPeopleTable table;
    table.DataSet->MoveBy(5);  // record 6 at the window's end: window is records 3..6
    const TBookmark current = table.DataSet->Bookmark();
    table.Link.Calls.clear();
    table.Link.SetActiveRecord(0);
    EXPECT_EQ(table.Name()->AsString(), u"王五"_s);
    EXPECT_EQ(table.Count()->Value(), Variant(30));
    EXPECT_EQ(table.DataSet->RecNo(), 3);
    const TBookmark third = table.DataSet->Bookmark();
    table.Link.SetActiveRecord(3);
    EXPECT_EQ(table.Name()->AsString(), u"陈晨"_s);
    EXPECT_EQ(table.DataSet->Bookmark(), current);
    EXPECT_TRUE(table.Link.Calls.isEmpty());
    table.DataSet->SetBookmark(third);
    EXPECT_EQ(table.DataSet->RecNo(), 3);
}

TEST(DataLinkTest, InsertAndAppendShowTheNewRecordInTheWindow)
{
    TPeopleTable table;
    table.DataSet->Next();
    table.Link.Calls.clear();
    table.DataSet->Insert();
    EXPECT_EQ(table.Link.Calls,
              QStringList({u"CheckBrowseMode"_s, u"EditingChanged(1)"_s, u"DataSetChanged"_s}));
    EXPECT_EQ(table.Link.ActiveRecord(), 1);
    EXPECT_EQ(table.DataSet->RecNo(), -1);
    EXPECT_TRUE(table.Name()->IsNull());
    table.Name()->SetAsString(u"新人"_s);
    table.DataSet->Post();
    EXPECT_EQ(table.DataSet->RecNo(), 2);
    EXPECT_EQ(table.DataSet->RecordCount(), 11);
    EXPECT_EQ(table.DataSet->FieldByName(u"id"_s)->AsInteger(), 11);

    table.DataSet->Append();
    EXPECT_EQ(table.Link.ActiveRecord(), 3);
    table.Link.SetActiveRecord(2);
    EXPECT_EQ(table.Name()->AsString(), u"蔡文"_s);
    table.Link.SetActiveRecord(3);
    table.DataSet->Cancel();
    EXPECT_EQ(table.DataSet->RecNo(), 11);
    EXPECT_EQ(table.DataSet->RecordCount(), 11);
}

TEST(DataLinkTest, InsertOnTheWindowsLastRowGoesBeforeTheRecordItPushedOut)
{
    TPeopleTable table;  // window of 4
    table.DataSet->MoveBy(3);  // 赵六 on the window's last row
    table.DataSet->Insert();
    table.DataSet->Cancel();
    EXPECT_EQ(table.Name()->AsString(), u"赵六"_s);
    EXPECT_EQ(table.DataSet->RecNo(), 4);

    table.DataSet->Insert();
    table.Name()->SetAsString(u"新人"_s);
    table.DataSet->Post();
    EXPECT_EQ(table.DataSet->RecNo(), 4);
    EXPECT_EQ(table.Link.ActiveRecord(), 3);
    table.DataSet->Next();
    EXPECT_EQ(table.Name()->AsString(), u"赵六"_s);
}

TEST(DataLinkTest, AMoveWhileEditingPostsAModifiedRecordAndCancelsAnUntouchedOne)
{
    TPeopleTable table;
    table.DataSet->Edit();
    table.Count()->SetAsInteger(99);
    table.DataSet->Next();
    table.DataSet->Prior();
    EXPECT_EQ(table.Count()->AsInteger(), 99);
    table.DataSet->Insert();
    table.DataSet->Next();
    EXPECT_EQ(table.DataSet->RecordCount(), 10);
    EXPECT_EQ(table.DataSet->State(), TDataSetState::dsBrowse);
}

TEST(DataLinkTest, DisableControlsNestsAndTheLastEnableSendsOneChange)
{
    TPeopleTable table;
    table.DataSet->DisableControls();
    table.DataSet->DisableControls();
    table.DataSet->Next();
    table.DataSet->Edit();
    table.DataSet->Cancel();
    table.DataSet->EnableControls();
    EXPECT_EQ(table.Link.Calls, QStringList({u"DisabledStateChange(1)"_s}));
    table.DataSet->EnableControls();
    EXPECT_EQ(table.Link.Calls, QStringList({u"DisabledStateChange(1)"_s, u"DisabledStateChange(0)"_s,
                                             u"DataSetChanged"_s}));
    EXPECT_FALSE(table.DataSet->ControlsDisabled());
    EXPECT_EQ(table.Link.ActiveRecord(), 1);
}

TEST(DataLinkTest, EnablingAfterAStateChangeReportsTheStateFirst)
{
    TPeopleTable table;
    table.DataSet->DisableControls();
    table.DataSet->Edit();
    table.DataSet->EnableControls();
    EXPECT_EQ(table.Link.Calls, QStringList({u"DisabledStateChange(1)"_s, u"DisabledStateChange(0)"_s,
                                             u"EditingChanged(1)"_s, u"DataSetChanged"_s}));
}

TEST(DataLinkTest, FieldDisplayChangesReachTheLinksAsLayoutChanges)
{
    TPeopleTable table;
    table.Name()->SetDisplayLabel(u"名字"_s);
    table.Name()->SetVisible(false);
    table.Name()->SetIndex(2);
    EXPECT_EQ(table.Link.Calls, QStringList({u"LayoutChanged"_s, u"LayoutChanged"_s, u"LayoutChanged"_s}));
    EXPECT_EQ(table.DataSet->Fields()->Fields(2), table.Name());
}

TEST(DataLinkTest, ALinkLeavingItsSourceOrASourceLosingItsDataSetGoesInactive)
{
    TPeopleTable table;
    table.Source->SetEnabled(false);
    EXPECT_FALSE(table.Link.Active());
    table.Source->SetEnabled(true);
    EXPECT_TRUE(table.Link.Active());
    delete table.DataSet;
    EXPECT_FALSE(table.Link.Active());
    EXPECT_EQ(table.Source->DataSet(), nullptr);
    EXPECT_EQ(table.Link.Calls, QStringList({u"ActiveChanged(0)"_s, u"ActiveChanged(1)"_s, u"ActiveChanged(0)"_s}));
}

TEST(DataLinkTest, ASourceSwitchedToAnotherOpenDataSetTakesItsLinksThroughInactive)
{
    TPeopleTable table;
    TPeopleTable other(4, 2);
    int fieldsOfNewDataSet = 0;
    table.Link.OnActiveChanged = [&] {
        if (table.Link.Active())
            fieldsOfNewDataSet += table.Link.DataSet() == other.DataSet ? 1 : 0;
    };
    table.Source->SetDataSet(other.DataSet);
    EXPECT_EQ(table.Link.Calls, QStringList({u"ActiveChanged(0)"_s, u"ActiveChanged(1)"_s}));
    EXPECT_EQ(fieldsOfNewDataSet, 1);
    EXPECT_EQ(table.Link.RecordCount(), 2);
}
