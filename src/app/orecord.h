#pragma once
// Unit orecord: the main window. Three record pages (supply issues, guest gifts, stock-in), each
// with its entry fields, totals and list; the database connection every window uses; the
// settings file "os.ini"; the status-bar clock and the mouse-wheel hook.
#include "app/BoundStatements.h"
#include "platform/core/String.h"
#include "platform/core/StringLiterals.h"
#include "platform/core/Variant.h"
#include "platform/data/DataTypes.h"
#include "platform/ui/Forms.h"

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

class TADOConnection;
class TADOQuery;
class TBitBtn;
class TButton;
class TCheckBox;
class TColorBox;
class TComboBox;
class TCustomDBGridEh;
class TCustomEdit;
class TDataSet;
class TDataSource;
class TDateTimePicker;
class TEdit;
class TGroupBox;
class TIniFile;
class TLabel;
class TMainMenu;
class TMemo;
class TMenuItem;
class TColumnEh;
class TDBGridEh;
class TPageControl;
class TPopupMenu;
class TStatusBar;
class TTabSheet;
class TTimer;

// The three record pages, each described once by a TMF1::TRecordPage.
enum class TPageKind { Issue, Gift, StockIn };
inline constexpr TPageKind PageKinds[] = {TPageKind::Issue, TPageKind::Gift, TPageKind::StockIn};

// What a code search finds by the pinyin initials typed.
enum class TCodeSearch { People, Items, Suppliers };

// The caption of the program's message boxes.
inline const String PromptCaption = u"提示"_s;
// A warning under the caption "提示", owned by Window.
void Warn(TForm* Window, const String& Text);

// Texts the pages share: placeholders of the entry fields and the quick filter's words.
inline const String DepartmentPlaceholder = u"请选择部门..."_s;
inline const String ItemPlaceholder = u"请选择物品名称..."_s;
inline const String GiftPlaceholder = u"请填写礼品名称..."_s;
inline const String SupplierPlaceholder = u"请选择供应商..."_s;
inline const String OrganisationPlaceholder = u"请填写来客单位..."_s;
inline const String UnitPlaceholder = u"单位"_s;
inline const String GuestPlaceholder = u"请填写来客姓名..."_s;
inline const String NoDateLimit = u"不限制"_s;

// The units an item is counted in, offered by every unit field.
inline const std::initializer_list<const char*> UnitChoices = {"", "支", "个", "张", "盒", "件", "箱", "台", "本", "瓶", "把", "块", "部"};


// A stored page index that names no page shows the nearest page.
int ClampPageIndex(int Index, int PageCount);
// A window place from the settings file, moved into WorkArea when too little of the window lies
// on it for the user to reach.
TRect PlaceWithinReach(const TRect& Bounds, const TRect& WorkArea);

// The wheel hook's work: every focused grid among Grids pages one screen up (wheel turned away
// from the user) or down. Every wheel message counts as handled, so while a window's hook is
// installed no other control sees the wheel.
void PageFocusedGridsOnWheel(const TMsg& Msg, bool& Handled, std::initializer_list<TWinControl*> Grids);

class TMF1 : public TForm {
public:
    // Builds the window and its components, opens the database and reads "os.ini". Raises
    // EDatabaseError when the database cannot be opened.
    explicit TMF1(TComponent* AOwner);
    ~TMF1() override;

    // --- Window ---
    TMainMenu* MainMenu1;
    TMenuItem* SetupMenu;
    TMenuItem* uN6;
    TMenuItem* dN1;
    TMenuItem* pN7;
    TMenuItem* rN8;
    TMenuItem* N5;
    TMenuItem* DatabaseMenu;
    TMenuItem* bN4;
    TMenuItem* bN5;
    TPageControl* PageControl1;
    TTabSheet* TabSheet1;
    TTabSheet* TabSheet2;
    TTabSheet* TabSheet3;
    TBitBtn* BitBtn3;
    TBitBtn* BitBtn2;
    TStatusBar* StatusBar1;
    TColorBox* ColorBox1;
    TColorBox* ColorBox2;
    TColorBox* ColorBox3;
    TTimer* Timer1;
    TPopupMenu* PopupMenu1;
    TMenuItem* Msa1;
    TMenuItem* Msa2;
    TMenuItem* Msa3;
    TMenuItem* M11;
    TMenuItem* Me1;
    TMenuItem* Me2;
    TMenuItem* Mc1;
    TMenuItem* Mdel1;
    TMenuItem* Mdel2;
    TMenuItem* Mdel3;
    TPopupMenu* PopupMenu3;

    // --- Database ---
    TADOConnection* ADOCon1;
    TADOQuery* dbouser1;
    TADOQuery* ADOg1;
    TADOQuery* ADOR1;
    TADOQuery* ADOQ1;
    TADOQuery* AQc1;
    TDataSource* dsouser3;
    TDataSource* DSg1;
    TDataSource* DSR1;
    // Opened when the window is created, freed when it is destroyed; the settings window uses it too.
    std::unique_ptr<TIniFile> SettingsIni;

    // --- Issue page ---
    TGroupBox* GroupBox1;
    TComboBox* ComboBox1;
    TComboBox* ComboBox3;
    TComboBox* ComboBox5;
    TComboBox* ComboBox2;
    TComboBox* ComboBox7;
    TComboBox* ComboBox6;
    TComboBox* ComboBox8;
    TDateTimePicker* DateTimePicker1;
    TDateTimePicker* DateTimePicker2;
    TComboBox* ComboBox4;
    TButton* Button1;
    TButton* Button2;
    TBitBtn* BitBtn1;
    TMemo* Memo1;
    TMemo* Memo2;
    TLabel* Label59;
    TBitBtn* BitBtn4;
    TBitBtn* BitBtn5;
    TComboBox* ComboBox20;

    // --- Gift page ---
    TGroupBox* GroupBox2;
    TComboBox* ComboBox10;
    TComboBox* ComboBox9;
    TComboBox* ComboBox17;
    TComboBox* ComboBox13;
    TComboBox* ComboBox12;
    TComboBox* ComboBox15;
    TComboBox* ComboBox14;
    TComboBox* ComboBox16;
    TDateTimePicker* DateTimePicker3;
    TDateTimePicker* DateTimePicker4;
    TComboBox* ComboBox18;
    TComboBox* ComboBox33;
    TComboBox* ComboBox19;
    TComboBox* ComboBox11;
    TButton* Button3;
    TButton* Button4;
    TBitBtn* BitBtn8;
    TMemo* Memo3;
    TMemo* Memo4;
    TLabel* Label60;
    TBitBtn* BitBtn9;
    TBitBtn* BitBtn10;
    TComboBox* ComboBox21;
    // Registers one gift; Enter in a field of the page that takes no Enter itself registers too.
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    // The gift quantity takes digits and blanks; Enter registers.
    void ComboBox15KeyPress(TObject* Sender, Char& Key);

    // --- Stock-in page ---
    TGroupBox* GroupBox3;
    TComboBox* ComboBox27;
    TComboBox* ComboBox26;
    TComboBox* ComboBox23;
    TComboBox* ComboBox29;
    TComboBox* ComboBox28;
    TEdit* Edit1;
    TEdit* Edit2;
    TComboBox* ComboBox31;
    TComboBox* ComboBox32;
    TComboBox* ComboBox24;
    TComboBox* ComboBox30;
    TDateTimePicker* DateTimePicker5;
    TDateTimePicker* DateTimePicker6;
    TComboBox* ComboBox25;
    TCheckBox* CheckBox1;
    TButton* Button5;
    TButton* Button6;
    TBitBtn* BitBtn11;
    TMemo* Memo5;
    TMemo* Memo6;
    TLabel* Label61;
    TBitBtn* BitBtn6;
    TBitBtn* BitBtn7;
    TComboBox* ComboBox22;
    // Registers one stock-in, with the requester's issue when "入库且同时领用" is ticked.
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    // The stock-in quantity takes digits and blanks; Enter registers.
    void ComboBox29KeyPress(TObject* Sender, Char& Key);
    // The amount follows the quantity and the unit price as either changes.
    void Edit1Change(TObject* Sender);
    void ComboBox29Change(TObject* Sender);
    // The price and amount take digits and one point with at most two decimals; Enter registers.
    void Edit1KeyPress(TObject* Sender, Char& Key);

private:
    void ShowAmount();

public:
    // --- Record grids ---
    TDBGridEh* DBGridEh1;
    TDBGridEh* DBGridEh2;
    TDBGridEh* DBGridEh3;
    // The row numbers of a newest-first list: the top row has the highest, the bottom row 1.
    void DrawReverseRowNumber(TDBGridEh* Grid, const TRect& Rect, int DataCol);
    // Frames a drawn cell, one pixel beyond it, in the colour ColorBox selects: with the
    // neighbouring cells' frames these are the grid's lines in the page's colour.
    void FrameCellInLineColour(TDBGridEh* Grid, TColorBox* ColorBox, const TRect& Rect);
    // A title click sorts the fetched records by the column, ascending first, then toggling,
    // and marks its title "▲" or "▼" in bold; no query runs.
    void SortGridByTitle(TADOQuery* Query, TDBGridEh* Grid, TColumnEh* Column);
    // "编辑记录": the three lists take edits; "禁用编辑": they are read-only again.
    void Me1Click(TObject* Sender);
    void Me2Click(TObject* Sender);
    // Showing a page offers its own delete and query-all items and leaves the lists read-only.
    void SwitchEditMenuForTab(TMenuItem* Delete, TMenuItem* QueryAll);
    // "复制": the focused list's selection to the clipboard.
    void Mc1Click(TObject* Sender);
    // Deletes the records selected in Grid after asking, then runs the page's query again.
    void DeleteSelectedGridRows(TDBGridEh* Grid, TBitBtn* RequeryButton);
    // A release over a list cycles its tips; a left release anchors a range at the current row,
    // or, with Shift, selects the rows from the anchor to it.
    void HandleGridMouseUp(TDataSet* DataSet, TDBGridEh* Grid, TMouseButton Button, TShiftState Shift);
    void SelectRowRange(TDataSet* DataSet, TDBGridEh* Grid);
    // The page's delete item shows while the list's current row is selected.
    void ShowDeleteItemForSelection(TDBGridEh* Grid, TMenuItem* Delete);

    // Where a Shift range starts: a row of one list, forgotten by every query.
    struct TRangeAnchor {
        TDBGridEh* Grid = nullptr;
        TBookmark Bookmark;
    };
    TRangeAnchor RangeAnchor;
    // Mouse releases over the lists so far; the tips cycle with it.
    int GridTipCounter = 0;

    // --- Window events ---
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void Timer1Timer(TObject* Sender);
    // The application's message hook while this window is active.
    void OnMouseWheel(TMsg& Msg, bool& Handled);
    void FillLineColourBox(TColorBox* ColorBox, const String& Key);
    void BitBtn3Click(TObject* Sender);
    void M11Click(TObject* Sender);
    void BitBtn2Click(TObject* Sender);
    void uN6Click(TObject* Sender);
    void dN1Click(TObject* Sender);
    void pN7Click(TObject* Sender);
    void rN8Click(TObject* Sender);
    void N5Click(TObject* Sender);
    void bN4Click(TObject* Sender);
    void bN5Click(TObject* Sender);
    void Msa1Click(TObject* Sender);
    void Msa2Click(TObject* Sender);
    void Msa3Click(TObject* Sender);
    void Label59MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // Showing a page shows its grid line colour box in the status bar and hides the others.
    void TabSheet1Show(TObject* Sender);
    void TabSheet2Show(TObject* Sender);
    void TabSheet3Show(TObject* Sender);

    // --- Issue registration and queries ---
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void BitBtn1Click(TObject* Sender);
    void ComboBox7KeyPress(TObject* Sender, Char& Key);
    void ComboBox4KeyPress(TObject* Sender, Char& Key);
    void ComboBox2KeyPress(TObject* Sender, Char& Key);
    // Keeps the catalogue of items: adds the (item, type) pair when it is new, then counts a use.
    void UpdateItemCatalogue(TADOQuery* Query, TComboBox* ItemCombo, const String& Category, TComboBox* UnitCombo,
                             TComboBox* TypeCombo);
    // Runs one page's list and its total of 数量, and shows the record count and the total.
    // SumSql sums 数量 over the records of Sql's where clause; a list of one table's records
    // takes that sum with its count instead, and only a summary's groups run SumSql.
    void RunQueryWithTotals(TADOQuery* Query, TADOQuery* SumQuery, TMemo* TotalMemo, TMemo* CountMemo,
                            const String& SumSql, const String& Sql, const TQueryParams& Params = {});
    // Every query leaves the record lists read-only, with "编辑记录" offered in the grid menu.
    void MakeRecordGridsReadOnly();
    // Stores an edit still open in any record list before the lists change under it: posted, or
    // refused with its page's message and the record kept current, its list focused when shown.
    // Answers whether no edit is left open.
    bool PostRecordGridEdits();

    // --- Record pages ---
    // An entry field of a page: the column its filter compares (none for a field the filter
    // leaves alone), whether it matches as a prefix, and the placeholder a reset shows.
    struct TEntryField {
        TCustomEdit* Field;
        const char* Column = nullptr;
        const String* Placeholder = nullptr;
        bool Prefix = false;
    };
    // What a registration asks of a field: filled (not showing its placeholder), a quantity of at
    // least 1, or a price above 0. A refused quantity or price is selected for retyping.
    enum class TEntryCheck { Filled, Quantity, Price };
    struct TRequiredField {
        TCustomEdit* Field;
        const char* Refusal;
        TEntryCheck Check = TEntryCheck::Filled;
        const String* Placeholder = nullptr;
    };
    // A column a registration stores, from the text of its field.
    enum class TStoredAs { Text, Quantity, Number };
    struct TStoredField {
        const char* Column;
        TCustomEdit* Field;
        TStoredAs As = TStoredAs::Text;
    };
    // One record page: its table, list and query controls, its entry fields in the filter's
    // order, what a registration checks, stores and says, its summaries and export. Code names
    // the page where it is chosen by a letter ('a' issues, 'g' gifts, 'c' stock-in), ExportCode
    // where an export is chosen by a number ("1", "2", "3").
    struct TRecordPage {
        Char Code;
        const char* ExportCode;
        const char* Table;
        TADOQuery* Query;
        TMemo* TotalMemo;
        TMemo* CountMemo;
        TComboBox* QuickCombo;
        TBitBtn* AllButton;
        TComboBox* Operator;
        TDateTimePicker* FirstDate;
        TDateTimePicker* SecondDate;
        TBitBtn* QueryButton;
        TPopupMenu* SummaryMenu;
        TDBGridEh* Grid;
        TColorBox* LineColour;
        TMenuItem* DeleteItem;
        TBitBtn* ExportButton;
        // Chosen from its list, never typed.
        TComboBox* Department;
        std::vector<TEntryField> Fields;
        std::vector<TRequiredField> Required;
        // The record a registration inserts, with the date of FirstDate and the time of day.
        std::vector<TStoredField> Stored;
        // The catalogue entry a registration keeps, under Category.
        TComboBox* Item;
        TComboBox* Type;
        TComboBox* Unit;
        const char* Category;
        // The issue page counts the uses of its person and remark; the others count none.
        TComboBox* CountedPerson = nullptr;
        TComboBox* CountedRemark = nullptr;
        // The quantity every registration sums; the stock-in's amount too.
        TComboBox* Quantity;
        TEdit* Amount = nullptr;
        // The stock-in's "入库且同时领用": ticked, the requester's issue is stored with it.
        TCheckBox* AlsoIssue = nullptr;
        std::vector<TStoredField> IssueStored = {};
        const char* ItemColumn;
        // The columns each summary of the page's menu groups by before the item, in menu order.
        std::vector<const char*> SummaryGroups;
        const char* ExportTitle;
        const char* StoredText;
        const char* FailedText;
    };
    const TRecordPage& Page(TPageKind Kind) const { return FPages[static_cast<std::size_t>(Kind)]; }
    // The page whose Code is Code; the issue page for any other.
    const TRecordPage& RecordPage(Char Code) const;
    // The page a control belongs to: one of its entry fields, its query-all button or its date
    // operator; the issue page for any other.
    const TRecordPage& PageOf(const TObject* Control) const;

    // --- Queries ---
    TPopupMenu* PopupMenu2;  // the issue summaries
    TPopupMenu* PopupMenu5;  // the gift summaries
    TPopupMenu* PopupMenu4;  // the stock-in summaries
    void BitBtn8Click(TObject* Sender);
    void BitBtn11Click(TObject* Sender);
    void BitBtn4Click(TObject* Sender);
    void BitBtn9Click(TObject* Sender);
    void BitBtn6Click(TObject* Sender);
    // Query all, then the page's summary menu under the button.
    void BitBtn4MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    // The page's filter: its filled fields in order and its date operator; this year when none.
    void RunPageFilter(const TRecordPage& Page);
    // Every record of the page, its quick filter showing "全部".
    void QueryAll(const TRecordPage& Page);
    // The page's records of the year, month, week or day of its first date, or all of them.
    void RunQuickDateFilter(const TRecordPage& Page);
    // The page's records whose FieldName holds Value, as a double click on a cell of that column asks.
    void QueryByCellValue(const TRecordPage& Page, const String& FieldName, const String& Value);
    // Shows the second date for "介于", hides it for the other operators.
    void ComboBox8Change(TObject* Sender);
    // An operator combo holds one of its operators: any other text becomes "不限制".
    void ResetOperatorText(TComboBox* Combo);
    // The people of a department, most used first, as Name's list.
    void FillNamesOfDepartment(TADOQuery* Query, TComboBox* Department, TComboBox* Name);
    // The department of a person; "请选择部门..." for namesakes in several departments.
    void SetDepartmentOfName(TComboBox* Name, TComboBox* Department);
    // The catalogue types of an item, most used first, as Type's list; the first type and its unit shown.
    void FillTypesOfItem(TComboBox* Item, TComboBox* Type, TComboBox* Unit);
    // An empty item, then the non-empty values of FieldName in the rows of Sql, left open on Query.
    void FillComboFromQuery(TADOQuery* Query, TComboBox* Combo, const String& FieldName, const String& Sql,
                            const TQueryParams& Params = {});

    // --- Code search ---
    // Set by an item change and by a code search, never cleared: from then on an item combo's
    // list is refilled from the catalogue each time it opens.
    bool ListRefillFlag = false;
    // A digit or a lowercase letter typed into a code-search combo drops its list down.
    void DropDownOnCodeKey(Char Key, TComboBox* Combo);
    // On a key's release in a code-search combo: those whose search code begins with the typed
    // text as the list. Arrows and Delete search nothing.
    void RefillComboByCode(TADOQuery* Query, TComboBox* Combo, WORD Key, TCodeSearch Search);
    // The FieldName values of Sql's rows and one empty item as Combo's list, its text kept and
    // the caret at its end; a statement that finds nothing leaves the list as it was.
    void RefillComboList(TADOQuery* Query, TComboBox* Combo, const String& FieldName, const String& Sql,
                         const TQueryParams& Params);

    // --- Summaries ---
    // The page's records of its date range grouped by item and the columns of the Kind-th summary
    // of its menu, with summed quantities.
    void ShowSummary(int Kind, Char Tab);
    void ShowSummary(int Kind, const TRecordPage& Page);

    // --- Spreadsheet export ---
    // Writes Grid's records to a workbook the user names, titled by the page whose ExportCode is
    // Kind. An empty list is refused with a message. The record lists are read-only afterwards,
    // whatever happened.
    void ExportGridToExcel(TCustomDBGridEh* Grid, const String& Kind);
    // The title of the page whose ExportCode is Kind; none for any other.
    String ExportTitle(const String& Kind) const;
    void EnableExportButtons(bool Enabled);

protected:
    const char* ClassName() const override { return "TMF1"; }

private:
    void CreateComponents();
    void CreateMenus();
    // Opens "opr.mdb" and gives it its indexes; another program's file ends the start. A file
    // that cannot be opened or prepared (a full disk, say) leaves its reason in FStartFailure, told when the window first
    // shows: the window stays, so a backup can still be restored.
    void CreateDatabase();
    // The three pages' descriptions, made once their controls exist.
    TRecordPage DescribePage(TPageKind Kind) const;
    std::vector<TRecordPage> FPages;
    String FStartFailure;
    void CreateIssuePage();
    void CreateGiftPage();
    void CreateStockInPage();
    void CreateStatusBar();
    void CreateRecordGrids();
    void BindGridEvents();
    // Edits of a page's list: held to what a registration takes, the page's count and total kept
    // in step with posts and deletes.
    void GuardListEdits(TPageKind Kind);
    bool EditedRecordIsAccepted(const TRecordPage& Page, const TDataSet* DataSet);
    static const char* QuantityRefusal(const TRecordPage& Page);
    // The summed columns of the record being edited as they are stored (0 for a new record).
    struct TSummedValues {
        double Quantity = 0;
        double Amount = 0;
    };
    static TSummedValues SummedValues(const TDataSet* DataSet);
    TSummedValues FStoredBeforeEdit;
    // Shows one of the program's other windows; first stores the lists' open edits, and a
    // refused one keeps the window closed.
    void ShowOtherWindow(TForm* Window);
    void BindEvents();
    // Registers the page's entry: checked, stored in one transaction, then the page reset.
    void RegisterEntry(const TRecordPage& Page);
    // The page's required fields in order, then the sums its numbers join; the first failure is
    // shown and answers false.
    bool EntryIsComplete(const TRecordPage& Page);
    bool FieldIsAccepted(const TRequiredField& Required);
    bool EntrySumsCanHold(const TRecordPage& Page);
    // Whether every sum of Table's Column that a page can show (list totals, footers,
    // summaries) still fits the Currency they are summed in once Value is stored in place of
    // Replaced (0 for a new record).
    bool SumsCanHold(const char* Table, const char* Column, long double Value, long double Replaced = 0);
    // The same for a registration's field: a refusal is shown and the field's text selected.
    bool EntrySumCanHold(TCustomEdit* Field, const char* Table, const char* Column, long double Value,
                         const String& Refusal);
    // The statements of one registration: the record, the counters and the catalogue.
    void StoreEntry(const TRecordPage& Page);
    void InsertRecord(const char* Table, const std::vector<TStoredField>& Fields, TDateTimePicker* Date);
    // The entry fields back at their placeholders, the date operator at "不限制" on today, then
    // the page's query.
    void ResetPage(const TRecordPage& Page);
    void BindSummaryMenus();
    void BindQueryEvents();
    void BindDepartmentKeys(TComboBox* Department, TBitBtn* Query);
    // The code searches, then the lists every entry combo fills as it opens.
    void BindCodeSearchEvents();
    void BindDropDownFillers();
    void ShowSettingsPage(TTabSheet* Page);
    void ShowLineColourBox(TColorBox* ColorBox);
};

extern TMF1* MF1;
