// The settings file "os.ini" beside the executable: the window's place, its active page and the
// grid line colours, read when the window is created and written when it is destroyed.
#include "app/orecord.h"

#include "platform/core/IniFile.h"
#include "platform/core/StringLiterals.h"
#include "platform/core/FileNames.h"
#include "platform/ui/ColorBox.h"
#include "platform/ui/PageControl.h"

#include <algorithm>

namespace {

const String FormSection = u"Form"_s;
const String MainSection = u"主界面"_s;
const String ColourSection = u"表格颜色"_s;
const String ActivePageKey = u"激活页面"_s;

// How much of the window must lie on the screen for the user to reach it and drag it back.
constexpr int ReachableWidth = 100;

// The grid line colours a page offers, after the custom entry.
const struct {
    const char* Name;
    TColor Colour;
} LineColours[] = {
    {"默认", 12632256}, {"黑色", 0},           {"栗色", 128},           {"绿色", 32768},        {"橄榄色", 32896},
    {"深蓝色", 8388608}, {"紫色", 8388736},    {"蓝绿色", 8421376},     {"灰色", 8421504},      {"银色", 12632256},
    {"红色", 255},       {"鲜绿色", 65280},    {"黄色", 65535},         {"蓝色", 16711680},     {"粉红色", 16711935},
    {"青绿色", 16776960}, {"白色", 16777215},  {"淡绿色", 12639424},    {"淡蓝色", 15780518},   {"中灰色", 10789024},
};

}  // namespace

// A page index the file may hold from another version, or a hand edit, still shows a page.
int ClampPageIndex(int Index, int PageCount) { return std::clamp(Index, 0, std::max(PageCount - 1, 0)); }

// A place that leaves the window out of reach (another monitor once, a hand edit) is moved
// into the work area; a reachable one stays as stored.
TRect PlaceWithinReach(const TRect& Bounds, const TRect& WorkArea)
{
    const bool reachable = Bounds.Top >= WorkArea.Top && Bounds.Top < WorkArea.Bottom &&
                           std::min(Bounds.Right, WorkArea.Right) - std::max(Bounds.Left, WorkArea.Left) >= ReachableWidth;
    if (reachable)
        return Bounds;
    const int left = std::max(WorkArea.Left, std::min(Bounds.Left, WorkArea.Right - Bounds.Width()));
    const int top = std::max(WorkArea.Top, std::min(Bounds.Top, WorkArea.Bottom - Bounds.Height()));
    return TRect{left, top, left + Bounds.Width(), top + Bounds.Height()};
}

void TMF1::FormCreate(TObject* Sender)
{
    SettingsIni = std::make_unique<TIniFile>(ExtractFilePath(ExpandFileName(Application->ExeName())) + u"os.ini"_s);
    const int left = SettingsIni->ReadInteger(FormSection, u"Left"_s, 100);
    const int top = SettingsIni->ReadInteger(FormSection, u"Top"_s, 100);
    const TRect stored{left, top, left + Width(), top + Height()};
    const TRect placed = PlaceWithinReach(stored, Screen->MonitorWorkAreaFromRect(stored));
    SetBounds(placed.Left, placed.Top, Width(), Height());
    PageControl1->SetActivePageIndex(
        ClampPageIndex(SettingsIni->ReadInteger(MainSection, ActivePageKey, 0), PageControl1->PageCount()));
    FillLineColourBox(ColorBox1, u"c1"_s);
    FillLineColourBox(ColorBox2, u"c2"_s);
    FillLineColourBox(ColorBox3, u"c3"_s);
}

void TMF1::FillLineColourBox(TColorBox* ColorBox, const String& Key)
{
    ColorBox->SetStyle(cbCustomColor);
    ColorBox->Items()->SetStrings(0, u"自定义..."_s);
    for (const auto& entry : LineColours)
        ColorBox->Items()->AddObject(String::fromUtf8(entry.Name), ColorToObject(entry.Colour));
    ColorBox->SetSelected(SettingsIni->ReadInteger(ColourSection, Key, 1));
}

void TMF1::FormDestroy(TObject* Sender)
{
    SettingsIni->WriteInteger(MainSection, ActivePageKey, PageControl1->ActivePageIndex());
    SettingsIni->WriteInteger(FormSection, u"Top"_s, Top());
    SettingsIni->WriteInteger(FormSection, u"Left"_s, Left());
    SettingsIni->WriteInteger(ColourSection, u"c1"_s, ColorBox1->Selected());
    SettingsIni->WriteInteger(ColourSection, u"c2"_s, ColorBox2->Selected());
    SettingsIni->WriteInteger(ColourSection, u"c3"_s, ColorBox3->Selected());
    SettingsIni.reset();
}
