#pragma once
// TDBGridInplaceEdit: the data grid's cell editor. It adds to the base grid's editor the cell's
// main button and the column's edit buttons, the drop-downs of a cell (pick list, lookup data
// list, calendar, calculator, recently used texts) with what accepting each writes, type-ahead
// completion and pasting in list cells (a text the lists lack is the column's OnNotInList's to
// judge), stepping by the up-down button and double clicks, the required-field mark, the column's
// image, and the keys shared between the editor, its open drop-down and the grid.
//
// Where the operations live:
//   DBGridEhInplaceEdit.cpp       loading a cell, the buttons and their layout, a drag from the
//                                 button into the list, stepping, painting
//   DBGridEhInplaceEditKeys.cpp   keys shared with the drop-downs and the grid, focus, cancel-mode
//   DBGridEhInplaceEditLists.cpp  opening and closing the drop-downs, accepting, type-ahead, paste
//   DBGridEhInplaceEditLookup.cpp the lookup cell's data list, its size and type-ahead, texts
//                                 not in the lists
//   DBGridEhInplaceEditMRU.cpp    the column's recently used texts offered while typing
#include "controls/GridsEh.h"
#include "controls/ToolCtrlsEhEditButtons.h"
#include "controls/ToolCtrlsEhPopups.h"
#include "datagrid/DBGridEhTypes.h"

#include <memory>
#include <vector>

class TCanvas;
class TColumnEh;
class TPopupCalculatorEh;
class TPopupDataGridEh;
class TStringList;
class TStrings;

// The first entry equal to S (case ignored), or with Partial the first that starts with S; -1
// when none.
int LocateInStrings(const TStrings* Strings, const String& S, bool Partial);

class TDBGridInplaceEdit : public TInplaceEdit, public IPopupOwnerEh {
public:
    explicit TDBGridInplaceEdit(TComponent* AOwner);
    ~TDBGridInplaceEdit() override;

    TCustomDBGridEh* OwnerGrid() const;
    // The grid's focused column; nullptr without a grid, without columns or past the end.
    TColumnEh* FocusedColumn() const;
    // Chosen from the column when a cell is loaded; cbkNone is a plain text editor.
    TCellButtonKindEh EditStyle() const { return FEditStyle; }
    // The main button (entry 0) and one per column edit button; nullptr before the first layout.
    TEditButtonControlEh* ButtonControl(int Index) const;
    // The width the visible buttons and their separators take at the editor's edge.
    int EditButtonsWidth() const { return FButtonsWidth; }

    // The drop-down the edit style opens, nullptr for none; made on first need.
    TWinControl* ActiveList() const { return FActiveList; }
    bool ListVisible() const { return FListVisible; }
    TPopupListboxEh* PickListBox() const { return FPickListBox; }
    TPopupMonthCalendarEh* Calendar() const { return FCalendar; }
    TPopupCalculatorEh* Calculator() const { return FCalculator; }
    // The lookup column's own data list; nullptr outside lookup cells.
    TPopupDataGridEh* DataList() const { return FDataList; }

    // Opens the style's drop-down under the editor; nothing while one is visible.
    void DropDownActiveList();
    // Closes the open drop-down, writing its choice when Accept.
    void CloseActiveList(bool Accept);
    // A drop-down asks to be closed (a day clicked, the calculator's Ok, a press outside).
    void CloseUp(bool Accept) override;

    // The column's recently used texts that start with the typed text, under the editor.
    TMRUListboxEh* MRUListBox() const { return FMRUListbox; }
    bool MRUListDroppedDown() const { return FMRUDroppedDown; }
    void DropDownMRUList();
    // Accepting takes the selected entry; with none selected the typed text stays.
    void CloseMRUList(bool Accept);

    void LoadCellContents() override;
    // Without the blank shown after a failed choice from the data list.
    String CellText() const override;
    void WndProc(TMessage& Message) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ApplyTextMargins() override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    void DblClick() override;
    void PaintWindow(HDC DC) override;
    // A dotted red line under the text while a required field of the edited record is empty.
    virtual void PaintRequiredMark(TCanvas* Canvas);
    // The column's image for the text, left of it.
    void PaintImage(TCanvas* Canvas);
    // The image the text stands for: its pick-list entry's, or a number's own; repaints on a change.
    virtual void RefreshImageIndex();
    const char* ClassName() const override { return "TDBGridInplaceEdit"; }

    virtual TEditButtonControlEh* MakeEditButtonControl();
    virtual TPopupCalculatorEh* ObtainPopupCalculator();
    virtual void PrimaryButtonDown(bool LowerHalf);
    // The formatting rectangle: the client area less the buttons.
    virtual TRect ComputeTextRect();
    // Completes Text typed at the caret from the pick list; Text comes back empty when the
    // editor took it.
    virtual void CompleteTypedText(String& Text);
    virtual void HandleEditButtonClick(TObject* Sender);
    virtual void HandleEditButtonDown(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled);
    virtual void HandleEditButtonMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    virtual void HandleEditButtonMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual TMRUListboxEh* MakeMRUListbox();
    // Whether the MRU list offers Text for the editor's text.
    virtual void AcceptMRUItem(const String& Text, bool& Accept);
    virtual void RememberMRUListSize();
    // After every change the user made to the text.
    virtual void TextChangedByUser();

private:
    void SetEditStyle(TCellButtonKindEh Value);
    // A word-wrapped column in a cell with room for more than one line edits on several lines.
    void ApplyWordWrap(const TColumnEh* Column);
    // With word wrap: whether Up or Down moves the caret inside the text instead of leaving the cell.
    bool ArrowStaysInText(WORD Key) const;
    // The column's button behind entry Index: nullptr for the main button.
    TEditButtonEh* ColumnButtonOfEntry(int Index) const;
    int ButtonControlIndex(TObject* Sender) const;
    void LayoutEditButtons();
    // A date is edited whole: where it does not fit beside the buttons, the editor reaches over
    // the cells at its right, as far as the grid's client area goes. True when it widened.
    bool WidenToShowDate();
    void EnableEditButtons();
    int DefaultButtonWidth() const;
    // Presses the column edit button whose ShortCut Key with Shift is; false when none.
    bool PressButtonByShortCut(WORD Key, TShiftState Shift);
    void ForwardDragToList(TControl* Button, TPoint At);
    void StepValue(bool LowerHalf);
    // A key-list or lookup cell that may be edited: it holds one of its list's keys or none.
    bool InKeyOnlyCell() const;
    void KeyListDeleteKey(WORD& Key);
    void DeleteAsText(bool Back);
    // A text the cell's lists do not hold, kept as typed for OnNotInList to judge when stored.
    void TakeTextNotInList(const String& Text);
    // The grid's editor text follows the editor's, and a lookup cell's key the record it names.
    void SyncLookupKeyFromText();
    // With OnNotInList: no record of the lookup list reads the editor's text.
    bool TextNotInLookupList() const;
    // The editor's and the grid's editor text together.
    void ShowEditedText(const String& Text);
    bool UsesCalculator() const;
    bool UsesCalendar() const;
    bool UsesListKeys() const;

    // Keys while a drop-down may open: true when the message was taken.
    bool HandleListKeys(TMessage& Message, TShiftState Shift);
    bool RouteKeyToOpenList(TMessage& Message, TShiftState Shift);
    void ShowPickListChoice();

    TPopupListboxEh* ObtainPickListBox();
    TPopupMonthCalendarEh* ObtainCalendar();
    void DropDownPickList();
    void DropDownCalendar();
    void DropDownCalculator();
    void AcceptPickList();
    void AcceptCalendar();
    void AcceptCalculator();
    void SetDataList(TPopupDataGridEh* Value);
    // False when the column has no list to show.
    bool DropDownDataList();
    void AcceptDataList();
    // The field's text and a blank tell that the choice did not take; the blank is no text.
    void ShowAcceptFailure();
    void DropAcceptFailureBlank();
    void SizeDataList();
    void RememberDataListSize();
    // The list record or pick-list entry Prefix begins, its text in the editor with the
    // completion selected (and for a lookup its key chosen); false when none begins so.
    bool CompleteLookupText(const String& Prefix);
    bool CompletePickText(const String& Prefix);
    // Pasting: true when the editor took the message.
    bool HandleWMPaste();
    void RememberPickListSize();
    bool RouteKeyToMRUList(TMessage& Message, TShiftState Shift);
    // The text of an empty cell: the edit mask laid over nothing.
    String EmptyEditText() const;

    TCellButtonKindEh FEditStyle = TCellButtonKindEh::cbkNone;
    int FImageIndex = -1;
    std::unique_ptr<TCanvas> FCanvas;
    TEditButtonStripEh FButtonControls;
    int FButtonsWidth = 0;

    TWinControl* FActiveList = nullptr;
    TPopupListboxEh* FPickListBox = nullptr;       // owned as a component
    TPopupMonthCalendarEh* FCalendar = nullptr;    // owned as a component
    TPopupCalculatorEh* FCalculator = nullptr;     // owned as a component
    TPopupDataGridEh* FDataList = nullptr;         // the column's, free-notified
    std::unique_ptr<TStringList> FPickItems;
    bool FListVisible = false;
    bool FNoClickCloseUp = false;
    // The character message of an Enter or Esc whose key-down closed a drop-down.
    bool FSwallowListKeyChar = false;
    // The text shown when the drop-down opened, back in place when it closes unaccepted.
    String FTextBeforeDropDown;
    // What the editor shows after a failed choice from the data list; empty otherwise.
    String FAcceptFailureText;

    TMRUListEh* FMRUList = nullptr;          // the focused column's
    TMRUListboxEh* FMRUListbox = nullptr;    // owned as a component
    bool FMRUDroppedDown = false;
    // Placing the list resizes it: that is no user's resize to remember.
    bool FPlacingMRUList = false;
};
