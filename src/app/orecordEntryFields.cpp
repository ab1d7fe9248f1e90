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
    for (TBitBtn* all : {BitBtn4, BitBtn9, BitBtn6})
        all->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
            if (Button == TMouseButton::mbLeft)
                BitBtn4MouseDown(Sender, Button, Shift, X, Y);
        };
    for (Char tab : {u'a', u'g', u'c'}) {
        const TRecordPage page = RecordPage(tab);
        page.QuickCombo->OnChange = [this, tab](TObject*) { RunQuickDateFilter(RecordPage(tab)); };
        page.Operator->OnChange = [this](TObject* Sender) { ComboBox8Change(Sender); };
        page.Operator->OnKeyUp = [this](TObject* Sender, WORD&, TShiftState) {
            ResetOperatorText(static_cast<TComboBox*>(Sender));
        };
    }
    BindSummaryMenus();

    // Each entry field re-runs its page's filter; some first fill the fields they determine.
    const auto requery = [](TBitBtn* Query, auto&& First) {
        return [Query, First](TObject*) {
            First();
            Query->Click();
        };
    };
    const auto nothing = [] {};
    ComboBox1->OnChange = requery(BitBtn1, [this] { FillNamesOfDepartment(ADOQ1, ComboBox1, ComboBox3); });
    ComboBox3->OnChange = requery(BitBtn1, [this] { SetDepartmentOfName(ComboBox3, ComboBox1); });
    ComboBox5->OnChange = requery(BitBtn1, [this] { FillTypesOfItem(ComboBox5, ComboBox2, ComboBox6); });
    for (TComboBox* field : {ComboBox2, ComboBox4, ComboBox7})
        field->OnChange = requery(BitBtn1, nothing);
    ComboBox10->OnChange = requery(BitBtn8, [this] {
        OpenSql(ADOQ1, u"select * from gift where 来客姓名 =:guest order by id"_s,
                {{u"guest"_s, ComboBox10->Text()}});
        const bool known = !ADOQ1->IsEmpty();
        ComboBox17->SetText(known ? ADOQ1->FieldByName(u"职务"_s)->AsString() : String());
        ComboBox9->SetText(known ? ADOQ1->FieldByName(u"来客单位"_s)->AsString() : String());
        ADOQ1->Close();
    });
    ComboBox13->OnChange = requery(BitBtn8, [this] { FillTypesOfItem(ComboBox13, ComboBox12, ComboBox14); });
    ComboBox18->OnChange = requery(BitBtn8, [this] { SetDepartmentOfName(ComboBox18, ComboBox33); });
    ComboBox33->OnChange = requery(BitBtn8, [this] { FillNamesOfDepartment(ADOQ1, ComboBox33, ComboBox18); });
    for (TComboBox* field : {ComboBox9, ComboBox11, ComboBox12, ComboBox15, ComboBox17, ComboBox19})
        field->OnChange = requery(BitBtn8, nothing);
    ComboBox27->OnChange = requery(BitBtn11, [this] { FillTypesOfItem(ComboBox27, ComboBox26, ComboBox28); });
    ComboBox31->OnChange = requery(BitBtn11, [this] { FillNamesOfDepartment(ADOQ1, ComboBox31, ComboBox32); });
    ComboBox32->OnChange = requery(BitBtn11, [this] { SetDepartmentOfName(ComboBox32, ComboBox31); });
    for (TComboBox* field : {ComboBox23, ComboBox24, ComboBox25, ComboBox26})
        field->OnChange = requery(BitBtn11, nothing);

    // A department is chosen from the list, never typed: a key shows the placeholder, Backspace
    // and blank then act on it, and the key's release re-runs the page's filter. Enter and Esc in
    // the open list are no typing: they choose from it or close it.
    for (const auto& [department, query] : {std::pair{ComboBox1, BitBtn1}, std::pair{ComboBox33, BitBtn8},
                                            std::pair{ComboBox31, BitBtn11}}) {
        department->OnKeyPress = [department = department](TObject*, Char& Key) {
            if (department->DroppedDown() && (Key == u'\r' || Key == u'\x1b'))
                return;
            if (Key != u'\b' && Key != u' ')
                Key = Char();
            department->SetText(DepartmentPlaceholder);
        };
        department->OnKeyUp = [query = query](TObject*, WORD&, TShiftState) { query->Click(); };
    }
    BindCodeSearchEvents();
}
