// Stored column sets: writing a grid's columns as a description and reading them back.
#include "datagrid/DBGridEh.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/core/SysUtils.h"

#include <array>
#include <functional>
#include <span>

using namespace Qt::StringLiterals;
using enum TColumnEhAssignedValue;

namespace {

const String ItemStart = u"item"_s;
const String ItemEnd = u"end"_s;

// --- Value texts ---------------------------------------------------------------------------------

// One line per value: backslashes and line breaks are escaped.
String EscapeValue(const String& Value)
{
    String result;
    result.reserve(Value.size());
    for (const QChar ch : Value) {
        if (ch == u'\\')
            result += u"\\\\"_s;
        else if (ch == u'\n')
            result += u"\\n"_s;
        else if (ch == u'\r')
            result += u"\\r"_s;
        else
            result += ch;
    }
    return result;
}

String UnescapeValue(const String& Text)
{
    String result;
    result.reserve(Text.size());
    for (qsizetype i = 0; i < Text.size(); ++i) {
        const QChar ch = Text[i];
        if (ch != u'\\' || i + 1 == Text.size()) {
            result += ch;
            continue;
        }
        const QChar next = Text[++i];
        result += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
    }
    return result;
}

String BoolText(bool Value) { return Value ? u"True"_s : u"False"_s; }

bool ParseBool(const String& Text)
{
    if (Text.compare(u"True"_s, Qt::CaseInsensitive) == 0)
        return true;
    if (Text.compare(u"False"_s, Qt::CaseInsensitive) == 0)
        return false;
    throw EReadError(QStringLiteral("Invalid property value %1").arg(Text));
}

// Enumerations by their identifiers, in declaration order.
template <class E, std::size_t N>
String EnumText(E Value, const std::array<const char16_t*, N>& Names)
{
    return String(reinterpret_cast<const QChar*>(Names[static_cast<std::size_t>(Value)]));
}

template <class E, std::size_t N>
E ParseEnum(const String& Text, const std::array<const char16_t*, N>& Names)
{
    for (std::size_t i = 0; i < N; ++i)
        if (Text.compare(String(reinterpret_cast<const QChar*>(Names[i])), Qt::CaseInsensitive) == 0)
            return static_cast<E>(i);
    throw EReadError(QStringLiteral("Invalid property value %1").arg(Text));
}

constexpr std::array<const char16_t*, 3> AlignmentNames{u"taLeftJustify", u"taRightJustify", u"taCenter"};
constexpr std::array<const char16_t*, 3> LayoutNames{u"tlTop", u"tlCenter", u"tlBottom"};
constexpr std::array<const char16_t*, 7> ButtonStyleNames{u"cbsAuto",      u"cbsEllipsis",   u"cbsNone",
                                                          u"cbsUpDown",    u"cbsDropDown",   u"cbsAltUpDown",
                                                          u"cbsAltDropDown"};
constexpr std::array<const char16_t*, 6> FooterValueTypeNames{u"fvtNon",   u"fvtSum",        u"fvtAvg",
                                                              u"fvtCount", u"fvtFieldValue", u"fvtStaticText"};
constexpr std::array<const char16_t*, 4> FontStyleNames{u"fsBold", u"fsItalic", u"fsUnderline", u"fsStrikeOut"};

String FontStyleText(TFontStyles Styles)
{
    QStringList names;
    for (std::size_t i = 0; i < FontStyleNames.size(); ++i)
        if (Styles.Contains(static_cast<TFontStyle>(1u << i)))
            names.append(String(reinterpret_cast<const QChar*>(FontStyleNames[i])));
    return names.join(u',');
}

TFontStyles ParseFontStyle(const String& Text)
{
    TFontStyles styles;
    for (const String& name : Text.split(u',', Qt::SkipEmptyParts)) {
        const auto index = static_cast<unsigned>(ParseEnum<int>(name.trimmed(), FontStyleNames));
        styles.Include(static_cast<TFontStyle>(1u << index));
    }
    return styles;
}

// --- Property tables -----------------------------------------------------------------------------

// One stored property of a T: its name, whether it is written, its text and how it is read.
template <class T>
struct TStoredPropertyEh {
    const char16_t* Name;
    std::function<bool(const T&)> Stored;
    std::function<String(const T&)> Get;
    std::function<void(T&, const String&)> Set;
};

template <class T>
using TPropertyTable = std::vector<TStoredPropertyEh<T>>;

// The four font properties of the font Font gives, written when Stored.
template <class T>
void AddFontProperties(TPropertyTable<T>& Table, std::function<bool(const T&)> Stored, std::function<TFont*(const T&)> Font)
{
    Table.push_back({u"Font.Name", Stored, [Font](const T& O) { return Font(O)->Name(); },
                     [Font](T& O, const String& V) { Font(O)->SetName(V); }});
    Table.push_back({u"Font.Size", Stored, [Font](const T& O) { return IntToStr(Font(O)->Size()); },
                     [Font](T& O, const String& V) { Font(O)->SetSize(StrToInt(V)); }});
    Table.push_back({u"Font.Color", Stored, [Font](const T& O) { return IntToStr(Font(O)->Color()); },
                     [Font](T& O, const String& V) { Font(O)->SetColor(StrToInt(V)); }});
    Table.push_back({u"Font.Style", Stored, [Font](const T& O) { return FontStyleText(Font(O)->Style()); },
                     [Font](T& O, const String& V) { Font(O)->SetStyle(ParseFontStyle(V)); }});
}

// A soft Boolean of the column.
void AddSoftBool(TPropertyTable<TColumnEh>& Table, const char16_t* Name, TColumnEhAssignedValue Bit,
                 bool (TColumnEh::*Get)() const, void (TColumnEh::*Set)(bool))
{
    Table.push_back({Name, [Bit](const TColumnEh& C) { return C.IsStored(Bit); },
                     [Get](const TColumnEh& C) { return BoolText((C.*Get)()); },
                     [Set](TColumnEh& C, const String& V) { (C.*Set)(ParseBool(V)); }});
}

const TPropertyTable<TColumnEh>& ColumnProperties()
{
    static const TPropertyTable<TColumnEh> table = [] {
        TPropertyTable<TColumnEh> t;
        t.push_back({u"FieldName", [](const TColumnEh& C) { return !C.FieldName().isEmpty(); },
                     [](const TColumnEh& C) { return C.FieldName(); },
                     [](TColumnEh& C, const String& V) { C.SetFieldName(V); }});
        t.push_back({u"Width", [](const TColumnEh& C) { return C.IsStored(cavWidth); },
                     [](const TColumnEh& C) { return IntToStr(C.Width()); },
                     [](TColumnEh& C, const String& V) { C.SetWidth(StrToInt(V)); }});
        t.push_back({u"Alignment", [](const TColumnEh& C) { return C.IsStored(cavAlignment); },
                     [](const TColumnEh& C) { return EnumText(C.Alignment(), AlignmentNames); },
                     [](TColumnEh& C, const String& V) { C.SetAlignment(ParseEnum<TAlignment>(V, AlignmentNames)); }});
        t.push_back({u"Color", [](const TColumnEh& C) { return C.IsStored(cavColor); },
                     [](const TColumnEh& C) { return IntToStr(C.Color()); },
                     [](TColumnEh& C, const String& V) { C.SetColor(StrToInt(V)); }});
        t.push_back({u"Layout", [](const TColumnEh& C) { return C.IsStored(cavLayout); },
                     [](const TColumnEh& C) { return EnumText(C.Layout(), LayoutNames); },
                     [](TColumnEh& C, const String& V) { C.SetLayout(ParseEnum<TTextLayout>(V, LayoutNames)); }});
        t.push_back({u"LookupDisplayFields", [](const TColumnEh& C) { return C.IsStored(cavLookupDisplayFields); },
                     [](const TColumnEh& C) { return C.LookupDisplayFields(); },
                     [](TColumnEh& C, const String& V) { C.SetLookupDisplayFields(V); }});
        AddSoftBool(t, u"ReadOnly", cavReadOnly, &TColumnEh::ReadOnly, &TColumnEh::SetReadOnly);
        AddSoftBool(t, u"WordWrap", cavWordWrap, &TColumnEh::WordWrap, &TColumnEh::SetWordWrap);
        AddSoftBool(t, u"Checkboxes", cavCheckboxes, &TColumnEh::Checkboxes, &TColumnEh::SetCheckboxes);
        AddSoftBool(t, u"AlwaysShowEditButton", cavAlwaysShowEditButton, &TColumnEh::AlwaysShowEditButton,
                    &TColumnEh::SetAlwaysShowEditButton);
        AddSoftBool(t, u"EndEllipsis", cavEndEllipsis, &TColumnEh::EndEllipsis, &TColumnEh::SetEndEllipsis);
        AddSoftBool(t, u"AutoDropDown", cavAutoDropDown, &TColumnEh::AutoDropDown, &TColumnEh::SetAutoDropDown);
        AddSoftBool(t, u"DblClickNextVal", cavDblClickNextVal, &TColumnEh::DblClickNextVal,
                    &TColumnEh::SetDblClickNextVal);
        AddSoftBool(t, u"DropDownSizing", cavDropDownSizing, &TColumnEh::DropDownSizing, &TColumnEh::SetDropDownSizing);
        AddSoftBool(t, u"DropDownShowTitles", cavDropDownShowTitles, &TColumnEh::DropDownShowTitles,
                    &TColumnEh::SetDropDownShowTitles);
        AddSoftBool(t, u"HighlightRequired", cavHighlightRequired, &TColumnEh::HighlightRequired,
                    &TColumnEh::SetHighlightRequired);
        AddSoftBool(t, u"ToolTips", cavToolTips, &TColumnEh::ToolTips, &TColumnEh::SetToolTips);
        AddSoftBool(t, u"TextEditing", cavTextEditing, &TColumnEh::TextEditing, &TColumnEh::SetTextEditing);
        AddFontProperties<TColumnEh>(
            t, [](const TColumnEh& C) { return C.IsStored(cavFont); }, [](const TColumnEh& C) { return C.Font(); });
        t.push_back({u"Visible", [](const TColumnEh& C) { return !C.Visible(); },
                     [](const TColumnEh& C) { return BoolText(C.Visible()); },
                     [](TColumnEh& C, const String& V) { C.SetVisible(ParseBool(V)); }});
        t.push_back({u"AutoFitColWidth", [](const TColumnEh& C) { return !C.AutoFitColWidth(); },
                     [](const TColumnEh& C) { return BoolText(C.AutoFitColWidth()); },
                     [](TColumnEh& C, const String& V) { C.SetAutoFitColWidth(ParseBool(V)); }});
        t.push_back({u"ButtonStyle", [](const TColumnEh& C) { return C.ButtonStyle() != TColumnButtonStyleEh::cbsAuto; },
                     [](const TColumnEh& C) { return EnumText(C.ButtonStyle(), ButtonStyleNames); },
                     [](TColumnEh& C, const String& V) {
                         C.SetButtonStyle(ParseEnum<TColumnButtonStyleEh>(V, ButtonStyleNames));
                     }});
        t.push_back({u"DisplayFormat", [](const TColumnEh& C) { return !C.DisplayFormat().isEmpty(); },
                     [](const TColumnEh& C) { return C.DisplayFormat(); },
                     [](TColumnEh& C, const String& V) { C.SetDisplayFormat(V); }});
        t.push_back({u"EditMask", [](const TColumnEh& C) { return !C.EditMask().isEmpty(); },
                     [](const TColumnEh& C) { return C.EditMask(); },
                     [](TColumnEh& C, const String& V) { C.SetEditMask(V); }});
        t.push_back({u"DropDownRows", [](const TColumnEh& C) { return C.DropDownRows() != 7; },
                     [](const TColumnEh& C) { return IntToStr(static_cast<int>(C.DropDownRows())); },
                     [](TColumnEh& C, const String& V) { C.SetDropDownRows(static_cast<unsigned>(StrToInt(V))); }});
        t.push_back({u"DropDownWidth", [](const TColumnEh& C) { return C.DropDownWidth() != 0; },
                     [](const TColumnEh& C) { return IntToStr(C.DropDownWidth()); },
                     [](TColumnEh& C, const String& V) { C.SetDropDownWidth(StrToInt(V)); }});
        t.push_back({u"MinWidth", [](const TColumnEh& C) { return C.MinWidth() != 0; },
                     [](const TColumnEh& C) { return IntToStr(C.MinWidth()); },
                     [](TColumnEh& C, const String& V) { C.SetMinWidth(StrToInt(V)); }});
        t.push_back({u"MaxWidth", [](const TColumnEh& C) { return C.MaxWidth() != 0; },
                     [](const TColumnEh& C) { return IntToStr(C.MaxWidth()); },
                     [](TColumnEh& C, const String& V) { C.SetMaxWidth(StrToInt(V)); }});
        t.push_back({u"NotInKeyListIndex", [](const TColumnEh& C) { return C.NotInKeyListIndex() != -1; },
                     [](const TColumnEh& C) { return IntToStr(C.NotInKeyListIndex()); },
                     [](TColumnEh& C, const String& V) { C.SetNotInKeyListIndex(StrToInt(V)); }});
        t.push_back({u"Increment", [](const TColumnEh& C) { return C.Increment() != 1.0; },
                     [](const TColumnEh& C) { return String::number(C.Increment(), 'g', 17); },
                     [](TColumnEh& C, const String& V) { C.SetIncrement(StrToFloat(V)); }});
        t.push_back({u"Tag", [](const TColumnEh& C) { return C.Tag() != 0; },
                     [](const TColumnEh& C) { return IntToStr(C.Tag()); },
                     [](TColumnEh& C, const String& V) { C.SetTag(StrToInt(V)); }});
        t.push_back({u"HideDuplicates", [](const TColumnEh& C) { return C.HideDuplicates(); },
                     [](const TColumnEh& C) { return BoolText(C.HideDuplicates()); },
                     [](TColumnEh& C, const String& V) { C.SetHideDuplicates(ParseBool(V)); }});
        t.push_back({u"ShowImageAndText", [](const TColumnEh& C) { return C.ShowImageAndText(); },
                     [](const TColumnEh& C) { return BoolText(C.ShowImageAndText()); },
                     [](TColumnEh& C, const String& V) { C.SetShowImageAndText(ParseBool(V)); }});
        t.push_back({u"PickList", [](const TColumnEh& C) { return C.HasPickList(); },
                     [](const TColumnEh& C) { return const_cast<TColumnEh&>(C).PickList()->CommaText(); },
                     [](TColumnEh& C, const String& V) { C.PickList()->SetCommaText(V); }});
        t.push_back({u"KeyList", [](const TColumnEh& C) { return C.HasKeyList(); },
                     [](const TColumnEh& C) { return const_cast<TColumnEh&>(C).KeyList()->CommaText(); },
                     [](TColumnEh& C, const String& V) { C.KeyList()->SetCommaText(V); }});
        return t;
    }();
    return table;
}

const TPropertyTable<TColumnTitleEh>& TitleProperties()
{
    static const TPropertyTable<TColumnTitleEh> table = [] {
        TPropertyTable<TColumnTitleEh> t;
        t.push_back({u"Caption", [](const TColumnTitleEh& T) { return T.IsStored(cavTitleCaption); },
                     [](const TColumnTitleEh& T) { return T.Caption(); },
                     [](TColumnTitleEh& T, const String& V) { T.SetCaption(V); }});
        t.push_back({u"Alignment", [](const TColumnTitleEh& T) { return T.IsStored(cavTitleAlignment); },
                     [](const TColumnTitleEh& T) { return EnumText(T.Alignment(), AlignmentNames); },
                     [](TColumnTitleEh& T, const String& V) { T.SetAlignment(ParseEnum<TAlignment>(V, AlignmentNames)); }});
        t.push_back({u"Color", [](const TColumnTitleEh& T) { return T.IsStored(cavTitleColor); },
                     [](const TColumnTitleEh& T) { return IntToStr(T.Color()); },
                     [](TColumnTitleEh& T, const String& V) { T.SetColor(StrToInt(V)); }});
        t.push_back({u"EndEllipsis", [](const TColumnTitleEh& T) { return T.IsStored(cavTitleEndEllipsis); },
                     [](const TColumnTitleEh& T) { return BoolText(T.EndEllipsis()); },
                     [](TColumnTitleEh& T, const String& V) { T.SetEndEllipsis(ParseBool(V)); }});
        t.push_back({u"TitleButton", [](const TColumnTitleEh& T) { return T.IsStored(cavTitleButton); },
                     [](const TColumnTitleEh& T) { return BoolText(T.TitleButton()); },
                     [](TColumnTitleEh& T, const String& V) { T.SetTitleButton(ParseBool(V)); }});
        t.push_back({u"ToolTips", [](const TColumnTitleEh& T) { return T.IsStored(cavTitleToolTips); },
                     [](const TColumnTitleEh& T) { return BoolText(T.ToolTips()); },
                     [](TColumnTitleEh& T, const String& V) { T.SetToolTips(ParseBool(V)); }});
        t.push_back({u"Hint", [](const TColumnTitleEh& T) { return !T.Hint().isEmpty(); },
                     [](const TColumnTitleEh& T) { return T.Hint(); },
                     [](TColumnTitleEh& T, const String& V) { T.SetHint(V); }});
        t.push_back({u"ImageIndex", [](const TColumnTitleEh& T) { return T.ImageIndex() != -1; },
                     [](const TColumnTitleEh& T) { return IntToStr(T.ImageIndex()); },
                     [](TColumnTitleEh& T, const String& V) { T.SetImageIndex(StrToInt(V)); }});
        AddFontProperties<TColumnTitleEh>(
            t, [](const TColumnTitleEh& T) { return T.IsStored(cavTitleFont); },
            [](const TColumnTitleEh& T) { return T.Font(); });
        return t;
    }();
    return table;
}

const TPropertyTable<TColumnFooterEh>& FooterProperties()
{
    static const TPropertyTable<TColumnFooterEh> table = [] {
        TPropertyTable<TColumnFooterEh> t;
        t.push_back({u"ValueType", [](const TColumnFooterEh& F) { return F.ValueType() != TFooterValueType::fvtNon; },
                     [](const TColumnFooterEh& F) { return EnumText(F.ValueType(), FooterValueTypeNames); },
                     [](TColumnFooterEh& F, const String& V) {
                         F.SetValueType(ParseEnum<TFooterValueType>(V, FooterValueTypeNames));
                     }});
        t.push_back({u"Value", [](const TColumnFooterEh& F) { return !F.Value().isEmpty(); },
                     [](const TColumnFooterEh& F) { return F.Value(); },
                     [](TColumnFooterEh& F, const String& V) { F.SetValue(V); }});
        t.push_back({u"FieldName", [](const TColumnFooterEh& F) { return !F.FieldName().isEmpty(); },
                     [](const TColumnFooterEh& F) { return F.FieldName(); },
                     [](TColumnFooterEh& F, const String& V) { F.SetFieldName(V); }});
        t.push_back({u"DisplayFormat", [](const TColumnFooterEh& F) { return !F.DisplayFormat().isEmpty(); },
                     [](const TColumnFooterEh& F) { return F.DisplayFormat(); },
                     [](TColumnFooterEh& F, const String& V) { F.SetDisplayFormat(V); }});
        t.push_back({u"Alignment", [](const TColumnFooterEh& F) { return F.IsAlignmentStored(); },
                     [](const TColumnFooterEh& F) { return EnumText(F.Alignment(), AlignmentNames); },
                     [](TColumnFooterEh& F, const String& V) { F.SetAlignment(ParseEnum<TAlignment>(V, AlignmentNames)); }});
        t.push_back({u"Color", [](const TColumnFooterEh& F) { return F.IsColorStored(); },
                     [](const TColumnFooterEh& F) { return IntToStr(F.Color()); },
                     [](TColumnFooterEh& F, const String& V) { F.SetColor(StrToInt(V)); }});
        t.push_back({u"EndEllipsis", [](const TColumnFooterEh& F) { return F.EndEllipsis(); },
                     [](const TColumnFooterEh& F) { return BoolText(F.EndEllipsis()); },
                     [](TColumnFooterEh& F, const String& V) { F.SetEndEllipsis(ParseBool(V)); }});
        t.push_back({u"ToolTips", [](const TColumnFooterEh& F) { return F.IsToolTipsStored(); },
                     [](const TColumnFooterEh& F) { return BoolText(F.ToolTips()); },
                     [](TColumnFooterEh& F, const String& V) { F.SetToolTips(ParseBool(V)); }});
        t.push_back({u"WordWrap", [](const TColumnFooterEh& F) { return F.WordWrap(); },
                     [](const TColumnFooterEh& F) { return BoolText(F.WordWrap()); },
                     [](TColumnFooterEh& F, const String& V) { F.SetWordWrap(ParseBool(V)); }});
        AddFontProperties<TColumnFooterEh>(
            t, [](const TColumnFooterEh& F) { return F.IsFontStored(); }, [](const TColumnFooterEh& F) { return F.Font(); });
        return t;
    }();
    return table;
}

const TPropertyTable<TColumnFooterEh>& FooterPropertiesAfterValueType()
{
    static const TPropertyTable<TColumnFooterEh> table(FooterProperties().begin() + 1, FooterProperties().end());
    return table;
}

// --- Writing -------------------------------------------------------------------------------------

template <class T>
void StoreProperties(const T& Object, const TPropertyTable<T>& Table, const String& Prefix, TStrings* Description)
{
    for (const TStoredPropertyEh<T>& property : Table)
        if (property.Stored(Object))
            Description->Add(Prefix + String(reinterpret_cast<const QChar*>(property.Name)) + u'=' +
                             EscapeValue(property.Get(Object)));
}

void StoreColumn(const TColumnEh* Column, TStrings* Description)
{
    Description->Add(ItemStart);
    StoreProperties(*Column, ColumnProperties(), String(), Description);
    StoreProperties(*Column->Title(), TitleProperties(), u"Title."_s, Description);
    StoreProperties(*Column->Footer(), FooterProperties(), u"Footer."_s, Description);
    const TColumnFootersEh* footers = Column->Footers();
    for (int i = 0; i < footers->Count(); ++i) {
        const String prefix = QStringLiteral("Footers[%1].").arg(i);
        // ValueType, the table's first entry, is written for every item, so that an item with
        // nothing else stored still makes its footer row.
        Description->Add(prefix + u"ValueType="_s + EnumText(footers->FooterAt(i)->ValueType(), FooterValueTypeNames));
        StoreProperties(*footers->FooterAt(i), FooterPropertiesAfterValueType(), prefix, Description);
    }
    Description->Add(ItemEnd);
}

// --- Reading -------------------------------------------------------------------------------------

template <class T>
bool ReadFromTable(T& Object, const TPropertyTable<T>& Table, const String& Name, const String& Value)
{
    for (const TStoredPropertyEh<T>& property : Table)
        if (Name.compare(String(reinterpret_cast<const QChar*>(property.Name)), Qt::CaseInsensitive) == 0) {
            property.Set(Object, UnescapeValue(Value));
            return true;
        }
    return false;
}

// Footers[i]. names the i-th footer item, made when missing.
TColumnFooterEh* FooterItem(TColumnEh* Column, const String& Name, String& Rest)
{
    const auto close = Name.indexOf(u"]."_s);
    bool ok = false;
    const int index = close > 8 ? Name.mid(8, close - 8).toInt(&ok) : -1;
    if (!ok || index < 0 || index > Column->Footers()->Count())
        throw EReadError(QStringLiteral("Property %1 does not exist").arg(Name));
    Rest = Name.mid(close + 2);
    if (index == Column->Footers()->Count())
        Column->Footers()->Add();
    return Column->Footers()->FooterAt(index);
}

void ReadColumnProperty(TColumnEh* Column, const String& Name, const String& Value)
{
    if (Name.startsWith(u"Title."_s, Qt::CaseInsensitive)) {
        if (ReadFromTable(*Column->Title(), TitleProperties(), Name.mid(6), Value))
            return;
    } else if (Name.startsWith(u"Footer."_s, Qt::CaseInsensitive)) {
        if (ReadFromTable(*Column->Footer(), FooterProperties(), Name.mid(7), Value))
            return;
    } else if (Name.startsWith(u"Footers["_s, Qt::CaseInsensitive)) {
        String rest;
        TColumnFooterEh* footer = FooterItem(Column, Name, rest);
        if (ReadFromTable(*footer, FooterProperties(), rest, Value))
            return;
    } else if (ReadFromTable(*Column, ColumnProperties(), Name, Value)) {
        return;
    }
    // Names no longer published.
    TStringList line;
    line.Add(Name + u'=' + Value);
    if (!ReadInterceptedProperties(Column, line))
        throw EReadError(QStringLiteral("Property %1 does not exist").arg(Name));
}

void ReadDescription(TDBGridColumnsEh* Columns, const TStrings* Description)
{
    TStringList collectionLines;
    TColumnEh* column = nullptr;
    for (int i = 0; i < Description->Count(); ++i) {
        const String line = Description->Strings(i).trimmed();
        if (line.isEmpty())
            continue;
        if (line.compare(ItemStart, Qt::CaseInsensitive) == 0) {
            if (column != nullptr)
                throw EReadError(u"Unterminated column in a stored description"_s);
            column = Columns->Add();
        } else if (line.compare(ItemEnd, Qt::CaseInsensitive) == 0) {
            if (column == nullptr)
                throw EReadError(u"Column end without a column in a stored description"_s);
            column = nullptr;
        } else if (column != nullptr) {
            ReadColumnProperty(column, Description->Names(i).trimmed(), Description->ValueFromIndex(i));
        } else {
            collectionLines.Add(line);
        }
    }
    if (column != nullptr)
        throw EReadError(u"Unterminated column in a stored description"_s);
    if (collectionLines.Count() > 0 && !ReadInterceptedProperties(Columns, collectionLines))
        throw EReadError(QStringLiteral("Property %1 does not exist").arg(collectionLines.Names(0)));
}

}  // namespace

void StoreColumns(const TDBGridColumnsEh* Columns, TStrings* Description)
{
    for (int i = 0; i < Columns->Count(); ++i)
        StoreColumn(Columns->ColumnAt(i), Description);
}

void LoadColumns(TDBGridColumnsEh* Columns, const TStrings* Description)
{
    InstallColumnPropertyInterceptors();
    TCustomDBGridEh* grid = Columns->Grid();
    const bool ownLoading = grid != nullptr && !grid->Loading();
    if (ownLoading)
        grid->BeginLoading();
    try {
        Columns->BeginUpdate();
        try {
            Columns->Clear();
            ReadDescription(Columns, Description);
        } catch (...) {
            Columns->EndUpdate();
            throw;
        }
        Columns->EndUpdate();
    } catch (...) {
        if (ownLoading)
            grid->EndLoading();
        throw;
    }
    if (ownLoading)
        grid->EndLoading();
}
