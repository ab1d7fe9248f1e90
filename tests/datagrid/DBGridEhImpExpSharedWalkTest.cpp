// Several formats written with one walk over the selection: each gets the bytes it gets when it
// is exported alone, footers included, and the dataset is left as it was.
#include "DBGridEhCoreSupport.h"

#include "datagrid/DBGridEhImpExp.h"

#include "platform/core/TextEncoding.h"
#include "platform/data/DataSet.h"

#include <array>

namespace {

template <class TExport>
QByteArray ExportedAlone(TCustomDBGridEh* Grid, bool WholeGrid)
{
    TMemoryStream stream;
    ExportGridToStream<TExport>(Grid, stream, WholeGrid);
    return QByteArray(static_cast<const char*>(stream.Memory()), static_cast<qsizetype>(stream.Size()));
}

// A grid of 名称, 数量 and 金额 over four records, with titles and two footer rows: a static
// text in both, the sum of 数量 in the first and its count in the second, the sum of 金额 in both.
class DBGridEhImpExpSharedWalkTest : public DBGridEhCoreFixture {
protected:
    void SetUp() override
    {
        DBGridEhCoreFixture::SetUp();
        while (!Data->IsEmpty())
            Data->Delete();
        Data->AppendRecord({Variant(), Variant(u"订书机"_s), Variant(3), Variant(12.5)});
        Data->AppendRecord({Variant(), Variant(u"铅笔 {HB}"_s), Variant(5), Variant(0.1)});
        Data->AppendRecord({Variant(), Variant(u"胶水"_s), Variant::Null(), Variant(7.25)});
        Data->AppendRecord({Variant(), Variant(u"C:\\纸"_s), Variant(2), Variant::Null()});
        Data->First();
        TColumnEh* name = AddColumn(u"名称"_s);
        TColumnEh* qty = AddColumn(QtyField);
        TColumnEh* amount = AddColumn(AmountField);
        qty->Font()->SetStyle({TFontStyle::fsBold});
        amount->SetColor(clYellow);
        Grid->SetOptions(Grid->Options() | dgMultiSelect);
        Grid->SetFooterRowCount(2);
        name->Footer()->SetValueType(TFooterValueType::fvtStaticText);
        name->Footer()->SetValue(u"合计"_s);
        static_cast<TColumnFooterEh*>(qty->Footers()->Add())->SetValueType(TFooterValueType::fvtSum);
        static_cast<TColumnFooterEh*>(qty->Footers()->Add())->SetValueType(TFooterValueType::fvtCount);
        amount->Footer()->SetValueType(TFooterValueType::fvtSum);
        Grid->SetDataSource(Source.get());
    }

    // The five formats written together, in clipboard order.
    std::array<QByteArray, 5> ExportedTogether(bool WholeGrid)
    {
        TDBGridEhExportAsText text;
        TDBGridEhExportAsUnicodeText unicodeText;
        TDBGridEhExportAsCSV csv;
        TDBGridEhExportAsRTF rtf;
        TDBGridEhExportAsVCLDBIF vcldbif;
        std::array<TMemoryStream, 5> streams;
        std::vector<TDBGridEhExport::TTarget> targets{
            {&text, &streams[0]}, {&unicodeText, &streams[1]}, {&csv, &streams[2]}, {&rtf, &streams[3]}, {&vcldbif, &streams[4]}};
        for (const auto& target : targets)
            target.Export->SetGrid(Grid);
        TDBGridEhExport::EmitSelections(Grid, targets, WholeGrid);
        std::array<QByteArray, 5> result;
        for (std::size_t i = 0; i < streams.size(); ++i)
            result[i] = QByteArray(static_cast<const char*>(streams[i].Memory()), static_cast<qsizetype>(streams[i].Size()));
        return result;
    }

    std::array<QByteArray, 5> ExportedOneByOne(bool WholeGrid)
    {
        return {ExportedAlone<TDBGridEhExportAsText>(Grid, WholeGrid), ExportedAlone<TDBGridEhExportAsUnicodeText>(Grid, WholeGrid),
                ExportedAlone<TDBGridEhExportAsCSV>(Grid, WholeGrid), ExportedAlone<TDBGridEhExportAsRTF>(Grid, WholeGrid),
                ExportedAlone<TDBGridEhExportAsVCLDBIF>(Grid, WholeGrid)};
    }
};

}  // namespace

TEST_F(DBGridEhImpExpSharedWalkTest, EveryFormatOfTheWholeGridGetsItsOwnBytesWithTheFootersOverAllRecords)
{
    Data->SetRecNo(2);
    const auto together = ExportedTogether(true);
    EXPECT_EQ(Data->RecNo(), 2);
    EXPECT_EQ(together, ExportedOneByOne(true));
    EXPECT_EQ(together[0], EncodeGB18030(u"名称\t数量\t金额\r\n订书机\t3\t12.5\r\n铅笔 {HB}\t5\t0.1\r\n胶水\t\t7.25\r\n"
                                         u"C:\\纸\t2\t\r\n合计\t10\t19.85\r\n合计\t4\t19.85"_s));
    // 铅 is U+94C5, written as a signed number; 笔 U+7B14, 纸 U+7EB8.
    EXPECT_TRUE(together[3].contains("\\u-27451?\\u31508? \\{HB\\}\\cell}"));
    EXPECT_TRUE(together[3].contains("C:\\\\\\u32440?\\cell}"));
    EXPECT_FALSE(together[4].isEmpty());
}

TEST_F(DBGridEhImpExpSharedWalkTest, SelectedRecordsAndTheFocusedCellGiveEachFormatItsOwnBytes)
{
    for (const int recNo : {4, 2}) {
        Data->SetRecNo(recNo);
        Grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    Data->SetRecNo(1);
    const auto rows = ExportedTogether(false);
    EXPECT_EQ(rows, ExportedOneByOne(false));
    EXPECT_EQ(rows[0], EncodeGB18030(u"名称\t数量\t金额\r\n铅笔 {HB}\t5\t0.1\r\nC:\\纸\t2\t\r\n合计\t7\t0.1\r\n合计\t2\t0.1"_s));
    EXPECT_EQ(Data->RecNo(), 1);

    Grid->SelectedRows()->RemoveAll();
    Data->SetRecNo(3);
    const auto cell = ExportedTogether(false);
    EXPECT_EQ(cell, ExportedOneByOne(false));
    EXPECT_EQ(cell[0], EncodeGB18030(u"胶水"_s));
}

TEST_F(DBGridEhImpExpSharedWalkTest, AnInactiveDatasetWritesNothingInAnyFormat)
{
    Data->Close();
    for (const QByteArray& bytes : ExportedTogether(true))
        EXPECT_TRUE(bytes.isEmpty());
}
