// The filter drop-down: its shared item objects (line, sort, commands, values with check
// boxes), the centre's filling of the list, and the grid's filling, title drop-down and
// performing of the chosen item.
#include "datagrid/DBGridEh.h"
#include "datagrid/DBGridEhCenter.h"
#include "datagrid/DBGridEhDraw.h"
#include "datagrid/DBGridEhFilterRow.h"

#include "controls/ToolCtrlsEhDraw.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/PlatformMetrics.h"

#include <array>
#include <memory>

namespace {

struct TFilterPopupItems {
    TPopupListboxItemEhLine Line;
    TPopupListboxItemEhSort SortDown{1};
    TPopupListboxItemEhSort SortUp{2};
    std::array<TPopupListboxItemEhSpec, 6> Commands{
        TPopupListboxItemEhSpec(TFilterCommandEh::fcmClearAllEh), TPopupListboxItemEhSpec(TFilterCommandEh::fcmAllEh),
        TPopupListboxItemEhSpec(TFilterCommandEh::fcmEmptyEh), TPopupListboxItemEhSpec(TFilterCommandEh::fcmNotEmptyEh),
        TPopupListboxItemEhSpec(TFilterCommandEh::fcmCustomEh), TPopupListboxItemEhSpec(TFilterCommandEh::fcmApplyEh)};
    TPopupListboxItemEhData Value;
};

std::unique_ptr<TFilterPopupItems> PopupItems;

TFilterPopupItems& Items()
{
    if (!PopupItems)
        MakeFilterPopupItems();
    return *PopupItems;
}

int CheckBoxWidth() { return DefaultCheckBoxSize().cx; }

// The check-box-wide box at the left of an item and the rest for its text.
TRect BoxOf(const TRect& Rect) { return TRect{Rect.Left, Rect.Top, Rect.Left + CheckBoxWidth() + 4, Rect.Bottom}; }

void PaintItemText(TPopupListboxEh* ListBox, int Index, const TRect& Rect)
{
    TCanvas* canvas = ListBox->Canvas();
    TRect text = Rect;
    text.Left = BoxOf(Rect).Right;
    canvas->FillRect(text);
    canvas->TextRect(text, text.Left + 1, text.Top, ListBox->ItemText(Index));
}

TSTColumnFilterEh* ListFilter(TPopupListboxEh* ListBox)
{
    TColumnEh* column = TDBGridFilterPopupListboxItemEh::ListColumn(ListBox);
    return column != nullptr ? column->STFilter() : nullptr;
}

TStrings* ListItems(TPopupListboxEh* ListBox)
{
    return ListBox->SourceItems() != nullptr ? ListBox->SourceItems() : ListBox->Items();
}

// The item behind the list's line Index; nullptr past the lines or where a line has none.
TPopupListboxItemEh* ListItemAt(TPopupListboxEh* ListBox, int Index)
{
    TStrings* items = ListItems(ListBox);
    return Index >= 0 && Index < items->Count() ? dynamic_cast<TPopupListboxItemEh*>(items->Objects(Index)) : nullptr;
}

}  // namespace

// --- Shared items -------------------------------------------------------------------------------

void MakeFilterPopupItems() { PopupItems = std::make_unique<TFilterPopupItems>(); }
void FreeFilterPopupItems() { PopupItems.reset(); }
TPopupListboxItemEhLine* FilterLineItem() { return &Items().Line; }
TPopupListboxItemEhSort* FilterSortItem(int Marker) { return Marker == 1 ? &Items().SortDown : &Items().SortUp; }
TPopupListboxItemEhSpec* FilterCommandItem(TFilterCommandEh Command)
{
    return &Items().Commands.at(static_cast<std::size_t>(Command));
}
TPopupListboxItemEhData* FilterValueItem() { return &Items().Value; }

TShowSimpleFilterDialogEh& ShowSimpleFilterDialog()
{
    static TShowSimpleFilterDialogEh routine;
    return routine;
}

String FilterCommandCaption(TFilterCommandEh Command)
{
    switch (Command) {
    case TFilterCommandEh::fcmClearAllEh: return QStringLiteral("(取消过滤)");
    case TFilterCommandEh::fcmAllEh: return QStringLiteral("(全部)");
    case TFilterCommandEh::fcmEmptyEh: return QStringLiteral("(空)");
    case TFilterCommandEh::fcmNotEmptyEh: return QStringLiteral("(非空)");
    case TFilterCommandEh::fcmCustomEh: return QStringLiteral("(Custom...)");
    case TFilterCommandEh::fcmApplyEh: return QStringLiteral("(Apply filter)");
    }
    return {};
}

TColumnEh* TDBGridFilterPopupListboxItemEh::ListColumn(TPopupListboxEh* ListBox)
{
    if (auto* grid = dynamic_cast<TCustomDBGridEh*>(ListBox->Owner()))
        return grid->TitleFilterColumn();
    if (auto* editor = dynamic_cast<TInplaceFilterEditEh*>(ListBox->Owner()))
        return editor->Column();
    return nullptr;
}

// --- Line ---------------------------------------------------------------------------------------

bool TPopupListboxItemEhLine::DrawsFocusRect(TPopupListboxEh*, int) { return false; }

void TPopupListboxItemEhLine::PaintItem(TPopupListboxEh* ListBox, int, TOwnerDrawState, const TRect& Rect)
{
    TCanvas* canvas = ListBox->Canvas();
    canvas->Brush()->SetColor(ListBox->Color());
    canvas->FillRect(Rect);
    canvas->Pen()->SetColor(clSilver);
    const int middle = (Rect.Top + Rect.Bottom) / 2;
    canvas->MoveTo(Rect.Left, middle);
    canvas->LineTo(Rect.Right, middle);
}

bool TPopupListboxItemEhLine::ClosesListOnSelect(TPopupListboxEh*, int) { return false; }
void TPopupListboxItemEhLine::Execute(TPopupListboxEh*, int) {}

// --- Sort ---------------------------------------------------------------------------------------

bool TPopupListboxItemEhSort::DrawsFocusRect(TPopupListboxEh*, int) { return false; }

void TPopupListboxItemEhSort::PaintItem(TPopupListboxEh* ListBox, int Index, TOwnerDrawState, const TRect& Rect)
{
    TCanvas* canvas = ListBox->Canvas();
    const TRect box = BoxOf(Rect);
    canvas->FillRect(box);
    DrawGraphicClipped(GridSortMarkerImages(), canvas, TAlignment::taCenter, 0, FMarker == 1 ? 3 : 4, box);
    PaintItemText(ListBox, Index, Rect);
}

void TPopupListboxItemEhSort::Execute(TPopupListboxEh* ListBox, int)
{
    TColumnEh* column = ListColumn(ListBox);
    if (column == nullptr)
        return;
    column->Title()->SetSortMarker(FMarker == 1 ? TSortMarkerEh::smDownEh : TSortMarkerEh::smUpEh);
    if (TCustomDBGridEh* grid = column->OwningGrid())
        grid->RaiseSortMarkingChanged();
}

// --- Commands -----------------------------------------------------------------------------------

bool TPopupListboxItemEhSpec::DrawsFocusRect(TPopupListboxEh*, int) { return false; }

void TPopupListboxItemEhSpec::PaintItem(TPopupListboxEh* ListBox, int Index, TOwnerDrawState State, const TRect& Rect)
{
    TCanvas* canvas = ListBox->Canvas();
    const TColor selected = canvas->Brush()->Color();
    canvas->Brush()->SetColor(ListBox->Color());
    canvas->FillRect(BoxOf(Rect));
    canvas->Brush()->SetColor(State.Contains(odSelected) ? selected : ListBox->Color());
    PaintItemText(ListBox, Index, Rect);
}

void TPopupListboxItemEhSpec::Execute(TPopupListboxEh* ListBox, int)
{
    TColumnEh* column = ListColumn(ListBox);
    TCustomDBGridEh* grid = column != nullptr ? column->OwningGrid() : nullptr;
    if (grid == nullptr)
        return;
    TSTColumnFilterEh* filter = column->STFilter();
    switch (FCommand) {
    case TFilterCommandEh::fcmClearAllEh:
        // Clearing applies once: the application below is the only one.
        grid->ClearAllColumnFilters();
        break;
    case TFilterCommandEh::fcmAllEh: filter->ApplyExpressionText(String()); break;
    case TFilterCommandEh::fcmEmptyEh: filter->ApplyExpressionText(QStringLiteral("=Null")); break;
    case TFilterCommandEh::fcmNotEmptyEh: filter->ApplyExpressionText(QStringLiteral("<>Null")); break;
    case TFilterCommandEh::fcmCustomEh:
        grid->StoreFilterEditorText();
        if (ShowSimpleFilterDialog() && ShowSimpleFilterDialog()(column) && grid->STFilter()->InstantApply())
            grid->ApplyFilterRow();
        return;
    case TFilterCommandEh::fcmApplyEh: break;
    }
    const TDBGridEhCenter* center = grid->Center();
    if (FCommand == TFilterCommandEh::fcmClearAllEh || FCommand == TFilterCommandEh::fcmApplyEh ||
        grid->STFilter()->InstantApply() || (center != nullptr && center->FilterEditApplyOnChange() != 0))
        grid->ApplyFilterRow();
}

// --- Values -------------------------------------------------------------------------------------

bool TPopupListboxItemEhData::DrawsFocusRect(TPopupListboxEh*, int) { return false; }

void TPopupListboxItemEhData::PaintItem(TPopupListboxEh* ListBox, int Index, TOwnerDrawState, const TRect& Rect)
{
    TSTColumnFilterEh* filter = ListFilter(ListBox);
    const bool checked = filter != nullptr && Index < static_cast<int>(filter->Marks().size()) &&
                         filter->Marks()[static_cast<std::size_t>(Index)] == 1;
    const bool pressed = filter != nullptr && filter->PressedItem() == Index;
    const bool hot = ListBox->HotItem() == Index && GetCaptureControl() != ListBox;
    TCanvas* canvas = ListBox->Canvas();
    const TColor text = canvas->Brush()->Color();
    const TRect box = BoxOf(Rect);
    canvas->Brush()->SetColor(ListBox->Color());
    canvas->FillRect(box);
    const TSize size = DefaultCheckBoxSize();
    const int top = box.Top + (box.Height() - size.cy) / 2;
    const TRect face{box.Left + 2, top, box.Left + 2 + size.cx, top + size.cy};
    PaintCheckBoxFace(canvas, face, checked ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked, hot, pressed,
                      true, true);
    canvas->Brush()->SetColor(text);
    PaintItemText(ListBox, Index, Rect);
}

void TPopupListboxItemEhData::ItemMouseDown(TPopupListboxEh* ListBox, int Index, TMouseButton Button, TShiftState,
                                            TPoint)
{
    TSTColumnFilterEh* filter = ListFilter(ListBox);
    if (filter == nullptr || Button != TMouseButton::mbLeft)
        return;
    filter->SetPressedItem(Index);
    ListBox->InvalidateItem(Index);
}

void TPopupListboxItemEhData::ItemMouseMove(TPopupListboxEh* ListBox, int Index, TShiftState, TPoint)
{
    TSTColumnFilterEh* filter = ListFilter(ListBox);
    if (filter == nullptr || filter->PressedItem() < 0 || filter->PressedItem() == Index)
        return;
    ListBox->InvalidateItem(filter->PressedItem());
    filter->SetPressedItem(-1);
}

void TPopupListboxItemEhData::ItemMouseUp(TPopupListboxEh* ListBox, int Index, bool& CloseList, TMouseButton,
                                          TShiftState, TPoint)
{
    CloseList = false;
    TSTColumnFilterEh* filter = ListFilter(ListBox);
    if (filter == nullptr || filter->PressedItem() != Index)
        return;
    filter->SetPressedItem(-1);
    filter->SetKeepMarks(true);
    Execute(ListBox, Index);
    filter->SetKeepMarks(false);
    ListBox->SetItemIndex(Index);
}

bool TPopupListboxItemEhData::ClosesListOnSelect(TPopupListboxEh*, int) { return false; }

void TPopupListboxItemEhData::Execute(TPopupListboxEh* ListBox, int Index)
{
    TSTColumnFilterEh* filter = ListFilter(ListBox);
    TStrings* items = ListItems(ListBox);
    if (filter == nullptr || Index < 0 || Index >= items->Count())
        return;
    std::vector<std::uint8_t>& marks = filter->Marks();
    marks.resize(static_cast<std::size_t>(items->Count()), 0);
    filter->SetExecuting(true);
    struct TDone {
        TSTColumnFilterEh* Filter;
        ~TDone() { Filter->SetExecuting(false); }
    } done{filter};
    if (!filter->KeepMarks())
        std::fill(marks.begin(), marks.end(), 0);
    std::uint8_t& mark = marks[static_cast<std::size_t>(Index)];
    mark = mark == 1 ? 0 : 1;
    ListBox->Invalidate();
    filter->ApplyCheckedItems(items);
}

// --- The centre's filling -----------------------------------------------------------------------

void TDBGridEhCenter::FillFilterSpecialItems(TCustomDBGridEh* Grid, TColumnEh* Column, TStrings* Items)
{
    Items->BeginUpdate();
    struct TEnd {
        TStrings* Items;
        ~TEnd() { Items->EndUpdate(); }
    } end{Items};
    if (Grid->OptionsEh().Contains(dghAutoSortMarking) && Column->Title()->TitleButton()) {
        Items->AddObject(QStringLiteral("(降序)"), FilterSortItem(2));
        Items->AddObject(QStringLiteral("(升序)"), FilterSortItem(1));
        Items->AddObject(QStringLiteral("-"), FilterLineItem());
    }
    const auto add = [Items](TFilterCommandEh Command) {
        Items->AddObject(FilterCommandCaption(Command), FilterCommandItem(Command));
    };
    add(TFilterCommandEh::fcmClearAllEh);
    if (!Grid->STFilter()->InstantApply())
        add(TFilterCommandEh::fcmApplyEh);
    add(TFilterCommandEh::fcmCustomEh);
    add(TFilterCommandEh::fcmAllEh);
    add(TFilterCommandEh::fcmNotEmptyEh);
    add(TFilterCommandEh::fcmEmptyEh);
}

namespace {

// The dataset filter of every column's condition but Column's own, which is switched off for
// the moment, so its list offers what the other conditions leave.
String OtherColumnsFilterText(TCustomDBGridEh* Grid, TColumnEh* Column)
{
    TSTFilterExpressionEh& expr = Column->STFilter()->Expression();
    struct TRestore {
        TSTFilterExpressionEh& Expr;
        TSTFilterCompareKindEh Operator1 = Expr.Operator1;
        TSTFilterCompareKindEh Relation = Expr.Relation;
        ~TRestore()
        {
            Expr.Operator1 = Operator1;
            Expr.Relation = Relation;
        }
    } restore{expr};
    expr.Operator1 = TSTFilterCompareKindEh::fcNone;
    expr.Relation = TSTFilterCompareKindEh::fcNone;
    return BuildGridFilterText(Grid, DatasetFilterConditionText, {}, true, false);
}

}  // namespace

void TDBGridEhCenter::FillFilterValueList(TCustomDBGridEh* Grid, TColumnEh* Column, TStrings* Items)
{
    DefaultFillFilterValueList(Grid, Column, Items);
}

void TDBGridEhCenter::DefaultFillFilterValueList(TCustomDBGridEh* Grid, TColumnEh* Column, TStrings* Items)
{
    const auto list = Column->FilterValueList();
    if (list == nullptr)
        return;
    list->SetFilter(Grid != nullptr ? OtherColumnsFilterText(Grid, Column) : String());
    TStrings* values = list->GetValues();
    const bool recode = Column->HasKeyList() && Column->HasPickList();
    TStrings* keys = recode ? Column->KeyList() : nullptr;
    TStrings* picks = recode ? Column->PickList() : nullptr;
    Items->BeginUpdate();
    for (int i = 0; i < values->Count(); ++i) {
        String text = values->Strings(i);
        if (recode) {
            const int key = keys->IndexOf(text);
            if (key >= 0 && key < picks->Count())
                text = picks->Strings(key);
        }
        Items->AddObject(text, FilterValueItem());
    }
    Items->EndUpdate();
}

// --- The grid's filling and title drop-down -------------------------------------------------------

void TCustomDBGridEh::FillFilterList(TSTColumnFilterEh* Filter, TStrings* Items, int& Width, TPopupListboxEh* List)
{
    TColumnEh* column = Filter->Column();
    bool processed = false;
    if (OnFillSTFilterListValues)
        OnFillSTFilterListValues(this, column, Items, processed);
    if (!processed && column->OnFillSTFilterListValues)
        column->OnFillSTFilterListValues(this, column, Items, processed);
    if (!processed && Center() != nullptr && Center()->OnFillSTFilterListValues)
        Center()->OnFillSTFilterListValues(this, column, Items, processed);
    if (!processed && Center() != nullptr) {
        Center()->FillFilterSpecialItems(this, column, Items);
        Center()->FillFilterValueList(this, column, Items);
    }
    TCanvas* canvas = List != nullptr ? List->Canvas() : Canvas();
    canvas->Font()->Assign(List != nullptr ? List->Font() : Font());
    const int extra = CheckBoxWidth() + GetSystemMetrics(SM_CXVSCROLL) + 2 * 2 + 4;
    for (int i = 0; i < Items->Count(); ++i) {
        TObject* item = Items->Objects(i);
        if (item == nullptr)
            Items->SetObjects(i, FilterValueItem());
        else if (dynamic_cast<TPopupListboxItemEhSpec*>(item) != nullptr)
            Width = std::max(Width, canvas->TextWidth(Items->Strings(i)) + extra);
    }
    Filter->SetPressedItem(-1);
    Filter->Marks().assign(static_cast<std::size_t>(Items->Count()), 0);
}

bool TCustomDBGridEh::TitleFilterListShown() const { return FTitleFilterList != nullptr && FTitleFilterList->Visible(); }

void TCustomDBGridEh::DropDownTitleFilter(TColumnEh* Column)
{
    if (TitleFilterListShown())
        CloseFilterDropDown(false);
    const int index = Column->Index();
    TRect cell = CellPixelRect(DataColToGridCol(index), TitleRowsShown() - 1);
    ShowTitleFilterList(Column, cell);
}

void TCustomDBGridEh::ShowTitleFilterList(TColumnEh* Column, const TRect& CellRect)
{
    if (FTitleFilterList == nullptr) {
        FTitleFilterList = new TPopupListboxEh(this);
        FTitleFilterList->SetVisible(false);
        FTitleFilterList->SetCtl3D(true);
        FTitleFilterList->SetParent(this);
        FTitleFilterList->SetUseItemObjects(true);
        FTitleFilterList->OnMouseUp = [this](TObject*, TMouseButton Button, TShiftState Shift, int X, int Y) {
            TitleFilterListMouseUp(Button, Shift, X, Y);
        };
        FTitleFilterList->OnKeyPress = [this](TObject*, Char& Key) { TitleFilterListKeyPress(Key); };
    }
    FTitleFilterColumn = Column;
    FTitleFilterRect = CellRect;
    TSTColumnFilterEh* filter = Column->STFilter();
    TStrings* items = FTitleFilterList->Items();
    items->Clear();
    int width = 0;
    FillFilterList(filter, items, width, FTitleFilterList);
    filter->MarkItemsFromExpression(items);
    FTitleFilterList->SetColor(Color());
    FTitleFilterList->SetFont(Font());
    FTitleFilterList->SetWidth(std::max({CellRect.Width(), width, filter->DropDownWidth()}));
    FTitleFilterList->SetHeightByRows(std::max(1, std::min(filter->DropDownRows(), items->Count())));
    const TPoint topLeft = ClientToScreen(Point(CellRect.Left, CellRect.Top));
    const TRect screenRect{topLeft.X, topLeft.Y, topLeft.X + CellRect.Width(), topLeft.Y + CellRect.Height()};
    const TPoint at = PlaceDropDownAtRect(screenRect, FTitleFilterList, TDropDownAlign::daLeft);
    FTitleFilterList->SetBounds(at.X, at.Y, FTitleFilterList->Width(), FTitleFilterList->Height());
    FTitleFilterList->SizeGrip()->ShowGrip(true);
    FTitleFilterList->Show();
    FTitleFilterList->SetUserSized(false);
}

void TCustomDBGridEh::CloseFilterDropDown(bool Accept)
{
    if (!TitleFilterListShown() || FTitleFilterColumn == nullptr)
        return;
    TSTColumnFilterEh* filter = FTitleFilterColumn->STFilter();
    if (filter->Executing())
        return;
    if (GetCaptureControl() == FTitleFilterList)
        ReleaseCapture();
    const bool hadFocus = FTitleFilterList->Focused();
    FTitleFilterList->Hide();
    if (FTitleFilterList->UserSized()) {
        filter->SetDropDownRows(FTitleFilterList->RowCount());
        filter->SetDropDownWidth(FTitleFilterList->Width());
    }
    if (hadFocus && CanFocus())
        SetFocus();
    FTitleFilterRect = TRect();
    InvalidateTitleRows();
    if (Accept)
        PerformFilterListItem(FTitleFilterList, filter, false);
}

void TCustomDBGridEh::PerformFilterListItem(TPopupListboxEh* List, TSTColumnFilterEh* Filter, bool KeepMarks)
{
    const int index = List->ItemIndex();
    TPopupListboxItemEh* item = ListItemAt(List, index);
    if (item == nullptr)
        return;
    Filter->SetKeepMarks(KeepMarks);
    item->Execute(List, index);
    Filter->SetKeepMarks(false);
    List->InvalidateItem(index);
}

void TCustomDBGridEh::PressFilterListSpace(TPopupListboxEh* List, TSTColumnFilterEh* Filter,
                                           const std::function<void()>& CloseAccepting)
{
    const int index = List->ItemIndex();
    TPopupListboxItemEh* item = ListItemAt(List, index);
    if (item == nullptr)
        return;
    if (item->ClosesListOnSelect(List, index))
        CloseAccepting();
    else
        PerformFilterListItem(List, Filter, true);
}

void TCustomDBGridEh::TitleFilterListMouseUp(TMouseButton Button, TShiftState, int X, int Y)
{
    if (Button != TMouseButton::mbLeft || !FTitleFilterList->CloseList())
        return;
    CloseFilterDropDown(FTitleFilterList->ClientRect().Contains(Point(X, Y)));
}

void TCustomDBGridEh::TitleFilterListKeyPress(Char& Key)
{
    if (FTitleFilterColumn == nullptr)
        return;
    if (Key == Char(27)) {
        CloseFilterDropDown(false);
        Key = Char();
    } else if (Key == Char(13)) {
        CloseFilterDropDown(true);
        Key = Char();
    } else if (Key == Char(' ')) {
        PressFilterListSpace(FTitleFilterList, FTitleFilterColumn->STFilter(), [this] { CloseFilterDropDown(true); });
        Key = Char();
    }
}
