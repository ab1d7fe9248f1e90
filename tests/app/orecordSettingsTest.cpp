// The settings file "os.ini": defaults, what closing writes, and places and pages kept in reach.
#include "AppTestSupport.h"

#include "platform/core/IniFile.h"
#include "platform/ui/ColorBox.h"
#include "platform/ui/PageControl.h"

namespace {

class TSettingsFileTest : public TAppTest {
protected:
    // Where the platform shows a window of the main window's frame that asks for (Left, Top).
    static TPoint PlacedAt(int Left, int Top)
    {
        TForm reference(nullptr);
        reference.SetBorderStyle(TFormBorderStyle::bsSingle);
        reference.SetBounds(Left, Top, MF1->Width(), MF1->Height());
        reference.Show();
        return TPoint{reference.Left(), reference.Top()};
    }

    static TPoint Place() { return TPoint{MF1->Left(), MF1->Top()}; }

    static QByteArray SettingsBytes()
    {
        QFile file(SettingsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

}  // namespace

TEST_F(TSettingsFileTest, WithoutAFileTheDefaultsApply)
{
    OpenWindows();
    EXPECT_EQ(Place(), PlacedAt(100, 100));
    EXPECT_EQ(MF1->PageControl1->ActivePage(), MF1->TabSheet1);
    EXPECT_EQ(Form3->PageControl1->ActivePage(), Form3->TabSheet1);
    for (TColorBox* box : {MF1->ColorBox1, MF1->ColorBox2, MF1->ColorBox3}) {
        EXPECT_EQ(box->Selected(), TColor(1));
        EXPECT_EQ(box->ItemIndex(), 0);
    }
    // Reading creates nothing; the first write does.
    EXPECT_FALSE(QFile::exists(SettingsPath()));
}

TEST_F(TSettingsFileTest, ClosingWritesEveryKeyAndTheNextStartRestoresThem)
{
    OpenWindows();
    MF1->SetBounds(150, 120, MF1->Width(), MF1->Height());
    MF1->PageControl1->SetActivePage(MF1->TabSheet3);
    Form3->PageControl1->SetActivePage(Form3->TabSheet4);
    MF1->ColorBox1->SetSelected(255);
    MF1->ColorBox3->SetSelected(8421504);
    const TPoint closedAt = Place();
    CloseWindows();

    const TIniFile ini(SettingsPath());
    EXPECT_EQ(ini.ReadSections(), QStringList({QStringLiteral("设置界面"), QStringLiteral("主界面"),
                                               QStringLiteral("Form"), QStringLiteral("表格颜色")}));
    EXPECT_TRUE(SettingsBytes().contains("[\xE4\xB8\xBB\xE7\x95\x8C\xE9\x9D\xA2]"));  // [主界面] in UTF-8
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("主界面"), QStringLiteral("激活页面"), -1), 2);
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("设置界面"), QStringLiteral("激活页面"), -1), 3);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Form"), QStringLiteral("Left"), String()), String::number(closedAt.X));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Form"), QStringLiteral("Top"), String()), String::number(closedAt.Y));
    EXPECT_EQ(ini.ReadSection(QStringLiteral("表格颜色")), QStringList({QStringLiteral("c1"), QStringLiteral("c2"), QStringLiteral("c3")}));
    EXPECT_EQ(ini.ReadString(QStringLiteral("表格颜色"), QStringLiteral("c1"), String()), u"255");

    OpenWindows();
    EXPECT_EQ(Place(), PlacedAt(closedAt.X, closedAt.Y));
    EXPECT_EQ(MF1->PageControl1->ActivePage(), MF1->TabSheet3);
    EXPECT_EQ(Form3->PageControl1->ActivePage(), Form3->TabSheet4);
    EXPECT_EQ(MF1->ColorBox1->Selected(), TColor(255));
    EXPECT_EQ(MF1->ColorBox2->Selected(), TColor(1));
    EXPECT_EQ(MF1->ColorBox3->Selected(), TColor(8421504));
}

TEST_F(TSettingsFileTest, PageIndexesOutOfRangeShowTheNearestPage)
{
    TIniFile ini(SettingsPath());
    ini.WriteInteger(QStringLiteral("主界面"), QStringLiteral("激活页面"), 7);
    ini.WriteInteger(QStringLiteral("设置界面"), QStringLiteral("激活页面"), -3);
    ini.WriteString(QStringLiteral("Form"), QStringLiteral("Top"), QStringLiteral("top"));
    OpenWindows();
    EXPECT_EQ(MF1->PageControl1->ActivePage(), MF1->TabSheet3);
    EXPECT_EQ(Form3->PageControl1->ActivePage(), Form3->TabSheet1);
    EXPECT_EQ(Place().Y, PlacedAt(100, 100).Y);
}

TEST_F(TSettingsFileTest, AWindowStoredOutOfReachComesBackOntoTheScreen)
{
    TIniFile ini(SettingsPath());
    ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Left"), 5000);
    ini.WriteInteger(QStringLiteral("Form"), QStringLiteral("Top"), -400);
    OpenWindows();
    const TRect area = Screen->MonitorWorkAreaFromRect(MF1->BoundsRect());
    EXPECT_EQ(Place(), PlacedAt(area.Right - MF1->Width(), area.Top));
}

TEST_F(TSettingsFileTest, ASettingsFileThatCannotBeWrittenIsReportedAtTheEnd)
{
    // A folder where the file should be: reads find nothing, writes fail.
    ASSERT_TRUE(QDir().mkpath(SettingsPath()));
    OpenWindows();
    EXPECT_EQ(MF1->PageControl1->ActivePage(), MF1->TabSheet1);
    EXPECT_TRUE(Messages().isEmpty());
    CloseWindows();
    ASSERT_FALSE(Messages().isEmpty());
    for (const String& shown : Messages())
        EXPECT_TRUE(shown.contains(SettingsPath())) << shown.toStdString();
}

TEST(PlaceWithinReachTest, KeepsReachablePlacesAndMovesOthersIn)
{
    const TRect area = Rect(0, 0, 1024, 768);
    EXPECT_EQ(PlaceWithinReach(Rect(100, 100, 860, 640), area), Rect(100, 100, 860, 640));
    // Partly off the right edge, but enough of it shows to drag it back.
    EXPECT_EQ(PlaceWithinReach(Rect(900, 100, 1660, 640), area), Rect(900, 100, 1660, 640));
    EXPECT_EQ(PlaceWithinReach(Rect(1000, 100, 1760, 640), area), Rect(264, 100, 1024, 640));
    EXPECT_EQ(PlaceWithinReach(Rect(-900, -50, -140, 490), area), Rect(0, 0, 760, 540));
    EXPECT_EQ(PlaceWithinReach(Rect(10, 900, 770, 1440), area), Rect(10, 228, 770, 768));
    // A window larger than the area keeps its top-left corner on it.
    EXPECT_EQ(PlaceWithinReach(Rect(-10, 5000, 1990, 6000), area), Rect(0, 0, 2000, 1000));
}

TEST(ClampPageIndexTest, NamesAPageForAnyIndex)
{
    EXPECT_EQ(ClampPageIndex(7, 3), 2);
    EXPECT_EQ(ClampPageIndex(-1, 3), 0);
    EXPECT_EQ(ClampPageIndex(1, 3), 1);
    EXPECT_EQ(ClampPageIndex(4, 5), 4);
}
