// The grid's scroll bars: their settings, external bars, and what they show for the records.
#include "DBGridEhTestGrid.h"

#include "platform/ui/Forms.h"
#include "platform/ui/ScrollBar.h"

namespace {

using DBGridEhScrollBarsTest = DBGridEhFixture;

TEST_F(DBGridEhScrollBarsTest, DefaultsDifferOnlyInSmoothStep)
{
    EXPECT_EQ(Grid->HorzScrollBar()->VisibleMode(), TScrollBarVisibleModeEh::sbAutoShowEh);
    EXPECT_EQ(Grid->VertScrollBar()->VisibleMode(), TScrollBarVisibleModeEh::sbAutoShowEh);
    EXPECT_TRUE(Grid->HorzScrollBar()->Tracking());
    EXPECT_TRUE(Grid->HorzScrollBar()->SmoothStep());
    EXPECT_FALSE(Grid->VertScrollBar()->SmoothStep());
    EXPECT_EQ(Grid->HorzScrollBar()->Kind(), SB_HORZ);
    EXPECT_EQ(Grid->VertScrollBar()->Kind(), SB_VERT);
}

TEST_F(DBGridEhScrollBarsTest, VisibleMapsToTheVisibleMode)
{
    TDBGridEhScrollBar* bar = Grid->VertScrollBar();
    bar->SetVisible(false);
    EXPECT_EQ(bar->VisibleMode(), TScrollBarVisibleModeEh::sbNeverShowEh);
    bar->SetVisibleMode(TScrollBarVisibleModeEh::sbAlwaysShowEh);
    EXPECT_TRUE(bar->Visible());
    bar->SetVisible(true);
    EXPECT_EQ(bar->VisibleMode(), TScrollBarVisibleModeEh::sbAutoShowEh);
}

TEST_F(DBGridEhScrollBarsTest, ShouldShowBarFollowsTheModeAndThePage)
{
    TDBGridEhScrollBar* bar = Grid->VertScrollBar();
    // Auto: only while the page holds fewer positions than the range.
    EXPECT_TRUE(bar->ShouldShowBar(0, 99, 10));
    EXPECT_FALSE(bar->ShouldShowBar(0, 99, 100));
    EXPECT_FALSE(bar->ShouldShowBar(0, 0, 0));
    bar->SetVisibleMode(TScrollBarVisibleModeEh::sbAlwaysShowEh);
    EXPECT_TRUE(bar->ShouldShowBar(0, 0, 0));
    bar->SetVisibleMode(TScrollBarVisibleModeEh::sbNeverShowEh);
    EXPECT_FALSE(bar->ShouldShowBar(0, 99, 10));
}

TEST_F(DBGridEhScrollBarsTest, AssignCopiesVisibleAsAutoAndTrackingButNotSmoothStep)
{
    TTestDBGridEh other(nullptr);
    other.VertScrollBar()->SetVisibleMode(TScrollBarVisibleModeEh::sbAlwaysShowEh);
    other.VertScrollBar()->SetTracking(false);
    other.VertScrollBar()->SetSmoothStep(true);
    Grid->SetVertScrollBar(other.VertScrollBar());
    EXPECT_EQ(Grid->VertScrollBar()->VisibleMode(), TScrollBarVisibleModeEh::sbAutoShowEh);
    EXPECT_FALSE(Grid->VertScrollBar()->Tracking());
    EXPECT_FALSE(Grid->VertScrollBar()->SmoothStep());
    other.VertScrollBar()->SetVisible(false);
    Grid->SetVertScrollBar(other.VertScrollBar());
    EXPECT_EQ(Grid->VertScrollBar()->VisibleMode(), TScrollBarVisibleModeEh::sbNeverShowEh);
}

class DBGridEhExtScrollBarTest : public DBGridEhFixture {
protected:
    void SetUp() override
    {
        DBGridEhFixture::SetUp();
        Form = std::make_unique<TForm>(nullptr);
        Bar = new TScrollBar(Form.get());
        Bar->SetName(QStringLiteral("ScrollBar1"));
        Bar->SetKind(TScrollBarKind::sbVertical);
        Bar->SetParent(Form.get());
    }
    void TearDown() override
    {
        Grid.reset();
        Form.reset();
        DBGridEhFixture::TearDown();
    }
    std::unique_ptr<TForm> Form;
    TScrollBar* Bar = nullptr;
};

TEST_F(DBGridEhExtScrollBarTest, ABarServesOneGridOnly)
{
    Grid->VertScrollBar()->SetExtScrollBar(Bar);
    TTestDBGridEh second(nullptr);
    try {
        second.VertScrollBar()->SetExtScrollBar(Bar);
        FAIL() << "a second grid took the bar";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Possible ScrollBar1 already attached to the other control."));
    }
    EXPECT_EQ(second.VertScrollBar()->ExtScrollBar(), nullptr);
    // Assigning another grid's settings copies the bar, so it is refused the same way.
    EXPECT_THROW(second.SetVertScrollBar(Grid->VertScrollBar()), Exception);
    // Once released, the bar may serve the other grid.
    Grid->VertScrollBar()->SetExtScrollBar(nullptr);
    second.VertScrollBar()->SetExtScrollBar(Bar);
    EXPECT_EQ(second.VertScrollBar()->ExtScrollBar(), Bar);
}

TEST_F(DBGridEhExtScrollBarTest, AtDesignTimeTheBarIsNotTakenOver)
{
    Grid->VertScrollBar()->SetExtScrollBar(Bar);
    TTestDBGridEh second(nullptr);
    second.SetDesigning(true);
    second.VertScrollBar()->SetExtScrollBar(Bar);
    EXPECT_EQ(second.VertScrollBar()->ExtScrollBar(), Bar);
}

TEST_F(DBGridEhExtScrollBarTest, HidingTheSettingHidesTheBar)
{
    Grid->VertScrollBar()->SetExtScrollBar(Bar);
    EXPECT_TRUE(Grid->VertScrollBar()->IsBarShown());
    Grid->VertScrollBar()->SetVisible(false);
    EXPECT_FALSE(Bar->Visible());
    EXPECT_FALSE(Grid->VertScrollBar()->IsBarShown());
}

TEST_F(DBGridEhExtScrollBarTest, FreeingTheBarClearsTheSetting)
{
    Grid->VertScrollBar()->SetExtScrollBar(Bar);
    delete Bar;
    EXPECT_EQ(Grid->VertScrollBar()->ExtScrollBar(), nullptr);
    // A new bar can be attached: nothing of the old one is left registered.
    auto* next = new TScrollBar(Form.get());
    Grid->VertScrollBar()->SetExtScrollBar(next);
    EXPECT_EQ(Grid->VertScrollBar()->ExtScrollBar(), next);
}

TEST_F(DBGridEhExtScrollBarTest, TheBarsOwnScrollHandlerStillRunsAndComesBack)
{
    std::vector<TScrollCode> seen;
    Bar->OnScroll = [&seen](TObject*, TScrollCode Code, int&) { seen.push_back(Code); };
    Grid->VertScrollBar()->SetExtScrollBar(Bar);
    int pos = 1;
    Bar->OnScroll(Bar, TScrollCode::scLineDown, pos);
    Grid->VertScrollBar()->SetExtScrollBar(nullptr);
    Bar->OnScroll(Bar, TScrollCode::scLineUp, pos);
    EXPECT_EQ(seen, (std::vector<TScrollCode>{TScrollCode::scLineDown, TScrollCode::scLineUp}));
}

} // namespace
