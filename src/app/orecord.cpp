// The main window's life: creation, showing and activation, the clock, the wheel hook, and the
// menu and button actions that open the other windows.
#include "app/orecord.h"

#include "app/backup.h"
#include "app/sys.h"
#include "datagrid/DBGridEh.h"
#include "platform/ado/ADODB.h"
#include "platform/core/Exceptions.h"
#include "platform/core/IniFile.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Button.h"
#include "platform/ui/ColorBox.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PageControl.h"
#include "platform/ui/StatusBar.h"

#include <cstdint>

TMF1* MF1 = nullptr;

void PageFocusedGridsOnWheel(const TMsg& Msg, bool& Handled, std::initializer_list<TWinControl*> Grids)
{
    if (Msg.message != WM_MOUSEWHEEL)
        return;
    const int code = static_cast<std::int32_t>(Msg.wParam) > 0 ? SB_PAGEUP : SB_PAGEDOWN;
    for (TWinControl* grid : Grids)
        if (grid->Focused())
            grid->Perform(WM_VSCROLL, static_cast<WPARAM>(code), 0);
    Handled = true;
}

TMF1::TMF1(TComponent* AOwner) : TForm(AOwner)
{
    BeginLoading();
    CreateComponents();
    for (TPageKind kind : PageKinds)
        FPages.push_back(DescribePage(kind));
    BindEvents();
    BindGridEvents();
    EndLoading();
}

// The form's own destruction would run OnDestroy after this window's members are gone, so the
// window runs its destroy handler here, while the settings file and every component still exist.
TMF1::~TMF1()
{
    Application->OnMessage = nullptr;
    try {
        FormDestroy(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TMF1::FormShow(TObject* Sender)
{
    // A page whose list cannot open says why once and leaves the other pages and the window
    // usable, so the file can still be backed up and restored.
    if (!FStartFailure.isEmpty())
        MessageBox(Handle(), FStartFailure, PromptCaption, MB_OK | MB_ICONWARNING);
    if (!ADOCon1->Connected())
        return;
    String shown;
    for (TButton* reset : {Button2, Button4, Button6}) {
        try {
            reset->Click();
        } catch (const Exception& E) {
            if (E.Message() != shown)
                Application->HandleException(this);
            shown = E.Message();
        }
    }
    // Told now, not at the first registration that fails.
    if (ADOCon1->ReadOnly())
        MessageBox(Handle(), QStringLiteral("数据库文件为只读，登记的记录将无法保存 ！"), PromptCaption,
                   MB_OK | MB_ICONWARNING);
}

void TMF1::FormActivate(TObject* Sender)
{
    Application->OnMessage = [this](TMsg& Msg, bool& Handled) { OnMouseWheel(Msg, Handled); };
    Application->SetHintHidePause(10000);
}

void TMF1::OnMouseWheel(TMsg& Msg, bool& Handled)
{
    PageFocusedGridsOnWheel(Msg, Handled, {DBGridEh1, DBGridEh2, DBGridEh3});
}

void TMF1::Timer1Timer(TObject* Sender)
{
    StatusBar1->Panels()->Items(3)->SetText(QStringLiteral("现在时间： ") +
                                            FormatDateTime(QStringLiteral("yyyy-MM-dd  hh:mm:ss  ddd"), Now()));
}

void TMF1::TabSheet1Show(TObject* Sender)
{
    ShowLineColourBox(ColorBox1);
    SwitchEditMenuForTab(Mdel1, Msa1);
}

void TMF1::TabSheet2Show(TObject* Sender)
{
    ShowLineColourBox(ColorBox2);
    SwitchEditMenuForTab(Mdel2, Msa2);
}

void TMF1::TabSheet3Show(TObject* Sender)
{
    ShowLineColourBox(ColorBox3);
    SwitchEditMenuForTab(Mdel3, Msa3);
}

void TMF1::ShowLineColourBox(TColorBox* ColorBox)
{
    for (TColorBox* box : {ColorBox1, ColorBox2, ColorBox3})
        box->SetVisible(box == ColorBox);
}

void TMF1::BitBtn3Click(TObject* Sender)
{
    if (!PostRecordGridEdits())
        return;
    Me1->SetVisible(true);
    Me2->SetVisible(false);
    Button2->Click();
    Button4->Click();
    Button6->Click();
}

void TMF1::M11Click(TObject* Sender) { BitBtn3->Click(); }

void TMF1::Msa1Click(TObject* Sender) { BitBtn4->Click(); }

void TMF1::Msa2Click(TObject* Sender) { BitBtn9->Click(); }

void TMF1::Msa3Click(TObject* Sender) { BitBtn6->Click(); }

void TMF1::ShowOtherWindow(TForm* Window)
{
    if (PostRecordGridEdits())
        Window->ShowModal();
}

void TMF1::BitBtn2Click(TObject* Sender) { ShowOtherWindow(Form3); }

void TMF1::ShowSettingsPage(TTabSheet* Page)
{
    Form3->PageControl1->SetActivePage(Page);
    ShowOtherWindow(Form3);
}

void TMF1::uN6Click(TObject* Sender) { ShowSettingsPage(Form3->TabSheet1); }

void TMF1::dN1Click(TObject* Sender) { ShowSettingsPage(Form3->TabSheet2); }

void TMF1::pN7Click(TObject* Sender) { ShowSettingsPage(Form3->TabSheet3); }

void TMF1::rN8Click(TObject* Sender) { ShowSettingsPage(Form3->TabSheet4); }

void TMF1::N5Click(TObject* Sender) { ShowSettingsPage(Form3->TabSheet5); }

void TMF1::bN4Click(TObject* Sender) { ShowOtherWindow(Form4); }

void TMF1::bN5Click(TObject* Sender) { ShowOtherWindow(Form4); }

// The tips pop up at the pointer's column, just below the label pressed.
void TMF1::Label59MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)
{
    const auto* label = static_cast<TControl*>(Sender);
    const TPoint at = label->ClientToScreen(TPoint{X, label->Height()});
    PopupMenu3->Popup(at.X, at.Y);
}
