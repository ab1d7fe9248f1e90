#pragma once
// Small builders for the windows' descriptions: each makes one component, names it as the
// designer did, and places it, the way a stored description would.
#include "platform/ado/ADODB.h"
#include "platform/data/DataSource.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Label.h"
#include "platform/ui/Menus.h"
#include "platform/ui/PageControl.h"

#include <initializer_list>

// The height of an entry field.
constexpr int FieldHeight = 21;

template <class TControlClass>
TControlClass* Place(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top, int Width, int Height)
{
    auto* control = new TControlClass(Owner);
    if (Name != nullptr)
        control->SetName(String::fromUtf8(Name));
    control->SetParent(Parent);
    control->SetBounds(Left, Top, Width, Height);
    return control;
}

inline TTabSheet* AddTabSheet(TComponent* Owner, TPageControl* Pages, const char* Name, const char* Caption)
{
    auto* page = new TTabSheet(Owner);
    page->SetName(String::fromUtf8(Name));
    page->SetPageControl(Pages);
    page->SetCaption(String::fromUtf8(Caption));
    return page;
}

inline TLabel* AddLabel(TComponent* Owner, TWinControl* Parent, int Left, int Top, const char* Caption, TColor Colour = clWindowText)
{
    auto* label = Place<TLabel>(Owner, Parent, nullptr, Left, Top + 4, 0, 0);
    label->SetCaption(String::fromUtf8(Caption));
    label->Font()->SetColor(Colour);
    return label;
}

// The red mark after a field that must be filled.
inline void AddRequiredMark(TComponent* Owner, TWinControl* Parent, int Left, int Top)
{
    AddLabel(Owner, Parent, Left, Top, "*", clRed);
}

inline void AddItems(TComboBox* Combo, std::initializer_list<const char*> Items)
{
    for (const char* item : Items)
        Combo->Items()->Add(String::fromUtf8(item));
}

inline TComboBox* AddCombo(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top, int Width, int MaxLength,
                    std::initializer_list<const char*> Items = {})
{
    auto* combo = Place<TComboBox>(Owner, Parent, Name, Left, Top, Width, FieldHeight);
    combo->SetMaxLength(MaxLength);
    AddItems(combo, Items);
    return combo;
}

// A field at FieldLeft with its caption at LabelLeft.
inline TComboBox* AddField(TComponent* Owner, TWinControl* Parent, const char* Caption, const char* Name, int LabelLeft,
                    int FieldLeft, int Top, int Width, int MaxLength, std::initializer_list<const char*> Items = {})
{
    AddLabel(Owner, Parent, LabelLeft, Top, Caption);
    return AddCombo(Owner, Parent, Name, FieldLeft, Top, Width, MaxLength, Items);
}

inline void GiveHint(TControl* Control, const String& Hint)
{
    Control->SetHint(Hint);
    Control->SetShowHint(true);
}

template <class TButtonClass>
TButtonClass* AddButton(TComponent* Owner, TWinControl* Parent, const char* Name, int Left, int Top, int Width, const char* Caption)
{
    auto* button = Place<TButtonClass>(Owner, Parent, Name, Left, Top, Width, 25);
    button->SetCaption(String::fromUtf8(Caption));
    return button;
}

inline TMenuItem* AddMenuItem(TComponent* Owner, TMenuItem* Parent, const char* Name, const char* Caption)
{
    auto* item = new TMenuItem(Owner);
    if (Name != nullptr)
        item->SetName(String::fromUtf8(Name));
    item->SetCaption(String::fromUtf8(Caption));
    Parent->Add(item);
    return item;
}

inline TADOQuery* AddQuery(TComponent* Owner, TADOConnection* Connection, const char* Name, const char* Sql, bool ParamCheck)
{
    auto* query = new TADOQuery(Owner);
    query->SetName(String::fromUtf8(Name));
    query->SetConnection(Connection);
    query->SetParamCheck(ParamCheck);
    query->SQL()->SetText(String::fromUtf8(Sql));
    return query;
}

inline TDataSource* AddDataSource(TComponent* Owner, const char* Name, TADOQuery* DataSet)
{
    auto* source = new TDataSource(Owner);
    source->SetName(String::fromUtf8(Name));
    source->SetDataSet(DataSet);
    return source;
}
