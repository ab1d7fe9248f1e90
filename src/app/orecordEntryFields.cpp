// The entry fields as filters: each change re-runs its page's filter, after filling the fields
// it determines (the people of a department, the department of a person, the types and unit of
// an item, the post and organisation of a guest). Code that sets a field's text fires nothing,
// so these fillings never start a second query.
#include "app/orecord.h"

#include "platform/ado/ADODB.h"
#include "platform/core/StringLiterals.h"
#include "platform/data/Field.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DateTimePicker.h"
#include "platform/ui/Menus.h"

#include <initializer_list>

void TMF1::FillComboFromQuery(TADOQuery* Query, TComboBox* Combo, const String& FieldName, const String& Sql,
                              const TQueryParams& Params)
{
    OpenSql(Query, Sql, Params);
    TStrings* items = Combo->Items();
    items->Clear();
    items->Add(String());
    for (TField* field = Query->FieldByName(FieldName); !Query->Eof(); Query->Next())
        if (const String value = field->AsString(); !value.isEmpty())
            items->Add(value);
}

void TMF1::FillNamesOfDepartment(TADOQuery* Query, TComboBox* Department, TComboBox* Name)
{
    const String department = Department->Text();
    if (department.isEmpty() || department == DepartmentPlaceholder)
        return;
    FillComboFromQuery(Query, Name, u"姓名"_s, u"select * from ouser where 部门 =:dept order by 次数 desc"_s,
                       {{u"dept"_s, department}});
}

void TMF1::SetDepartmentOfName(TComboBox* Name, TComboBox* Department)
{
    OpenSql(ADOQ1, u"select 部门 from ouser where 姓名 =:name"_s, {{u"name"_s, Name->Text()}});
    if (ADOQ1->RecordCount() >= 2)
        Department->SetText(DepartmentPlaceholder);  // namesakes: the user chooses
    else
        Department->SetText(ADOQ1->IsEmpty() ? String() : ADOQ1->Fields()->Fields(0)->AsString());
    ADOQ1->Close();
}

void TMF1::FillTypesOfItem(TComboBox* Item, TComboBox* Type, TComboBox* Unit)
{
    FillComboFromQuery(ADOQ1, Type, u"类型"_s,
                       u"select * from ptype where 物品名称 =:item order by 次数 desc"_s,
                       {{u"item"_s, Item->Text()}});
    ADOQ1->First();
    const bool known = !ADOQ1->IsEmpty();
    Type->SetText(known ? ADOQ1->FieldByName(u"类型"_s)->AsString() : String());
    Unit->SetText(known ? ADOQ1->FieldByName(u"单位"_s)->AsString() : String());
    ADOQ1->Close();
    ListRefillFlag = true;
}

void TMF1::BindQueryEvents()
{
    BitBtn8->OnClick = [this](TObject* Sender) { BitBtn8Click(Sender); };
    BitBtn11->OnClick = [this](TObject* Sender) { BitBtn11Click(Sender); };
    BitBtn4->OnClick = [this](TObject* Sender) { BitBtn4Click(Sender); };
    BitBtn9->OnClick = [this](TObject* Sender) { BitBtn9Click(Sender); };
    BitBtn6->OnClick = [this](TObject* Sender) { BitBtn6Click(Sender); };
    for (TPageKind kind : PageKinds) {
        const TRecordPage page = Page(kind);
        page.AllButton->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
            if (Button == TMouseButton::mbLeft)
                BitBtn4MouseDown(Sender, Button, Shift, X, Y);
        };
        page.QuickCombo->OnChange = [this, kind](TObject*) { RunQuickDateFilter(Page(kind)); };
        page.Operator->OnChange = [this](TObject* Sender) { ComboBox8Change(Sender); };
        page.Operator->OnKeyUp = [this](TObject* Sender, WORD&, TShiftState) {
            ResetOperatorText(static_cast<TComboBox*>(Sender));
        };
        BindDepartmentKeys(page.Department, page.QueryButton);
    }
    BindSummaryMenus();

    // Each entry field re-runs its page's filter; some first fill the fields they determine.
    const auto requery = [this](TPageKind Kind, auto&& First) {
        return [Query = Page(Kind).QueryButton, First](TObject*) {
            First();
            Query->Click();
        };
    };
    const auto nothing = [] {};
    using enum TPageKind;
    ComboBox1->OnChange = requery(Issue, [this] { FillNamesOfDepartment(ADOQ1, ComboBox1, ComboBox3); });
    ComboBox3->OnChange = requery(Issue, [this] { SetDepartmentOfName(ComboBox3, ComboBox1); });
    ComboBox5->OnChange = requery(Issue, [this] { FillTypesOfItem(ComboBox5, ComboBox2, ComboBox6); });
    for (TComboBox* field : {ComboBox2, ComboBox4, ComboBox7})
        field->OnChange = requery(Issue, nothing);
    ComboBox10->OnChange = requery(Gift, [this] {
        OpenSql(ADOQ1, u"select * from gift where 来客姓名 =:guest order by id"_s, {{u"guest"_s, ComboBox10->Text()}});
        const bool known = !ADOQ1->IsEmpty();
        ComboBox17->SetText(known ? ADOQ1->FieldByName(u"职务"_s)->AsString() : String());
        ComboBox9->SetText(known ? ADOQ1->FieldByName(u"来客单位"_s)->AsString() : String());
        ADOQ1->Close();
    });
    ComboBox13->OnChange = requery(Gift, [this] { FillTypesOfItem(ComboBox13, ComboBox12, ComboBox14); });
    ComboBox18->OnChange = requery(Gift, [this] { SetDepartmentOfName(ComboBox18, ComboBox33); });
    ComboBox33->OnChange = requery(Gift, [this] { FillNamesOfDepartment(ADOQ1, ComboBox33, ComboBox18); });
    for (TComboBox* field : {ComboBox9, ComboBox11, ComboBox12, ComboBox15, ComboBox17, ComboBox19})
        field->OnChange = requery(Gift, nothing);
    ComboBox27->OnChange = requery(StockIn, [this] { FillTypesOfItem(ComboBox27, ComboBox26, ComboBox28); });
    ComboBox31->OnChange = requery(StockIn, [this] { FillNamesOfDepartment(ADOQ1, ComboBox31, ComboBox32); });
    ComboBox32->OnChange = requery(StockIn, [this] { SetDepartmentOfName(ComboBox32, ComboBox31); });
    // The quantity's change computes the amount instead.
    for (TComboBox* field : {ComboBox23, ComboBox24, ComboBox25, ComboBox26})
        field->OnChange = requery(StockIn, nothing);
    BindCodeSearchEvents();
}

// A department is chosen from the list, never typed: a key shows the placeholder, Backspace and
// blank then act on it, and the key's release re-runs the page's filter. Enter and Esc in the
// open list are no typing: they choose from it or close it.
void TMF1::BindDepartmentKeys(TComboBox* Department, TBitBtn* Query)
{
    Department->OnKeyPress = [Department](TObject*, Char& Key) {
        if (Department->DroppedDown() && (Key == u'\r' || Key == u'\x1b'))
            return;
        if (Key != u'\b' && Key != u' ')
            Key = Char();
        Department->SetText(DepartmentPlaceholder);
    };
    Department->OnKeyUp = [Query](TObject*, WORD&, TShiftState) { Query->Click(); };
}
