// Recently used texts: adding, ordering, limits, matching by prefix, and their drop-down with its
// own scroll bar beside the grip.
#include "ToolCtrlsEhPopupTestSupport.h"

#include "platform/ui/ScrollBar.h"

#include <QScrollBar>

namespace {

using namespace Qt::StringLiterals;

QStringList Texts(const TStrings* List)
{
    QStringList result;
    for (int i = 0; i < List->Count(); ++i)
        result << List->Strings(i);
    return result;
}

TEST(MRUListTest, NewTextsGoToTheEndAndKnownOnesMoveThere)
{
    TMRUListEh mru(nullptr);
    mru.AddRecentText(u"铅笔"_s);
    mru.AddRecentText(u"Paper"_s);
    mru.AddRecentText(u"订书机"_s);
    mru.AddRecentText(u"paper"_s);
    // Case ignored: the stored spelling moves to the end, nothing is added.
    EXPECT_EQ(Texts(mru.Items()), (QStringList{u"铅笔"_s, u"订书机"_s, u"Paper"_s}));
    mru.SetCaseSensitive(true);
    mru.AddRecentText(u"paper"_s);
    EXPECT_EQ(Texts(mru.Items()), (QStringList{u"铅笔"_s, u"订书机"_s, u"Paper"_s, u"paper"_s}));
}

TEST(MRUListTest, BlankTextsAreIgnoredAndOthersKeptUntrimmed)
{
    TMRUListEh mru(nullptr);
    mru.AddRecentText(u""_s);
    mru.AddRecentText(u"   "_s);
    EXPECT_EQ(mru.Items()->Count(), 0);
    mru.AddRecentText(u" x "_s);
    EXPECT_EQ(Texts(mru.Items()), QStringList{u" x "_s});
}

TEST(MRUListTest, LimitDropsTheOldest)
{
    TMRUListEh mru(nullptr);
    EXPECT_EQ(mru.Limit(), 100);
    EXPECT_EQ(mru.Rows(), 7);
    EXPECT_TRUE(mru.AutoAdd());
    EXPECT_FALSE(mru.Active());
    mru.SetLimit(3);
    for (const QString& text : {u"一"_s, u"二"_s, u"三"_s, u"四"_s})
        mru.AddRecentText(text);
    EXPECT_EQ(Texts(mru.Items()), (QStringList{u"二"_s, u"三"_s, u"四"_s}));
    mru.SetLimit(1);
    EXPECT_EQ(Texts(mru.Items()), QStringList{u"四"_s});
    // A negative limit keeps nothing and never reaches into an empty list.
    mru.SetLimit(-1);
    EXPECT_EQ(mru.Items()->Count(), 0);
    mru.AddRecentText(u"五"_s);
    EXPECT_EQ(mru.Items()->Count(), 0);
}

TEST(MRUListTest, MatchesArePrefixesInTheirOrderAndTheHandlerHasTheLastWord)
{
    TMRUListEh mru(nullptr);
    for (const QString& text : {u"北京分公司"_s, u"Beta"_s, u"上海"_s, u"beijing"_s, u"北京总部"_s})
        mru.AddRecentText(text);
    TStringList matches;
    EXPECT_TRUE(mru.CollectMatches(&matches, u"北京"_s));
    EXPECT_EQ(Texts(&matches), (QStringList{u"北京分公司"_s, u"北京总部"_s}));
    EXPECT_TRUE(mru.CollectMatches(&matches, u"BE"_s));
    EXPECT_EQ(Texts(&matches), (QStringList{u"Beta"_s, u"beijing"_s}));
    mru.SetCaseSensitive(true);
    mru.CollectMatches(&matches, u"be"_s);
    EXPECT_EQ(Texts(&matches), QStringList{u"beijing"_s});
    mru.CollectMatches(&matches, u""_s);
    EXPECT_EQ(matches.Count(), 5);

    std::vector<QString> seen;
    mru.OnFilterItem = [&](TObject* Sender, const String& Item, bool& Accept) {
        EXPECT_EQ(Sender, &mru);
        seen.push_back(Item);
        Accept = Accept && Item != u"北京总部"_s;
    };
    mru.CollectMatches(&matches, u"北"_s);
    EXPECT_EQ(Texts(&matches), QStringList{u"北京分公司"_s});
    EXPECT_EQ(seen.size(), 5u);
}

TEST(MRUListTest, AssignCopiesTheSettingsAndTexts)
{
    TMRUListEh source(nullptr);
    source.SetActive(true);
    source.SetLimit(5);
    source.SetRows(3);
    source.SetCaseSensitive(true);
    source.SetAutoAdd(false);
    source.AddRecentText(u"甲"_s);
    TMRUListEh copy(nullptr);
    int activeChanges = 0;
    copy.OnActiveChanged = [&](TObject*) { ++activeChanges; };
    copy.Assign(&source);
    EXPECT_TRUE(copy.Active());
    EXPECT_EQ(activeChanges, 1);
    EXPECT_EQ(copy.Limit(), 5);
    EXPECT_EQ(copy.Rows(), 3);
    EXPECT_TRUE(copy.CaseSensitive());
    EXPECT_TRUE(copy.AutoAdd());
    EXPECT_EQ(Texts(copy.Items()), QStringList{u"甲"_s});
    copy.SetActive(true);
    EXPECT_EQ(activeChanges, 1);
}

TEST(MRUListTest, CloseAndDropNoticesReachTheirHandlers)
{
    TMRUListEh mru(nullptr);
    std::vector<std::string> log;
    mru.OnDroppedDown = [&](TObject*) { log.push_back("dropped"); };
    mru.OnClosedUp = [&](TObject*, bool Accept) { log.push_back(Accept ? "accepted" : "cancelled"); };
    mru.ListDroppedDown();
    mru.ListClosedUp(false);
    mru.ListClosedUp(true);
    EXPECT_EQ(log, (std::vector<std::string>{"dropped", "cancelled", "accepted"}));
}

// --- The drop-down ---------------------------------------------------------------------------

class MRUListboxTest : public PopupTest {
protected:
    void SetUp() override
    {
        PopupTest::SetUp();
        Box = new TMRUListboxEh(Edit);
        Box->SetItemHeight(20);
        for (const QString& text : {u"办公用品"_s, u"办公桌"_s, u"打印纸"_s, u"办公椅"_s, u"墨盒"_s, u"办公室"_s})
            Mru.AddRecentText(text);
        // The edit's texts filter the drop-down as they are typed.
        Edit->OnChange = [this](TObject*) {
            Mru.CollectMatches(Box->Items(), Edit->Text());
            Box->Perform(CM_CHANGED);
        };
    }

    void Open(int Rows)
    {
        Box->SetHeightByRows(Rows);
        Box->SetBounds(100, 100, 150, Box->Height());
        Box->Show();
    }

    TMRUListEh Mru{nullptr};
    TMRUListboxEh* Box = nullptr;
};

TEST_F(MRUListboxTest, TypingInTheEditFiltersTheDropDown)
{
    Open(7);
    TypeText(EditWidget(), u"办公"_s);
    EXPECT_EQ(Texts(Box->Items()), (QStringList{u"办公用品"_s, u"办公桌"_s, u"办公椅"_s, u"办公室"_s}));
    TypeText(EditWidget(), u"椅"_s);
    EXPECT_EQ(Texts(Box->Items()), QStringList{u"办公椅"_s});
    EXPECT_EQ(QApplication::focusWidget(), EditWidget());
}

TEST_F(MRUListboxTest, BarShowsOnlyWhileTheTextsOutnumberTheRows)
{
    Mru.CollectMatches(Box->Items(), u""_s);
    Open(3);
    TScrollBar* bar = Box->ScrollBar();
    TSizeGripEh* grip = Box->SizeGrip();
    ASSERT_TRUE(bar->Visible());
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 5);
    EXPECT_EQ(bar->PageSize(), 3);
    EXPECT_EQ(bar->Position(), 0);
    // Along the right edge, from the top down to the grip, which turns square.
    EXPECT_EQ(bar->Left() + bar->Width(), Box->ClientWidth());
    EXPECT_EQ(bar->Top(), 0);
    EXPECT_EQ(bar->Top() + bar->Height(), Box->ClientHeight() - grip->Height());
    EXPECT_FALSE(grip->TriangleWindow());

    Box->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_EQ(Box->TopIndex(), 1);
    EXPECT_EQ(bar->Position(), 1);

    // Grip top-right: the bar starts below it.
    Box->Perform(WM_SIZEGRIPSIDE, sgsTop);
    EXPECT_EQ(bar->Top(), grip->Height());
    EXPECT_EQ(bar->Top() + bar->Height(), Box->ClientHeight() - grip->Height());
    // Grip on the left: the bar takes the full height and the grip is a triangle again.
    Box->Perform(WM_SIZEGRIPSIDE, sgsLeft);
    EXPECT_EQ(bar->Top(), 0);
    EXPECT_EQ(bar->Height(), Box->ClientHeight());
    EXPECT_TRUE(grip->TriangleWindow());

    Box->Perform(WM_SIZEGRIPSIDE, sgsRight);
    Mru.CollectMatches(Box->Items(), u"办公椅"_s);
    Box->Perform(CM_CHANGED);
    EXPECT_FALSE(bar->Visible());
    EXPECT_TRUE(grip->TriangleWindow());
}

TEST_F(MRUListboxTest, DraggingTheBarScrollsTheList)
{
    Mru.CollectMatches(Box->Items(), u""_s);
    Open(3);
    auto* bar = static_cast<QScrollBar*>(Box->ScrollBar()->Handle());
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(Box->TopIndex(), 1);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Box->TopIndex(), 3);
    EXPECT_EQ(Box->ScrollBar()->Position(), 3);
}

}  // namespace
