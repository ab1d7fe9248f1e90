// The data-aware edit: what the user types reaches the field when the focus leaves, Esc takes
// it back, bad input is reported and kept, and written text or values post at once.
#include "DBCtrlsEhTestSupport.h"

#include "platform/ado/ADODB.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/HintWindow.h"
#include "platform/ui/ImageList.h"
#include "../platform/ado/TestTables.h"

#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

TEST_F(DBEditTest, TypedAndCommittedTextReachesTheFieldWhenTheFocusLeaves)
{
    TDBEditEh* edit = ShowEdit(NameField);
    EXPECT_EQ(edit->Text(), u"订书机"_s);
    EXPECT_EQ(edit->MaxLength(), 20);
    SendKey(edit->Handle(), Qt::Key_End);
    CommitText(edit->Handle(), u"大号"_s);
    TypeText(edit->Handle(), u"A4"_s);
    EXPECT_EQ(Data->State(), TDataSetState::dsEdit);
    EXPECT_EQ(Stored(NameField), u"订书机"_s);
    LeaveEdit();
    EXPECT_EQ(Stored(NameField), u"订书机大号A4"_s);
    Data->Post();
    EXPECT_EQ(Stored(NameField), u"订书机大号A4"_s);
}

TEST_F(DBEditTest, EscapeShowsTheFieldAgainAndWritesNothing)
{
    TDBEditEh* edit = ShowEdit(NameField);
    TypeText(edit->Handle(), u"xyz"_s);
    EXPECT_EQ(edit->Text(), u"xyz"_s);
    SendKey(edit->Handle(), Qt::Key_Escape, u"\x1b"_s);
    EXPECT_EQ(edit->Text(), u"订书机"_s);
    LeaveEdit();
    EXPECT_EQ(Stored(NameField), u"订书机"_s);
}

TEST_F(DBEditTest, TextThatDoesNotConvertIsReportedKeptAndNotPosted)
{
    TDBEditEh* edit = ShowEdit(QtyField);
    // Letters are no characters of a number: refused as they are typed.
    TypeText(edit->Handle(), u"a1-2"_s);
    LeaveEdit();
    ASSERT_EQ(Boxes.Shown().size(), 1u);
    EXPECT_TRUE(Boxes.Shown().front().Text.contains(u"1-2"_s));
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 12);
    EXPECT_EQ(edit->Text(), u"1-2"_s);
    EXPECT_TRUE(edit->Focused());
    // Corrected, it posts.
    edit->SelectAll();
    TypeText(edit->Handle(), u"7"_s);
    LeaveEdit();
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 7);
}

TEST_F(DBEditTest, AReadOnlyFieldOrDataSourceRefusesTypingWithoutEditState)
{
    for (const bool sourceReadOnly : {false, true}) {
        Data->FieldByName(NameField)->SetReadOnly(!sourceReadOnly);
        Source->SetAutoEdit(!sourceReadOnly);
        TDBEditEh* edit = ShowEdit(NameField);
        TypeText(edit->Handle(), u"x"_s);
        CommitText(edit->Handle(), u"新"_s);
        SendKey(edit->Handle(), Qt::Key_Delete);
        EXPECT_EQ(edit->Text(), u"订书机"_s) << sourceReadOnly;
        EXPECT_EQ(Data->State(), TDataSetState::dsBrowse) << sourceReadOnly;
        delete edit;
    }
}

TEST_F(DBEditTest, WritingTextOrValuePostsAtOnce)
{
    TDBEditEh* edit = ShowEdit(QtyField);
    LeaveEdit();
    edit->SetText(u"30"_s);
    EXPECT_EQ(Data->State(), TDataSetState::dsEdit);
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 30);
    edit->SetValue(Variant(41));
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 41);
    // A failing write shows the record again and raises.
    EXPECT_THROW(edit->SetText(u"四十"_s), Exception);
    EXPECT_EQ(edit->Text(), u"41"_s);
}

TEST_F(DBEditTest, WithoutAFieldToWriteNothingIsWrittenAndTheDataSetStaysAsItWas)
{
    TDBEditEh* edit = ShowEdit();
    edit->SetDataSource(Source.get());
    edit->SetText(u"订书机"_s);
    EXPECT_EQ(Data->State(), TDataSetState::dsBrowse);
    edit->SetDataField(NameField);
    Data->Close();
    edit->SetText(u"x"_s);
    edit->SetValue(Variant(u"y"_s));
    EXPECT_EQ(edit->Text(), String());
}

TEST_F(DBEditTest, OwnValueStartsNullAndRoundTrips)
{
    TDBEditEh* edit = ShowEdit();
    EXPECT_TRUE(edit->DataLink()->OwnValueMode());
    EXPECT_TRUE(VarIsNull(edit->Value()));
    edit->SetText(u"红色"_s);
    EXPECT_EQ(edit->Value(), Variant(u"红色"_s));
    edit->SetValue(Variant(5));
    EXPECT_EQ(edit->Text(), u"5"_s);
    SendKey(edit->Handle(), Qt::Key_End);
    TypeText(edit->Handle(), u"9"_s);
    LeaveEdit();
    EXPECT_EQ(edit->Value(), Variant(u"59"_s));
}

TEST_F(DBEditTest, MaxLengthFollowsTheStringFieldItIsBoundTo)
{
    TDBEditEh* edit = ShowEdit(NameField);
    EXPECT_EQ(edit->MaxLength(), 20);
    edit->SetDataField(NoteField);
    EXPECT_EQ(edit->MaxLength(), 50);
    edit->SetDataField(QtyField);
    EXPECT_EQ(edit->MaxLength(), 0);
}

TEST_F(DBEditTest, AHugePasteIsCutToTheFieldSize)
{
    TDBEditEh* edit = ShowEdit(NameField);
    edit->SelectAll();
    Clipboard()->SetAsText(String(100000, u'纸'));
    edit->PasteFromClipboard();
    LeaveEdit();
    EXPECT_EQ(Stored(NameField), String(20, u'纸'));
}

TEST_F(DBEditTest, ACommitInsideAMaskFillsItsPositions)
{
    TDBEditEh* edit = ShowEdit();
    edit->SetEditMask(u"999-999;0;_"_s);
    edit->SetSelStart(0);
    TypeText(edit->Handle(), u"12"_s);
    CommitText(edit->Handle(), u"3四5"_s);
    EXPECT_EQ(edit->EditText(), u"123-5__"_s);
}

TEST_F(DBEditTest, TheDataSetClosingOrTheSourceGoingWhileEditingLeavesAnEmptyEdit)
{
    TDBEditEh* edit = ShowEdit(NameField);
    TypeText(edit->Handle(), u"x"_s);
    Data->Cancel();
    Data->Close();
    EXPECT_EQ(edit->Text(), String());
    LeaveEdit();
    Data->Open();
    EXPECT_EQ(edit->Text(), u"订书机"_s);
    Source.reset();
    EXPECT_EQ(edit->DataSource(), nullptr);
    EXPECT_EQ(edit->Text(), String());
}

TEST_F(DBEditTest, DialogCodesAndReturnsFollowWantTabsAndWantReturns)
{
    TDBEditEh* edit = ShowEdit();
    struct {
        bool Tabs, Returns;
        LRESULT Code;
    } const cases[] = {{false, false, 137}, {true, false, 139}, {false, true, 141}, {true, true, 143}};
    for (const auto& c : cases) {
        edit->SetWantTabs(c.Tabs);
        edit->SetWantReturns(c.Returns);
        EXPECT_EQ(edit->Perform(WM_GETDLGCODE), c.Code);
    }
}

// WordWrap wraps the text on several lines, WantReturns types line breaks that are stored; a
// password keeps one masked line, where Enter types nothing.
TEST_F(DBEditTest, WordWrapAndWantReturnsEditOnSeveralLinesUnlessAPasswordIsSet)
{
    struct {
        bool WordWrap, WantReturns;
        char16_t Password;
        bool SeveralLines;
        const char16_t* Stored;
    } const cases[] = {
        {true, false, 0, true, u"paper clips in a large boxnew"},
        {false, true, 0, true, u"paper clips in a large box\r\nnew"},
        {true, true, 0, true, u"paper clips in a large box\r\nnew"},
        {true, true, u'*', false, u"paper clips in a large boxnew"},
        {false, false, 0, false, u"paper clips in a large boxnew"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.WordWrap << c.WantReturns << char(c.Password));
        Data->First();
        TDBEditEh* edit = ShowEdit(NoteField);
        edit->SetAutoSize(false);
        edit->SetBounds(10, 10, 120, 80);
        edit->SetWordWrap(c.WordWrap);
        edit->SetWantReturns(c.WantReturns);
        edit->SetPasswordChar(Char(c.Password));
        edit->SetFocus();
        edit->SelectAll();
        TypeText(edit->Handle(), u"paper clips in a large box"_s);
        SendKey(edit->Handle(), Qt::Key_Return, u"\r"_s);
        TypeText(edit->Handle(), u"new"_s);
        EXPECT_EQ(edit->Perform(EM_GETLINECOUNT) > 1, c.SeveralLines);
        EXPECT_EQ(dynamic_cast<QLineEdit*>(edit->Handle()) == nullptr, c.SeveralLines);
        if (auto* line = dynamic_cast<QLineEdit*>(edit->Handle()))
            EXPECT_EQ(line->echoMode() == QLineEdit::Password, c.Password != 0);
        LeaveEdit();
        EXPECT_EQ(Stored(NoteField), String::fromUtf16(c.Stored));
        Data->Cancel();
        delete edit;
    }
}

// The data-aware controls answer their field link to CM_GETDATALINK.
TEST_F(DBEditTest, TheEditAndTheCheckBoxAnswerTheirLink)
{
    TDBEditEh* edit = ShowEdit(NameField);
    auto* box = new TDBCheckBoxEh(Form);
    box->SetParent(Form);
    EXPECT_EQ(reinterpret_cast<TFieldDataLinkEh*>(edit->Perform(CM_GETDATALINK)), edit->DataLink());
    EXPECT_EQ(reinterpret_cast<TFieldDataLinkEh*>(box->Perform(CM_GETDATALINK)), box->DataLink());
}

// The red dotted line runs along the bottom row of the text area for an empty required value.
TEST_F(DBEditTest, HighlightRequiredMarksAnEmptyValue)
{
    TDBEditEh* edit = ShowEdit();
    edit->SetHighlightRequired(true);
    const auto redPixels = [edit] {
        const QImage image = edit->Handle()->grab().toImage();
        const TPoint origin = edit->ClientToScreen(Point(0, edit->ClientHeight() - 1));
        const QPoint row = edit->Handle()->mapFromGlobal(QPoint(origin.X, origin.Y));
        int count = 0;
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, row.y()) == QColor(255, 0, 0) ? 1 : 0;
        return count;
    };
    EXPECT_GT(redPixels(), 20);
    edit->SetText(u"有"_s);
    EXPECT_EQ(redPixels(), 0);
}

// The same edit over a query on a database file: what is typed is stored in the table.
TEST_F(DBEditTest, TypedTextIsStoredThroughAQuery)
{
    QTemporaryDir dir;
    TADOConnection connection(nullptr);
    connection.SetLoginPrompt(false);
    ConnectWithTestTables(connection, dir.filePath(u"opr.mdb"_s));
    connection.Execute(u"insert into ruku(物品名称, 数量) values('胶水', 3)"_s);
    TADOQuery query(nullptr);
    query.SetConnection(&connection);
    query.SQL()->Add(u"select * from ruku"_s);
    query.Open();
    Source->SetDataSet(&query);
    TDBEditEh* edit = ShowEdit(u"物品名称"_s);
    SendKey(edit->Handle(), Qt::Key_End);
    CommitText(edit->Handle(), u"棒"_s);
    LeaveEdit();
    query.Post();
    query.Close();
    query.Open();
    EXPECT_EQ(query.FieldByName(u"物品名称"_s)->AsString(), u"胶水棒"_s);
    Source->SetDataSet(nullptr);
}

}  // namespace

namespace {

// An edit whose value is a number, as the number edit's is.
class TNumberValueEdit : public TDBEditEh {
public:
    using TDBEditEh::TDBEditEh;
    Variant Number = Variant::Null();

protected:
    Variant FetchValue() override { return Number; }
};

// The image follows the rounded value; a value beyond the index range leaves it alone.
TEST_F(DBEditTest, TheImageIndexFollowsANumberValueWithinRange)
{
    auto* edit = ShowEdit<TNumberValueEdit>();
    TImageList images(nullptr);
    edit->SetImages(&images);
    struct {
        Variant Number;
        int Index;
    } const cases[] = {{Variant(3.6), 4}, {Variant(2.5), 2}, {Variant(7), 7}, {Variant(1e12), -1}, {Variant(-1e300), -1},
                       {Variant(u"5"_s), -1}};
    for (const auto& c : cases) {
        edit->Number = c.Number;
        edit->SetOnGetImageIndex(nullptr);
        EXPECT_EQ(edit->EditImage()->ImageIndex(), c.Index) << c.Number.AsString().toStdString();
    }
    edit->SetImages(nullptr);
}

TEST_F(DBEditTest, ARightAlignedFieldShowsLeftAlignedOnlyWhileFocused)
{
    Data->FieldByName(QtyField)->SetAlignment(TAlignment::taRightJustify);
    TDBEditEh* edit = ShowEdit(QtyField);
    const auto alignment = [edit] { return static_cast<QLineEdit*>(edit->Handle())->alignment() & Qt::AlignHorizontal_Mask; };
    EXPECT_EQ(alignment(), Qt::AlignLeft);
    LeaveEdit();
    EXPECT_EQ(alignment(), Qt::AlignRight);
}

TEST_F(DBEditTest, ToolTipsShowTheWholeTextOnlyWhenItDoesNotFit)
{
    TDBEditEh* edit = ShowEdit();
    edit->SetTooltips(true);
    const auto hint = [edit] {
        THintInfo info;
        info.HintControl = edit;
        const LRESULT refused = edit->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        return refused != 0 ? u"<none>"_s : info.HintStr;
    };
    edit->SetText(u"短"_s);
    EXPECT_EQ(hint(), u"<none>"_s);
    const String longText = String(40, u'长');
    edit->SetText(longText);
    EXPECT_EQ(hint(), longText);
}

}  // namespace

namespace {

// Several fields take the elements of an array; a value that does not fit them writes nothing.
TEST_F(DBEditTest, AMultiFieldLinkWritesOnlyValuesThatFitItsFields)
{
    TFieldDataLinkEh link;
    link.SetMultiFields(true);
    link.SetDataSource(Source.get());
    link.SetFieldName(NameField + u";"_s + QtyField);
    ASSERT_EQ(link.Fields().size(), 2u);
    Data->Edit();
    for (const Variant& unfit : {Variant(u"胶水"_s), VarArrayOf({Variant(u"胶水"_s)})}) {
        link.PutFieldValue(unfit);
        EXPECT_EQ(Stored(NameField), u"订书机"_s);
    }
    link.PutFieldValue(VarArrayOf({Variant(u"胶水"_s), Variant(3)}));
    EXPECT_EQ(Stored(NameField), u"胶水"_s);
    EXPECT_EQ(Data->FieldByName(QtyField)->AsInteger(), 3);
    link.PutFieldValue(Variant::Null());
    EXPECT_TRUE(Data->FieldByName(QtyField)->IsNull());
}

}  // namespace
