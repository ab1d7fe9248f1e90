// The find dialog: its form, the columns it offers, finding the next match, and how the grid and
// its centre open it.
#include "datagrid/DBGridEhFindDlgs.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhCenter.h"
#include "platform/ui/Button.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Label.h"

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

const String AllColumnsItem = u"<All>"_s;

std::unique_ptr<TDBGridEhFindDlg>& SharedDialog()
{
    static std::unique_ptr<TDBGridEhFindDlg> dialog;
    return dialog;
}

TLabel* PlaceLabel(TDBGridEhFindDlg* Form, int Left, int Top, const String& Caption, TWinControl* FocusControl)
{
    auto* label = PlaceOnForm<TLabel>(Form, Left, Top, 0, 0);
    label->SetCaption(Caption);
    label->SetFocusControl(FocusControl);
    return label;
}

// A drop-down of fixed choices: the shown Items with the KeyItems they stand for.
TDBComboBoxEh* PlaceChoices(TDBGridEhFindDlg* Form, int Left, int Top, int Width,
                            std::initializer_list<const char16_t*> Items, std::initializer_list<const char16_t*> Keys)
{
    auto* combo = PlaceOnForm<TDBComboBoxEh>(Form, Left, Top, Width, 20);
    for (const char16_t* item : Items)
        combo->Items()->Add(String::fromUtf16(item));
    for (const char16_t* key : Keys)
        combo->KeyItems()->Add(String::fromUtf16(key));
    combo->SetItemIndex(0);
    return combo;
}

TCheckBoxState StateOf(bool Checked) { return Checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked; }

}  // namespace

// --- The form -------------------------------------------------------------------------------

TDBGridEhFindDlg::TDBGridEhFindDlg(TComponent* AOwner) : TForm(AOwner)
{
    BeginLoading();
    CreateComponents();
    SetActiveControl(cbText);
    EndLoading();
    StackRows();
    FDesignedHeight = ClientHeight();
    // Each opening starts at the text, once the form can take the focus.
    OnActivate = [this](TObject*) {
        if (FFocusText && cbText->CanFocus())
            FocusControl(cbText);
        FFocusText = false;
    };
}

TDBGridEhFindDlg::~TDBGridEhFindDlg() { SetGrid(nullptr); }

void TDBGridEhFindDlg::CreateComponents()
{
    SetName(u"DBGridEhFindDlg"_s);
    SetCaption(u"查找字符"_s);
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetKeyPreview(true);
    Font()->SetName(u"宋体"_s);
    Font()->SetHeight(-12);
    SetClientWidth(466);
    SetClientHeight(138);

    cbText = PlaceOnForm<TDBComboBoxEh>(this, 81, 8, 292, 20);
    cbText->DropDownBox()->SetRows(17);
    cbText->DropDownBox()->SetSizable(true);
    cbText->EditButton()->SetVisible(false);
    cbText->OnChange = [this](TObject* Sender) { cbTextChange(Sender); };
    Label1 = PlaceLabel(this, 9, 11, u"查找内容&n"_s, cbText);
    cbFindIn = PlaceOnForm<TDBComboBoxEh>(this, 81, 30, 177, 20);
    cbFindIn->DropDownBox()->SetRows(17);
    Label2 = PlaceLabel(this, 9, 32, u"查找范围&i"_s, cbFindIn);
    cbMatchinType = PlaceChoices(this, 81, 51, 133, {u"字符串的任意位置", u"整个字符串", u"字符串的头位置"},
                                 {u"From any part of field", u"Whole field", u"From beging of field"});
    // The label names the match type (its stored caption, "大小写", named the letter case).
    cbMatchType = PlaceLabel(this, 9, 54, u"匹配&h"_s, cbMatchinType);
    cbFindDirection = PlaceChoices(this, 81, 73, 133, {u"向上", u"向下", u"全部"}, {u"Up", u"Down", u"All"});
    cbFindDirection->SetItemIndex(2);
    cbFindDirection->OnChange = [this](TObject* Sender) { cbTextChange(Sender); };
    Label3 = PlaceLabel(this, 9, 76, u"查找&r"_s, cbFindDirection);
    // The captions say what checking does: checked compares the letter case, and the shown text.
    cbCharCase = PlaceOnForm<TDBCheckBoxEh>(this, 81, 97, 133, 13);
    cbCharCase->SetCaption(u"区分大小写&C"_s);
    cbUseFormat = PlaceOnForm<TDBCheckBoxEh>(this, 240, 97, 133, 13);
    cbUseFormat->SetCaption(u"使用显示格式&o"_s);
    cbUseFormat->SetState(StateOf(true));
    dbcTreeFindRange = PlaceChoices(this, 81, 114, 134, {u"所有节点", u"展开的节点", u"同等级节点", u"当前节点"},
                                    {u"In all nodes", u"In expanded nodes", u"In current level", u"In current node"});
    dbcTreeFindRange->OnChange = [this](TObject* Sender) { cbTextChange(Sender); };
    Label4 = PlaceLabel(this, 9, 118, u"查看:"_s, dbcTreeFindRange);
    bFind = PlaceOnForm<TButton>(this, 381, 8, 76, 22);
    bFind->SetCaption(u"下一个&F"_s);
    bFind->OnClick = [this](TObject* Sender) { bFindClick(Sender); };
    bCancel = PlaceOnForm<TButton>(this, 381, 34, 76, 20);
    bCancel->SetCaption(u"关闭"_s);
    bCancel->SetCancel(true);
    bCancel->SetModalResult(mrCancel);
    bCancel->OnClick = [this](TObject* Sender) { bCancelClick(Sender); };
}

void TDBGridEhFindDlg::StackRows()
{
    // Each row's leading control first; the combo boxes are as high as their font makes them,
    // which may be more than the design gives a row.
    const std::initializer_list<std::initializer_list<TControl*>> rows = {
        {cbText, Label1},          {cbFindIn, Label2},          {cbMatchinType, cbMatchType},
        {cbFindDirection, Label3}, {cbCharCase, cbUseFormat}, {dbcTreeFindRange, Label4},
    };
    int shift = 0;
    int above = 0;
    for (const auto& row : rows) {
        TControl* lead = *row.begin();
        shift = std::max(shift, above - lead->Top());
        for (TControl* control : row)
            control->SetTop(control->Top() + shift);
        above = lead->Top() + lead->Height();
    }
    SetClientHeight(ClientHeight() + shift);
}

void TDBGridEhFindDlg::SetGrid(TCustomDBGridEh* Grid)
{
    if (FGrid == Grid)
        return;
    if (FGrid != nullptr)
        FGrid->RemoveFreeNotification(this);
    FGrid = Grid;
    if (FGrid != nullptr)
        FGrid->FreeNotification(this);
}

// The dialog outlives grids: one that goes leaves it without a grid to search.
void TDBGridEhFindDlg::Notification(TComponent* AComponent, TOperation Operation)
{
    TForm::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FGrid) {
        FGrid = nullptr;
        FOffered.clear();
        FSearchColumns.clear();
    }
}

// --- Opening --------------------------------------------------------------------------------

void TDBGridEhFindDlg::Execute(TCustomDBGridEh* Grid, const String& Text, bool Modal,
                               const TFindColumnFieldsEh& ColumnFields)
{
    // No dataset of this system offers a tree view: the tree range stays hidden.
    Label4->SetVisible(false);
    dbcTreeFindRange->SetVisible(false);
    SetClientHeight(std::min(FDesignedHeight, dbcTreeFindRange->Top()));
    cbText->SetText(Text);
    SetGrid(Grid);
    FOffered = ColumnFields;
    FillFindInList();
    FFirstTry = true;
    if (Visible())
        Close();
    FFocusText = true;
    BuildSearchColumns();
    cbTextChange(cbText);
    FModal = Modal;
    if (Modal) {
        SetFormStyle(TFormStyle::fsNormal);
        ShowModal();
    } else {
        SetFormStyle(TFormStyle::fsStayOnTop);
        Show();
        SetFocus();
        if (FFocusText)
            FocusControl(cbText);
        FFocusText = false;
    }
}

void TDBGridEhFindDlg::FillFindInList()
{
    const TNotifyEvent change = cbFindIn->OnChange;
    cbFindIn->OnChange = nullptr;
    if (FOffered.empty() && FGrid != nullptr) {
        TColumnsEhList* visible = FGrid->VisibleColumns();
        for (int i = 0; i < visible->Count(); ++i)
            FOffered.emplace_back(visible->Items(i)->Title()->Caption(), visible->Items(i));
    }
    cbFindIn->Items()->Clear();
    for (const auto& [caption, column] : FOffered)
        cbFindIn->Items()->Add(caption);
    cbFindIn->Items()->Add(AllColumnsItem);
    cbFindIn->KeyItems()->Assign(cbFindIn->Items());
    const TColumnEh* focused = FGrid != nullptr ? FGrid->FocusedColumn() : nullptr;
    cbFindIn->SetItemIndex(focused != nullptr ? cbFindIn->Items()->IndexOf(focused->Title()->Caption()) : -1);
    cbFindIn->OnChange = change;
}

void TDBGridEhFindDlg::BuildSearchColumns()
{
    if (cbFindIn->ItemIndex() < 0)
        cbFindIn->SetItemIndex(cbFindIn->Items()->Count() - 1);
    FSearchColumns.clear();
    const int index = cbFindIn->ItemIndex();
    if (index >= 0 && index < int(FOffered.size()))
        FSearchColumns.push_back(FOffered[index].second);
    else
        for (const auto& offered : FOffered)
            FSearchColumns.push_back(offered.second);
}

TColumnEh* TDBGridEhFindDlg::ChosenColumn()
{
    const auto inGrid = [this](const TColumnEh* Column) {
        for (int i = 0; i < FGrid->Columns()->Count(); ++i)
            if (FGrid->Columns()->ColumnAt(i) == Column)
                return true;
        return false;
    };
    BuildSearchColumns();
    // Columns made again from the fields (the dataset reopened) replace the listed ones.
    if (!std::all_of(FSearchColumns.begin(), FSearchColumns.end(), inGrid)) {
        const String chosen = cbFindIn->Text();
        FOffered.clear();
        FillFindInList();
        cbFindIn->SetItemIndex(cbFindIn->Items()->IndexOf(chosen));
        BuildSearchColumns();
    }
    const bool all = cbFindIn->ItemIndex() < 0 || cbFindIn->ItemIndex() >= int(FOffered.size());
    return all || FSearchColumns.empty() ? nullptr : FSearchColumns.front();
}

// --- Finding --------------------------------------------------------------------------------

void TDBGridEhFindDlg::bFindClick(TObject*)
{
    const bool reverse = GetKeyState(VK_CONTROL) < 0;
    const String text = cbText->Text();
    if (!text.isEmpty() && cbText->Items()->IndexOf(text) < 0)
        cbText->Items()->Add(text);
    // An empty text would match the very next cell: there is nothing to look for.
    if (text.isEmpty()) {
        MessageBeep(0);
        return;
    }
    if (FGrid == nullptr || !FGrid->DataLink()->Active())
        return;
    auto direction = TLocateTextDirectionEh(std::max(cbFindDirection->ItemIndex(), 0));
    if (direction == TLocateTextDirectionEh::ltdAllEh && !FFirstTry)
        direction = TLocateTextDirectionEh::ltdDownEh;
    if (reverse)
        direction = direction == TLocateTextDirectionEh::ltdUpEh ? TLocateTextDirectionEh::ltdDownEh
                                                                 : TLocateTextDirectionEh::ltdUpEh;
    const auto matching = TLocateTextMatchTypeEh(std::max(cbMatchinType->ItemIndex(), 0));
    TColumnEh* column = ChosenColumn();
    TLocateTextOptionsEh options;
    if (!cbCharCase->Checked())
        options = options | ltoCaseInsensitiveEh;
    if (cbUseFormat->Checked())
        options = options | ltoMatchFormatEh;
    if (column == nullptr)
        options = options | ltoAllFieldsEh;
    if (FGrid->LocateTextInColumn(column, text, matching, direction, options))
        FFirstTry = false;
    else
        MessageBox(Handle(), u"没有找到“%1”。"_s.arg(text), u"提示"_s, MB_OK | MB_ICONINFORMATION);
}

void TDBGridEhFindDlg::bCancelClick(TObject*) { Close(); }

void TDBGridEhFindDlg::cbFindInChange(TObject*) { BuildSearchColumns(); }

void TDBGridEhFindDlg::cbTextChange(TObject*)
{
    FFirstTry = true;
    // A typed text is no edit to undo: Esc closes the dialog rather than restoring the text.
    cbText->SetModified(false);
}

void TDBGridEhFindDlg::KeyDown(WORD& Key, TShiftState Shift)
{
    TForm::KeyDown(Key, Shift);
    if (Key != VK_RETURN && Key != VK_ESCAPE)
        return;
    TWinControl* active = ActiveControl();
    if (active != nullptr && active->Perform(CM_WANTSPECIALKEY, Key) != 0)
        return;
    if (Key == VK_ESCAPE) {
        // The modal form closes through its cancel button.
        if (!FModal) {
            Close();
            Key = 0;
        }
        return;
    }
    bFindClick(bFind);
    cbText->SetModified(false);
    Key = 0;
}

// --- The shared dialog and the grid's way to it --------------------------------------------

TDBGridEhFindDlg* DBGridEhFindDlg() { return SharedDialog().get(); }

void ExecuteDBGridEhFindDlg(TCustomDBGridEh* Grid, const String& Text, bool Modal,
                            const TFindColumnFieldsEh& ColumnFields)
{
    if (SharedDialog() == nullptr)
        SharedDialog() = std::make_unique<TDBGridEhFindDlg>(nullptr);
    SharedDialog()->Execute(Grid, Text, Modal, ColumnFields);
}

void StartDBGridEhFindDlgs()
{
    if (!ShowFindDialog())
        ShowFindDialog() = [](TCustomDBGridEh* Grid, const String& Text, bool Modal) {
            ExecuteDBGridEhFindDlg(Grid, Text, Modal);
        };
}

void ShutdownDBGridEhFindDlgs() { SharedDialog().reset(); }

bool TCustomDBGridEh::UseModalFindDialog() { return true; }

void TCustomDBGridEh::OpenFindDialog(const String& Text, TColumnEh* Column)
{
    const bool modal = UseModalFindDialog();
    if (FCenter != nullptr)
        FCenter->OpenFindDialog(this, Text, modal, Column != nullptr ? Column->FieldName() : String());
    else if (ShowFindDialog())
        ShowFindDialog()(this, Text, modal);
}
