#pragma once
// Unit sys: the settings window, which keeps the lists behind the main window's entry fields
// (users, departments, items, remarks, suppliers, one page each), and the pinyin search codes
// those lists store beside their Chinese names.
#include "app/BoundStatements.h"
#include "platform/core/String.h"
#include "platform/core/TextEncoding.h"
#include "platform/ui/Forms.h"

#include <functional>

class TADOQuery;
class TBitBtn;
class TCheckBox;
class TComboBox;
class TCustomEdit;
class TDataSource;
class TDBGridEh;
class TEdit;
class TGroupBox;
class TMenuItem;
class TPageControl;
class TPopupMenu;
class TTabSheet;

// Whether a page's "增加" or its "修改" asks for the row in the editors to be stored.
enum class TSaveMode { smAdd, smModify };

// The page numbers of the row copy, in the order the window was first built, not the tab order.
enum class TSettingsPage { spUsers = 1, spDepartments = 2, spSuppliers = 3, spItems = 4, spRemarks = 5 };

class TForm3 : public TForm {
public:
    // Created after the main window, whose settings file and connection it shares.
    explicit TForm3(TComponent* AOwner);
    ~TForm3() override;

    TGroupBox* GroupBox1;
    TPageControl* PageControl1;
    TTabSheet* TabSheet1;
    TTabSheet* TabSheet2;
    TTabSheet* TabSheet3;
    TTabSheet* TabSheet4;
    TTabSheet* TabSheet5;

    // Users.
    TComboBox* ComboBox1;
    TEdit* Edit8;
    TEdit* Edit7;
    TBitBtn* BitBtn17;
    TBitBtn* BitBtn20;
    TBitBtn* BitBtn19;
    TBitBtn* BitBtn3;
    TBitBtn* BitBtn6;
    TBitBtn* BitBtn10;
    TBitBtn* BitBtn16;
    // Departments.
    TEdit* Edit1;
    TEdit* Edit2;
    TBitBtn* BitBtn1;
    TBitBtn* BitBtn2;
    TBitBtn* BitBtn4;
    TBitBtn* BitBtn24;
    TBitBtn* BitBtn25;
    // Items.
    TEdit* Edit3;
    TEdit* Edit6;
    TEdit* Edit5;
    TComboBox* ComboBox6;
    TCheckBox* CheckBox1;
    TCheckBox* CheckBox2;
    TBitBtn* BitBtn5;
    TBitBtn* BitBtn8;
    TBitBtn* BitBtn7;
    TBitBtn* BitBtn13;
    TBitBtn* BitBtn38;
    TBitBtn* BitBtn14;
    TBitBtn* BitBtn15;
    // Remarks.
    TEdit* Edit4;
    TBitBtn* BitBtn9;
    TBitBtn* BitBtn12;
    TBitBtn* BitBtn11;
    TBitBtn* BitBtn27;
    TBitBtn* BitBtn26;
    // Suppliers.
    TEdit* Edit10;
    TEdit* Edit9;
    TEdit* Edit11;
    TEdit* Edit12;
    TEdit* Edit13;
    TEdit* Edit14;
    TEdit* Edit16;
    TEdit* Edit15;
    TEdit* Edit17;
    TEdit* Edit18;
    TBitBtn* BitBtn18;
    TBitBtn* BitBtn22;
    TBitBtn* BitBtn21;
    TBitBtn* BitBtn23;
    TBitBtn* BitBtn28;
    TBitBtn* BitBtn30;
    TBitBtn* BitBtn31;
    TBitBtn* BitBtn32;
    TBitBtn* BitBtn33;
    TBitBtn* BitBtn34;
    TBitBtn* BitBtn35;
    TBitBtn* BitBtn36;
    TBitBtn* BitBtn37;
    TBitBtn* BitBtn29;

    // The lists, and the scratch query of checks and writes.
    TADOQuery* ADOQsu1;
    TADOQuery* sdept1;
    TADOQuery* ADOQp1;
    TADOQuery* ADOQremark1;
    TADOQuery* ADOQgys;
    TADOQuery* ADOQadd;
    TDataSource* Dsu1;
    TDataSource* dsdept1;
    TDataSource* DSpty1;
    TDataSource* Dsrm1;
    TDataSource* Dgys1;

    // The lists' grids, by page: users, departments, items, remarks, suppliers.
    TDBGridEh* DBGridEh4;
    TDBGridEh* DBGridEh1;
    TDBGridEh* DBGridEh2;
    TDBGridEh* DBGridEh3;
    TDBGridEh* DBGridEh5;

    // The grids' menu: one delete item per page, shown only over a selected row, and the copy.
    TPopupMenu* PMenu1;
    TMenuItem* N1;
    TMenuItem* N2;
    TMenuItem* N3;
    TMenuItem* N4;
    TMenuItem* N5;
    TMenuItem* N6;

    // The department name of the row last shown in the department editors: the old name a
    // rename cascades from.
    String OldDepartmentName;

    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void FormShow(TObject* Sender);

    void SaveUser(TSaveMode Mode);
    void SaveDepartment(TSaveMode Mode);
    void SaveItem(TSaveMode Mode);
    void SaveSupplier(TSaveMode Mode);
    void SaveRemark(TSaveMode Mode);
    // Copies the current row of the page's list into its editors.
    void ShowRowInEditors(TSettingsPage Page);
    // The list's rows whose Field contains the edit's text (all rows when it is empty), by OrderBy.
    void SearchTableLike(TADOQuery* Query, const String& Table, TCustomEdit* Edit, const String& OrderBy,
                         const String& Field);
    // The list's rows whose FieldName holds Value, as a double click on a cell asks; the row
    // number column ("序号") filters nothing.
    void FilterByCellValue(TADOQuery* Query, const String& Table, const String& FieldName, const String& Value,
                           const String& OrderBy);
    void HideDeleteMenuItems();
    // The row numbers of a settings list: the top row is 1.
    void DrawRowNumberCell(TDBGridEh* Grid, const TRect& Rect, int DataCol);
    // The application's message hook while this window is active: the wheel pages the focused list.
    void OnMouseWheel(TMsg& Msg, bool& Handled);
    void FormActivate(TObject* Sender);

    // The lowercase pinyin initial of the GB2312 character whose two bytes begin Text, or a
    // blank when its code lies in no initial's range.
    static Char PinyinInitialOf(const TBytes& Text);
    // The search code of Text: its ASCII letters and digits as they are and the pinyin initials
    // of its GB2312 characters, in order; everything else is left out.
    static String MakePinyinCode(const String& Text);

protected:
    const char* ClassName() const override { return "TForm3"; }

private:
    // What one page's "增加" or "修改" stores.
    struct TRowSave {
        TSaveMode Mode;
        TCustomEdit* NameEdit;      // selected and focused on a duplicate and after storing
        String DuplicateSql;        // finds a row equal to the one in the editors
        TQueryParams DuplicateParams;
        String DuplicateMessage;
        String ModifyPrompt;
        String InsertSql;
        String UpdateSql;           // its id parameter is IdParam
        String IdParam;
        TQueryParams Values;
        TADOQuery* List;
        String LocateField;         // the stored row is found again by this field: "id" or "备注"
        Variant LocateValue;        // for a LocateField other than "id"
        std::function<void()> AlsoStore;  // further statements of the same transaction
        String AddedMessage;
        String FailureMessage;
    };
    // The steps after the required check and the code fill: duplicate check, confirmation,
    // storing in one transaction, finding the row again and the messages.
    bool SaveRow(const TRowSave& Save);
    bool IsDuplicate(const TRowSave& Save);
    // The page's delete of its list's current row, asked for by its "删除".
    struct TRowDelete {
        TSettingsPage Page;
        TADOQuery* List;
        String Table;
        String Prompt;
        String EmptyMessage;
        TCustomEdit* NameEdit;
    };
    void DeleteRowById(const TRowDelete& Delete);

    void CreateComponents();
    void CreateUsersPage();
    void CreateDepartmentsPage();
    void CreateItemsPage();
    void CreateRemarksPage();
    void CreateSuppliersPage();
    void BindEvents();
    void BindSearches();
    void BindPageShows();
    void CreateGrids();
    void BindGridEvents();

    // The current row's text of FieldName in List, empty when the list has no row.
    static String CurrentText(TADOQuery* List, const char* FieldName);
    // The code edit shows the search code of the name edit.
    static void FillCode(TCustomEdit* Name, TCustomEdit* Code);
    // A code left empty takes the search code of the name.
    static void FillCodeIfEmpty(TCustomEdit* Name, TCustomEdit* Code);
    // An item's category, stored in ptype.礼品: "办公", "礼品", "办公礼品" or empty.
    String ItemCategory() const;
    void ShowItemCategory(const String& Category);
    // The list reopened on its statement, its closed lists opened on their show-all statements.
    void ReopenClosedLists();
    // The list shows all its rows again and its current row is copied into the editors.
    void ShowAll(TSettingsPage Page);
    void Inform(const String& Text, const String& Caption, unsigned Flags);
    bool Confirm(const String& Text, const String& Caption);
};

extern TForm3* Form3;
