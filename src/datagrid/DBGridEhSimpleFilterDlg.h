#pragma once
// Unit DBGridEhSimpleFilterDlg: the custom filter dialog TDBGridEhSimpleFilterDialog that the
// filter list's "(Custom...)" opens, one form for every grid: two conditions on a column, each an
// operator and a value, joined by And or Or, given to the column's filter as one expression.
#include "editors/DBCtrlsEh.h"
#include "platform/ui/Forms.h"

class TBevel;
class TButton;
class TColumnEh;
class TComboBox;
class TLabel;
class TRadioButton;
enum class TSTFilterCompareKindEh : std::uint8_t;

class TDBGridEhSimpleFilterDialog : public TForm {
public:
    explicit TDBGridEhSimpleFilterDialog(TComponent* AOwner);

    // Fills the lists and the rows from Column's filter.
    void Prepare(TColumnEh* Column);
    // The expression the rows make, as the column's filter is given it.
    String RowsText() const;

    TLabel* Label1 = nullptr;
    TBevel* Bevel1 = nullptr;
    TComboBox* ComboBox1 = nullptr;
    TComboBox* ComboBox2 = nullptr;
    TRadioButton* rbAnd = nullptr;
    TRadioButton* rbOr = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TButton* bOk = nullptr;
    TButton* bCancel = nullptr;
    TDBComboBoxEh* DBComboBoxEh1 = nullptr;
    TDBComboBoxEh* DBComboBoxEh2 = nullptr;

protected:
    const char* ClassName() const override { return "TDBGridEhSimpleFilterDialog"; }

private:
    void CreateComponents();
    void FillOperatorList(TComboBox* Operators);
    void LoadFromFilter();
    void LoadRow(TComboBox* Operators, TDBComboBoxEh* Value, TSTFilterCompareKindEh Operator, const Variant& Operand);
    String RowText(const TComboBox* Operators, const TDBComboBoxEh* Value) const;
    // OK gives the rows to the column's filter; one that does not parse keeps the dialog open.
    void ApplyRows(bool& CanClose);

    TColumnEh* FColumn = nullptr;
};

// Makes the shared dialog on first use and shows it modally for Column; true after OK.
bool ShowSimpleFilterDialogEh(TColumnEh* Column);
TDBGridEhSimpleFilterDialog* DBGridEhSimpleFilterDialog();
// Called as the grid unit starts and ends: puts the dialog behind "(Custom...)", then frees it.
void StartDBGridEhSimpleFilterDlg();
void ShutdownDBGridEhSimpleFilterDlg();
