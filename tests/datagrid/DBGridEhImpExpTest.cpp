// Export, import and the clipboard commands on a grid: the bytes of each format for a small grid,
// footers over the exported records, round trips, pasting between two grids on the system
// clipboard, malformed data refused without a half-stored record, and deleting the selection.
#include "DBGridEhCoreSupport.h"
#include "RtfTestSupport.h"

#include "datagrid/DBGridEhImpExp.h"
#include "support/ExceptionText.h"

#include "platform/core/TextEncoding.h"
#include "platform/data/DataSet.h"
#include "platform/data/TypedFields.h"
#include "platform/ui/Dialogs.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

QByteArray Int32(std::int32_t Value)
{
    const std::int32_t little = qToLittleEndian(Value);
    return QByteArray(reinterpret_cast<const char*>(&little), 4);
}

QByteArray Tagged(char Tag, const QByteArray& Payload) { return QByteArray(1, Tag) + Int32(static_cast<int>(Payload.size())) + Payload; }

template <class TExport>
QByteArray Exported(TCustomDBGridEh* Grid, bool WholeGrid)
{
    TMemoryStream stream;
    ExportGridToStream<TExport>(Grid, stream, WholeGrid);
    return QByteArray(static_cast<const char*>(stream.Memory()), static_cast<qsizetype>(stream.Size()));
}

template <class TImport>
void Imported(TCustomDBGridEh* Grid, const QByteArray& Bytes, bool WholeGrid)
{
    TMemoryStream stream;
    stream.WriteBuffer(Bytes.constData(), Bytes.size());
    stream.SetPosition(0);
    ImportGridFromStream<TImport>(Grid, stream, WholeGrid);
}

// A grid of two columns, 名称 and 数量, over three stock-in records, with titles and one footer
// row ("合计" and the sum of 数量).
class DBGridEhImpExpTest : public DBGridEhCoreFixture {
protected:
    void SetUp() override
    {
        DBGridEhCoreFixture::SetUp();
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        while (!Data->IsEmpty())
            Data->Delete();
        Data->AppendRecord({Variant(), Variant(u"订书机"_s), Variant(3), Variant(12.5)});
        Data->AppendRecord({Variant(), Variant(u"铅笔"_s), Variant(5), Variant(0.1)});
        Data->AppendRecord({Variant(), Variant(u"胶水"_s), Variant::Null(), Variant(7.25)});
        Data->First();
        Name = AddColumn(u"名称"_s);
        Qty = AddColumn(QtyField);
        Name->SetWidth(80);
        Qty->SetWidth(40);
        Grid->SetOptions(Grid->Options() | dgMultiSelect);
        Grid->SetFooterRowCount(1);
        Name->Footer()->SetValueType(TFooterValueType::fvtStaticText);
        Name->Footer()->SetValue(u"合计"_s);
        Qty->Footer()->SetValueType(TFooterValueType::fvtSum);
        Grid->SetDataSource(Source.get());
    }

    void TearDown() override
    {
        Clipboard()->SetStore(nullptr);
        DBGridEhCoreFixture::TearDown();
    }

    std::vector<String> Names()
    {
        std::vector<String> result;
        for (Data->First(); !Data->Eof(); Data->Next())
            result.push_back(Data->FieldByName(u"名称"_s)->AsString() + u':' + Data->FieldByName(QtyField)->AsString());
        return result;
    }

    TColumnEh* Name = nullptr;
    TColumnEh* Qty = nullptr;
};

// --- Export bytes -------------------------------------------------------------------------------

TEST_F(DBGridEhImpExpTest, TextAndUnicodeTextJoinTitlesRecordsAndFooters)
{
    const String text = u"名称\t数量\r\n订书机\t3\r\n铅笔\t5\r\n胶水\t\r\n合计\t8"_s;
    EXPECT_EQ(Exported<TDBGridEhExportAsText>(Grid, true), EncodeGB18030(text));
    EXPECT_EQ(Exported<TDBGridEhExportAsUnicodeText>(Grid, true), UnicodeTextBytes(text));
    // The current record stays where it was.
    EXPECT_EQ(Data->RecNo(), 1);
}

// The cells are exported as the handlers that colour and word them on screen leave them.
TEST_F(DBGridEhImpExpTest, CellParamsHandlersChangeTheExportedCells)
{
    Grid->OnGetCellParams = [this](TObject*, TColumnEh* Column, TFont*, TColor& Background, TGridDrawState) {
        if (Column == Qty && Data->FieldByName(QtyField)->AsInteger() > 4)
            Background = TColor(0x0000FF);
    };
    Name->SetOnGetCellParams([](TColumnEh*, bool, TColCellParamsEh* Params) {
        Params->Text = u"*"_s + Params->Text;
        Params->Background = clLime;  // the grid's handler decides the background
    });
    EXPECT_EQ(Exported<TDBGridEhExportAsText>(Grid, true),
              EncodeGB18030(u"名称\t数量\r\n*订书机\t3\r\n*铅笔\t5\r\n*胶水\t\r\n合计\t8"_s));
    const QByteArray rtf = Exported<TDBGridEhExportAsRTF>(Grid, true);
    EXPECT_TRUE(rtf.contains("\\red255\\green0\\blue0;")) << rtf.left(400).toStdString();
    EXPECT_FALSE(rtf.contains("\\red0\\green255\\blue0;"));
}

TEST_F(DBGridEhImpExpTest, CsvQuotesEveryCellWithTheUnitsSeparator)
{
    Data->Edit();
    Data->FieldByName(u"名称"_s)->SetAsString(u"x\"y"_s);
    Data->Post();
    EXPECT_EQ(Exported<TDBGridEhExportAsCSV>(Grid, true),
              EncodeGB18030(u"\"名称\";\"数量\"\r\n\"x\"\"y\";\"3\"\r\n\"铅笔\";\"5\"\r\n\"胶水\";\"\"\r\n\"合计\";\"8\""_s));
    DBGridEhImpExpCsvSeparator = u',';
    const QByteArray comma = Exported<TDBGridEhExportAsCSV>(Grid, true);
    DBGridEhImpExpCsvSeparator = u';';
    EXPECT_TRUE(comma.startsWith("\"") && comma.contains(EncodeGB18030(u"\"名称\",\"数量\""_s)));
}

TEST_F(DBGridEhImpExpTest, VCLDBIFHoldsTheFieldValuesWithoutTitlesOrFooters)
{
    const QByteArray expected = QByteArray("VCLDBIF\x01", 8) + Int32(2) + QByteArray("\x01\0\x01\0", 4) +
                                Tagged(5, EncodeGB18030(u"订书机"_s)) + QByteArray("\x03", 1) + Int32(3) +
                                Tagged(5, EncodeGB18030(u"铅笔"_s)) + QByteArray("\x03", 1) + Int32(5) +
                                Tagged(5, EncodeGB18030(u"胶水"_s)) + QByteArray("\x02\x00", 2);
    EXPECT_EQ(Exported<TDBGridEhExportAsVCLDBIF>(Grid, true), expected);
}

TEST_F(DBGridEhImpExpTest, RtfIsATableOfTitleRecordAndFooterRows)
{
    TFont font;
    font.SetName(u"Arial"_s);
    font.SetSize(9);
    font.SetColor(clBlack);
    Grid->Font()->Assign(&font);
    Grid->TitleFont()->Assign(&font);
    Grid->TitleFont()->SetSize(10);
    Grid->TitleFont()->SetStyle({TFontStyle::fsBold});
    Name->SetColor(clWhite);
    Qty->SetColor(0x00FFFF);
    Name->Title()->SetColor(0xC0C0C0);
    Qty->Title()->SetColor(0xC0C0C0);
    for (TColumnEh* column : {Name, Qty}) {
        column->Font()->Assign(&font);
        column->Footer()->SetColor(0xE0E0E0);
        column->Footer()->Font()->Assign(&font);
        column->Footer()->Font()->SetStyle({TFontStyle::fsItalic});
        column->Footer()->Font()->SetColor(0x0000FF);
    }
    const QByteArray borders = "\\clbrdrl\\brdrs\\brdrcf0\r\n\\clbrdrt\\brdrs\\brdrcf0\r\n"
                               "\\clbrdrb\\brdrs\\brdrcf0\r\n\\clbrdrr\\brdrs\\brdrcf0\r\n";
    const auto row = [&](int Bg1, int Bg2, const QByteArray& Cells) {
        return "\\trowd\\trgaph40\r\n" + borders + "\\clshdng10000\\clcfpat" + QByteArray::number(Bg1) + "\\cellx1200\r\n" +
               borders + "\\clshdng10000\\clcfpat" + QByteArray::number(Bg2) + "\\cellx1800\r\n{\\trrh0\r\n" + Cells +
               "\\pard\\intbl\\row}\r\n";
    };
    const auto record = [&](const QByteArray& NameText, const QByteArray& QtyText) {
        return row(1, 4, "\\pard\\intbl{\\ql\\sb24\\sa24\\fs18\\f0\\cf0\\cb1 " + NameText + "\\cell}\r\n" +
                             "\\pard\\intbl{\\qr\\sb24\\sa24\\fs18\\f0\\cf0\\cb4 " + QtyText + "\\cell}\r\n");
    };
    const QByteArray expected =
        "{\\rtf0\\ansi\r\n{\\colortbl" + StandardRtfColours() + Rgb(192, 192, 192) + Rgb(255, 255, 0) +
        Rgb(224, 224, 224) + Rgb(255, 0, 0) + "}\r\n{\\fonttbl\\f0\\fnil Arial;}\r\n" +
        row(3, 3,
            "\\pard\\intbl{\\ql\\sb24\\sa24\\fs20\\b\\f0\\cf0\\cb3 \\u21517?\\u31216?\\cell}\r\n"
            "\\pard\\intbl{\\ql\\sb24\\sa24\\fs20\\b\\f0\\cf0\\cb3 \\u25968?\\u-28209?\\cell}\r\n") +
        record("\\u-29790?\\u20070?\\u26426?", "3") + record("\\u-27451?\\u31508?", "5") + record("\\u-32522?\\u27700?", "") +
        row(5, 5,
            "\\pard\\intbl{\\ql\\sb24\\sa24\\fs18\\i\\f0\\cf6\\cb5 \\u21512?\\u-29791?\\cell}\r\n"
            "\\pard\\intbl{\\qr\\sb24\\sa24\\fs18\\i\\f0\\cf6\\cb5 8\\cell}\r\n") +
        "}";
    EXPECT_EQ(Exported<TDBGridEhExportAsRTF>(Grid, true).toStdString(), expected.toStdString());
}

TEST_F(DBGridEhImpExpTest, RtfMultiLevelTitlesMergeRepeatedNodesWithoutInnerBorders)
{
    Grid->SetUseMultiTitle(true);
    Name->Title()->SetCaption(u"物品|名称"_s);
    Qty->Title()->SetCaption(u"物品|数量"_s);
    TColumnEh* amount = AddColumn(AmountField);
    amount->SetWidth(40);
    const QByteArray rtf = Exported<TDBGridEhExportAsRTF>(Grid, true);
    // Two title rows: 物品 over the first two columns, 金额 spanning both levels.
    const qsizetype first = rtf.indexOf("\\trowd");
    const qsizetype second = rtf.indexOf("\\trowd", first + 1);
    const qsizetype third = rtf.indexOf("\\trowd", second + 1);
    const QByteArray top = rtf.mid(first, second - first);
    const QByteArray leaves = rtf.mid(second, third - second);
    EXPECT_TRUE(top.contains("{\\qc\\sb55\\sa55")) << top.constData();
    EXPECT_TRUE(top.contains(" \\u29289?\\u21697?\\cell}"));  // 物品
    EXPECT_TRUE(top.contains("\\pard\\intbl{\\qc\\cell}\r\n"));  // merged into 物品
    EXPECT_TRUE(top.contains(" \\u-28207?\\u-26467?\\cell}"));     // 金额, on the top level
    EXPECT_EQ(top.count("\\clbrdrr"), 2);  // no border between the two halves of 物品
    EXPECT_EQ(top.count("\\clbrdrb"), 2);  // 金额 goes on below
    EXPECT_TRUE(leaves.contains(" \\u21517?\\u31216?\\cell}"));  // 名称
    EXPECT_EQ(leaves.count("\\clbrdrt"), 2);
    EXPECT_EQ(leaves.count("\\pard\\intbl{\\qc\\cell}"), 1);    // under 金额
}

TEST_F(DBGridEhImpExpTest, NothingSelectedExportsTheFocusedCellOnly)
{
    Data->SetRecNo(2);
    Grid->FocusDataColumn(Qty->Index());
    Grid->Selection()->ResetSelection();
    EXPECT_EQ(Exported<TDBGridEhExportAsText>(Grid, false), QByteArray("5"));
    EXPECT_EQ(Exported<TDBGridEhExportAsVCLDBIF>(Grid, false),
              QByteArray("VCLDBIF\x01", 8) + Int32(1) + QByteArray("\x01\0\x03", 3) + Int32(5) + QByteArray(1, '\0'));
    // A column without a field: an empty cell, an unassigned value.
    TColumnEh* number = AddColumn(String());
    Grid->FocusDataColumn(number->Index());
    EXPECT_EQ(Exported<TDBGridEhExportAsText>(Grid, false), QByteArray());
    EXPECT_TRUE(Exported<TDBGridEhExportAsVCLDBIF>(Grid, false).endsWith(QByteArray("\x01\0\x01\0", 4)));
}

TEST_F(DBGridEhImpExpTest, FootersSumAndCountOnlyTheExportedRecords)
{
    Qty->Footers()->Add();
    static_cast<TColumnFooterEh*>(Qty->Footers()->Items(0))->SetValueType(TFooterValueType::fvtSum);
    Grid->SetFooterRowCount(2);
    auto* count = static_cast<TColumnFooterEh*>(Qty->Footers()->Add());
    count->SetValueType(TFooterValueType::fvtCount);
    for (const int recNo : {2, 3}) {
        Data->SetRecNo(recNo);
        Grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    // 铅笔 5 and 胶水 Null: the sum skips the Null, the count takes both.
    EXPECT_EQ(Exported<TDBGridEhExportAsText>(Grid, false), EncodeGB18030(u"名称\t数量\r\n铅笔\t5\r\n胶水\t\r\n合计\t5\r\n合计\t2"_s));
}

TEST_F(DBGridEhImpExpTest, ARectangleExportsItsColumnsAndRecords)
{
    Grid->Selection()->Rect()->SelectTo(Qty->Index(), (Data->SetRecNo(3), Data->Bookmark()), false);
    Grid->Selection()->Rect()->SelectTo(Name->Index(), (Data->SetRecNo(2), Data->Bookmark()), true);
    EXPECT_EQ(Exported<TDBGridEhExportAsText>(Grid, false), EncodeGB18030(u"名称\t数量\r\n铅笔\t5\r\n胶水\t\r\n合计\t5"_s));
    Grid->Selection()->Columns()->SelectColumn(Name, false);
    EXPECT_EQ(Exported<TDBGridEhExportAsText>(Grid, false), EncodeGB18030(u"名称\r\n订书机\r\n铅笔\r\n胶水\r\n合计"_s));
}

// --- Import -------------------------------------------------------------------------------------

TEST_F(DBGridEhImpExpTest, TextImportOverwritesFromTheFocusedCellAndAppendsTheRest)
{
    Grid->SetOptions(Grid->Options() - dgTitles);
    Data->SetRecNo(3);
    Grid->FocusDataColumn(Name->Index());
    Imported<TDBGridEhImportAsText>(Grid, EncodeGB18030(u"胶棒\t9\textra\r\n\"回形针\"\r\n"_s), false);
    EXPECT_EQ(Names(), (std::vector<String>{u"订书机:3"_s, u"铅笔:5"_s, u"胶棒:9"_s, u"\"回形针\":"_s}));
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
}

TEST_F(DBGridEhImpExpTest, TextImportReadsEmptyCellsAndMultiLineCells)
{
    Data->SetRecNo(1);
    Grid->FocusDataColumn(Name->Index());
    Imported<TDBGridEhImportAsUnicodeText>(Grid, UnicodeTextBytes(u"a\n b\t\r\n\r\nc\t7"_s) + QByteArray(2, '\0'), false);
    EXPECT_EQ(Names(), (std::vector<String>{u"a\n b:"_s, u":5"_s, u"c:7"_s}));
}

TEST_F(DBGridEhImpExpTest, ALoneCarriageReturnRefusesTheRowAndKeepsTheOnesBefore)
{
    Data->SetRecNo(1);
    Grid->FocusDataColumn(Name->Index());
    EXPECT_EQ(ExceptionText([&] { Imported<TDBGridEhImportAsText>(Grid, "x\t1\r\ny\t2\rz", false); }),
              u"TDBGridEhImportAsText.CheckState: 错误的文本格式"_s);
    EXPECT_EQ(Names(), (std::vector<String>{u"x:1"_s, u"铅笔:5"_s, u"胶水:"_s}));
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
}

TEST_F(DBGridEhImpExpTest, ExportThenImportRestoresTheRecords)
{
    const QByteArray block = Exported<TDBGridEhExportAsVCLDBIF>(Grid, true);
    Grid->SetOptions(Grid->Options() - dgTitles);
    Grid->SetFooterRowCount(0);
    const QByteArray text = Exported<TDBGridEhExportAsText>(Grid, true);
    const std::vector<String> before = Names();
    for (const bool binary : {true, false}) {
        while (!Data->IsEmpty())
            Data->Delete();
        Grid->Selection()->ResetSelection();
        if (binary)
            Imported<TDBGridEhImportAsVCLDBIF>(Grid, block, false);
        else
            Imported<TDBGridEhImportAsText>(Grid, text, false);
        // Text gives a Null number back as an empty text, which the field stores as Null.
        EXPECT_EQ(Names(), before) << binary;
    }
}

TEST_F(DBGridEhImpExpTest, VCLDBIFSkipsSurplusValuesAndLeavesUnassignedCells)
{
    QByteArray block = QByteArray("VCLDBIF\x01", 8) + Int32(3) + QByteArray("\x01\0\x01\0\x01\0", 6) +
                       QByteArray("\x01", 1) + QByteArray("\x03", 1) + Int32(42) + QByteArray("\x02", 1) + QByteArray(1, '\0');
    Data->SetRecNo(1);
    Grid->FocusDataColumn(Name->Index());
    Imported<TDBGridEhImportAsVCLDBIF>(Grid, block, false);
    EXPECT_EQ(Names().front(), u"订书机:42"_s);
}

TEST_F(DBGridEhImpExpTest, MalformedVCLDBIFIsRefusedWithoutAHalfStoredRecord)
{
    // Two records of two values; the second breaks off after its first value.
    const QByteArray block = QByteArray("VCLDBIF\x01", 8) + Int32(2) + QByteArray("\x01\0\x01\0", 4) +
                             Tagged(5, "A") + QByteArray("\x03", 1) + Int32(1) + Tagged(5, "B");
    Data->SetRecNo(1);
    Grid->FocusDataColumn(Name->Index());
    const String message = ExceptionText([&] { Imported<TDBGridEhImportAsVCLDBIF>(Grid, block, false); });
    EXPECT_TRUE(message.startsWith(u"TDBGridEhImportAsVCLDBIF.ReadPrefix: 错误的 VCLDBIF 格式"_s)) << message.toStdString();
    EXPECT_TRUE(message.contains(u"2"_s));
    EXPECT_EQ(Names(), (std::vector<String>{u"A:1"_s, u"铅笔:5"_s, u"胶水:"_s}));

    // Appending: an unknown tag in the first record appends nothing.
    while (!Data->IsEmpty())
        Data->Delete();
    const QByteArray unknown = QByteArray("VCLDBIF\x01", 8) + Int32(2) + QByteArray("\x01\0\x01\0", 4) + Tagged(5, "A") +
                               QByteArray("\x09\x01\x02", 3);
    EXPECT_FALSE(ExceptionText([&] { Imported<TDBGridEhImportAsVCLDBIF>(Grid, unknown, false); }).isEmpty());
    EXPECT_TRUE(Data->IsEmpty());
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
}

TEST_F(DBGridEhImpExpTest, AValueThatCannotBeStoredAsksWhetherToGoOn)
{
    Data->SetRecNo(1);
    Grid->FocusDataColumn(Qty->Index());
    {
        TScriptedDialogs dialogs;
        dialogs.Answer(mrYes);
        Imported<TDBGridEhImportAsText>(Grid, "1-2\r\n7", false);
        ASSERT_EQ(dialogs.Shown().size(), 1u);
        EXPECT_TRUE(dialogs.Shown()[0].Text.startsWith(u"插入值过程中出错：\n"_s));
        EXPECT_TRUE(dialogs.Shown()[0].Text.endsWith(u"\n\n忽略错误？"_s));
        EXPECT_EQ(Names(), (std::vector<String>{u"订书机:3"_s, u"铅笔:7"_s, u"胶水:"_s}));
    }
    {
        // No gives up the import; the record it was in keeps its old values.
        TScriptedDialogs dialogs;
        dialogs.Answer(mrNo);
        Data->SetRecNo(1);
        Grid->FocusDataColumn(Name->Index());
        Imported<TDBGridEhImportAsText>(Grid, "x\t1\r\ny\t1-\r\nz\t3", false);
        EXPECT_EQ(Names(), (std::vector<String>{u"x:1"_s, u"铅笔:7"_s, u"胶水:"_s}));
    }
    {
        TScriptedDialogs dialogs;
        dialogs.Answer(mrAll);
        Data->SetRecNo(1);
        Imported<TDBGridEhImportAsText>(Grid, "p\t1-\r\nq\t2-", false);
        EXPECT_EQ(dialogs.Shown().size(), 1u);
        EXPECT_EQ(Names(), (std::vector<String>{u"p:1"_s, u"q:7"_s, u"胶水:"_s}));
    }
}

TEST_F(DBGridEhImpExpTest, APickListColumnRefusesTextOutsideItsList)
{
    Qty->PickList()->Add(u"三"_s);
    Qty->PickList()->Add(u"五"_s);
    Qty->KeyList()->Add(u"3"_s);
    Qty->KeyList()->Add(u"5"_s);
    Data->SetRecNo(1);
    Grid->FocusDataColumn(Qty->Index());
    TScriptedDialogs dialogs;
    dialogs.Answer(mrYes);
    Imported<TDBGridEhImportAsText>(Grid, EncodeGB18030(u"五\r\n七"_s), false);
    EXPECT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(Names(), (std::vector<String>{u"订书机:5"_s, u"铅笔:5"_s, u"胶水:"_s}));
}

// --- Clipboard ----------------------------------------------------------------------------------

TEST_F(DBGridEhImpExpTest, CopyPutsTheFiveFormatsWithTheirTerminators)
{
    CopyGridSelectionToClipboard(Grid, true);
    EXPECT_EQ(Clipboard()->GetFormatData(CF_TEXT), Exported<TDBGridEhExportAsText>(Grid, true) + QByteArray(1, '\0'));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_UNICODETEXT),
              Exported<TDBGridEhExportAsUnicodeText>(Grid, true) + QByteArray(2, '\0'));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_CSV()), Exported<TDBGridEhExportAsCSV>(Grid, true) + QByteArray(1, '\0'));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_RTF()), Exported<TDBGridEhExportAsRTF>(Grid, true) + QByteArray(1, '\0'));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_VCLDBIF()), Exported<TDBGridEhExportAsVCLDBIF>(Grid, true));
}

TEST_F(DBGridEhImpExpTest, CopyOfManyRecordsPutsTheBytesOfEachFormatsOwnExport)
{
    // Enough records for the RTF rows to go out before the footer brings new colours, so the
    // rows move to make room for them; the cell texts are computed once for all formats.
    Data->DisableControls();
    for (int i = 0; i < 400; ++i)
        Data->AppendRecord({Variant(), Variant(u"记录{%1}"_s.arg(i)), Variant(i), Variant(0.5 * i)});
    Data->EnableControls();
    Data->First();
    Qty->Footer()->SetColor(0xE0E0E0);
    Qty->Footer()->Font()->SetColor(0x0000FF);
    CopyGridSelectionToClipboard(Grid, true);
    const QByteArray rtf = Exported<TDBGridEhExportAsRTF>(Grid, true);
    ASSERT_GT(rtf.size(), 128 * 1024);
    EXPECT_TRUE(rtf.contains(Rgb(224, 224, 224) + Rgb(255, 0, 0) + "}"));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_RTF()), rtf + QByteArray(1, '\0'));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_TEXT), Exported<TDBGridEhExportAsText>(Grid, true) + QByteArray(1, '\0'));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_UNICODETEXT),
              Exported<TDBGridEhExportAsUnicodeText>(Grid, true) + QByteArray(2, '\0'));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_CSV()), Exported<TDBGridEhExportAsCSV>(Grid, true) + QByteArray(1, '\0'));
    EXPECT_EQ(Clipboard()->GetFormatData(CF_VCLDBIF()), Exported<TDBGridEhExportAsVCLDBIF>(Grid, true));
    EXPECT_TRUE(Clipboard()->AsText().endsWith(u"\r\n记录{399}\t399\r\n合计\t79808"_s));
}

TEST_F(DBGridEhImpExpTest, CopyAndPasteBetweenTwoGridsOnTheSystemClipboard)
{
    Clipboard()->SetStore(nullptr);
    Clipboard()->Clear();
    Grid->Selection()->Columns()->SelectColumn(Qty, false);
    CopyGridSelectionToClipboard(Grid, false);

    std::unique_ptr<TMemoryDataSet> other(NewStockDataSet(nullptr));
    other->Open();
    other->AppendRecord({Variant(), Variant(u"甲"_s), Variant(1), Variant()});
    TDataSource otherSource(nullptr);
    otherSource.SetDataSet(other.get());
    auto* target = new TCoreTestGrid(Form.get());
    target->SetParent(Form.get());
    target->SetBounds(0, 0, 300, 200);
    target->SetDataSource(&otherSource);
    other->First();
    target->FocusDataColumn(2);  // 数量
    ASSERT_TRUE(target->CanPasteFromClipboard());
    PasteIntoGrid(target, false);
    std::vector<String> pasted;
    for (other->First(); !other->Eof(); other->Next())
        pasted.push_back(other->FieldByName(u"名称"_s)->AsString() + u':' + other->FieldByName(QtyField)->AsString());
    EXPECT_EQ(pasted, (std::vector<String>{u"甲:3"_s, u":5"_s, u":"_s}));
    Clipboard()->Clear();
}

TEST_F(DBGridEhImpExpTest, PasteTakesTextFromAnotherProgram)
{
    Clipboard()->SetAsText(u"笔\t2\r\n纸\t4"_s);
    Data->SetRecNo(2);
    Grid->FocusDataColumn(Name->Index());
    PasteIntoGrid(Grid, false);
    EXPECT_EQ(Names(), (std::vector<String>{u"订书机:3"_s, u"笔:2"_s, u"纸:4"_s}));
}

// --- Delete -------------------------------------------------------------------------------------

TEST_F(DBGridEhImpExpTest, DeletingAsksAsTheOptionSaysAndCancelKeepsEverything)
{
    Data->SetRecNo(2);
    Grid->SelectedRows()->SetCurrentRowSelected(true);
    {
        TScriptedDialogs dialogs;
        dialogs.Answer(mrCancel);
        DeleteGridSelection(Grid, false);
        ASSERT_EQ(dialogs.Shown().size(), 1u);
        EXPECT_EQ(dialogs.Shown()[0].Text, u"Delete record?"_s);
        EXPECT_EQ(Data->RecordCount(), 3);
    }
    {
        TScriptedDialogs dialogs;
        dialogs.Answer(mrOk);
        DeleteGridSelection(Grid, false);
        EXPECT_EQ(Names(), (std::vector<String>{u"订书机:3"_s, u"胶水:"_s}));
        EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstNon);
    }
    {
        // Everything: asked too, since the grid's option asks before deleting.
        TScriptedDialogs dialogs;
        dialogs.Answer(mrCancel);
        DeleteGridSelection(Grid, true);
        EXPECT_EQ(dialogs.Shown().size(), 1u);
        EXPECT_EQ(Data->RecordCount(), 2);
    }
}

TEST_F(DBGridEhImpExpTest, DeletingColumnsClearsTheirCellsWithoutAQuestion)
{
    Grid->Selection()->Columns()->SelectColumn(Qty, false);
    TScriptedDialogs dialogs;
    DeleteGridSelection(Grid, false);
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_EQ(Names(), (std::vector<String>{u"订书机:"_s, u"铅笔:"_s, u"胶水:"_s}));

    Grid->Selection()->Rect()->SelectTo(Name->Index(), (Data->SetRecNo(1), Data->Bookmark()), false);
    Grid->Selection()->Rect()->SelectTo(Name->Index(), (Data->SetRecNo(2), Data->Bookmark()), true);
    dialogs.Answer(mrOk);
    DeleteGridSelection(Grid, false);
    EXPECT_EQ(dialogs.Shown().back().Text, u"清除选择的单元？"_s);
    EXPECT_EQ(Names(), (std::vector<String>{u":"_s, u":"_s, u"胶水:"_s}));
}

TEST_F(DBGridEhImpExpTest, CutCopiesThenDeletesEverything)
{
    Grid->SetOptions(Grid->Options() - dgConfirmDelete);
    CutGridSelection(Grid, true);
    EXPECT_TRUE(Data->IsEmpty());
    EXPECT_TRUE(Clipboard()->GetFormatData(CF_TEXT).startsWith(EncodeGB18030(u"名称"_s)));
}

}  // namespace

namespace {

TEST_F(DBGridEhImpExpTest, TextFromOtherProgramsSplitsRowsAtLineFeedsToo)
{
    // Another program's copy: rows ending in LF alone, the last one too.
    Clipboard()->SetAsText(u"笔\t2\n纸\t4\n"_s);
    Data->SetRecNo(2);
    Grid->FocusDataColumn(Name->Index());
    PasteIntoGrid(Grid, false);
    EXPECT_EQ(Names(), (std::vector<String>{u"订书机:3"_s, u"笔:2"_s, u"纸:4"_s}));
}

TEST_F(DBGridEhImpExpTest, OtherProgramsSeeTheCopyAsPlainTextCsvAndRtf)
{
    Clipboard()->SetStore(nullptr);
    CopyGridSelectionToClipboard(Grid, true);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), u"名称\t数量\r\n订书机\t3\r\n铅笔\t5\r\n胶水\t\r\n合计\t8"_s);
    // The table itself is written in the ANSI code page; other programs read text/csv as UTF-8.
    EXPECT_EQ(data->data(u"text/csv"_s), DecodeGB18030(Exported<TDBGridEhExportAsCSV>(Grid, true)).toUtf8());
    EXPECT_TRUE(data->data(u"text/rtf"_s).startsWith("{\\rtf0\\ansi"));
    EXPECT_FALSE(data->data(u"text/rtf"_s).contains('\0'));
    Clipboard()->Clear();
}

}  // namespace

// --- Lookup columns -----------------------------------------------------------------------------

namespace {

// Issues (人 = a person's id) with a lookup field 姓名 over people "AB" (1) and "A" (2).
class DBGridEhImpExpLookupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        People = new TMemoryDataSet(&Owner);
        People->FieldDefs()->Add(u"id"_s, TFieldType::ftInteger);
        People->FieldDefs()->Add(u"姓名"_s, TFieldType::ftString, 10);
        People->Open();
        People->AppendRecord({1, u"AB"_s});
        People->AppendRecord({2, u"A"_s});
        Issues = new TMemoryDataSet(&Owner);
        Issues->FieldDefs()->Add(u"人"_s, TFieldType::ftInteger);
        auto* who = new TIntegerField(&Owner);
        who->SetFieldName(u"人"_s);
        who->SetDataSet(Issues);
        auto* name = new TStringField(&Owner);
        name->SetFieldName(u"姓名"_s);
        name->SetFieldKind(TFieldKind::fkLookup);
        name->SetKeyFields(u"人"_s);
        name->SetLookupDataSet(People);
        name->SetLookupKeyFields(u"id"_s);
        name->SetLookupResultField(u"姓名"_s);
        name->SetDataSet(Issues);
        Issues->Open();
        Issues->AppendRecord({1});
        Source = new TDataSource(&Owner);
        Source->SetDataSet(Issues);
        Grid = new TTestDBGridEh(&Owner);
        Grid->Columns()->Add()->SetFieldName(u"姓名"_s);
        Grid->SetDataSource(Source);
        Issues->First();
    }

    void TearDown() override { Clipboard()->SetStore(nullptr); }

    int Person() const { return Issues->FieldByName(u"人"_s)->AsInteger(); }

    TComponent Owner{nullptr};
    TMemoryDataSet* People = nullptr;
    TMemoryDataSet* Issues = nullptr;
    TDataSource* Source = nullptr;
    TTestDBGridEh* Grid = nullptr;
};

TEST_F(DBGridEhImpExpLookupTest, PastedTextPicksTheRecordWithExactlyThatText)
{
    Imported<TDBGridEhImportAsText>(Grid, "a", false);
    EXPECT_EQ(Person(), 2);
    // Text no record shows leaves the key as it was.
    Imported<TDBGridEhImportAsText>(Grid, "zz", false);
    EXPECT_EQ(Person(), 2);
}

TEST_F(DBGridEhImpExpLookupTest, VCLDBIFCarriesTheKeyValuesAsCommaText)
{
    const QByteArray block = Exported<TDBGridEhExportAsVCLDBIF>(Grid, true);
    EXPECT_EQ(block, QByteArray("VCLDBIF\x01", 8) + Int32(1) + QByteArray("\x01\0", 2) + Tagged(7, QByteArray("1\0", 2)) +
                         QByteArray(1, '\0'));
    Issues->Edit();
    Issues->FieldByName(u"人"_s)->SetAsInteger(2);
    Issues->Post();
    Imported<TDBGridEhImportAsVCLDBIF>(Grid, block, false);
    EXPECT_EQ(Person(), 1);
}

}  // namespace

namespace {

TEST_F(DBGridEhImpExpTest, AFileExportReimportsWithItsLastCharacter)
{
    QTemporaryDir dir;
    const String file = dir.filePath(u"records.txt"_s);
    Grid->SetOptions(Grid->Options() - dgTitles);
    Grid->SetFooterRowCount(0);
    TDBGridEhExportAsText exporter;
    exporter.SetGrid(Grid);
    exporter.ExportToFile(file, true);
    while (!Data->IsEmpty())
        Data->Delete();
    TDBGridEhImportAsText importer;
    importer.SetGrid(Grid);
    importer.ImportFromFile(file, true);
    EXPECT_EQ(Names(), (std::vector<String>{u"订书机:3"_s, u"铅笔:5"_s, u"胶水:"_s}));
}

TEST_F(DBGridEhImpExpTest, PasteToAllStartsAtTheFirstRecordAndColumn)
{
    Grid->Selection()->Columns()->SelectColumn(Qty, false);
    Data->SetRecNo(3);
    Grid->FocusDataColumn(Qty->Index());
    Clipboard()->SetAsText(u"甲\t1\r\n乙\t2"_s);
    PasteIntoGrid(Grid, true);
    EXPECT_EQ(Grid->Selection()->SelectionType(), TDBGridEhSelectionType::gstNon);
    EXPECT_EQ(Names(), (std::vector<String>{u"甲:1"_s, u"乙:2"_s, u"胶水:"_s}));
}

}  // namespace

namespace {

TEST_F(DBGridEhImpExpTest, PasteIntoARectangleFillsItsCellsOnly)
{
    TColumnEh* amount = AddColumn(AmountField);
    Grid->Selection()->Rect()->SelectTo(Qty->Index(), (Data->SetRecNo(1), Data->Bookmark()), false);
    Grid->Selection()->Rect()->SelectTo(amount->Index(), (Data->SetRecNo(2), Data->Bookmark()), true);
    Clipboard()->SetAsText(u"7\t1.5\r\n8\t2.5\r\n9\t3.5"_s);
    PasteIntoGrid(Grid, false);
    std::vector<String> rows;
    for (Data->First(); !Data->Eof(); Data->Next())
        rows.push_back(Data->FieldByName(u"名称"_s)->AsString() + u':' + Data->FieldByName(QtyField)->AsString() + u':' +
                       Data->FieldByName(AmountField)->AsString());
    EXPECT_EQ(rows, (std::vector<String>{u"订书机:7:1.5"_s, u"铅笔:8:2.5"_s, u"胶水::7.25"_s}));
}

}  // namespace
