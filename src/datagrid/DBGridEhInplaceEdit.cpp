// The data grid's cell editor: loading a cell, its buttons and their layout, stepping a value by
// the up-down button or a double click, and the required-field mark.
#include "datagrid/DBGridEhInplaceEdit.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhDraw.h"
#include "datagrid/DBGridEhHelpers.h"
#include "datagrid/DBLookupGridsEh.h"
#include "controls/ToolCtrlsEhDraw.h"
#include "controls/ToolCtrlsEhEditButtons.h"
#include "controls/ToolCtrlsEhUtils.h"
#include "editors/CalculatorEh.h"

#include "platform/core/StringList.h"
#include "platform/data/Field.h"
#include "platform/data/DataSet.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PlatformMetrics.h"
#include "platform/ui/Shape.h"

#include <algorithm>
#include <cmath>

namespace {

bool IsUpDownKind(TCellButtonKindEh Kind)
{
    return Kind == TCellButtonKindEh::cbkUpDown || Kind == TCellButtonKindEh::cbkAltUpDown;
}

}  // namespace

TDBGridInplaceEdit::TDBGridInplaceEdit(TComponent* AOwner)
    : TInplaceEdit(AOwner), FCanvas(std::make_unique<TCanvas>()), FPickItems(std::make_unique<TStringList>())
{
}

TDBGridInplaceEdit::~TDBGridInplaceEdit() { SetDataList(nullptr); }

TCustomDBGridEh* TDBGridInplaceEdit::OwnerGrid() const { return dynamic_cast<TCustomDBGridEh*>(Grid()); }

TColumnEh* TDBGridInplaceEdit::FocusedColumn() const
{
    const TCustomDBGridEh* grid = OwnerGrid();
    if (grid == nullptr)
        return nullptr;
    const int index = grid->FocusedColumnIndex();
    return index >= 0 && index < grid->Columns()->Count() ? grid->Columns()->ColumnAt(index) : nullptr;
}

bool TDBGridInplaceEdit::UsesCalculator() const
{
    if (FEditStyle != TCellButtonKindEh::cbkDropDown && FEditStyle != TCellButtonKindEh::cbkAltDropDown)
        return false;
    const TColumnEh* column = FocusedColumn();
    return column != nullptr && column->Field() != nullptr && IsNumericFieldType(column->Field()->DataType());
}

bool TDBGridInplaceEdit::UsesCalendar() const
{
    return FEditStyle == TCellButtonKindEh::cbkCalendar || FEditStyle == TCellButtonKindEh::cbkAltCalendar;
}

// The styles whose drop-down takes Enter, Esc, Alt+Down and the paging keys while open.
bool TDBGridInplaceEdit::UsesListKeys() const
{
    return FEditStyle == TCellButtonKindEh::cbkPickList || FEditStyle == TCellButtonKindEh::cbkLookupList ||
           UsesCalendar() || UsesCalculator();
}

void TDBGridInplaceEdit::ShowEditedText(const String& Text)
{
    SetText(Text);
    OwnerGrid()->SetEditedText(Text);
}

// --- Loading a cell -----------------------------------------------------------------------------

void TDBGridInplaceEdit::LoadCellContents()
{
    CloseActiveList(false);
    CloseMRUList(false);
    FAcceptFailureText.clear();
    TColumnEh* column = FocusedColumn();
    FMRUList = column != nullptr ? column->MRUList() : nullptr;
    SetEditStyle(column != nullptr ? column->EffectiveButtonKind() : TCellButtonKindEh::cbkNone);
    if (column != nullptr) {
        Font()->Assign(column->Font());
        SetColor(column->Color());
        SetReadOnly(column->ReadOnly());
    }
    ApplyWordWrap(column);
    TInplaceEdit::LoadCellContents();
    RefreshImageIndex();
}

void TDBGridInplaceEdit::ApplyWordWrap(const TColumnEh* Column)
{
    const TCustomDBGridEh* grid = OwnerGrid();
    bool wrap = false;
    if (Column != nullptr && Column->WordWrap())
        wrap = grid->RowPanel()->Active() ? Column->InRowLineHeight() > 1
                                          : Column->IsTallerThanOneLine(grid->RowHeightAt(grid->Row()));
    SetMultiLine(wrap);
}

// The drop-down follows the column too: a drop-down button opens the calculator on numbers only.
void TDBGridInplaceEdit::SetEditStyle(TCellButtonKindEh Value)
{
    FEditStyle = Value;
    TColumnEh* column = FocusedColumn();
    SetDataList(FEditStyle == TCellButtonKindEh::cbkLookupList && column != nullptr ? column->ObtainDropDownGrid()
                                                                                   : nullptr);
    if (FDataList != nullptr)
        FActiveList = FDataList;
    else if (FEditStyle == TCellButtonKindEh::cbkPickList)
        FActiveList = ObtainPickListBox();
    else if (UsesCalendar())
        FActiveList = ObtainCalendar();
    else if (UsesCalculator())
        FActiveList = ObtainPopupCalculator();
    else
        FActiveList = nullptr;
    if (HandleAllocated())
        ApplyTextMargins();
    Invalidate();
}

// --- Geometry and buttons -----------------------------------------------------------------------

TRect TDBGridInplaceEdit::ComputeTextRect()
{
    const bool flat = OwnerGrid() != nullptr && OwnerGrid()->Flat();
    TRect rect = flat ? Rect(2, 1, Width() - 2, Height() - 1) : Rect(2, 2, Width() - 2, Height());
    const int fontHeight = std::abs(Font()->Height());
    if (rect.Bottom - rect.Top < fontHeight && rect.Bottom < Height())
        ++rect.Bottom;
    rect.Right -= FButtonsWidth;
    // The column's image shows left of the text.
    const TColumnEh* column = FocusedColumn();
    if (column != nullptr && column->ImageList() != nullptr && column->ShowImageAndText())
        rect.Left += column->ImageList()->Width() + 5;
    return rect;
}

void TDBGridInplaceEdit::ApplyTextMargins()
{
    LayoutEditButtons();
    if (WidenToShowDate())
        LayoutEditButtons();
    EnableEditButtons();
    TRect format = ComputeTextRect();
    Perform(EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&format));
    Perform(EM_SCROLLCARET);
}

bool TDBGridInplaceEdit::WidenToShowDate()
{
    const TCustomDBGridEh* grid = OwnerGrid();
    if (!UsesCalendar() || grid == nullptr || MultiLine())
        return false;
    // One pixel more for the caret after the last digit.
    const int missing = Font()->TextAdvance(Text()) + 1 - ComputeTextRect().Width();
    const int width = std::min(Width() + missing, grid->ClientWidth() - Left());
    if (missing <= 0 || width <= Width())
        return false;
    SetBounds(Left(), Top(), width, Height());
    return true;
}

TEditButtonControlEh* TDBGridInplaceEdit::MakeEditButtonControl()
{
    auto* control = new TEditButtonControlEh(this);
    control->SetBounds(0, 0, 10, 17);
    control->SetParent(this);
    return control;
}

TEditButtonEh* TDBGridInplaceEdit::ColumnButtonOfEntry(int Index) const
{
    const TColumnEh* column = FocusedColumn();
    if (Index == 0 || column == nullptr || Index > column->EditButtons()->Count())
        return nullptr;
    return column->EditButtons()->ItemAt(Index - 1);
}

TEditButtonControlEh* TDBGridInplaceEdit::ButtonControl(int Index) const { return FButtonControls.Control(Index); }

int TDBGridInplaceEdit::ButtonControlIndex(TObject* Sender) const { return FButtonControls.IndexOf(Sender); }

int TDBGridInplaceEdit::DefaultButtonWidth() const
{
    const bool flat = OwnerGrid() != nullptr && OwnerGrid()->Flat();
    return flat ? ComputeEditButtonWidth() : GetSystemMetrics(SM_CXVSCROLL);
}

void TDBGridInplaceEdit::LayoutEditButtons()
{
    const TColumnEh* column = FocusedColumn();
    const std::size_t count = 1 + static_cast<std::size_t>(column != nullptr ? column->EditButtons()->Count() : 0);
    FButtonControls.Grow(count, this, [this] { return MakeEditButtonControl(); });
    const std::vector<TEditButtonEntryEh>& entries = FButtonControls.Entries;
    // Pairs beyond the column's buttons stay for the next cell, hidden.
    for (std::size_t i = count; i < entries.size(); ++i) {
        entries[i].Control->SetVisible(false);
        entries[i].Separator->SetVisible(false);
    }
    const bool flat = OwnerGrid() != nullptr && OwnerGrid()->Flat();
    const bool separated = flat && !ThemesActive();
    const int clientHeight = ClientHeight();
    int commonHeight = clientHeight;
    std::vector<int> widths(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        TEditButtonControlEh* control = entries[i].Control;
        const TEditButtonEh* button = ColumnButtonOfEntry(static_cast<int>(i));
        const bool visible = button != nullptr ? button->Visible() : FEditStyle != TCellButtonKindEh::cbkNone;
        control->SetVisible(visible);
        control->SetFlat(flat);
        if (button != nullptr) {
            control->SetStyle(button->Style());
            control->SetGlyph(button->Glyph());
            control->SetNumGlyphs(button->NumGlyphs());
            control->SetHint(button->Hint());
        } else {
            // Entry 0 is always the main button: it never had a glyph or a hint.
            control->SetStyle(CellButtonStyle(FEditStyle));
        }
        control->OnDown = [this, control](TObject*, bool TopButton, bool& AutoRepeat, bool& Handled) {
            HandleEditButtonDown(control, TopButton, AutoRepeat, Handled);
        };
        control->OnClick = [this, control](TObject*) { HandleEditButtonClick(control); };
        control->OnMouseMove = [this, control](TObject*, TShiftState Shift, int X, int Y) {
            HandleEditButtonMouseMove(control, Shift, X, Y);
        };
        control->OnMouseUp = [this, control](TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
            HandleEditButtonMouseUp(control, Button, Shift, X, Y);
        };
        if (visible) {
            widths[i] = button != nullptr && button->Width() > 0 ? button->Width() : DefaultButtonWidth();
            commonHeight = std::min(commonHeight, EditButtonHeightInStrip(clientHeight, widths[i], flat));
        }
        entries[i].Separator->SetVisible(visible && separated);
    }
    // From the edge leftwards: the last column button at the edge, the main button leftmost.
    FButtonsWidth = ClientWidth() - FButtonControls.Place(ClientWidth(), widths, commonHeight);
}

// The main button always works; a column button as its item says.
void TDBGridInplaceEdit::EnableEditButtons()
{
    for (std::size_t i = 0; i < FButtonControls.Count(); ++i) {
        const TEditButtonEh* button = ColumnButtonOfEntry(static_cast<int>(i));
        const TEditButtonEntryEh& entry = FButtonControls.Entries[i];
        entry.Control->SetEnabled(button == nullptr || button->Enabled());
        entry.Control->SetActive(true);
        entry.Separator->SetColors(clBtnFace);
    }
}

void TDBGridInplaceEdit::HandleEditButtonDown(TObject* Sender, bool TopButton, bool& AutoRepeat, bool& Handled)
{
    const int index = ButtonControlIndex(Sender);
    if (index < 0)
        return;
    if (CanFocus() && !Focused())
        SetFocus();
    Handled = false;
    if (index == 0) {
        TColumnEh* column = FocusedColumn();
        if (column != nullptr && column->OnEditButtonDown)
            column->OnEditButtonDown(Sender, TopButton, AutoRepeat, Handled);
        if (!Handled)
            PrimaryButtonDown(!TopButton);
        return;
    }
    TEditButtonEh* button = ColumnButtonOfEntry(index);
    if (button == nullptr)
        return;
    if (button->OnDown)
        button->OnDown(Sender, TopButton, AutoRepeat, Handled);
    if (Handled || button->DropdownMenu() == nullptr)
        return;
    ButtonControl(index)->DropDownMenu(button->DropdownMenu());
}

void TDBGridInplaceEdit::PrimaryButtonDown(bool LowerHalf)
{
    if (IsUpDownKind(FEditStyle)) {
        StepValue(LowerHalf);
        return;
    }
    if (FListVisible || FActiveList == nullptr)
        return;
    DropDownActiveList();
    // The click that ends this press must not close what it opened.
    FNoClickCloseUp = true;
}

void TDBGridInplaceEdit::HandleEditButtonClick(TObject* Sender)
{
    const int index = ButtonControlIndex(Sender);
    if (index < 0)
        return;
    bool handled = false;
    if (index == 0 && (FEditStyle == TCellButtonKindEh::cbkEllipsis || FEditStyle == TCellButtonKindEh::cbkDropDown ||
                       FEditStyle == TCellButtonKindEh::cbkAltDropDown))
        handled = OwnerGrid()->RaiseEditButtonClick();
    if (TEditButtonEh* button = ColumnButtonOfEntry(index))
        button->PerformClick(Sender, handled);
    else if (TColumnEh* column = FocusedColumn(); column != nullptr && column->OnEditButtonClick)
        column->OnEditButtonClick(Sender, handled);
    if (!handled && FListVisible && !FNoClickCloseUp && index == 0)
        CloseActiveList(false);
    FNoClickCloseUp = false;
}

void TDBGridInplaceEdit::HandleEditButtonMouseUp(TObject* Sender, TMouseButton, TShiftState, int X, int Y)
{
    const auto* control = dynamic_cast<const TControl*>(Sender);
    if (control != nullptr && !control->ClientRect().Contains(Point(X, Y)))
        FNoClickCloseUp = false;
}

// A press on the main button dragged into the open list chooses there, as a press in the list
// would (for the data list, only in its rows).
void TDBGridInplaceEdit::HandleEditButtonMouseMove(TObject* Sender, TShiftState, int X, int Y)
{
    auto* control = dynamic_cast<TControl*>(Sender);
    if (!FListVisible || ButtonControlIndex(Sender) != 0 || control == nullptr || !control->MouseCapture())
        return;
    const TPoint at = FActiveList->ScreenToClient(control->ClientToScreen(Point(X, Y)));
    TRect area = FActiveList->ClientRect();
    if (FActiveList == FDataList)
        FDataList->DataAreaRect(area);
    if (area.Contains(at))
        ForwardDragToList(control, at);
}

void TDBGridInplaceEdit::ForwardDragToList(TControl* Button, TPoint At)
{
    // The button lets go where it is not, so it clicks nothing.
    Button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(-1, -1));
    ReleaseCapture();
    FActiveList->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(At.X, At.Y));
    // The move and the release that follow are the list's.
    if (FListVisible && GetCaptureControl() != FActiveList)
        SetCaptureControl(FActiveList);
}

bool TDBGridInplaceEdit::PressButtonByShortCut(WORD Key, TShiftState Shift)
{
    const TColumnEh* column = FocusedColumn();
    if (column == nullptr)
        return false;
    const TShortCut shortCut = ::ShortCut(Key, Shift);
    for (int i = 0; i < column->EditButtons()->Count(); ++i) {
        const TEditButtonEh* button = column->EditButtons()->ItemAt(i);
        TEditButtonControlEh* control = ButtonControl(i + 1);
        if (button->ShortCut() == 0 || button->ShortCut() != shortCut || control == nullptr)
            continue;
        bool autoRepeat = false;
        bool handled = false;
        HandleEditButtonDown(control, true, autoRepeat, handled);
        HandleEditButtonClick(control);
        return true;
    }
    return false;
}

void TDBGridInplaceEdit::StepValue(bool LowerHalf)
{
    TColumnEh* column = FocusedColumn();
    if (column == nullptr || !column->CanEditCell(true))
        return;
    TCustomDBGridEh* grid = OwnerGrid();
    // A text typed before the press is written first, so the step starts from it.
    if (CellText() != column->ComputeEditorText()) {
        grid->SetEditedText(CellText());
        grid->StoreEditorTextInField();
    }
    const double step = LowerHalf ? -column->Increment() : column->Increment();
    column->StepCellValue(column->ClassifyCellKind() == TColumnCellKindEh::cckText ? step : -step);
    ShowEditedText(column->ComputeEditorText());
    SelectAll();
}

// With DblClickNextVal a double click steps the cell to its next value (with Shift, the one before).
void TDBGridInplaceEdit::DblClick()
{
    TInplaceEdit::DblClick();
    TColumnEh* column = FocusedColumn();
    if (column == nullptr || !column->DblClickNextVal() || !column->CanEditCell(true))
        return;
    column->StepCellValue(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
    ShowEditedText(column->ComputeEditorText());
    SelectAll();
}

// --- Painting -----------------------------------------------------------------------------------

void TDBGridInplaceEdit::PaintWindow(HDC DC)
{
    FCanvas->BeginPaint(DC);
    PaintRequiredMark(FCanvas.get());
    PaintImage(FCanvas.get());
    FCanvas->EndPaint();
}

void TDBGridInplaceEdit::PaintImage(TCanvas* Canvas)
{
    const TColumnEh* column = FocusedColumn();
    if (!IsWindowShown() || column == nullptr || column->ImageList() == nullptr || FImageIndex < 0)
        return;
    TImageList* images = column->ImageList();
    // The text's background first: the image is drawn over the edit's own painting.
    const TRect area = Rect(2, 0, images->Width() + 2, Height());
    Canvas->Brush()->SetColor(Color());
    Canvas->FillRect(area);
    DrawGraphicClipped(images, Canvas, TAlignment::taCenter, 0, FImageIndex, area);
}

void TDBGridInplaceEdit::RefreshImageIndex()
{
    TColumnEh* column = FocusedColumn();
    int index = -1;
    if (column != nullptr && column->ImageList() != nullptr) {
        const TField* field = column->Field();
        if (column->PickList()->Count() > 0)
            index = LocateInStrings(column->PickList(), EditText(), false);
        else if (field != nullptr && IsNumericFieldType(field->DataType()))
            index = FieldValueAsInt32(field, -1);
        if (index == -1)
            index = column->NotInKeyListIndex();
    }
    if (index == FImageIndex)
        return;
    FImageIndex = index;
    Invalidate();
}

void TDBGridInplaceEdit::PaintRequiredMark(TCanvas* Canvas)
{
    const TColumnEh* column = FocusedColumn();
    const TCustomDBGridEh* grid = OwnerGrid();
    if (column == nullptr || !column->HighlightRequired() || grid == nullptr || !grid->DataLink()->Active())
        return;
    const TField* field = column->Field();
    const TDataSetState state = grid->DataLink()->DataSet()->State();
    bool due = field != nullptr && (state == TDataSetState::dsEdit || state == TDataSetState::dsInsert) &&
               field->Required() && field->IsNull();
    if (column->OnCheckDrawRequiredState)
        column->OnCheckDrawRequiredState(this, Text(), due);
    if (!due)
        return;
    const TRect text = ComputeTextRect();
    Canvas->Pen()->SetColor(clRed);
    Canvas->Pen()->SetStyle(TPenStyle::psDot);
    Canvas->Pen()->SetWidth(1);
    Canvas->MoveTo(text.Left + 2, ClientHeight() - 1);
    Canvas->LineTo(text.Right - 3, ClientHeight() - 1);
}
