// The indicator-title menu the centre builds (the columns submenu and the edit commands) and the
// centre's dispatch of cell clicks and indicator-title presses.
#include "datagrid/DBGridEhCenter.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhIndicatorTitle.h"
#include "platform/ui/Menus.h"

#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

std::unique_ptr<TPopupMenu> IndicatorTitleMenu;

struct TEditCommandItem {
    TDBGridEhMenuItemEh Item;
    const char* Caption;
    TDBGridEhEditActions Action;
};

constexpr std::array<TEditCommandItem, 5> EditCommandItems{{
    {TDBGridEhMenuItemEh::gmiCutEh, "剪贴", geaCutEh},
    {TDBGridEhMenuItemEh::gmiCopyEh, "复制", geaCopyEh},
    {TDBGridEhMenuItemEh::gmiPasteEh, "粘贴", geaPasteEh},
    {TDBGridEhMenuItemEh::gmiDeleteEh, "删除", geaDeleteEh},
    {TDBGridEhMenuItemEh::gmiSelectAllEh, "全选", geaSelectAllEh},
}};

int VisibleColumnCount(const TCustomDBGridEh* Grid)
{
    int count = 0;
    for (int i = 0; i < Grid->Columns()->Count(); ++i)
        count += Grid->Columns()->ColumnAt(i)->Visible() ? 1 : 0;
    return count;
}

TMenuItem* ColumnsSubmenu(TCustomDBGridEh* Grid, TComponent* Owner)
{
    auto* submenu = new TDBGridEhMenuItem(Owner, Grid, TDBGridEhMenuItemEh::gmiColumnsEh);
    submenu->SetCaption(QStringLiteral("错误的列"));
    for (int i = 0; i < Grid->Columns()->Count(); ++i) {
        TColumnEh* column = Grid->Columns()->ColumnAt(i);
        if (!column->Title()->Caption().isEmpty())
            submenu->Add(new TColumnEhMenuItem(Owner, column));
    }
    return submenu;
}

const TEditCommandItem* EditCommandOf(TDBGridEhMenuItemEh Item)
{
    for (const TEditCommandItem& command : EditCommandItems)
        if (command.Item == Item)
            return &command;
    return nullptr;
}

// A copy of each top-level item of Source, after a line when items precede, owned by Menu.
void AddCopiesOfItems(TPopupMenu* Source, TPopupMenu* Menu)
{
    TMenuItem* items = Menu->Items();
    if (Source->Items()->Count() > 0 && items->Count() > 0) {
        auto* line = new TMenuItem(Menu);
        line->SetCaption(u"-"_s);
        items->Add(line);
    }
    for (int i = 0; i < Source->Items()->Count(); ++i) {
        const TMenuItem* source = Source->Items()->Items(i);
        auto* copy = new TMenuItem(Menu);
        copy->SetCaption(source->Caption());
        copy->SetChecked(source->Checked());
        copy->SetEnabled(source->Enabled());
        copy->SetVisible(source->Visible());
        copy->SetHint(source->Hint());
        copy->SetShortCut(source->ShortCut());
        copy->OnClick = source->OnClick;
        items->Add(copy);
    }
}

}  // namespace

void TDBGridEhIndicatorTitle::ShowMenu(TPopupMenu* Menu, bool FreeOnClose, int X, int Y)
{
    FShownMenu = Menu;
    Menu->OnClose = [this, alive = std::weak_ptr<int>(FAliveToken), Menu, FreeOnClose](TObject*) {
        Menu->OnClose = nullptr;
        if (!alive.expired() && FShownMenu == Menu) {
            FShownMenu = nullptr;
            SetPressed(false);
        }
        if (FreeOnClose)
            delete Menu;
    };
    Menu->Popup(X, Y);
}

void TDBGridEhIndicatorTitle::ReleasePress()
{
    if (FShownMenu == nullptr)
        SetPressed(false);
}

TDBGridEhMenuItem::TDBGridEhMenuItem(TComponent* AOwner, TCustomDBGridEh* Grid, TDBGridEhMenuItemEh Action)
    : TMenuItem(AOwner), FGrid(Grid), FAction(Action)
{
    if (const TEditCommandItem* command = EditCommandOf(Action)) {
        SetCaption(QString::fromUtf8(command->Caption));
        SetEnabled(Grid->CanRunEditAction(command->Action));
    }
}

void TDBGridEhMenuItem::Click()
{
    TMenuItem::Click();
    if (const TEditCommandItem* command = EditCommandOf(FAction))
        FGrid->RunEditAction(command->Action);
}

TColumnEhMenuItem::TColumnEhMenuItem(TComponent* AOwner, TColumnEh* Column) : TMenuItem(AOwner), FColumn(Column)
{
    SetCaption(Column->Title()->Caption());
    SetChecked(Column->Visible());
}

void TColumnEhMenuItem::Click()
{
    TMenuItem::Click();
    // The last visible column stays: a grid without columns could not be given them back.
    if (!FColumn->Visible() || VisibleColumnCount(FColumn->OwningGrid()) > 1)
        FColumn->SetVisible(!FColumn->Visible());
}

TPopupMenu* DBGridEhIndicatorTitlePopupMenu()
{
    if (!IndicatorTitleMenu) {
        IndicatorTitleMenu = std::make_unique<TPopupMenu>(nullptr);
        IndicatorTitleMenu->SetName(QStringLiteral("DBGridEhIndicatorTitlePopupMenu"));
    }
    return IndicatorTitleMenu.get();
}

void FreeDBGridEhIndicatorTitlePopupMenu() { IndicatorTitleMenu.reset(); }

void TDBGridEhCenter::BuildIndicatorTitleMenu(TCustomDBGridEh* Grid, TPopupMenu*& Menu)
{
    if (OnBuildIndicatorTitleMenu)
        OnBuildIndicatorTitleMenu(this, Grid, Menu);
    else
        DefaultBuildIndicatorTitleMenu(Grid, Menu);
}

void TDBGridEhCenter::CellMouseClick(TCustomDBGridEh* Grid, TGridCoord Cell, TMouseButton Button, TShiftState Shift,
                                     int X, int Y)
{
    if (OnCellMouseClick)
        OnCellMouseClick(this, Grid, Cell, Button, Shift, X, Y);
    else
        DefaultCellMouseClick(Grid, Cell, Button, Shift, X, Y);
}

void TDBGridEhCenter::DefaultCellMouseClick(TCustomDBGridEh*, TGridCoord, TMouseButton, TShiftState, int, int) {}

void TDBGridEhCenter::IndicatorTitleMouseDown(TCustomDBGridEh* Grid, TGridCoord Cell, int X, int Y, TShiftState Shift,
                                              TMouseButton Button)
{
    DefaultIndicatorTitleMouseDown(Grid, Cell, X, Y, Shift, Button);
}

void TDBGridEhCenter::DefaultIndicatorTitleMouseDown(TCustomDBGridEh* Grid, TGridCoord Cell, int X, int Y,
                                                     TShiftState Shift, TMouseButton Button)
{
    Grid->RaiseIndicatorTitleMouseDown(Cell, Button, Shift, X, Y);
}

void TDBGridEhCenter::DefaultBuildIndicatorTitleMenu(TCustomDBGridEh* Grid, TPopupMenu*& Menu)
{
    Menu = DBGridEhIndicatorTitlePopupMenu();
    TMenuItem* items = Menu->Items();
    items->Clear();
    if (Grid->IndicatorTitle()->UseGlobalMenu())
        AddGlobalItems(Grid, Menu);
    if (TPopupMenu* own = Grid->IndicatorTitle()->DropdownMenu())
        AddCopiesOfItems(own, Menu);
}

void TDBGridEhCenter::AddGlobalItems(TCustomDBGridEh* Grid, TPopupMenu* Menu)
{
    TMenuItem* items = Menu->Items();
    if (HasMenuItem(TDBGridEhMenuItemEh::gmiColumnsEh))
        items->Add(ColumnsSubmenu(Grid, Menu));
    for (const TEditCommandItem& command : EditCommandItems)
        if (HasMenuItem(command.Item))
            items->Add(new TDBGridEhMenuItem(Menu, Grid, command.Item));
}
