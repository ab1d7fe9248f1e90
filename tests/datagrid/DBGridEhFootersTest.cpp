// Footers: their soft values, the footer of each footer row, and their aggregates in the grid's
// sum list, kept current through the dataset's edits.
#include "DBGridEhTestGrid.h"

#include "platform/data/Field.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"

namespace {

class DBGridEhFooterTest : public DBGridEhFixture {
protected:
    void SetUp() override
    {
        DBGridEhFixture::SetUp();
        Grid->SetDataSource(Source.get());
        Qty = AddColumn(QtyField);
        Amount = AddColumn(AmountField);
    }

    TDBSumCollection* Sums() const { return Grid->SumList()->SumCollection(); }

    TColumnEh* Qty = nullptr;
    TColumnEh* Amount = nullptr;
};

TEST_F(DBGridEhFooterTest, SumWithoutFieldNameUsesTheColumnsFieldAndFollowsARename)
{
    TColumnFooterEh* Footer = Qty->Footer();
    Footer->SetValueType(TFooterValueType::fvtSum);
    TDBSum* Item = Footer->SumItem();
    ASSERT_NE(Item, nullptr);
    EXPECT_EQ(Item->FieldName(), QtyField);
    EXPECT_EQ(Item->GroupOperation(), TGroupOperation::goSum);
    Footer->SetFieldName(AmountField);
    EXPECT_EQ(Footer->SumItem(), Item);
    EXPECT_EQ(Item->FieldName(), AmountField);
    EXPECT_EQ(Sums()->Count(), 1);
    Footer->SetValueType(TFooterValueType::fvtCount);
    EXPECT_EQ(Item->GroupOperation(), TGroupOperation::goCount);
    EXPECT_EQ(Item->FieldName(), String());
}

TEST_F(DBGridEhFooterTest, OneItemPerSummingFooter)
{
    TColumnFooterEh* Footer = Qty->Footer();
    Footer->SetValueType(TFooterValueType::fvtSum);
    auto* Second = static_cast<TColumnFooterEh*>(Amount->Footers()->Add());
    Second->SetValueType(TFooterValueType::fvtAvg);
    EXPECT_EQ(Sums()->Count(), 2);
    Footer->SetValueType(TFooterValueType::fvtStaticText);
    EXPECT_EQ(Footer->SumItem(), nullptr);
    EXPECT_EQ(Sums()->Count(), 1);
    Footer->SetValueType(TFooterValueType::fvtSum);
    EXPECT_NE(Footer->SumItem(), nullptr);
    EXPECT_EQ(Sums()->Count(), 2);
    Amount->Footers()->Clear();
    EXPECT_EQ(Sums()->Count(), 1);
    Grid->Columns()->Delete(Qty->Index());
    EXPECT_EQ(Sums()->Count(), 0);
}

TEST_F(DBGridEhFooterTest, FooterRowsPastTheFootersShowTheSingleFooter)
{
    auto* First = static_cast<TColumnFooterEh*>(Qty->Footers()->Add());
    auto* Second = static_cast<TColumnFooterEh*>(Qty->Footers()->Add());
    EXPECT_EQ(Qty->FooterForRow(0), First);
    EXPECT_EQ(Qty->FooterForRow(1), Second);
    EXPECT_EQ(Qty->FooterForRow(2), Qty->Footer());
    EXPECT_EQ(Amount->FooterForRow(0), Amount->Footer());
}

TEST_F(DBGridEhFooterTest, StoredTestsOfSoftFooterValues)
{
    TColumnFooterEh* Footer = Qty->Footer();
    Footer->SetToolTips(false);
    EXPECT_FALSE(Footer->IsToolTipsStored());
    Footer->SetToolTips(true);
    EXPECT_TRUE(Footer->IsToolTipsStored());
    Footer->SetAlignment(Data->FieldByName(QtyField)->Alignment());
    EXPECT_FALSE(Footer->IsAlignmentStored());
    Footer->SetAlignment(TAlignment::taCenter);
    EXPECT_TRUE(Footer->IsAlignmentStored());
    EXPECT_EQ(Footer->Color(), Grid->FooterColor());
    Grid->SetFooterColor(clYellow);
    EXPECT_EQ(Footer->Color(), clYellow);
    EXPECT_FALSE(Footer->IsFontStored());
    Footer->Font()->SetColor(clBlue);
    EXPECT_TRUE(Footer->IsFontStored());
    Grid->FooterFont()->SetSize(15);
    EXPECT_EQ(Footer->Font()->Color(), clBlue);
    EXPECT_NE(Footer->Font()->Size(), 15);
    Footer->ResetToDefaults();
    EXPECT_EQ(Footer->Font()->Size(), 15);
    EXPECT_FALSE(Footer->IsAlignmentStored());
}

class DBGridEhFooterSumTest : public DBGridEhFooterTest {
protected:
    void SetUp() override
    {
        DBGridEhFooterTest::SetUp();
        Qty->Footer()->SetValueType(TFooterValueType::fvtSum);
        Amount->Footer()->SetValueType(TFooterValueType::fvtSum);
        auto* Count = static_cast<TColumnFooterEh*>(Amount->Footers()->Add());
        Count->SetValueType(TFooterValueType::fvtCount);
        Grid->SumList()->SetActive(true);
    }

    void ExpectFootersAgree(const char* Where)
    {
        SCOPED_TRACE(Where);
        EXPECT_EQ(Qty->Footer()->SumItem()->SumValue().Raw(), WalkTotals(Data.get(), QtyField).SumUnits());
        EXPECT_EQ(Amount->Footer()->SumItem()->SumValue().Raw(), WalkTotals(Data.get(), AmountField).SumUnits());
        EXPECT_EQ(Amount->Footers()->FooterAt(0)->SumItem()->SumValue().Raw(), WalkTotals(Data.get(), AmountField).AllUnits());
    }
};

TEST_F(DBGridEhFooterSumTest, SumsFollowEveryKindOfDatasetChange)
{
    ExpectFootersAgree("open");
    EXPECT_EQ(Qty->Footer()->SumItem()->SumValue().Raw(), 80000);
    Data->First();
    Data->Edit();
    Data->FieldByName(AmountField)->SetValue(Variant(20.5));
    Data->Post();
    ExpectFootersAgree("edit");
    Data->Append();
    Data->FieldByName(QtyField)->SetValue(Variant(7));
    Data->FieldByName(AmountField)->SetValue(Variant(1.25));
    Data->Post();
    ExpectFootersAgree("insert");
    Data->Append();
    Data->FieldByName(QtyField)->SetValue(Variant(100));
    Data->Cancel();
    ExpectFootersAgree("cancel");
    Data->First();
    Data->Delete();
    ExpectFootersAgree("delete");
    const std::int64_t Before = Amount->Footer()->SumItem()->SumValue().Raw();
    Data->Close();
    Data->Open();
    ExpectFootersAgree("reopen");
    EXPECT_EQ(Amount->Footer()->SumItem()->SumValue().Raw(), Before);
}

TEST_F(DBGridEhFooterSumTest, SumOverAFieldlessColumnIsMarkedAndBreaksNothing)
{
    TScriptedDialogs Boxes;
    TColumnEh* Number = AddColumn(u"序号"_s);
    Number->Footer()->SetValueType(TFooterValueType::fvtSum);
    ASSERT_NE(Number->Footer()->SumItem(), nullptr);
    Data->Close();
    Data->Open();
    Data->Edit();
    Data->FieldByName(QtyField)->SetValue(Variant(9));
    Data->Post();
    EXPECT_TRUE(Number->Footer()->SumItem()->FieldMissing());
    Application->ProcessMessages();
    EXPECT_EQ(Boxes.Shown().size(), 1u);
    ExpectFootersAgree("fieldless footer");
}

TEST_F(DBGridEhFooterSumTest, DesignedGridLeavesTheDatasetsHandlersAlone)
{
    Grid->SumList()->SetActive(false);
    Grid->SetDataSource(nullptr);
    int Posts = 0;
    Data->AfterPost = [&](TDataSet*) { ++Posts; };
    Grid->SetDesigning(true);
    Grid->SetDataSource(Source.get());
    Grid->SumList()->SetActive(true);
    EXPECT_TRUE(Grid->SumList()->EventsHooked());
    const std::int64_t Before = Qty->Footer()->SumItem()->SumValue().Raw();
    EXPECT_EQ(Before, WalkTotals(Data.get(), QtyField).SumUnits());
    // No handler of the sum list runs: the post reaches only the dataset's own handler.
    Data->First();
    Data->Edit();
    Data->FieldByName(QtyField)->SetValue(Variant(1000));
    Data->Post();
    EXPECT_EQ(Posts, 1);
    EXPECT_EQ(Qty->Footer()->SumItem()->SumValue().Raw(), Before);
    Grid->SumList()->SetActive(false);
    EXPECT_FALSE(Grid->SumList()->EventsHooked());
}

} // namespace
