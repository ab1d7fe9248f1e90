// Fields: default fields from the defs, Null, conversions, display and edit texts, validation.
#include "DataSetTestSupport.h"

#include "platform/core/Exceptions.h"
#include "platform/data/TypedFields.h"

#include <gtest/gtest.h>

namespace {

// One record of each kind of value, in edit state.
struct TKindsTable {
    TComponent Owner{nullptr};
    TMemoryDataSet* DataSet = new TMemoryDataSet(&Owner);

    TKindsTable()
    {
        DataSet->FieldDefs()->Add(u"文本"_s, TFieldType::ftString, 10);
        DataSet->FieldDefs()->Add(u"数量"_s, TFieldType::ftInteger);
        DataSet->FieldDefs()->Add(u"小数"_s, TFieldType::ftSmallint);
        DataSet->FieldDefs()->Add(u"单价"_s, TFieldType::ftFloat);
        DataSet->FieldDefs()->Add(u"金额"_s, TFieldType::ftCurrency);
        DataSet->FieldDefs()->Add(u"日期"_s, TFieldType::ftDateTime);
        DataSet->FieldDefs()->Add(u"是否"_s, TFieldType::ftBoolean);
        DataSet->FieldDefs()->Add(u"备注"_s, TFieldType::ftMemo);
        DataSet->FieldDefs()->Add(u"图片"_s, TFieldType::ftGraphic);
        DataSet->Open();
        DataSet->Append();
    }
    TField* Field(const QString& Name) const { return DataSet->FieldByName(Name); }
};

}  // namespace

TEST(FieldTest, DefaultFieldsTakeTheirClassTypeAndLayoutFromTheDefs)
{
    TKindsTable table;
    EXPECT_EQ(table.Field(u"备注"_s)->DataType(), TFieldType::ftMemo);
    EXPECT_TRUE(table.Field(u"图片"_s)->IsBlob());
    EXPECT_FALSE(table.Field(u"文本"_s)->IsBlob());
    EXPECT_EQ(table.Field(u"文本"_s)->Size(), 10);
    EXPECT_EQ(table.Field(u"文本"_s)->DisplayWidth(), 10);
    EXPECT_EQ(table.Field(u"数量"_s)->Alignment(), TAlignment::taRightJustify);
    EXPECT_EQ(table.Field(u"文本"_s)->Alignment(), TAlignment::taLeftJustify);
    EXPECT_EQ(table.Field(u"数量"_s)->Index(), 1);
    EXPECT_EQ(table.Field(u"数量"_s)->FieldNo(), 2);
    EXPECT_EQ(table.Field(u"数量"_s)->DisplayLabel(), u"数量"_s);
    EXPECT_NE(dynamic_cast<TCurrencyField*>(table.Field(u"金额"_s)), nullptr);
}

TEST(FieldTest, NullReadsAsEmptyTextAndZero)
{
    TKindsTable table;
    TField* count = table.Field(u"数量"_s);
    EXPECT_TRUE(count->IsNull());
    EXPECT_EQ(count->AsString(), QString());
    EXPECT_EQ(count->AsInteger(), 0);
    EXPECT_EQ(count->DisplayText(), QString());
    EXPECT_FALSE(table.Field(u"是否"_s)->AsBoolean());
    EXPECT_EQ(table.Field(u"备注"_s)->DisplayText(), u"(Memo)"_s);
    table.Field(u"备注"_s)->SetAsString(u"长文"_s);
    EXPECT_EQ(table.Field(u"备注"_s)->DisplayText(), u"(MEMO)"_s);
    EXPECT_EQ(table.Field(u"备注"_s)->Text(), u"长文"_s);
}

TEST(FieldTest, TextThatDoesNotConvertRaisesThePlatformsMessages)
{
    TKindsTable table;
    try {
        table.Field(u"数量"_s)->SetAsString(u"abc"_s);
        FAIL() << "accepted text for a number";
    } catch (const EDatabaseError& error) {
        EXPECT_EQ(error.Message(), u"“abc”不是字段“数量”的有效整数值"_s);
    }
    EXPECT_THROW(table.Field(u"单价"_s)->SetText(u"1.2.3"_s), EDatabaseError);
    EXPECT_THROW(table.Field(u"日期"_s)->SetAsString(u"明天"_s), EConvertError);
    EXPECT_THROW(table.Field(u"是否"_s)->SetAsString(u"也许"_s), EDatabaseError);
    EXPECT_THROW(table.Field(u"小数"_s)->SetAsInteger(40000), EDatabaseError);
    table.Field(u"文本"_s)->SetAsString(u"十二"_s);
    EXPECT_THROW(table.Field(u"文本"_s)->AsInteger(), EConvertError);
    EXPECT_TRUE(table.Field(u"数量"_s)->IsNull());
}

TEST(FieldTest, ValuesConvertToTheFieldsOwnKind)
{
    TKindsTable table;
    table.Field(u"数量"_s)->SetAsString(u"42"_s);
    EXPECT_EQ(table.Field(u"数量"_s)->Value(), Variant(42));
    table.Field(u"数量"_s)->SetAsFloat(7.0);
    EXPECT_EQ(table.Field(u"数量"_s)->AsString(), u"7"_s);
    table.Field(u"单价"_s)->SetValue(u"2.5"_s);
    EXPECT_DOUBLE_EQ(table.Field(u"单价"_s)->AsFloat(), 2.5);
    table.Field(u"是否"_s)->SetAsString(u"t"_s);
    EXPECT_TRUE(table.Field(u"是否"_s)->AsBoolean());
    EXPECT_EQ(table.Field(u"是否"_s)->DisplayText(), u"True"_s);
    table.Field(u"数量"_s)->SetAsString(QString());
    EXPECT_TRUE(table.Field(u"数量"_s)->IsNull());
    table.Field(u"图片"_s)->SetValue(QByteArray("\x89PNG", 4));
    EXPECT_EQ(table.Field(u"图片"_s)->AsBytes(), QByteArray("\x89PNG", 4));
    EXPECT_EQ(table.Field(u"图片"_s)->DisplayText(), u"(GRAPHIC)"_s);
}

TEST(FieldTest, DisplayTextFollowsDisplayFormatAndEditTextEditFormat)
{
    TKindsTable table;
    auto* price = static_cast<TFloatField*>(table.Field(u"单价"_s));
    price->SetAsFloat(1234.5);
    EXPECT_EQ(price->DisplayText(), u"1234.5"_s);
    price->SetDisplayFormat(u"#,##0.00"_s);
    EXPECT_EQ(price->DisplayText(), u"1,234.50"_s);
    EXPECT_EQ(price->Text(), u"1,234.50"_s);
    price->SetEditFormat(u"0.0"_s);
    EXPECT_EQ(price->Text(), u"1234.5"_s);
    EXPECT_EQ(price->AsString(), u"1234.5"_s);
    price->SetAsFloat(0.1 + 0.2);
    price->SetDisplayFormat(QString());
    EXPECT_EQ(price->DisplayText(), u"0.3"_s);

    TField* money = table.Field(u"金额"_s);
    money->SetAsFloat(3.5);
    EXPECT_EQ(money->Text(), u"3.50"_s);

    auto* date = static_cast<TDateTimeField*>(table.Field(u"日期"_s));
    date->SetAsDateTime(EncodeDateTime(2026, 3, 8, 9, 5, 0, 0));
    EXPECT_EQ(date->DisplayText(), u"2026-03-08 09:05:00"_s);
    date->SetAsDateTime(EncodeDate(2026, 3, 8));
    EXPECT_EQ(date->DisplayText(), u"2026-03-08"_s);
    date->SetDisplayFormat(u"yyyy年m月d日"_s);
    EXPECT_EQ(date->DisplayText(), u"2026年3月8日"_s);
    EXPECT_EQ(date->Text(), u"2026-03-08"_s);
}

TEST(FieldTest, TextEventsReplaceTheFieldsOwnConversions)
{
    TKindsTable table;
    TField* count = table.Field(u"数量"_s);
    count->OnGetText = [](TField* Sender, QString& Text, bool DisplayText) {
        Text = DisplayText ? u"共%1件"_s.arg(Sender->AsInteger()) : Sender->AsString();
    };
    count->OnSetText = [](TField* Sender, const QString& Text) { Sender->SetAsString(QString(Text).remove(u'件')); };
    count->SetText(u"5件"_s);
    EXPECT_EQ(count->DisplayText(), u"共5件"_s);
    EXPECT_EQ(count->Text(), u"5"_s);
}

TEST(FieldTest, ValidateRejectsAValueAndChangeFollowsAnAcceptedOne)
{
    TKindsTable table;
    TField* count = table.Field(u"数量"_s);
    QStringList calls;
    count->OnValidate = [&calls](TField* Sender) {
        calls << u"validate %1"_s.arg(Sender->AsInteger());
        if (Sender->AsInteger() < 0)
            throw EDatabaseError(u"不能为负"_s);
    };
    count->OnChange = [&calls](TField* Sender) { calls << u"change %1"_s.arg(Sender->AsInteger()); };
    count->SetAsInteger(3);
    EXPECT_THROW(count->SetAsInteger(-1), EDatabaseError);
    EXPECT_EQ(count->AsInteger(), 3);
    EXPECT_EQ(calls, QStringList({u"validate 3"_s, u"change 3"_s, u"validate -1"_s}));
}

TEST(FieldTest, NumericFieldsAcceptOnlyNumberCharacters)
{
    TKindsTable table;
    EXPECT_TRUE(table.Field(u"数量"_s)->IsValidChar(u'7'));
    EXPECT_TRUE(table.Field(u"数量"_s)->IsValidChar(u'-'));
    EXPECT_FALSE(table.Field(u"数量"_s)->IsValidChar(u'.'));
    EXPECT_TRUE(table.Field(u"单价"_s)->IsValidChar(u'.'));
    EXPECT_FALSE(table.Field(u"单价"_s)->IsValidChar(u'x'));
    EXPECT_TRUE(table.Field(u"文本"_s)->IsValidChar(u'中'));
}

TEST(FieldTest, FieldsOfAClosedDataSetCannotBeRenamedWhileOpen)
{
    TKindsTable table;
    EXPECT_THROW(table.Field(u"文本"_s)->SetFieldName(u"新名"_s), EDatabaseError);
    EXPECT_THROW(table.Field(u"文本"_s)->SetDataSet(nullptr), EDatabaseError);
}
