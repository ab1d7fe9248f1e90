#include "app/sys.h"

#include "app/FormBuilding.h"
#include "app/orecord.h"
#include "platform/core/IniFile.h"
#include "platform/ui/GroupBox.h"

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

    GroupBox1 = Place<TGroupBox>(this, this, "GroupBox1", 4, 2, 486, 317);
    GroupBox1->SetCaption(QStringLiteral("参数设置"));
    PageControl1 = Place<TPageControl>(this, GroupBox1, "PageControl1", 6, 16, 474, 295);
    PageControl1->SetShowHint(true);
    TabSheet1 = AddTabSheet(this, PageControl1, "TabSheet1", "用户");
    TabSheet2 = AddTabSheet(this, PageControl1, "TabSheet2", "部门");
    TabSheet3 = AddTabSheet(this, PageControl1, "TabSheet3", "物品");
    TabSheet4 = AddTabSheet(this, PageControl1, "TabSheet4", "备注");
    TabSheet5 = AddTabSheet(this, PageControl1, "TabSheet5", "供应商");

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
