// A grid that takes its parent's font and colour passes them on to its titles and footers.
#include "DBGridEhInputTestSupport.h"

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
