#include "app/sys.h"

#include "app/orecord.h"
#include "platform/core/IniFile.h"
#include "platform/ui/GroupBox.h"
#include "platform/ui/PageControl.h"

TForm3* Form3 = nullptr;

namespace {

const String SettingsSection = QStringLiteral("设置界面");
const String ActivePageKey = QStringLiteral("激活页面");

}  // namespace

TForm3::TForm3(TComponent* AOwner) : TForm(AOwner)
{
    BeginLoading();
    SetName(QStringLiteral("Form3"));
    SetCaption(QStringLiteral("设置"));
    SetBorderStyle(TFormBorderStyle::bsSingle);
    SetBorderIcons(biSystemMenu | biMinimize);
    SetClientWidth(494);
    SetClientHeight(323);

    GroupBox1 = new TGroupBox(this);
    GroupBox1->SetName(QStringLiteral("GroupBox1"));
    GroupBox1->SetParent(this);
    GroupBox1->SetBounds(4, 2, 486, 317);
    GroupBox1->SetCaption(QStringLiteral("参数设置"));
    PageControl1 = new TPageControl(this);
    PageControl1->SetName(QStringLiteral("PageControl1"));
    PageControl1->SetParent(GroupBox1);
    PageControl1->SetBounds(6, 16, 474, 295);
    PageControl1->SetShowHint(true);
    const auto addPage = [this](const char* Name, const char* Caption) {
        auto* page = new TTabSheet(this);
        page->SetName(String::fromUtf8(Name));
        page->SetPageControl(PageControl1);
        page->SetCaption(String::fromUtf8(Caption));
        return page;
    };
    TabSheet1 = addPage("TabSheet1", "用户");
    TabSheet2 = addPage("TabSheet2", "部门");
    TabSheet3 = addPage("TabSheet3", "物品");
    TabSheet4 = addPage("TabSheet4", "备注");
    TabSheet5 = addPage("TabSheet5", "供应商");

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    EndLoading();
}

// As in the main window: the form's own destruction would run OnDestroy after this window's part
// of it is gone, so the destroy handler runs here.
TForm3::~TForm3()
{
    try {
        FormDestroy(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TForm3::FormCreate(TObject* Sender)
{
    PageControl1->SetActivePageIndex(
        ClampPageIndex(MF1->SettingsIni->ReadInteger(SettingsSection, ActivePageKey, 0), PageControl1->PageCount()));
}

void TForm3::FormDestroy(TObject* Sender)
{
    MF1->SettingsIni->WriteInteger(SettingsSection, ActivePageKey, PageControl1->ActivePageIndex());
}
