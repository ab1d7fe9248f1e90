// The data grid's cell editor: its drop-downs (pick list, calendar, calculator), opening and
// closing them, what accepting each writes, and type-ahead completion from the pick list.
#include "datagrid/DBGridEhInplaceEdit.h"

#include "datagrid/DBGridEh.h"
#include "datagrid/DBLookupGridsEh.h"
#include "controls/ToolCtrlsEhEditButtons.h"
#include "controls/ToolCtrlsEhUtils.h"
#include "controls/VoDorVCL.h"
#include "editors/CalculatorEh.h"

#include "platform/core/DateTime.h"
#include "platform/core/StringLiterals.h"
#include "platform/core/StringList.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/ui/Canvas.h"
#include "platform/ui/Clipboard.h"

#include <algorithm>

// --- Shared helpers ------------------------------------------------------------------------------

int LocateInStrings(const TStrings* Strings, const String& S, bool Partial)
{
    for (int i = 0; Strings != nullptr && i < Strings->Count(); ++i) {
        const String entry = Strings->Strings(i);
        const String compared = Partial ? entry.left(static_cast<int>(S.size())) : entry;
        if (CompareTextNoCase(compared, S) == 0)
            return i;
    }
    return -1;
}

// --- The drop-downs, made on first need -----------------------------------------------------------

TPopupListboxEh* TDBGridInplaceEdit::ObtainPickListBox()
{
    if (FPickListBox == nullptr)
        FPickListBox = NewPopupListbox(this, [this](bool Accept) { CloseActiveList(Accept); });
    return FPickListBox;
}

TPopupMonthCalendarEh* TDBGridInplaceEdit::ObtainCalendar()
{
    if (FCalendar == nullptr) {
        FCalendar = new TPopupMonthCalendarEh(this);
        FCalendar->SetVisible(false);
    }
    return FCalendar;
}

TPopupCalculatorEh* TDBGridInplaceEdit::ObtainPopupCalculator()
{
    if (FCalculator == nullptr) {
        FCalculator = new TPopupCalculatorEh(this);
        FCalculator->SetVisible(false);
    }
    return FCalculator;
}

// --- Opening --------------------------------------------------------------------------------------

void TDBGridInplaceEdit::DropDownActiveList()
{
    if (FListVisible || FActiveList == nullptr || FocusedColumn() == nullptr)
        return;
    CloseMRUList(false);
    FTextBeforeDropDown = Text();
    if (FActiveList == FDataList) {
        if (!DropDownDataList())
            return;
    } else {
        if (FActiveList == FPickListBox)
            DropDownPickList();
        else if (FActiveList == FCalendar)
            DropDownCalendar();
        else
            DropDownCalculator();
        const TPoint at = PlaceDropDownUnderEdit(this, FActiveList, TDropDownAlign::daLeft);
        FActiveList->SetBounds(at.X, at.Y, FActiveList->Width(), FActiveList->Height());
        FActiveList->Show();
    }
    if (FActiveList == FPickListBox)
        FPickListBox->SetUserSized(false);
    FListVisible = true;
    if (TEditButtonControlEh* button = ButtonControl(0))
        button->SetAlwaysDown(true);
}

void TDBGridInplaceEdit::DropDownPickList()
{
    TColumnEh* column = FocusedColumn();
    TPopupListboxEh* list = FPickListBox;
    list->SetColor(Color());
    list->SetFont(Font());
    TCanvas measure;
    measure.Font()->Assign(Font());
    list->SetItemHeight(measure.TextHeight(u"0"_s));
    // With a KeyList only the entries that have a key are offered.
    FPickItems->Clear();
    const TStrings* pick = column->PickList();
    const int count = column->HasKeyList() ? std::min(column->KeyList()->Count(), pick->Count()) : pick->Count();
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        FPickItems->AddObject(pick->Strings(i), pick->Objects(i));
        widest = std::max(widest, measure.TextWidth(pick->Strings(i)));
    }
    list->SetSourceItems(FPickItems.get());
    list->SetWidth(Width());
    list->SetHeightByRows(std::min(count, static_cast<int>(column->DropDownRows())));
    const TField* field = column->Field();
    list->SetItemIndex(field == nullptr || field->IsNull() ? -1 : LocateInStrings(FPickItems.get(), Text(), false));
    list->SetClientWidth(std::max(list->ClientWidth(), widest + 4));
    list->SizeGrip()->ShowGrip(column->DropDownSizing());
}

void TDBGridInplaceEdit::DropDownCalendar()
{
    FCalendar->SetColor(Color());
    FCalendar->SetFont(Font());
    TDateTime start = Date();
    const String text = Text();
    if (!text.trimmed().isEmpty() && !TryStrToDateTime(text, start)) {
        // A text that is no date opens at the stored date, else today.
        const TField* field = FocusedColumn()->Field();
        const TDateTime stored = field != nullptr && !field->IsNull() ? field->AsDateTime() : TDateTime(0);
        start = stored != TDateTime(0) ? stored : Date();
    }
    FCalendar->SetDate(DateOf(start));
    FCalendar->HandleNeeded();
}

void TDBGridInplaceEdit::DropDownCalculator()
{
    IPopupCalculatorEh* calculator = FCalculator;
    double start = 0;
    // A text that is no number starts the calculator at 0, as an empty one does.
    if (!TryStrToFloat(Text(), start))
        start = 0;
    calculator->SetCalcValue(Variant(start));
    calculator->SetFlatLook(OwnerGrid()->Flat());
    // The keys go to the calculator now: no caret and no selection suggest typing here.
    SetCaretHidden(true);
    SetSelLength(0);
}

// --- Closing and accepting ------------------------------------------------------------------------

void TDBGridInplaceEdit::CloseUp(bool Accept) { CloseActiveList(Accept); }

void TDBGridInplaceEdit::CloseActiveList(bool Accept)
{
    if (!FListVisible)
        return;
    if (TEditButtonControlEh* button = ButtonControl(0))
        button->SetAlwaysDown(false);
    if (GetCaptureControl() == FActiveList)
        ReleaseCapture();
    if (FActiveList == FPickListBox)
        RememberPickListSize();
    else if (FActiveList == FDataList)
        RememberDataListSize();
    FActiveList->Hide();
    FListVisible = false;
    SetCaretHidden(false);
    Invalidate();
    if (!Accept) {
        // What the drop-down showed while open goes; the text from before it is back.
        if (FActiveList != FCalculator)
            ShowEditedText(FTextBeforeDropDown);
        return;
    }
    if (FActiveList == FDataList)
        AcceptDataList();
    else if (FActiveList == FPickListBox)
        AcceptPickList();
    else if (FActiveList == FCalendar)
        AcceptCalendar();
    else
        AcceptCalculator();
}

void TDBGridInplaceEdit::RememberPickListSize()
{
    TColumnEh* column = FocusedColumn();
    if (column == nullptr || !FPickListBox->UserSized())
        return;
    column->SetDropDownRows(static_cast<unsigned>(FPickListBox->ClientHeight() / FPickListBox->ItemHeight()));
    column->SetDropDownWidth(FPickListBox->Width());
}

void TDBGridInplaceEdit::AcceptPickList()
{
    const int index = FPickListBox->ItemIndex();
    // Nothing chosen, or a cell that may not be edited: the text from before the list stays.
    if (index < 0 || index >= FPickItems->Count() || !OwnerGrid()->TryBeginCellEdit()) {
        ShowEditedText(FTextBeforeDropDown);
        return;
    }
    // With a KeyList the grid's update step finds the key by the entry's text.
    ShowEditedText(FPickItems->Strings(index));
    RefreshImageIndex();
    if (Focused())
        SelectAll();
}

void TDBGridInplaceEdit::AcceptCalendar()
{
    TColumnEh* column = FocusedColumn();
    if (column == nullptr || !column->CanEditCell(true) || !OwnerGrid()->TryBeginCellEdit())
        return;
    const TField* field = column->Field();
    TDateTime old = 0;
    // The time of day the field holds stays; a text that is no date-time keeps none.
    const TDateTime time = field != nullptr && TryStrToDateTime(field->Text(), old) ? TimeOf(old) : TDateTime(0);
    const TDateTime chosen = DateOf(FCalendar->Date()) + time;
    column->StoreCellValue(DateTimeToStr(chosen), Variant::FromDateTime(chosen), false);
    ShowEditedText(column->ComputeEditorText());
    if (Focused())
        SelectAll();
}

void TDBGridInplaceEdit::AcceptCalculator()
{
    TColumnEh* column = FocusedColumn();
    if (column == nullptr || !column->CanEditCell(true) || !OwnerGrid()->TryBeginCellEdit())
        return;
    const Variant value = static_cast<IPopupCalculatorEh*>(FCalculator)->GetCalcValue();
    if (!IsNumberVariant(value))
        return;
    ShowEditedText(FloatToStr(value.AsDouble()));
    if (Focused())
        SelectAll();
}

// The pick list's highlighted entry shows in the editor while the list is open.
void TDBGridInplaceEdit::ShowPickListChoice()
{
    const int index = FPickListBox->ItemIndex();
    if (index >= 0 && index < FPickItems->Count() && FPickItems->Strings(index) != Text()) {
        SetText(FPickItems->Strings(index));
        SelectAll();
    }
}

// --- Type-ahead -----------------------------------------------------------------------------------

void TDBGridInplaceEdit::CompleteTypedText(String& Typed)
{
    TColumnEh* column = FocusedColumn();
    if (column == nullptr || Typed.isEmpty() || Typed.at(0).unicode() < 32)
        return;
    const TColumnCellKindEh kind = column->ClassifyCellKind();
    const bool lookup = kind == TColumnCellKindEh::cckLookupField;
    const bool keyList = kind == TColumnCellKindEh::cckKeyPickList;
    if (!lookup && !keyList && FEditStyle != TCellButtonKindEh::cbkPickList)
        return;
    const String prefix = EditText().left(SelStart()) + Typed;
    const bool mayEdit = OwnerGrid()->CanEditCurrentRecord();
    const bool found = mayEdit && (lookup ? CompleteLookupText(prefix) : CompletePickText(prefix));
    if (mayEdit && !found && (lookup || keyList) && column->OnNotInList)
        TakeTextNotInList(prefix);
    // A key-list or lookup cell takes only what its list offers; a plain pick list types freely.
    if (found || lookup || keyList)
        Typed.clear();
}

bool TDBGridInplaceEdit::CompletePickText(const String& Prefix)
{
    TColumnEh* column = FocusedColumn();
    const int index = LocateInStrings(column->PickList(), Prefix, true);
    if (index < 0)
        return false;
    if (!OwnerGrid()->TryBeginCellEdit())
        return true;
    const String entry = column->PickList()->Strings(index);
    ShowEditedText(entry);
    SetSelStart(static_cast<int>(Prefix.size()));
    SetSelLength(static_cast<int>(entry.size() - Prefix.size()));
    if (FListVisible && FActiveList == FPickListBox)
        FPickListBox->SetItemIndex(index < FPickItems->Count() ? index : -1);
    return true;
}

// --- Paste ----------------------------------------------------------------------------------------

bool TDBGridInplaceEdit::HandleWMPaste()
{
    TColumnEh* column = FocusedColumn();
    TCustomDBGridEh* grid = OwnerGrid();
    if (column == nullptr || !grid->CanEditCurrentRecord() || !column->CanEditCell(false))
        return true;
    const String pasted = Clipboard()->AsText();
    const int start = SelStart();
    const String text = EditText().left(start) + pasted + EditText().mid(start + SelLength());
    // A key-list or lookup cell takes the entry the pasted text begins, or nothing.
    if (InKeyOnlyCell()) {
        const bool found = column->ClassifyCellKind() == TColumnCellKindEh::cckLookupField ? CompleteLookupText(text)
                                                                                          : CompletePickText(text);
        if (!found && column->OnNotInList)
            TakeTextNotInList(text);
        return true;
    }
    // A masked text lays the paste on its mask itself.
    if (pasted.isEmpty() || IsMasked() || !grid->TryBeginCellEdit())
        return false;
    const String accepted = column->FilterAcceptedChars(pasted);
    ShowEditedText(EditText().left(start) + accepted + EditText().mid(start + SelLength()));
    SetSelStart(start + static_cast<int>(accepted.size()));
    SetSelLength(0);
    Perform(EM_SCROLLCARET);
    return true;
}
