// The check box edit: states read from value lists, Boolean fields and its own value, and what
// one real click writes.
#include "DBCtrlsEhTestSupport.h"

namespace {

class DBCheckBoxTest : public DBEditTest {
protected:
    TDBCheckBoxEh* ShowBox(TDataSource* Bound, const String& Field)
    {
        auto* box = new TDBCheckBoxEh(Form);
        box->SetBounds(10, 50, 120, 17);
        box->SetCaption(u"已归还"_s);
        box->SetParent(Form);
        if (Bound != nullptr) {
            box->SetDataSource(Bound);
            box->SetDataField(Field);
        }
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Other->SetFocus();
        return box;
    }
    void SetName(const String& Text)
    {
        Data->Edit();
        Data->FieldByName(NameField)->SetAsString(Text);
        Data->Post();
    }
    static void Click(TDBCheckBoxEh* Box) { ClickAt(Box->Handle(), QPoint(6, 8)); }
};

TEST_F(DBCheckBoxTest, ValueListsGiveTheStateAndAClickWritesTheirFirstItem)
{
    TDBCheckBoxEh* box = ShowBox(Source.get(), NameField);
    box->SetValueChecked(u"Y;Yes"_s);
    box->SetValueUnchecked(u"N;No;"_s);
    const std::pair<const char16_t*, TCheckBoxState> cases[] = {
        {u"yes", TCheckBoxState::cbChecked},
        {u"", TCheckBoxState::cbUnchecked},
        {u"maybe", TCheckBoxState::cbGrayed},
        {u"NO", TCheckBoxState::cbUnchecked},
    };
    for (const auto& [text, state] : cases) {
        SetName(String::fromUtf16(text));
        EXPECT_EQ(box->State(), state) << QString::fromUtf16(text).toStdString();
    }
    Click(box);  // unfocused: the click focuses and toggles once
    EXPECT_TRUE(box->Focused());
    EXPECT_EQ(box->State(), TCheckBoxState::cbChecked);
    EXPECT_EQ(Stored(NameField), u"NO"_s);  // written when the box is left
    LeaveEdit();
    EXPECT_EQ(Stored(NameField), u"Y"_s);
    Click(box);
    EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
    SendKey(box->Handle(), Qt::Key_Escape, u"\x1b"_s);  // undoes the toggle
    EXPECT_EQ(box->State(), TCheckBoxState::cbChecked);
    SendKey(box->Handle(), Qt::Key_Space, u" "_s);
    EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
    EXPECT_EQ(Stored(NameField), u"Y"_s);
    LeaveEdit();
    EXPECT_EQ(Stored(NameField), u"N"_s);
}

TEST_F(DBCheckBoxTest, ABooleanFieldShowsNullGrayedAndAClickChecksIt)
{
    TMemoryDataSet flags(nullptr);
    flags.FieldDefs()->Add(u"已归还"_s, TFieldType::ftBoolean);
    flags.Open();
    flags.AppendRecord({Variant::Null()});
    TDataSource source(nullptr);
    source.SetDataSet(&flags);
    TDBCheckBoxEh* box = ShowBox(&source, u"已归还"_s);
    EXPECT_EQ(box->State(), TCheckBoxState::cbGrayed);
    Click(box);
    EXPECT_EQ(box->State(), TCheckBoxState::cbChecked);
    LeaveEdit();
    EXPECT_TRUE(flags.FieldByName(u"已归还"_s)->AsBoolean());
    Click(box);
    LeaveEdit();
    EXPECT_FALSE(flags.FieldByName(u"已归还"_s)->AsBoolean());
    EXPECT_FALSE(flags.FieldByName(u"已归还"_s)->IsNull());
    delete box;
}

TEST_F(DBCheckBoxTest, OwnValueCyclesThroughGrayedAndStoresNullForIt)
{
    TDBCheckBoxEh* box = ShowBox(nullptr, String());
    box->SetAllowGrayed(true);
    EXPECT_EQ(box->State(), TCheckBoxState::cbUnchecked);
    Click(box);
    EXPECT_EQ(box->State(), TCheckBoxState::cbGrayed);
    EXPECT_EQ(box->DataLink()->OwnValue(), Variant(false));
    LeaveEdit();
    EXPECT_TRUE(VarIsNull(box->DataLink()->OwnValue()));
    Click(box);
    LeaveEdit();
    EXPECT_EQ(box->DataLink()->OwnValue(), Variant(true));
    Click(box);
    LeaveEdit();
    EXPECT_EQ(box->DataLink()->OwnValue(), Variant(false));
}

}  // namespace
