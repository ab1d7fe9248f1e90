// A grid that takes its parent's font and colour passes them on to its titles and footers.
#include "DBGridEhInputTestSupport.h"

#include "platform/ui/QtConvert.h"

#include <QImage>

namespace {

using DBGridEhParentLookTest = DBGridInputTest;

TEST_F(DBGridEhParentLookTest, TheParentsFontReachesTitlesAndFootersAndKeepsParentFont)
{
    ASSERT_TRUE(Grid->ParentFont());
    const int size = Form->Font()->Size() + 7;
    Form->Font()->SetSize(size);
    EXPECT_EQ(Grid->Font()->Size(), size);
    EXPECT_EQ(Grid->TitleFont()->Size(), size);
    EXPECT_EQ(Grid->FooterFont()->Size(), size);
    EXPECT_TRUE(Grid->ParentFont());

    // A title font of its own ends the parent's font.
    Grid->TitleFont()->SetSize(size + 1);
    EXPECT_FALSE(Grid->ParentFont());
    Form->Font()->SetSize(size + 3);
    EXPECT_EQ(Grid->TitleFont()->Size(), size + 1);
    EXPECT_EQ(Grid->FooterFont()->Size(), size);
}

TEST_F(DBGridEhParentLookTest, TheParentsColourBecomesTheFooterColour)
{
    Form->SetColor(clYellow);
    EXPECT_NE(Grid->FooterColor(), clYellow);

    Grid->SetParentColor(true);
    Form->SetColor(clAqua);
    EXPECT_EQ(Grid->Color(), clAqua);
    EXPECT_EQ(Grid->FooterColor(), clAqua);
    EXPECT_TRUE(Grid->ParentColor());
}

} // namespace

namespace {

using DBGridEhFlatBorderTest = DBGridInputTest;

TEST_F(DBGridEhFlatBorderTest, AFlatGridWithASingleBorderHasAOnePixelBorder)
{
    // The scroll bars would stand over the border at the right and the bottom.
    Grid->VertScrollBar()->SetVisible(false);
    Grid->HorzScrollBar()->SetVisible(false);
    Grid->SetCtl3D(true);
    Grid->SetBorderStyle(TBorderStyle::bsSingle);
    Grid->SetFlat(false);
    const TRect sunken = Grid->ClientRect();
    Grid->SetFlat(true);
    const TRect flat = Grid->ClientRect();
    EXPECT_EQ(flat.Width() - sunken.Width(), 2);
    EXPECT_EQ(flat.Height() - sunken.Height(), 2);
    // One shadow-coloured line all round, where a sunken edge is light at the right and bottom.
    const QImage shot = Grid->Handle()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, shot.height() / 2), ToQColor(clBtnShadow));
    EXPECT_EQ(shot.pixelColor(shot.width() - 1, shot.height() / 3), ToQColor(clBtnShadow));
    EXPECT_EQ(shot.pixelColor(shot.width() / 3, shot.height() - 1), ToQColor(clBtnShadow));

    // Without a border the flat grid has none either.
    Grid->SetBorderStyle(TBorderStyle::bsNone);
    Grid->SetFlat(false);
    Grid->SetFlat(true);
    EXPECT_EQ(Grid->ClientRect().Width() - flat.Width(), 2);
}

} // namespace
