// The library's thin platform routines, its dataset helpers and its coarse-step memory stream.
#include "controls/VoDorVCL.h"

#include "platform/core/Exceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/MemoryDataSet.h"
#include "platform/ui/Bitmap.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace Qt::StringLiterals;

namespace {

// Exposes the capacity setter, which the stream keeps for its own growth.
class TTestStream : public TMemoryStreamEh {
public:
    using TMemoryStream::SetCapacity;
};

void WriteBytes(TStream& Stream, std::int64_t Count)
{
    const std::vector<char> Bytes(static_cast<std::size_t>(Count), 'x');
    Stream.WriteBuffer(Bytes.data(), Count);
}

TEST(MemoryStreamEhTest, GrowsInStepsOfTwiceTheHalfStep)
{
    TMemoryStreamEh Stream;
    EXPECT_EQ(Stream.HalfMemoryDelta(), 4096);
    WriteBytes(Stream, 1);
    EXPECT_EQ(Stream.Capacity(), 8192);
    WriteBytes(Stream, 8191);
    EXPECT_EQ(Stream.Capacity(), 8192);
    WriteBytes(Stream, 1);
    EXPECT_EQ(Stream.Capacity(), 16384);

    TMemoryStreamEh Clipboard;
    Clipboard.SetHalfMemoryDelta(65536);
    WriteBytes(Clipboard, 1);
    EXPECT_EQ(Clipboard.Capacity(), 131072);
    WriteBytes(Clipboard, 131072);
    EXPECT_EQ(Clipboard.Capacity(), 262144);
}

TEST(MemoryStreamEhTest, ACapacityEqualToTheSizeIsTakenExactlyAndZeroFreesTheBlock)
{
    TTestStream Stream;
    WriteBytes(Stream, 100);
    EXPECT_EQ(Stream.Capacity(), 8192);
    Stream.SetCapacity(100);
    EXPECT_EQ(Stream.Capacity(), 100);
    EXPECT_EQ(std::memcmp(Stream.Memory(), std::string(100, 'x').data(), 100), 0);
    Stream.Clear();
    EXPECT_EQ(Stream.Capacity(), 0);
    EXPECT_EQ(Stream.Memory(), nullptr);
}

TEST(MemoryStreamEhTest, AnyHalfStepGivesWholeSteps)
{
    TMemoryStreamEh Stream;
    Stream.SetHalfMemoryDelta(3000);
    WriteBytes(Stream, 6001);
    EXPECT_EQ(Stream.Capacity(), 12000);
    // A step of zero leaves the capacity as asked, instead of dividing by it.
    TMemoryStreamEh Exact;
    Exact.SetHalfMemoryDelta(0);
    WriteBytes(Exact, 10);
    EXPECT_EQ(Exact.Capacity(), 10);
}

TEST(MemoryStreamEhTest, AFailedGrowthRaisesAndKeepsTheData)
{
    TMemoryStreamEh Stream;
    Stream.WriteBuffer("abc", 3);
    const void* Block = Stream.Memory();
    Stream.SetPosition(std::int64_t(1) << 60);
    try {
        Stream.Write("d", 1);
        FAIL() << "no exception";
    } catch (const EStreamError& E) {
        EXPECT_EQ(E.Message(), u"扩展内存流时内存不足"_s);
    }
    EXPECT_EQ(Stream.Memory(), Block);
    EXPECT_EQ(Stream.Size(), 3);
    EXPECT_EQ(Stream.Capacity(), 8192);
    EXPECT_EQ(std::memcmp(Stream.Memory(), "abc", 3), 0);
}

// --- Dataset helpers ----------------------------------------------------------------------

class TDetailDataSet : public TMemoryDataSet {
public:
    using TMemoryDataSet::TMemoryDataSet;
    TDataSource* Master = nullptr;
    bool Failing = false;

    TDataSource* MasterSource() const override
    {
        if (Failing)
            throw EDatabaseError(u"cannot read"_s);
        return Master;
    }
};

TEST(DataSetHelpersTest, TheDataSetBehindTheMasterSource)
{
    TComponent Owner(nullptr);
    auto* Detail = new TDetailDataSet(&Owner);
    auto* MasterData = new TMemoryDataSet(&Owner);
    auto* Source = new TDataSource(&Owner);

    EXPECT_EQ(DataSetBehindSourceProperty(Detail, nullptr), nullptr);
    EXPECT_EQ(DataSetBehindSourceProperty(Detail, &TDataSet::MasterSource), nullptr);
    EXPECT_EQ(DataSetBehindSourceProperty(MasterData, &TDataSet::MasterSource), nullptr);
    Detail->Master = Source;
    EXPECT_EQ(DataSetBehindSourceProperty(Detail, &TDataSet::MasterSource), nullptr);
    Source->SetDataSet(MasterData);
    EXPECT_EQ(DataSetBehindSourceProperty(Detail, &TDataSet::MasterSource), MasterData);
    Detail->Failing = true;
    EXPECT_EQ(DataSetBehindSourceProperty(Detail, &TDataSet::MasterSource), nullptr);
}

TEST(DataSetHelpersTest, BookmarksCompareInTheDataSetsOrder)
{
    TComponent Owner(nullptr);
    auto* DataSet = new TMemoryDataSet(&Owner);
    DataSet->FieldDefs()->Add(u"数量"_s, TFieldType::ftInteger);
    DataSet->Open();
    DataSet->AppendRecord({1});
    const TBookmark First = DataSet->Bookmark();
    DataSet->AppendRecord({2});
    const TBookmark Second = DataSet->Bookmark();
    EXPECT_LT(CompareBookmarkStrings(DataSet, First, Second), 0);
    EXPECT_GT(CompareBookmarkStrings(DataSet, Second, First), 0);
    EXPECT_EQ(CompareBookmarkStrings(DataSet, Second, DataSet->Bookmark()), 0);
}

// --- Wrappers -----------------------------------------------------------------------------

TEST(WrappersTest, CharacterSetsHoldSingleByteCharactersOnly)
{
    std::bitset<256> Set;
    Set.set('a');
    Set.set(0xFF);
    EXPECT_TRUE(CharSetContains(u'a', Set));
    EXPECT_FALSE(CharSetContains(u'b', Set));
    EXPECT_TRUE(CharSetContains(Char(0xFF), Set));
    EXPECT_FALSE(CharSetContains(u'中', Set));
    EXPECT_FALSE(CharSetContains(Char(0x1FF), Set));
}

TEST(WrappersTest, TextDrawingTakesTheFirstCountCharacters)
{
    TBitmap Bitmap(200, 40);
    TCanvas* Canvas = Bitmap.Canvas();
    TRect Whole{0, 0, 0, 0};
    const int Height = DrawTextOnDC(Canvas, u"办公用品"_s, -1, Whole, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(Height, Canvas->TextHeight(u"办公用品"_s));
    EXPECT_EQ(Whole.Width(), Canvas->TextWidth(u"办公用品"_s));
    TRect Part{0, 0, 0, 0};
    DrawTextOnDC(Canvas, u"办公用品"_s, 2, Part, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(Part.Width(), Canvas->TextWidth(u"办公"_s));

    TDrawTextParams Params;
    TRect Ex{0, 0, 0, 0};
    DrawTextExOnDC(Canvas, u"办公用品"_s, 3, Ex, DT_CALCRECT | DT_SINGLELINE, Params);
    EXPECT_EQ(Ex.Width(), Canvas->TextWidth(u"办公用"_s));
    EXPECT_EQ(Params.uiLengthDrawn, 0u);  // the caller's record is left alone
}

TEST(WrappersTest, PackedPointsKeepTheirSigns)
{
    const TSmallPoint Point{-5, 300};
    const LPARAM Packed = SmallPointToLParam(Point);
    EXPECT_EQ(GET_X_LPARAM(Packed), -5);
    EXPECT_EQ(GET_Y_LPARAM(Packed), 300);
    EXPECT_EQ(LParamToSmallPoint(Packed), Point);
    EXPECT_EQ(LParamToSmallPoint(SmallPointToLParam({-32768, 32767})), (TSmallPoint{-32768, 32767}));
}

// Answers EM_GETSEL through the two pointers and reads a text LParam.
class TEditLike : public TWinControl {
public:
    using TWinControl::TWinControl;
    String Received;

    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == EM_GETSEL) {
            *reinterpret_cast<int*>(Message.WParam) = 2;
            *reinterpret_cast<int*>(Message.LParam) = 5;
            return;
        }
        if (Message.Msg == WM_SETTEXT) {
            Received = String::fromUtf16(reinterpret_cast<const char16_t*>(Message.LParam));
            Message.Result = 1;
            return;
        }
        TWinControl::WndProc(Message);
    }
};

TEST(WrappersTest, MessagesCarryPointersToTheirData)
{
    TEditLike Edit(nullptr);
    int Start = -1;
    int End = -1;
    GetEditSelection(&Edit, &Start, &End);
    EXPECT_EQ(Start, 2);
    EXPECT_EQ(End, 5);
    EXPECT_EQ(SendMessageWithText(&Edit, WM_SETTEXT, 0, u"铅笔"_s), 1);
    EXPECT_EQ(Edit.Received, u"铅笔"_s);
}

TEST(WrappersTest, PolygonRegionsUseTheFirstCountPoints)
{
    const TPoint Points[] = {{0, 0}, {10, 0}, {0, 10}, {10, 10}};
    const TRegion Triangle = CreatePolygonRegion(Points, 3, ALTERNATE);
    EXPECT_TRUE(Triangle.Contains({2, 2}));
    EXPECT_FALSE(Triangle.Contains({8, 8}));
}

TEST(WrappersTest, TextsCompareInPinyinOrder)
{
    EXPECT_LT(CompareTextWithCase(u"北京"_s, u"上海"_s), 0);
    EXPECT_GT(CompareTextNoCase(u"上海"_s, u"北京"_s), 0);
    EXPECT_LT(CompareTextNoCase(u"apple"_s, u"Banana"_s), 0);
    EXPECT_EQ(CompareTextWithCase(u"铅笔"_s, u"铅笔"_s), 0);
    EXPECT_EQ(UpperCaseText(u"abc中"_s), u"ABC中"_s);
    EXPECT_EQ(LowerCaseText(u"ABC"_s), u"abc"_s);
}

TEST(WrappersTest, VariantArraysResizeKeepingTheirElements)
{
    Variant V = VarArrayOf({1, u"二"_s});
    ResizeVariantArray(V, 3);
    EXPECT_EQ(VarArrayHighBound(V, 1), 3);
    EXPECT_EQ(V[1], Variant(u"二"_s));
    EXPECT_TRUE(VarIsEmpty(V[3]));
}

}  // namespace
