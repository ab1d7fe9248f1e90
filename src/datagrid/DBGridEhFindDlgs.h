#pragma once
// Unit DBGridEhFindDlgs: the grid's find dialog TDBGridEhFindDlg, one form shared by every grid,
// modal or staying on top, that finds a text in one column or all of them, up, down or from the
// first record, and keeps the texts searched while it lives.
#include "editors/DBCtrlsEh.h"
#include "platform/ui/Forms.h"

#include <utility>
#include <vector>

class TButton;
class TColumnEh;
class TCustomDBGridEh;
class TLabel;

// The columns a caller offers instead of the grid's visible ones: (caption, column) pairs.
using TFindColumnFieldsEh = std::vector<std::pair<String, TColumnEh*>>;

class TDBGridEhFindDlg : public TForm {
public:
    explicit TDBGridEhFindDlg(TComponent* AOwner);
    ~TDBGridEhFindDlg() override;

    // Opens the dialog for Grid with Text to find; ColumnFields empty offers the visible columns.
    void Execute(TCustomDBGridEh* Grid, const String& Text, bool Modal, const TFindColumnFieldsEh& ColumnFields = {});
    TCustomDBGridEh* Grid() const { return FGrid; }

    TLabel* Label1 = nullptr;
    TDBComboBoxEh* cbText = nullptr;
    TLabel* Label2 = nullptr;
    TDBComboBoxEh* cbFindIn = nullptr;
    TLabel* cbMatchType = nullptr;
    TDBComboBoxEh* cbMatchinType = nullptr;
    TLabel* Label3 = nullptr;
    TDBComboBoxEh* cbFindDirection = nullptr;
    TDBCheckBoxEh* cbCharCase = nullptr;
    TDBCheckBoxEh* cbUseFormat = nullptr;
    TLabel* Label4 = nullptr;
    TDBComboBoxEh* dbcTreeFindRange = nullptr;
    TButton* bFind = nullptr;
    TButton* bCancel = nullptr;

    void bFindClick(TObject* Sender);
    void bCancelClick(TObject* Sender);
    void cbFindInChange(TObject* Sender);
    void cbTextChange(TObject* Sender);

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    const char* ClassName() const override { return "TDBGridEhFindDlg"; }

private:
    void CreateComponents();
    // Moves each row of controls down below the one above where the combo boxes came out higher
    // than designed, so that no two overlap; the form grows by as much.
    void StackRows();
    void FillFindInList();
    void BuildSearchColumns();
    // The chosen column; nullptr for "<All>". Columns the grid no longer has are listed again.
    TColumnEh* ChosenColumn();
    void SetGrid(TCustomDBGridEh* Grid);

    TCustomDBGridEh* FGrid = nullptr;
    int FDesignedHeight = 0;
    TFindColumnFieldsEh FOffered;
    std::vector<TColumnEh*> FSearchColumns;
    bool FFirstTry = true;
    bool FModal = false;
    bool FFocusText = false;
};

// The shared dialog once it was first opened; nullptr before (and after the grid unit ends).
TDBGridEhFindDlg* DBGridEhFindDlg();
// Makes the shared dialog on first use and opens it; what the centre's ShowFindDialog runs.
void ExecuteDBGridEhFindDlg(TCustomDBGridEh* Grid, const String& Text, bool Modal,
                            const TFindColumnFieldsEh& ColumnFields = {});
// Called as the grid unit starts and ends: puts the dialog behind ShowFindDialog, then frees it.
void StartDBGridEhFindDlgs();
void ShutdownDBGridEhFindDlgs();
