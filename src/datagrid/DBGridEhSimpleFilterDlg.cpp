// The custom filter dialog: its form, the operator table, loading the rows from a column's filter
// and making the expression the rows stand for.
#include "datagrid/DBGridEhSimpleFilterDlg.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhCenter.h"
#include "datagrid/DBGridEhFilterRow.h"
#include "datagrid/DBGridEhUnit.h"
#include "platform/core/SysUtils.h"
#include "platform/ui/Bevel.h"
#include "platform/ui/Button.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Label.h"

#include <array>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

using enum TSTFilterCompareKindEh;

// One entry of the operator lists: its text, what the row text starts with, and the wildcards
// put around the value.
struct TOperatorEntry {
    const char16_t* Text;
    const char16_t* Prefix;
    bool LeadingWildcard;
    bool TrailingWildcard;
};

// Entries 7-14 compare text; 15 and 16 take a list; 17 and 18 no value.
constexpr std::array<TOperatorEntry, 19> Operators{{
    {u"", u"", false, false},
    {u"equals", u"=", false, false},
    {u"does not equal", u"<>", false, false},
    {u"is greate than", u">", false, false},
    {u"is greate than or equall to", u">=", false, false},
    {u"is less than", u"<", false, false},
    {u"is less than or equall to", u"<=", false, false},
    {u"begins with", u"~", false, true},
    {u"does not begin with", u"!~", false, true},
    {u"ends with", u"~", true, false},
    {u"does not end with", u"!~", true, false},
    {u"contains", u"~", true, true},
    {u"does not contain", u"!~", true, true},
    {u"like", u"~", false, false},
    {u"not like", u"!~", false, false},
    {u"in list", u"in", false, false},
    {u"not in list", u"!in", false, false},
    {u"is blank", u"=Null", false, false},
    {u"is not blank", u"<>Null", false, false},
}};
constexpr int FirstTextEntry = 7;
constexpr int LastTextEntry = 14;
constexpr int InListEntry = 15;
constexpr int NotInListEntry = 16;
constexpr int IsBlankEntry = 17;
constexpr int IsNotBlankEntry = 18;

std::unique_ptr<TDBGridEhSimpleFilterDialog>& SharedDialog()
{
    static std::unique_ptr<TDBGridEhSimpleFilterDialog> dialog;
    return dialog;
}

bool IsTextKind(const TColumnEh* Column)
{
    const TSTFilterValueKindEh kind = ColumnFilterValueKind(Column);
    return Column->Field() == nullptr ||
           (kind != TSTFilterValueKindEh::fvkNumber && kind != TSTFilterValueKindEh::fvkDateTime &&
            kind != TSTFilterValueKindEh::fvkBoolean);
}

// The one value the filter language reads Text as, when it reads it whole as one value (a
// quoted text included); commas count as the list separators they are in most columns.
bool ReadsAsOneValue(const String& Text, String& Value)
{
    qsizetype pos = 0;
    TSTFilterCompareKindEh code = fcNone;
    Variant read;
    try {
        NextFilterLexeme(Text, pos, code, read, true);
    } catch (const Exception&) {
        return false;
    }
    if (code != fcValue || VarIsArray(read) || pos < Text.size())
        return false;
    Value = VarToStr(read);
    return true;
}

// The operand text of a like condition without its wildcards, and which it had: a "%" at an
// end counts unless another "%" stands beside it.
String StripWildcards(String Text, bool& Leading, bool& Trailing)
{
    Leading = Text.size() >= 1 && Text.startsWith(u'%') && !Text.startsWith(u"%%"_s);
    if (Leading)
        Text.remove(0, 1);
    Trailing = Text.size() >= 1 && Text.endsWith(u'%') && !Text.endsWith(u"%%"_s);
    if (Trailing)
        Text.chop(1);
    return Text;
}

int EntryOfOperator(TSTFilterCompareKindEh Operator, bool Leading, bool Trailing)
{
    switch (Operator) {
    case fcEqual: return 1;
    case fcNotEqual: return 2;
    case fcGreater: return 3;
    case fcGreaterOrEqual: return 4;
    case fcLess: return 5;
    case fcLessOrEqual: return 6;
    case fcLike: return Leading && Trailing ? 11 : Leading ? 9 : Trailing ? 7 : 13;
    case fcNotLike: return Leading && Trailing ? 12 : Leading ? 10 : Trailing ? 8 : 14;
    case fcIn: return InListEntry;
    case fcNotIn: return NotInListEntry;
    case fcIsNull: return IsBlankEntry;
    case fcIsNotNull: return IsNotBlankEntry;
    default: return 0;
    }
}

}  // namespace

TDBGridEhSimpleFilterDialog::TDBGridEhSimpleFilterDialog(TComponent* AOwner) : TForm(AOwner)
{
    CreateComponents();
    OnCloseQuery = [this](TObject*, bool& CanClose) { ApplyRows(CanClose); };
}

// The application's font throughout: the stored form's "MS Sans Serif" is no font here.
void TDBGridEhSimpleFilterDialog::CreateComponents()
{
    SetName(u"DBGridEhSimpleFilterDialog"_s);
    SetCaption(u"Custom filter"_s);
    SetBorderStyle(TFormBorderStyle::bsDialog);
    SetPosition(TPosition::poScreenCenter);
    SetClientWidth(410);
    SetClientHeight(218);
    Label1 = PlaceOnForm<TLabel>(this, 6, 7, 0, 0);
    Label1->SetCaption(u"Show records where:"_s);
    Bevel1 = PlaceOnForm<TBevel>(this, 4, 27, 399, 8);
    Bevel1->SetShape(TBevelShape::bsTopLine);
    const auto operatorList = [this](int Top) {
        auto* combo = PlaceOnForm<TComboBox>(this, 8, Top, 191, 21);
        combo->SetStyle(TComboBoxStyle::csDropDownList);
        return combo;
    };
    const auto valueCombo = [this](int Top) {
        auto* combo = PlaceOnForm<TDBComboBoxEh>(this, 207, Top, 191, 21);
        combo->DropDownBox()->SetRows(17);
        combo->DropDownBox()->SetSizable(true);
        return combo;
    };
    ComboBox1 = operatorList(39);
    DBComboBoxEh1 = valueCombo(39);
    rbAnd = PlaceOnForm<TRadioButton>(this, 38, 69, 47, 17);
    rbAnd->SetCaption(u"&And"_s);
    rbAnd->SetChecked(true);
    rbOr = PlaceOnForm<TRadioButton>(this, 105, 69, 53, 17);
    rbOr->SetCaption(u"&Or"_s);
    ComboBox2 = operatorList(92);
    DBComboBoxEh2 = valueCombo(92);
    Label2 = PlaceOnForm<TLabel>(this, 6, 131, 0, 0);
    Label2->SetCaption(u"Use '_' to represent any single character"_s);
    Label3 = PlaceOnForm<TLabel>(this, 6, 151, 0, 0);
    Label3->SetCaption(u"Use '%' to represent any series of characters"_s);
    bOk = PlaceOnForm<TButton>(this, 237, 188, 78, 22);
    bOk->SetCaption(u"OK"_s);
    bOk->SetDefault(true);
    bOk->SetModalResult(mrOk);
    bCancel = PlaceOnForm<TButton>(this, 323, 188, 78, 22);
    bCancel->SetCaption(u"Cancel"_s);
    bCancel->SetCancel(true);
    bCancel->SetModalResult(mrCancel);
}

// --- Preparing ------------------------------------------------------------------------------

void TDBGridEhSimpleFilterDialog::FillOperatorList(TComboBox* List)
{
    List->Items()->Clear();
    const bool text = IsTextKind(FColumn);
    for (int entry = 0; entry < int(Operators.size()); ++entry)
        if (text || entry < FirstTextEntry || entry > LastTextEntry)
            List->Items()->Add(String::fromUtf16(Operators[entry].Text));
    List->SetDropDownCount(List->Items()->Count());
}

void TDBGridEhSimpleFilterDialog::Prepare(TColumnEh* Column)
{
    FColumn = Column;
    FillOperatorList(ComboBox1);
    FillOperatorList(ComboBox2);
    TCustomDBGridEh* grid = Column->OwningGrid();
    TDBGridEhCenter* center = grid != nullptr && grid->Center() != nullptr ? grid->Center() : DBGridEhCenter();
    for (TDBComboBoxEh* value : {DBComboBoxEh1, DBComboBoxEh2}) {
        value->Items()->Clear();
        if (center != nullptr)
            center->FillFilterValueList(grid, Column, value->Items());
        value->SetText(String());
    }
    LoadFromFilter();
}

void TDBGridEhSimpleFilterDialog::LoadFromFilter()
{
    const TSTFilterExpressionEh& expr = FColumn->STFilter()->Expression();
    LoadRow(ComboBox1, DBComboBoxEh1, expr.Operator1, expr.Operand1);
    (expr.Relation == fcOr ? rbOr : rbAnd)->SetChecked(true);
    LoadRow(ComboBox2, DBComboBoxEh2, expr.Operator2, expr.Operand2);
}

void TDBGridEhSimpleFilterDialog::LoadRow(TComboBox* List, TDBComboBoxEh* Value, TSTFilterCompareKindEh Operator,
                                          const Variant& Operand)
{
    String text;
    if (!VarIsNull(Operand) && !VarIsEmpty(Operand))
        FColumn->STFilter()->ValuesAsFilterText(Operand, Operator, text);
    bool leading = false;
    bool trailing = false;
    if (Operator == fcLike || Operator == fcNotLike)
        text = StripWildcards(text, leading, trailing);
    Value->SetText(text);
    const String entryText = String::fromUtf16(Operators[EntryOfOperator(Operator, leading, trailing)].Text);
    List->SetItemIndex(std::max(List->Items()->IndexOf(entryText), 0));
}

// --- The expression -------------------------------------------------------------------------

String TDBGridEhSimpleFilterDialog::RowText(const TComboBox* List, const TDBComboBoxEh* Value) const
{
    const int shown = std::max(List->ItemIndex(), 0);
    int entry = 0;
    for (; entry < int(Operators.size()); ++entry)
        if (List->Items()->Strings(shown) == String::fromUtf16(Operators[entry].Text))
            break;
    const TOperatorEntry& op = Operators[entry];
    const String prefix = String::fromUtf16(op.Prefix);
    const String value = Value->Text();
    // Without an operator the value is the whole text and takes the column's default operator.
    if (entry == 0)
        return value;
    if (entry == IsBlankEntry || entry == IsNotBlankEntry || value.isEmpty())
        return prefix;
    if (entry == InListEntry || entry == NotInListEntry)
        return prefix + u'(' + value + u')';
    const String leading = op.LeadingWildcard ? u"%"_s : String();
    const String trailing = op.TrailingWildcard ? u"%"_s : String();
    // A value typed in quotes keeps them, with the wildcards inside: after the closing one the
    // language reads a new word.
    String read;
    if (value.startsWith(u'\'') && ReadsAsOneValue(value, read))
        return prefix + QuotedStr(leading + read + trailing);
    // Anything the language would split, cut short or read as an operator or keyword is quoted,
    // so the condition compares exactly the text typed; blanks at the ends matter for text only.
    // An apostrophe inside is quoted too, so the text never leans on the reader's leniency.
    const String text = leading + value + trailing;
    const String meant = IsTextKind(FColumn) ? text : Trim(text);
    const bool quote =
        meant != Trim(meant) || meant.contains(u'\'') || !ReadsAsOneValue(meant, read) || read != meant;
    return prefix + (quote ? QuotedStr(text) : text);
}

String TDBGridEhSimpleFilterDialog::RowsText() const
{
    const String first = RowText(ComboBox1, DBComboBoxEh1);
    const String second = RowText(ComboBox2, DBComboBoxEh2);
    // A second row alone is the whole condition, not half of one.
    if (second.isEmpty() || first.isEmpty())
        return first.isEmpty() ? second : first;
    return first + (rbOr->Checked() ? u" OR "_s : u" AND "_s) + second;
}

void TDBGridEhSimpleFilterDialog::ApplyRows(bool& CanClose)
{
    if (ModalResult() != mrOk)
        return;
    try {
        FColumn->STFilter()->ApplyExpressionText(RowsText());
    } catch (const Exception& E) {
        Application->ShowException(E);
        CanClose = false;
    }
}

// --- The shared dialog ----------------------------------------------------------------------

TDBGridEhSimpleFilterDialog* DBGridEhSimpleFilterDialog() { return SharedDialog().get(); }

bool ShowSimpleFilterDialogEh(TColumnEh* Column)
{
    if (SharedDialog() == nullptr)
        SharedDialog() = std::make_unique<TDBGridEhSimpleFilterDialog>(nullptr);
    SharedDialog()->Prepare(Column);
    return SharedDialog()->ShowModal() == mrOk;
}

void StartDBGridEhSimpleFilterDlg()
{
    if (!ShowSimpleFilterDialog())
        ShowSimpleFilterDialog() = ShowSimpleFilterDialogEh;
}

void ShutdownDBGridEhSimpleFilterDlg() { SharedDialog().reset(); }
