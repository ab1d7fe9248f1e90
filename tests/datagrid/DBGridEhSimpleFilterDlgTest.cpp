// The custom filter dialog: the text each operator makes, its quoting and wildcards, rows loaded
// back from a column's filter, and a value that does not convert keeping the dialog open.
#include "DBGridEhCoreSupport.h"

#include "datagrid/DBGridEhSimpleFilterDlg.h"
#include "datagrid/DBGridEhUnit.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Dialogs.h"

namespace {

class DBGridEhSimpleFilterDlgTest : public DBGridEhCoreFixture {
protected:
    void SetUp() override
    {
        DBGridEhCoreFixture::SetUp();
        Grid->SetDataSource(Source.get());
        Dialog = std::make_unique<TDBGridEhSimpleFilterDialog>(nullptr);
    }

    TColumnEh* Column(const String& FieldName) const { return Grid->ColumnByFieldName(FieldName); }
    static void Choose(TComboBox* Operators, const char16_t* Entry)
    {
        Operators->SetItemIndex(Operators->Items()->IndexOf(String::fromUtf16(Entry)));
    }
    // OK as the button closes the dialog; false when it stays open.
    bool PressOk()
    {
        Dialog->SetModalResult(mrOk);
        return Dialog->CloseQuery();
    }

    TDBGridEhUnitUse Unit;
    TScriptedDialogs Boxes;
    std::unique_ptr<TDBGridEhSimpleFilterDialog> Dialog;
};

TEST_F(DBGridEhSimpleFilterDlgTest, EachRowMakesTheTextTheFilterReadsAsMeant)
{
    const struct {
        const char16_t* Field;
        const char16_t *Op1, *Value1;
        bool Or;
        const char16_t *Op2, *Value2;
        const char16_t* Text;
        TSTFilterCompareKindEh Operator1;
        const char16_t* Operand1;  // as text; empty for none
    } cases[] = {
        {u"名称", u"begins with", u"abc", false, u"", u"", u"~abc%", TSTFilterCompareKindEh::fcLike, u"abc%"},
        {u"名称", u"contains", u"(a)", false, u"", u"", u"~'%(a)%'", TSTFilterCompareKindEh::fcLike, u"%(a)%"},
        {u"名称", u"equals", u"A or B", false, u"", u"", u"='A or B'", TSTFilterCompareKindEh::fcEqual, u"A or B"},
        {u"名称", u"equals", u"it's", false, u"", u"", u"='it''s'", TSTFilterCompareKindEh::fcEqual, u"it's"},
        {u"名称", u"is blank", u"x", false, u"", u"", u"=Null", TSTFilterCompareKindEh::fcIsNull, u""},
        {u"数量", u"equals", u"1", true, u"equals", u"2", u"=1 OR =2", TSTFilterCompareKindEh::fcEqual, u"1"},
        {u"数量", u"", u"", false, u"is greate than", u"5", u">5", TSTFilterCompareKindEh::fcGreater, u"5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Text).toStdString());
        TColumnEh* column = Column(String::fromUtf16(c.Field));
        column->STFilter()->ClearFilter();
        Dialog->Prepare(column);
        Choose(Dialog->ComboBox1, c.Op1);
        Dialog->DBComboBoxEh1->SetText(String::fromUtf16(c.Value1));
        (c.Or ? Dialog->rbOr : Dialog->rbAnd)->SetChecked(true);
        Choose(Dialog->ComboBox2, c.Op2);
        Dialog->DBComboBoxEh2->SetText(String::fromUtf16(c.Value2));
        EXPECT_EQ(Dialog->RowsText(), String::fromUtf16(c.Text));
        EXPECT_TRUE(PressOk());
        const TSTFilterExpressionEh& expr = column->STFilter()->Expression();
        EXPECT_EQ(expr.Operator1, c.Operator1);
        EXPECT_EQ(VarToStr(expr.Operand1), String::fromUtf16(c.Operand1));
    }
    EXPECT_TRUE(Boxes.Shown().empty());
}

TEST_F(DBGridEhSimpleFilterDlgTest, EachOperatorSelectsExactlyTheTextTypedAndNoOperatorTakesTheDefault)
{
    const int plain = Data->RecordCount();
    for (const char16_t* Name : {u"grape, red", u"grape", u" red", u"e, r", u"null", u"a = b", u"!x", u"it's"})
        Data->AppendRecord({Variant(), Variant(String::fromUtf16(Name)), Variant(0), Variant(0.0)});
    const int total = Data->RecordCount();
    const struct {
        const char16_t* Field;
        const char16_t* Op;
        const char16_t* Value;
        int Count;
    } cases[] = {
        {u"名称", u"equals", u"grape, red", 1},
        {u"名称", u"does not equal", u"grape, red", total - 1},
        {u"名称", u"contains", u"e, r", 2},
        {u"名称", u"does not contain", u"e, r", total - 2},
        {u"名称", u"begins with", u"grape,", 1},
        {u"名称", u"equals", u"null", 1},
        {u"名称", u"equals", u"a = b", 1},
        {u"名称", u"equals", u"!x", 1},
        {u"名称", u"equals", u" red", 1},
        {u"名称", u"equals", u"it's", 1},
        {u"名称", u"equals", u"'grape'", 1},
        // No operator: the value alone, as the filter cell would take it.
        {u"名称", u"", u"grape", 1},
        {u"名称", u"", u"物品1%", 11},
        {u"名称", u"", u"grape,null", 2},
        {u"数量", u"", u"7", 1},
        {u"数量", u"equals", u" 7", 1},
        {u"数量", u"", u">= 49", 2},
    };
    ASSERT_EQ(plain, 50);
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.Op).toStdString() + " " + QString::fromUtf16(c.Value).toStdString());
        TColumnEh* column = Column(String::fromUtf16(c.Field));
        Grid->ClearAllColumnFilters();
        Dialog->Prepare(column);
        Choose(Dialog->ComboBox1, c.Op);
        Dialog->DBComboBoxEh1->SetText(String::fromUtf16(c.Value));
        EXPECT_TRUE(PressOk());
        Data->SetFilter(BuildGridFilterText(Grid, DatasetFilterConditionText, {}, true, false));
        Data->SetFiltered(true);
        EXPECT_EQ(Data->RecordCount(), c.Count) << Data->Filter().toStdString();
        Data->SetFiltered(false);
    }
    EXPECT_TRUE(Boxes.Shown().empty());
}

TEST_F(DBGridEhSimpleFilterDlgTest, RowsLoadFromTheFilterAndNumbersOfferNoTextOperators)
{
    TColumnEh* name = Column(u"名称"_s);
    name->STFilter()->ApplyExpressionText(u"!~%x or =y"_s);
    Dialog->Prepare(name);
    EXPECT_EQ(Dialog->ComboBox1->Items()->Count(), 19);
    EXPECT_EQ(Dialog->ComboBox1->Items()->Strings(Dialog->ComboBox1->ItemIndex()), u"does not end with"_s);
    EXPECT_EQ(Dialog->DBComboBoxEh1->Text(), u"x"_s);
    EXPECT_TRUE(Dialog->rbOr->Checked());
    EXPECT_EQ(Dialog->ComboBox2->Items()->Strings(Dialog->ComboBox2->ItemIndex()), u"equals"_s);
    Dialog->Prepare(Column(u"数量"_s));
    EXPECT_EQ(Dialog->ComboBox1->Items()->Count(), 11);
    EXPECT_EQ(Dialog->ComboBox1->Items()->IndexOf(u"begins with"_s), -1);
}

TEST_F(DBGridEhSimpleFilterDlgTest, AValueThatDoesNotConvertIsShownAndTheDialogStays)
{
    TColumnEh* quantity = Column(u"数量"_s);
    Dialog->Prepare(quantity);
    Choose(Dialog->ComboBox1, u"equals");
    Dialog->DBComboBoxEh1->SetText(u"abc"_s);
    EXPECT_FALSE(PressOk());
    ASSERT_EQ(Boxes.Shown().size(), 1u);
    EXPECT_EQ(Dialog->DBComboBoxEh1->Text(), u"abc"_s);
    EXPECT_EQ(quantity->STFilter()->Expression().Operator1, TSTFilterCompareKindEh::fcNone);
}

}  // namespace
