// The special row, the field-list routines, the forwarding data link and the field value list.
#include "controls/ToolCtrlsEh.h"

#include "platform/core/SysUtils.h"
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/DatabaseError.h"
#include "platform/data/Field.h"
#include "platform/data/FilterExpression.h"

#include <cassert>

namespace {

bool IsControlChar(Char C) { return C.unicode() >= 1 && C.unicode() <= 31; }

// A double-quoted text starting at Pos (on the opening quote): a doubled quote inside stands
// for one; an unclosed text runs to End. Pos ends after the closing quote.
String ExtractQuoted(const String& Text, qsizetype& Pos, qsizetype End)
{
    String Result;
    for (++Pos; Pos < End; ++Pos) {
        if (Text[Pos] != u'"') {
            Result += Text[Pos];
            continue;
        }
        if (Pos + 1 < End && Text[Pos + 1] == u'"') {
            Result += u'"';
            ++Pos;
            continue;
        }
        ++Pos;
        break;
    }
    return Result;
}

// The cells of a special row's text. Leading blanks and control characters are skipped; an
// unquoted cell ends before ';' or a control character, blanks staying inside; after a cell,
// control characters and one ';' with the control characters after it are stepped over.
std::vector<String> SplitCellsText(const String& Text)
{
    std::vector<String> Cells;
    qsizetype Pos = 0;
    // A NUL character ends the text, as the terminating zero does.
    const qsizetype Nul = Text.indexOf(QChar(u'\0'));
    const qsizetype End = Nul >= 0 ? Nul : Text.size();
    while (Pos < End && Text[Pos].unicode() <= 32)
        ++Pos;
    while (Pos < End) {
        if (Text[Pos] == u'"') {
            Cells.push_back(ExtractQuoted(Text, Pos, End));
        } else {
            const qsizetype Start = Pos;
            while (Pos < End && Text[Pos].unicode() >= 32 && Text[Pos] != u';')
                ++Pos;
            Cells.push_back(Text.mid(Start, Pos - Start));
        }
        while (Pos < End && IsControlChar(Text[Pos]))
            ++Pos;
        if (Pos < End && Text[Pos] == u';') {
            ++Pos;
            while (Pos < End && IsControlChar(Text[Pos]))
                ++Pos;
        }
    }
    return Cells;
}

bool SameFont(const TFont* A, const TFont* B) { return A->Handle() == B->Handle() && A->Color() == B->Color(); }

}  // namespace

// --- TSpecRowEh -------------------------------------------------------------------------------

TSpecRowEh::TSpecRowEh(TPersistent* Owner) : FOwner(Owner), FFont(std::make_unique<TFont>())
{
    FFont->Assign(InheritedFont());
    FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TSpecRowEh::~TSpecRowEh() = default;

void TSpecRowEh::Assign(TPersistent* Source)
{
    auto* Row = dynamic_cast<TSpecRowEh*>(Source);
    if (Row == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    BeginUpdate();
    try {
        SetCellsText(Row->CellsText());
        SetColor(Row->Color());
        if (Row->FontAssigned())
            SetFont(Row->Font());
        FShortCut = Row->ShortCut();
        SetShowIfNotInKeyList(Row->ShowIfNotInKeyList());
        SetValue(Row->Value());
        SetVisible(Row->Visible());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TSpecRowEh::EndUpdate()
{
    assert(FUpdateCount > 0 && "EndUpdate without its BeginUpdate");
    --FUpdateCount;
    NotifyChanged();
}

void TSpecRowEh::NotifyChanged()
{
    if (OnChanged && FUpdateCount == 0)
        OnChanged(this);
}

void TSpecRowEh::SetCellsText(const String& Value)
{
    if (Value == FCellsText)
        return;
    FCellsText = Value;
    FCells = SplitCellsText(Value);
    NotifyChanged();
}

String TSpecRowEh::CellTextAt(int Index) const { return Index >= 0 && Index < CellCount() ? FCells[Index] : String(); }

TColor TSpecRowEh::Color() const { return FColorAssigned ? FColor : DefaultColor(); }

void TSpecRowEh::SetColor(TColor Value)
{
    if (FColorAssigned && Value == FColor)
        return;
    FColor = Value;
    FColorAssigned = true;
    NotifyChanged();
}

TColor TSpecRowEh::DefaultColor() const
{
    if (const auto* Control = dynamic_cast<const TCustomControl*>(FOwner))
        return Control->Color();
    return FColor;
}

TFont* TSpecRowEh::InheritedFont() const
{
    if (const auto* Control = dynamic_cast<const TControl*>(FOwner))
        return Control->Font();
    return FFont.get();
}

TFont* TSpecRowEh::Font() const
{
    if (FFontAssigned)
        return FFont.get();
    TFont* Default = InheritedFont();
    if (Default != FFont.get() && !SameFont(Default, FFont.get())) {
        // Copied without the change event, so following the owner does not count as assigned.
        TNotifyEvent Handler = std::move(FFont->OnChange);
        FFont->OnChange = nullptr;
        FFont->Assign(Default);
        FFont->OnChange = std::move(Handler);
    }
    return FFont.get();
}

void TSpecRowEh::SetFont(TFont* Value) { FFont->Assign(Value); }

void TSpecRowEh::FontChanged()
{
    NotifyChanged();
    FFontAssigned = true;
}

void TSpecRowEh::SetShowIfNotInKeyList(bool Value)
{
    if (Value == FShowIfNotInKeyList)
        return;
    FShowIfNotInKeyList = Value;
    NotifyChanged();
}

void TSpecRowEh::SetValue(const Variant& Value)
{
    // Values of kinds that do not compare (5 and 'abc') are simply unequal here.
    if (VariantValuesEqual(Value, FValue))
        return;
    FValue = Value;
    NotifyChanged();
}

void TSpecRowEh::SetVisible(bool Value)
{
    if (Value == FVisible)
        return;
    FVisible = Value;
    NotifyChanged();
}

// --- Field lists ------------------------------------------------------------------------------

void CollectFieldsByNames(std::vector<TField*>* List, const TDataSet* DataSet, const TComponent* Component,
                          const String& FieldNames)
{
    for (const String& Name : SplitFieldNames(FieldNames)) {
        TField* Field = DataSet->FindField(Name);
        if (Field == nullptr)
            DatabaseError(DBConsts::SFieldNotFound.arg(Name), Component);
        if (List != nullptr)
            List->push_back(Field);
    }
}

void CollectFieldsToArray(const TDataSet* DataSet, const TComponent* Component, const String& FieldNames,
                          std::vector<TField*>& Fields)
{
    std::vector<TField*> List;
    CollectFieldsByNames(&List, DataSet, Component, FieldNames);
    Fields = std::move(List);
}

void StoreFieldValues(TDataSet* DataSet, const String& FieldNames, const Variant& Value)
{
    std::vector<TField*> Fields;
    CollectFieldsByNames(&Fields, DataSet, DataSet, FieldNames);
    if (VarIsNull(Value)) {
        for (TField* Field : Fields)
            Field->Clear();
        return;
    }
    if (Fields.size() == 1) {
        Fields.front()->SetValue(Value);
        return;
    }
    // Every element is read before the first write, so a short array changes no field.
    std::vector<Variant> Values;
    for (int I = 0; I < static_cast<int>(Fields.size()); ++I)
        Values.push_back(Value[I]);
    for (std::size_t I = 0; I < Fields.size(); ++I)
        Fields[I]->SetValue(Values[I]);
}

// --- Data links -------------------------------------------------------------------------------

void TDataLinkEh::DataEvent(TDataEvent Event, std::intptr_t Info)
{
    TDataLink::DataEvent(Event, Info);
    if (OnDataEvent)
        OnDataEvent(this, Event, Info);
}

TDatasetFieldValueListEh::TDatasetFieldValueListEh()
{
    FValues.SetSorted(true);
    FValues.SetDuplicates(TDuplicates::dupIgnore);
    FDataLink.OnDataEvent = [this](TDataLinkEh*, TDataEvent Event, std::intptr_t) { HandleDataEvent(Event); };
}

TDatasetFieldValueListEh::~TDatasetFieldValueListEh() { FDataLink.OnDataEvent = nullptr; }

void TDatasetFieldValueListEh::SetFieldName(const String& Value)
{
    if (Value == FFieldName)
        return;
    FFieldName = Value;
    FObsolete = true;
}

void TDatasetFieldValueListEh::SetDataSource(TDataSource* Value)
{
    if (Value == FDataLink.DataSource())
        return;
    FDataLink.SetDataSource(Value);
    FObsolete = true;
}

TStrings* TDatasetFieldValueListEh::GetValues()
{
    if (FObsolete)
        RefreshValues();
    return &FValues;
}

void TDatasetFieldValueListEh::SetFilter(const String& Filter)
{
    if (Filter == FFilter)
        return;
    FFilter = Filter;
    FObsolete = true;
}

void TDatasetFieldValueListEh::HandleDataEvent(TDataEvent Event)
{
    if (Event == TDataEvent::deDataSetChange || Event == TDataEvent::dePropertyChange ||
        Event == TDataEvent::deFieldListChange)
        FObsolete = true;
}

void TDatasetFieldValueListEh::RefreshValues()
{
    FValues.Clear();
    TDataSet* DataSet = FDataLink.Active() ? FDataLink.DataSet() : nullptr;
    if (DataSet == nullptr || DataSet->State() != TDataSetState::dsBrowse)
        return;
    TField* Field = DataSet->FindField(FFieldName);
    if (Field == nullptr)
        return;
    std::unique_ptr<TFilterExpression> filter;
    try {
        if (!Trim(FFilter).isEmpty())
            filter = std::make_unique<TFilterExpression>(FFilter, DataSet);
    } catch (const EDatabaseError&) {
        filter.reset();
    }
    const TBookmark Current = DataSet->Bookmark();
    DataSet->DisableControls();
    try {
        for (DataSet->First(); !DataSet->Eof(); DataSet->Next())
            if (filter == nullptr || filter->Evaluate())
                FValues.Add(Field->AsString());
        if (!Current.isEmpty())
            DataSet->SetBookmark(Current);
    } catch (...) {
        // A record the filter cannot compare stops the walk: the current record stays the user's.
        try {
            if (!Current.isEmpty())
                DataSet->SetBookmark(Current);
        } catch (...) {
        }
        DataSet->EnableControls();
        throw;
    }
    DataSet->EnableControls();
    // After EnableControls: its DataSetChanged reaches our own link and marks the list again.
    FObsolete = false;
}
