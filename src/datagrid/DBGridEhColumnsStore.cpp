// Stored column sets: writing a grid's columns as a description and reading them back.
#include "datagrid/DBGridEh.h"

#include "platform/core/Exceptions.h"
#include "platform/core/StringList.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DataSource.h"
#include "platform/ui/ActnList.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/Menus.h"

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
constexpr std::array<const char16_t*, 8> EditButtonStyleNames{
    u"ebsDropDownEh", u"ebsEllipsisEh", u"ebsGlyphEh",       u"ebsUpDownEh",
    u"ebsPlusEh",     u"ebsMinusEh",    u"ebsAltDropDownEh", u"ebsAltUpDownEh"};
constexpr std::array<const char16_t*, 5> LookupGridOptionNames{
    u"dlgColumnResizeEh", u"dlgColLinesEh", u"dlgRowLinesEh", u"dlgAutoSortMarkingEh", u"dlgMultiSortMarkingEh"};

// Sets by their members' identifiers, comma-separated; bit i is the i-th name.
template <std::size_t N>
String SetText(std::uint32_t Bits, const std::array<const char16_t*, N>& Names)
{
    QStringList names;
    for (std::size_t i = 0; i < N; ++i)
        if ((Bits & (1u << i)) != 0)
            names.append(String(reinterpret_cast<const QChar*>(Names[i])));
    return names.join(u',');
}

template <std::size_t N>
std::uint32_t ParseSet(const String& Text, const std::array<const char16_t*, N>& Names)
{
    std::uint32_t bits = 0;
    for (const String& name : Text.split(u',', Qt::SkipEmptyParts))
        bits |= 1u << static_cast<unsigned>(ParseEnum<int>(name.trimmed(), Names));
    return bits;
}

String FontStyleText(TFontStyles Styles)
{
    std::uint32_t bits = 0;
    for (std::size_t i = 0; i < FontStyleNames.size(); ++i)
        if (Styles.Contains(static_cast<TFontStyle>(1u << i)))
            bits |= 1u << i;
    return SetText(bits, FontStyleNames);
}

TFontStyles ParseFontStyle(const String& Text)
{
    const std::uint32_t bits = ParseSet(Text, FontStyleNames);
    TFontStyles styles;
    for (std::size_t i = 0; i < FontStyleNames.size(); ++i)
        if ((bits & (1u << i)) != 0)
            styles.Include(static_cast<TFontStyle>(1u << i));
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
        t.push_back({u"InRowLinePos", [](const TColumnEh& C) { return C.InRowLinePos() != 0; },
                     [](const TColumnEh& C) { return IntToStr(C.InRowLinePos()); },
                     [](TColumnEh& C, const String& V) { C.SetInRowLinePos(StrToInt(V)); }});
        t.push_back({u"InRowLineHeight", [](const TColumnEh& C) { return C.InRowLineHeight() != 1; },
                     [](const TColumnEh& C) { return IntToStr(C.InRowLineHeight()); },
                     [](TColumnEh& C, const String& V) { C.SetInRowLineHeight(StrToInt(V)); }});
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

// A Boolean whose default is Default, written when it differs.
template <class T>
void AddBool(TPropertyTable<T>& Table, const char16_t* Name, bool Default, bool (T::*Get)() const, void (T::*Set)(bool))
{
    Table.push_back({Name, [Get, Default](const T& O) { return (O.*Get)() != Default; },
                     [Get](const T& O) { return BoolText((O.*Get)()); },
                     [Set](T& O, const String& V) { (O.*Set)(ParseBool(V)); }});
}

// A string written when not empty.
template <class T>
void AddText(TPropertyTable<T>& Table, const char16_t* Name, const String& (T::*Get)() const,
             void (T::*Set)(const String&))
{
    Table.push_back({Name, [Get](const T& O) { return !(O.*Get)().isEmpty(); },
                     [Get](const T& O) { return (O.*Get)(); }, [Set](T& O, const String& V) { (O.*Set)(V); }});
}

const TPropertyTable<TColumnDropDownBoxEh>& DropDownBoxProperties()
{
    static const TPropertyTable<TColumnDropDownBoxEh> table = [] {
        TPropertyTable<TColumnDropDownBoxEh> t;
        AddBool(t, u"AutoFitColWidths", true, &TColumnDropDownBoxEh::AutoFitColWidths,
                &TColumnDropDownBoxEh::SetAutoFitColWidths);
        t.push_back({u"Options", [](const TColumnDropDownBoxEh& B) { return B.Options() != dlgColLinesEh; },
                     [](const TColumnDropDownBoxEh& B) { return SetText(B.Options().Bits(), LookupGridOptionNames); },
                     [](TColumnDropDownBoxEh& B, const String& V) {
                         B.SetOptions(TDBLookupGridEhOptions(ParseSet(V, LookupGridOptionNames)));
                     }});
        AddBool(t, u"SortLocal", false, &TColumnDropDownBoxEh::SortLocal, &TColumnDropDownBoxEh::SetSortLocal);
        AddBool(t, u"UseMultiTitle", false, &TColumnDropDownBoxEh::UseMultiTitle,
                &TColumnDropDownBoxEh::SetUseMultiTitle);
        return t;
    }();
    return table;
}

const TPropertyTable<TSTColumnFilterEh>& STFilterProperties()
{
    static const TPropertyTable<TSTColumnFilterEh> table = [] {
        TPropertyTable<TSTColumnFilterEh> t;
        AddText(t, u"DataField", &TSTColumnFilterEh::DataField, &TSTColumnFilterEh::SetDataField);
        AddText(t, u"KeyField", &TSTColumnFilterEh::KeyField, &TSTColumnFilterEh::SetKeyField);
        AddText(t, u"ListField", &TSTColumnFilterEh::ListField, &TSTColumnFilterEh::SetListField);
        AddBool(t, u"Visible", true, &TSTColumnFilterEh::Visible, &TSTColumnFilterEh::SetVisible);
        return t;
    }();
    return table;
}

// An edit button's properties after its Style, which every stored button writes.
const TPropertyTable<TEditButtonEh>& EditButtonProperties()
{
    static const TPropertyTable<TEditButtonEh> table = [] {
        TPropertyTable<TEditButtonEh> t;
        t.push_back({u"Style", [](const TEditButtonEh&) { return true; },
                     [](const TEditButtonEh& B) { return EnumText(B.Style(), EditButtonStyleNames); },
                     [](TEditButtonEh& B, const String& V) {
                         B.SetStyle(ParseEnum<TEditButtonStyleEh>(V, EditButtonStyleNames));
                     }});
        // What the button takes from its action is not written.
        t.push_back({u"Enabled", [](const TEditButtonEh& B) { return B.IsEnabledStored() && !B.Enabled(); },
                     [](const TEditButtonEh& B) { return BoolText(B.Enabled()); },
                     [](TEditButtonEh& B, const String& V) { B.SetEnabled(ParseBool(V)); }});
        t.push_back({u"Hint", [](const TEditButtonEh& B) { return B.IsHintStored() && !B.Hint().isEmpty(); },
                     [](const TEditButtonEh& B) { return B.Hint(); },
                     [](TEditButtonEh& B, const String& V) { B.SetHint(V); }});
        t.push_back({u"ShortCut",
                     [](const TEditButtonEh& B) { return B.IsShortCutStored() && B.ShortCut() != DropDownButtonShortCut; },
                     [](const TEditButtonEh& B) { return IntToStr(B.ShortCut()); },
                     [](TEditButtonEh& B, const String& V) { B.SetShortCut(static_cast<TShortCut>(StrToInt(V))); }});
        t.push_back({u"Visible", [](const TEditButtonEh& B) { return B.IsVisibleStored() && !B.Visible(); },
                     [](const TEditButtonEh& B) { return BoolText(B.Visible()); },
                     [](TEditButtonEh& B, const String& V) { B.SetVisible(ParseBool(V)); }});
        t.push_back({u"Width", [](const TEditButtonEh& B) { return B.Width() != 0; },
                     [](const TEditButtonEh& B) { return IntToStr(B.Width()); },
                     [](TEditButtonEh& B, const String& V) { B.SetWidth(StrToInt(V)); }});
        t.push_back({u"NumGlyphs", [](const TEditButtonEh& B) { return B.NumGlyphs() != 1; },
                     [](const TEditButtonEh& B) { return IntToStr(B.NumGlyphs()); },
                     [](TEditButtonEh& B, const String& V) { B.SetNumGlyphs(StrToInt(V)); }});
        return t;
    }();
    return table;
}

// --- Component references ------------------------------------------------------------------------

// A reference of a T to another component, stored by the component's name and found again
// among the components of the grid's owner. Set answers false for a component of another class.
template <class T>
struct TStoredReferenceEh {
    const char16_t* Name;
    std::function<TComponent*(const T&)> Get;
    std::function<bool(T&, TComponent*)> Set;
};

template <class T>
using TReferenceTable = std::vector<TStoredReferenceEh<T>>;

template <class T, class C>
TStoredReferenceEh<T> Reference(const char16_t* Name, C* (T::*Get)() const, void (T::*Set)(C*))
{
    return {Name, [Get](const T& O) -> TComponent* { return (O.*Get)(); },
            [Set](T& O, TComponent* Found) {
                auto* typed = dynamic_cast<C*>(Found);
                if (typed == nullptr)
                    return false;
                (O.*Set)(typed);
                return true;
            }};
}

const TReferenceTable<TColumnEh>& ColumnReferences()
{
    static const TReferenceTable<TColumnEh> table{Reference(u"ImageList", &TColumnEh::ImageList, &TColumnEh::SetImageList),
                                                  Reference(u"PopupMenu", &TColumnEh::PopupMenu, &TColumnEh::SetPopupMenu)};
    return table;
}

const TReferenceTable<TColumnDropDownBoxEh>& DropDownBoxReferences()
{
    static const TReferenceTable<TColumnDropDownBoxEh> table{
        Reference(u"ListSource", &TColumnDropDownBoxEh::ListSource, &TColumnDropDownBoxEh::SetListSource)};
    return table;
}

const TReferenceTable<TSTColumnFilterEh>& STFilterReferences()
{
    static const TReferenceTable<TSTColumnFilterEh> table{
        Reference(u"ListSource", &TSTColumnFilterEh::ListSource, &TSTColumnFilterEh::SetListSource)};
    return table;
}

const TReferenceTable<TEditButtonEh>& EditButtonReferences()
{
    static const TReferenceTable<TEditButtonEh> table{
        Reference(u"DropdownMenu", &TEditButtonEh::DropdownMenu, &TEditButtonEh::SetDropdownMenu),
        Reference(u"Action", &TEditButtonEh::Action, &TEditButtonEh::SetAction)};
    return table;
}

// Where a stored component name is looked up: among the components of the grid's owner.
const TComponent* ReferenceRoot(const TDBGridColumnsEh* Columns)
{
    return Columns->Grid() != nullptr ? Columns->Grid()->Owner() : nullptr;
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

// Only a named component of Root, where loading looks names up, can be found again: the
// reference to any other is not written.
template <class T>
void StoreReferences(const T& Object, const TReferenceTable<T>& Table, const String& Prefix, const TComponent* Root,
                     TStrings* Description)
{
    for (const TStoredReferenceEh<T>& reference : Table) {
        const TComponent* component = reference.Get(Object);
        if (component != nullptr && Root != nullptr && component->Owner() == Root && !component->Name().isEmpty())
            Description->Add(Prefix + String(reinterpret_cast<const QChar*>(reference.Name)) + u'=' +
                             EscapeValue(component->Name()));
    }
}

template <class T>
void StoreObject(const T& Object, const TPropertyTable<T>& Properties, const TReferenceTable<T>& References,
                 const String& Prefix, const TComponent* Root, TStrings* Description)
{
    StoreProperties(Object, Properties, Prefix, Description);
    StoreReferences(Object, References, Prefix, Root, Description);
}

void StoreColumn(const TColumnEh* Column, const TComponent* Root, TStrings* Description)
{
    Description->Add(ItemStart);
    StoreObject(*Column, ColumnProperties(), ColumnReferences(), String(), Root, Description);
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
    StoreObject(*Column->DropDownBox(), DropDownBoxProperties(), DropDownBoxReferences(), u"DropDownBox."_s, Root,
                Description);
    StoreObject(*Column->STFilter(), STFilterProperties(), STFilterReferences(), u"STFilter."_s, Root, Description);
    const TEditButtonsEh* buttons = Column->EditButtons();
    for (int i = 0; i < buttons->Count(); ++i)
        StoreObject(*buttons->ItemAt(i), EditButtonProperties(), EditButtonReferences(),
                    QStringLiteral("EditButtons[%1].").arg(i), Root, Description);
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

// The component named Value among Root's; one that does not exist, or is of another class than
// the reference takes, raises EReadError.
template <class T>
bool ReadReference(T& Object, const TReferenceTable<T>& Table, const String& Name, const String& Value,
                   const TComponent* Root)
{
    for (const TStoredReferenceEh<T>& reference : Table) {
        if (Name.compare(String(reinterpret_cast<const QChar*>(reference.Name)), Qt::CaseInsensitive) != 0)
            continue;
        const String componentName = UnescapeValue(Value);
        TComponent* found = Root != nullptr ? Root->FindComponent(componentName) : nullptr;
        if (found == nullptr)
            throw EReadError(QStringLiteral("Property %1 refers to %2, which does not exist").arg(Name, componentName));
        if (!reference.Set(Object, found))
            throw EReadError(QStringLiteral("Invalid property value %1").arg(componentName));
        return true;
    }
    return false;
}

template <class T>
bool ReadObject(T& Object, const TPropertyTable<T>& Properties, const TReferenceTable<T>& References,
                const String& Name, const String& Value, const TComponent* Root)
{
    return ReadFromTable(Object, Properties, Name, Value) || ReadReference(Object, References, Name, Value, Root);
}

// Prefix[i]. names the i-th item of Items, made when missing (items are written in order).
TCollectionItem* IndexedItem(TCollection* Items, const String& Name, qsizetype PrefixLength, String& Rest)
{
    const auto close = Name.indexOf(u"]."_s);
    bool ok = false;
    const int index = close > PrefixLength ? Name.mid(PrefixLength, close - PrefixLength).toInt(&ok) : -1;
    if (!ok || index < 0 || index > Items->Count())
        throw EReadError(QStringLiteral("Property %1 does not exist").arg(Name));
    Rest = Name.mid(close + 2);
    return index == Items->Count() ? Items->Add() : Items->Items(index);
}

bool ReadNestedProperty(TColumnEh* Column, const String& Name, const String& Value, const TComponent* Root)
{
    String rest;
    if (Name.startsWith(u"Title."_s, Qt::CaseInsensitive))
        return ReadFromTable(*Column->Title(), TitleProperties(), Name.mid(6), Value);
    if (Name.startsWith(u"Footer."_s, Qt::CaseInsensitive))
        return ReadFromTable(*Column->Footer(), FooterProperties(), Name.mid(7), Value);
    if (Name.startsWith(u"Footers["_s, Qt::CaseInsensitive)) {
        auto* footer = static_cast<TColumnFooterEh*>(IndexedItem(Column->Footers(), Name, 8, rest));
        return ReadFromTable(*footer, FooterProperties(), rest, Value);
    }
    if (Name.startsWith(u"DropDownBox."_s, Qt::CaseInsensitive))
        return ReadObject(*Column->DropDownBox(), DropDownBoxProperties(), DropDownBoxReferences(), Name.mid(12), Value,
                          Root);
    if (Name.startsWith(u"STFilter."_s, Qt::CaseInsensitive))
        return ReadObject(*Column->STFilter(), STFilterProperties(), STFilterReferences(), Name.mid(9), Value, Root);
    if (Name.startsWith(u"EditButtons["_s, Qt::CaseInsensitive)) {
        auto* button = static_cast<TEditButtonEh*>(IndexedItem(Column->EditButtons(), Name, 12, rest));
        return ReadObject(*button, EditButtonProperties(), EditButtonReferences(), rest, Value, Root);
    }
    return ReadObject(*Column, ColumnProperties(), ColumnReferences(), Name, Value, Root);
}

void ReadColumnProperty(TColumnEh* Column, const String& Name, const String& Value, const TComponent* Root)
{
    if (ReadNestedProperty(Column, Name, Value, Root))
        return;
    // Names no longer published.
    TStringList line;
    line.Add(Name + u'=' + Value);
    if (!ReadInterceptedProperties(Column, line))
        throw EReadError(QStringLiteral("Property %1 does not exist").arg(Name));
}

void ReadDescription(TDBGridColumnsEh* Columns, const TStrings* Description)
{
    const TComponent* root = ReferenceRoot(Columns);
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
            ReadColumnProperty(column, Description->Names(i).trimmed(), Description->ValueFromIndex(i), root);
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
        StoreColumn(Columns->ColumnAt(i), ReferenceRoot(Columns), Description);
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
