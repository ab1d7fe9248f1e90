// The standard edit actions without handlers of their own: they act on the focused edit of the
// active form, are enabled from its state, and leave other controls alone.
#include "platform/ui/Button.h"
#include "platform/ui/Clipboard.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdActns.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace {

class StdActnsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clipboard()->SetStore(std::make_unique<TMemoryClipboardStore>());
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, 300, 120);
        Edit = new TEdit(Form);
        Edit->SetBounds(10, 10, 150, 21);
        Edit->SetParent(Form);
        Button = new TButton(Form);
        Button->SetBounds(10, 40, 75, 25);
        Button->SetParent(Form);
        Form->Show();
        QApplication::setActiveWindow(Form->Handle());
        Edit->SetFocus();
        Edit->SetText(QStringLiteral("领用 入库"));
    }

    void TearDown() override
    {
        delete Form;
        Clipboard()->SetStore(nullptr);
    }

    // The action's state as its update leaves it.
    template <class TAction>
    bool EnabledAfterUpdate()
    {
        TAction action(nullptr);
        action.SetEnabled(false);
        action.Update();
        return action.Enabled();
    }

    TForm* Form = nullptr;
    TEdit* Edit = nullptr;
    TButton* Button = nullptr;
};

TEST_F(StdActnsTest, CopyCutDeleteAndPasteActOnTheFocusedEditsSelection)
{
    Edit->SetSelStart(3);
    Edit->SetSelLength(2);
    EXPECT_TRUE(TEditCopy(nullptr).Execute());
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("入库"));

    Edit->SetSelStart(0);
    Edit->SetSelLength(2);
    EXPECT_TRUE(TEditCut(nullptr).Execute());
    EXPECT_EQ(Edit->Text(), QStringLiteral(" 入库"));
    EXPECT_EQ(Clipboard()->AsText(), QStringLiteral("领用"));

    Edit->SetSelStart(3);
    EXPECT_TRUE(TEditPaste(nullptr).Execute());
    EXPECT_EQ(Edit->Text(), QStringLiteral(" 入库领用"));

    Edit->SetSelStart(0);
    Edit->SetSelLength(1);
    EXPECT_TRUE(TEditDelete(nullptr).Execute());
    EXPECT_EQ(Edit->Text(), QStringLiteral("入库领用"));

    EXPECT_TRUE(TEditSelectAll(nullptr).Execute());
    EXPECT_EQ(Edit->SelLength(), 4);
}

TEST_F(StdActnsTest, UpdatesEnableTheActionsFromTheEditsState)
{
    Edit->SetSelLength(0);
    EXPECT_FALSE(EnabledAfterUpdate<TEditCopy>());
    EXPECT_FALSE(EnabledAfterUpdate<TEditDelete>());
    EXPECT_TRUE(EnabledAfterUpdate<TEditSelectAll>());
    EXPECT_FALSE(EnabledAfterUpdate<TEditPaste>());  // nothing on the clipboard

    Clipboard()->SetAsText(QStringLiteral("纸"));
    Edit->SelectAll();
    EXPECT_TRUE(EnabledAfterUpdate<TEditCopy>());
    EXPECT_TRUE(EnabledAfterUpdate<TEditCut>());
    EXPECT_TRUE(EnabledAfterUpdate<TEditPaste>());
    EXPECT_FALSE(EnabledAfterUpdate<TEditSelectAll>());

    // A read-only edit may be copied from, never changed.
    Edit->SetReadOnly(true);
    EXPECT_TRUE(EnabledAfterUpdate<TEditCopy>());
    EXPECT_FALSE(EnabledAfterUpdate<TEditCut>());
    EXPECT_FALSE(EnabledAfterUpdate<TEditPaste>());
    EXPECT_FALSE(EnabledAfterUpdate<TEditDelete>());
}

TEST_F(StdActnsTest, AnActionsOwnHandlerRunsInsteadAndOtherControlsServeNothing)
{
    Edit->SelectAll();
    TEditDelete withHandler(nullptr);
    int handled = 0;
    withHandler.OnExecute = [&handled](TObject*) { ++handled; };
    EXPECT_TRUE(withHandler.Execute());
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(Edit->Text(), QStringLiteral("领用 入库"));

    Button->SetFocus();
    EXPECT_FALSE(TEditDelete(nullptr).Execute());
    EXPECT_EQ(Edit->Text(), QStringLiteral("领用 入库"));
    // Enabled over the edit's selection, disabled once nobody focused can serve it.
    TEditCopy copy(nullptr);
    Edit->SetFocus();
    copy.Update();
    ASSERT_TRUE(copy.Enabled());
    Button->SetFocus();
    EXPECT_FALSE(copy.Update());
    EXPECT_FALSE(copy.Enabled());
    // One with a handler of its own stays enabled: its handler runs wherever the focus is.
    int copied = 0;
    copy.OnExecute = [&copied](TObject*) { ++copied; };
    copy.Update();
    EXPECT_TRUE(copy.Enabled());
    EXPECT_TRUE(copy.Execute());
    EXPECT_EQ(copied, 1);
}

// A button's action link names its client as the target, which may be anything: the action then
// runs as a whole, on the focused edit, and never treats the client as an edit.
TEST_F(StdActnsTest, ATargetThatIsNoEditRunsTheActionOnTheFocusedEdit)
{
    Edit->SelectAll();
    TEditDelete remove(nullptr);
    TBasicActionLink link;
    link.SetAction(&remove);
    EXPECT_TRUE(link.Execute(Button));
    EXPECT_TRUE(Edit->Text().isEmpty());

    Edit->SetText(QStringLiteral("纸"));
    Edit->SelectAll();
    int handled = 0;
    remove.OnExecute = [&handled](TObject*) { ++handled; };
    EXPECT_TRUE(link.Execute(Form));
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(Edit->Text(), QStringLiteral("纸"));
    link.SetAction(nullptr);
}

}  // namespace
