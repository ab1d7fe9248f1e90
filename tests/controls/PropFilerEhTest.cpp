// Reading stored properties through interceptors: the registry's pairings, and the form
// interceptor rescaling a stored placement to the screen's pixel density.
#include "controls/PropFilerEh.h"
#include "platform/core/StringList.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Forms.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <vector>

namespace {

class TTarget : public TPersistent {};
class TDerivedTarget : public TTarget {};

// Publishes every name it is given, so tests see what reached it.
class TRecordingInterceptor : public TStoragePropertyInterceptor {
public:
    using TStoragePropertyInterceptor::TStoragePropertyInterceptor;
    static inline std::vector<String> Read;
    static inline int Applied = 0;

    bool ReadProperty(const String& Name, const String& Value) override
    {
        Read.push_back(Name + u'=' + Value);
        return true;
    }
    void AfterPropertiesRead() override { ++Applied; }
};

class TOtherInterceptor : public TRecordingInterceptor {
public:
    using TRecordingInterceptor::TRecordingInterceptor;
};

class TDecliningInterceptor : public TRecordingInterceptor {
public:
    using TRecordingInterceptor::TRecordingInterceptor;
    bool WantsInterception() override { return false; }
};

// Reads a stored description given as "Name=Value" lines.
bool ReadDescription(TObject* Target, const char* Text)
{
    TStringList lines;
    lines.SetText(QString::fromUtf8(Text));
    return ReadInterceptedProperties(Target, lines);
}

class PropFilerEhTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TRecordingInterceptor::Read.clear();
        TRecordingInterceptor::Applied = 0;
    }
    void TearDown() override
    {
        for (auto interceptor : {InterceptorClass<TRecordingInterceptor>, InterceptorClass<TOtherInterceptor>,
                                 InterceptorClass<TDecliningInterceptor>}) {
            RemoveReadPropertyInterceptor(TargetClass<TTarget>, interceptor);
            RemoveReadPropertyInterceptor(TargetClass<TDerivedTarget>, interceptor);
        }
    }
};

TEST_F(PropFilerEhTest, FormsHaveTheirInterceptorFromTheStart)
{
    TForm form(nullptr);
    TEdit edit(nullptr);
    EXPECT_EQ(FindReadPropertyInterceptor(&form), InterceptorClass<TFormStoragePropertyInterceptor>);
    EXPECT_EQ(FindReadPropertyInterceptor(&edit), nullptr);
}

TEST_F(PropFilerEhTest, ALaterPairingForTheSameClassReplacesTheEarlierOne)
{
    TTarget target;
    TDerivedTarget derived;
    InstallReadPropertyInterceptor(TargetClass<TTarget>, InterceptorClass<TRecordingInterceptor>);
    InstallReadPropertyInterceptor(TargetClass<TTarget>, InterceptorClass<TOtherInterceptor>);
    EXPECT_EQ(FindReadPropertyInterceptor(&target), InterceptorClass<TOtherInterceptor>);
    // Descendants are targets too; a pairing of their own class, registered later, wins.
    EXPECT_EQ(FindReadPropertyInterceptor(&derived), InterceptorClass<TOtherInterceptor>);
    InstallReadPropertyInterceptor(TargetClass<TDerivedTarget>, InterceptorClass<TRecordingInterceptor>);
    EXPECT_EQ(FindReadPropertyInterceptor(&derived), InterceptorClass<TRecordingInterceptor>);
    // Removing needs the exact pair.
    RemoveReadPropertyInterceptor(TargetClass<TTarget>, InterceptorClass<TRecordingInterceptor>);
    EXPECT_EQ(FindReadPropertyInterceptor(&target), InterceptorClass<TOtherInterceptor>);
    RemoveReadPropertyInterceptor(TargetClass<TTarget>, InterceptorClass<TOtherInterceptor>);
    EXPECT_EQ(FindReadPropertyInterceptor(&target), nullptr);
}

TEST_F(PropFilerEhTest, ValuesLandInTheInterceptorWhichThenApplies)
{
    TTarget target;
    EXPECT_FALSE(ReadDescription(&target, "Caption=x"));
    InstallReadPropertyInterceptor(TargetClass<TTarget>, InterceptorClass<TRecordingInterceptor>);
    EXPECT_TRUE(ReadDescription(&target, "Left = 10\nCaption=领用登记"));
    EXPECT_EQ(TRecordingInterceptor::Read, (std::vector<String>{QStringLiteral("Left=10"), QStringLiteral("Caption=领用登记")}));
    EXPECT_EQ(TRecordingInterceptor::Applied, 1);
    InstallReadPropertyInterceptor(TargetClass<TTarget>, InterceptorClass<TDecliningInterceptor>);
    EXPECT_FALSE(ReadDescription(&target, "Left=20"));
    EXPECT_EQ(TRecordingInterceptor::Applied, 1);
}

class FormInterceptorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Form = new TForm(nullptr);
        Form->SetBounds(10, 20, 300, 200);
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
};

TEST_F(FormInterceptorTest, AStoredPlacementIsRescaledToTheScreensDensity)
{
    ASSERT_EQ(Screen->PixelsPerInch(), 96);
    EXPECT_TRUE(ReadDescription(Form, "PixelsPerInch=120\nLeft=150\nTop=75\nWidth=500\nHeight=250"));
    EXPECT_EQ(Form->BoundsRect(), Bounds(120, 60, 400, 200));
}

TEST_F(FormInterceptorTest, UnreadValuesKeepTheFormsOwn)
{
    ReadDescription(Form, "Width=420");
    EXPECT_EQ(Form->BoundsRect(), Bounds(10, 20, 420, 200));
    // A density of 0 scales nothing.
    ReadDescription(Form, "PixelsPerInch=0\nWidth=333");
    EXPECT_EQ(Form->Width(), 333);
}

TEST_F(FormInterceptorTest, AReadPositionStopsACentredFormFromBeingCentredAgain)
{
    Form->SetPosition(TPosition::poScreenCenter);
    ReadDescription(Form, "Width=400");
    EXPECT_EQ(Form->Position(), TPosition::poScreenCenter);
    ReadDescription(Form, "Top=40");
    EXPECT_EQ(Form->Position(), TPosition::poDesigned);
    EXPECT_EQ(Form->Top(), 40);
}

TEST_F(FormInterceptorTest, TheActiveControlIsFoundByName)
{
    auto* first = new TEdit(Form);
    first->SetName(QStringLiteral("Edit1"));
    first->SetParent(Form);
    auto* second = new TEdit(Form);
    second->SetName(QStringLiteral("Edit2"));
    second->SetParent(Form);
    Form->Show();
    ReadDescription(Form, "ActiveControl=Edit2");
    EXPECT_EQ(Form->ActiveControl(), second);
    // A name the form does not have leaves the active control as it is.
    ReadDescription(Form, "ActiveControl=Missing");
    EXPECT_EQ(Form->ActiveControl(), second);
}

TEST_F(FormInterceptorTest, AControlThatCannotTakeTheFocusIsNotMadeActive)
{
    auto* edit = new TEdit(Form);
    edit->SetName(QStringLiteral("Edit1"));
    edit->SetParent(Form);
    // The form is not shown: making the edit active would raise.
    EXPECT_NO_THROW(ReadDescription(Form, "ActiveControl=Edit1\nLeft=5"));
    EXPECT_EQ(Form->ActiveControl(), nullptr);
    EXPECT_EQ(Form->Left(), 5);
}

TEST_F(FormInterceptorTest, AnUnpublishedNameRaises)
{
    EXPECT_THROW(ReadDescription(Form, "Color=clRed"), EReadError);
}

TEST_F(FormInterceptorTest, ThePlacementPropertiesReadTheForm)
{
    TFormStoragePropertyInterceptor interceptor(Form);
    interceptor.SetLeft(999);
    EXPECT_EQ(interceptor.Left(), 10);
    EXPECT_EQ(interceptor.Width(), 300);
    EXPECT_EQ(interceptor.PixelsPerInch(), 96);
    TTarget notAForm;
    TFormStoragePropertyInterceptor detached(&notAForm);
    EXPECT_EQ(detached.Height(), 0);
    detached.SetWidth(50);
    EXPECT_NO_THROW(detached.AfterPropertiesRead());
}

}  // namespace
