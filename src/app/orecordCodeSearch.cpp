// Finding people, items and suppliers by the pinyin initials of their names: typing a code into
// their combos drops the list down and lists those whose search code begins with it. Also the
// list every entry combo fills as it opens. The typed code is bound as a parameter, so any text
// is looked up as it stands.
#include "app/orecord.h"

#include "platform/ado/ADODB.h"
#include "platform/core/StringLiterals.h"
#include "platform/core/SysUtils.h"
#include "platform/data/Field.h"
#include "platform/ui/ComboBox.h"

#include <initializer_list>
#include <tuple>

namespace {

// The last 20 issues or stock-ins, the last 50 gifts: where the name lists come from.
String Newest(int Count, const char* Table)
{
    return u"(select top %1 * from %2 order by id desc)"_s.arg(Count).arg(String::fromUtf8(Table));
}

// A department combo that names a department, whose people the coupled name combo lists.
bool ShowsDepartment(TComboBox* Department)
{
    const String text = Department->Text();
    return !text.isEmpty() && text != DepartmentPlaceholder;
}

// Adds Placeholder as the last item and shows it.
void AddChosenPlaceholder(TComboBox* Combo, const String& Placeholder)
{
    Combo->Items()->Add(Placeholder);
    Combo->SetItemIndex(Combo->Items()->Count() - 1);
}

}  // namespace

void TMF1::DropDownOnCodeKey(Char Key, TComboBox* Combo)
{
    if ((Key >= u'0' && Key <= u'9') || (Key >= u'a' && Key <= u'z'))
        Combo->SetDroppedDown(true);
}

void TMF1::RefillComboByCode(TADOQuery* Query, TComboBox* Combo, WORD Key, TCodeSearch Search)
{
    if (Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT || Key == VK_DOWN || Key == VK_DELETE)
        return;
    if (Combo->Text().isEmpty()) {
        ListRefillFlag = true;
        return;
    }
    // By TCodeSearch: people, items, suppliers.
    static const std::tuple<const char*, const char*> searches[] = {
        {"姓名", "select DISTINCT 姓名 from ouser where 姓名编号 like :code"},
        {"物品名称", "select DISTINCT 物品名称 from ptype where 编号 like :code order by 物品名称 asc"},
        {"供应商", "select DISTINCT 供应商 from supplier where 供应商编号 like :code order by 供应商 asc"},
    };
    const auto& [field, sql] = searches[static_cast<int>(Search)];
    RefillComboList(Query, Combo, String::fromUtf8(field), String::fromUtf8(sql),
                    {{u"code"_s, Trim(Combo->Text()) + u'%'}});
}

void TMF1::RefillComboList(TADOQuery* Query, TComboBox* Combo, const String& FieldName, const String& Sql,
                           const TQueryParams& Params)
{
    OpenSql(Query, Sql, Params);
    if (Query->IsEmpty()) {
        Query->Close();
        return;
    }
    TStrings* items = Combo->Items();
    items->Clear();  // the typed text stays
    for (TField* field = Query->FieldByName(FieldName); !Query->Eof(); Query->Next())
        items->Add(field->AsString());
    items->Add(String());
    Query->Close();
    ListRefillFlag = true;
    Combo->SetSelStart(Combo->Text().size());
}

void TMF1::BindCodeSearchEvents()
{
    // Each code-search combo with what it finds and the placeholder it searches nothing for.
    using enum TCodeSearch;
    const std::initializer_list<std::tuple<TComboBox*, TCodeSearch, const String*>> searches = {
        {ComboBox3, People, nullptr},  {ComboBox5, Items, &ItemPlaceholder},      {ComboBox13, Items, &GiftPlaceholder},
        {ComboBox18, People, nullptr}, {ComboBox19, People, nullptr},             {ComboBox27, Items, &ItemPlaceholder},
        {ComboBox23, Suppliers, &SupplierPlaceholder}, {ComboBox32, People, nullptr}, {ComboBox24, People, nullptr},
    };
    for (const auto& [combo, search, placeholder] : searches) {
        // A person's field filters and registers exactly the name typed: completing 张 to 张三
        // would show 张三's records and register 张三 for a clerk who typed 张 and moved on.
        if (search == People)
            combo->SetAutoComplete(false);
        combo->OnKeyPress = [this, combo = combo](TObject*, Char& Key) { DropDownOnCodeKey(Key, combo); };
        combo->OnKeyUp = [this, combo = combo, search = search, placeholder = placeholder](TObject*, WORD& Key, TShiftState) {
            if (placeholder == nullptr || combo->Text() != *placeholder)
                RefillComboByCode(ADOQ1, combo, Key, search);
        };
    }
    BindDropDownFillers();
}

void TMF1::BindDropDownFillers()
{
    const auto fills = [this](TComboBox* Combo, const char* FieldName, String Sql) {
        Combo->OnDropDown = [this, Combo, FieldName, Sql](TObject*) {
            FillComboFromQuery(ADOQ1, Combo, String::fromUtf8(FieldName), Sql);
        };
    };
    const auto distinct = [](const char* FieldName, const String& From) {
        return u"select DISTINCT "_s + String::fromUtf8(FieldName) + u" from "_s + From;
    };

    // Opening a department's list offers every department and asks for one; its people are
    // listed once one is chosen.
    for (const auto& [department, name] : {std::pair{ComboBox1, ComboBox3}, std::pair{ComboBox33, ComboBox18},
                                           std::pair{ComboBox31, ComboBox32}})
        department->OnDropDown = [this, department = department, name = name](TObject*) {
            FillComboFromQuery(ADOQ1, department, u"部门"_s, u"select * from dept order by 部门编号"_s);
            AddChosenPlaceholder(department, DepartmentPlaceholder);
            name->Items()->Clear();
        };
    // A name's list holds the recent names unless a department lists its own people.
    for (const auto& [name, department, field, table] :
         {std::tuple{ComboBox3, ComboBox1, "姓名", "oprint"}, std::tuple{ComboBox32, ComboBox31, "申购人", "ruku"}})
        name->OnDropDown = [this, name = name, department = department, field = field,
                            sql = distinct(field, Newest(20, table))](TObject*) {
            if (!ShowsDepartment(department))
                FillComboFromQuery(ADOQ1, name, String::fromUtf8(field), sql);
        };
    // An item's list is the catalogue, most used first (least used first while the placeholder
    // shows), unless an item is chosen and no search has changed the list since.
    for (const auto& [item, placeholder, from] :
         {std::tuple{ComboBox5, &ItemPlaceholder, u"select 物品名称 from ptype group by 物品名称 "_s},
          std::tuple{ComboBox27, &ItemPlaceholder, u"select 物品名称 from ptype group by 物品名称 "_s},
          std::tuple{ComboBox13, &GiftPlaceholder,
                     u"select 物品名称 from ptype where 礼品 like '%礼品' group by 物品名称 "_s}})
        item->OnDropDown = [this, item = item, placeholder = placeholder, from = from](TObject*) {
            const String text = item->Text();
            const bool shown = text == *placeholder;
            if (!text.isEmpty() && !shown && !ListRefillFlag)
                return;
            FillComboFromQuery(ADOQ1, item, u"物品名称"_s,
                               from + (shown ? u"order by max(次数) asc"_s : u"order by max(次数) desc"_s));
            item->Items()->Add(*placeholder);
        };
    // A type's list is offered only while no type is filled in.
    for (const auto& [type, sql] : {std::pair{ComboBox2, u"select DISTINCT 类型 from ptype"_s},
                                    std::pair{ComboBox26, u"select DISTINCT 类型 from ptype"_s},
                                    std::pair{ComboBox12, u"select * from ptype where 礼品 like '%礼品'"_s}})
        type->OnDropDown = [this, type = type, sql = sql](TObject*) {
            if (type->Text().isEmpty())
                FillComboFromQuery(ADOQ1, type, u"类型"_s, sql);
        };
    fills(ComboBox4, "备注", distinct("备注", u"rmark"_s));
    fills(ComboBox10, "来客姓名", distinct("来客姓名", Newest(50, "gift") + u" order by 来客姓名 asc"_s));
    ComboBox9->OnDropDown = [this, sql = distinct("来客单位", Newest(50, "gift"))](TObject*) {
        FillComboFromQuery(ADOQ1, ComboBox9, u"来客单位"_s, sql);
        AddChosenPlaceholder(ComboBox9, OrganisationPlaceholder);
    };
    for (const auto& [combo, field] : {std::pair{ComboBox17, "职务"}, std::pair{ComboBox18, "领取人"},
                                       std::pair{ComboBox19, "批准"}, std::pair{ComboBox11, "备注"}})
        fills(combo, field, distinct(field, Newest(50, "gift")));
    ComboBox23->OnDropDown = [this](TObject*) {
        FillComboFromQuery(ADOQ1, ComboBox23, u"供应商"_s, u"select * from supplier order by 供应商"_s);
        AddChosenPlaceholder(ComboBox23, SupplierPlaceholder);
    };
    for (const auto& [combo, field] : {std::pair{ComboBox24, "登记人"}, std::pair{ComboBox25, "备注"}})
        fills(combo, field, distinct(field, Newest(50, "ruku")));
}
