// The field classes for each kind of value: how each turns text into a value and back (display
// and edit text, formats), which characters it accepts as typed, its ranges, and CreateField,
// which picks the class for a field type.
//
// Sections, in file order:
//   Text             TStringField
//   Numbers          TNumericField's formats and typed characters; integers and their ranges,
//                    floats and currency, BCD
//   Booleans         TBooleanField and its DisplayValues
//   Dates and times  TDateTimeField's formats, parsing and display
//   Blobs            the placeholder texts ("(Memo)", "(BLOB)") of blob, graphic and memo fields
//   Creation         CreateField
#include "platform/data/TypedFields.h"

#include "platform/core/FormatSettings.h"
#include "platform/core/SysUtils.h"
#include "platform/data/DatabaseError.h"

#include <limits>

// --- Text -------------------------------------------------------------------------------------

TStringField::TStringField(TComponent* AOwner, TFieldType DataType) : TField(AOwner, DataType)
{
    SetSize(20);
}

// --- Numbers ----------------------------------------------------------------------------------

TNumericField::TNumericField(TComponent* AOwner, TFieldType DataType) : TField(AOwner, DataType)
{
    SetAlignment(TAlignment::taRightJustify);
}

void TNumericField::SetDisplayFormat(const String& Value)
{
    if (Value == FDisplayFormat)
        return;
    FDisplayFormat = Value;
    PropertyChanged(false);
}

void TNumericField::SetEditFormat(const String& Value)
{
    if (Value == FEditFormat)
        return;
    FEditFormat = Value;
    PropertyChanged(false);
}

const String& TNumericField::TextFormat(bool DisplayText) const
{
    return DisplayText || FEditFormat.isEmpty() ? FDisplayFormat : FEditFormat;
}

bool TNumericField::IsValidChar(Char InputChar) const
{
    if (InputChar.isDigit() && InputChar.unicode() < 128)
        return true;
    if (InputChar == u'+' || InputChar == u'-')
        return true;
    if (DataType() == TFieldType::ftFloat || DataType() == TFieldType::ftCurrency || DataType() == TFieldType::ftBCD)
        return InputChar == FormatSettings().DecimalSeparator || InputChar == u'E' || InputChar == u'e';
    return false;
}

TIntegerField::TIntegerField(TComponent* AOwner, TFieldType DataType) : TNumericField(AOwner, DataType) {}

Variant TIntegerField::Checked(std::int64_t Value) const
{
    std::int64_t low = std::numeric_limits<std::int32_t>::min();
    std::int64_t high = std::numeric_limits<std::int32_t>::max();
    switch (DataType()) {
    case TFieldType::ftSmallint:
        low = std::numeric_limits<std::int16_t>::min();
        high = std::numeric_limits<std::int16_t>::max();
        break;
    case TFieldType::ftWord:
        low = 0;
        high = std::numeric_limits<std::uint16_t>::max();
        break;
    case TFieldType::ftLargeint:
        return Variant(Value);
    default:
        break;
    }
    if (Value < low || Value > high)
        DatabaseError(DBConsts::SFieldRangeError.arg(Value).arg(DisplayName()).arg(low).arg(high));
    return Variant(static_cast<int>(Value));
}

Variant TIntegerField::ToNative(const Variant& Value) const
{
    if (VarIsStr(Value))
        return TextToValue(Value.AsString());
    return Checked(Value.AsInt64());
}

Variant TIntegerField::TextToValue(const String& Text) const
{
    if (Text.isEmpty())
        return Variant::Null();
    std::int64_t value = 0;
    if (!TryStrToInt64(Text, value))
        DatabaseError(DBConsts::SInvalidIntegerValue.arg(Text, DisplayName()));
    return Checked(value);
}

String TIntegerField::ValueToString(const Variant& Value) const { return IntToStr(Value.AsInt64()); }

String TIntegerField::ValueToText(const Variant& Value, bool DisplayText) const
{
    const String& format = TextFormat(DisplayText);
    return format.isEmpty() ? ValueToString(Value) : FormatFloat(format, static_cast<long double>(Value.AsInt64()));
}

int TIntegerField::DefaultWidth() const
{
    switch (DataType()) {
    case TFieldType::ftSmallint: return 6;
    case TFieldType::ftWord: return 5;
    case TFieldType::ftLargeint: return 15;
    default: return 11;
    }
}

TFloatField::TFloatField(TComponent* AOwner, TFieldType DataType) : TNumericField(AOwner, DataType) {}

void TFloatField::SetCurrency(bool Value)
{
    if (Value == FCurrency)
        return;
    FCurrency = Value;
    PropertyChanged(false);
}

void TFloatField::SetPrecision(int Value)
{
    const int precision = Value < 2 ? 2 : (Value > 15 ? 15 : Value);
    if (precision == FPrecision)
        return;
    FPrecision = precision;
    PropertyChanged(false);
}

Variant TFloatField::TextToValue(const String& Text) const
{
    if (Text.isEmpty())
        return Variant::Null();
    double value = 0;
    if (!TryStrToFloat(Text, value))
        DatabaseError(DBConsts::SInvalidFloatValue.arg(Text, DisplayName()));
    return Variant(value);
}

String TFloatField::ValueToString(const Variant& Value) const { return FloatToStr(Value.AsDouble()); }

String TFloatField::ValueToText(const Variant& Value, bool DisplayText) const
{
    const String& format = TextFormat(DisplayText);
    if (!format.isEmpty())
        return FormatFloat(format, Value.AsDouble());
    if (!FCurrency)
        return FloatToStrF(Value.AsDouble(), TFloatFormat::ffGeneral, FPrecision, 0);
    return FloatToStrF(Value.AsDouble(), DisplayText ? TFloatFormat::ffCurrency : TFloatFormat::ffFixed, FPrecision,
                       FormatSettings().CurrencyDecimals);
}

TCurrencyField::TCurrencyField(TComponent* AOwner) : TFloatField(AOwner, TFieldType::ftCurrency)
{
    SetCurrency(true);
}

TBCDField::TBCDField(TComponent* AOwner) : TNumericField(AOwner, TFieldType::ftBCD)
{
    SetSize(4);
}

void TBCDField::SetCurrency(bool Value)
{
    if (Value == FCurrency)
        return;
    FCurrency = Value;
    PropertyChanged(false);
}

Variant TBCDField::TextToValue(const String& Text) const
{
    if (Text.isEmpty())
        return Variant::Null();
    ::Currency value;
    if (!TryStrToCurr(Text, value))
        DatabaseError(DBConsts::SInvalidFloatValue.arg(Text, DisplayName()));
    return Variant(value);
}

String TBCDField::ValueToString(const Variant& Value) const { return CurrToStr(Value.AsCurrency()); }

String TBCDField::ValueToText(const Variant& Value, bool DisplayText) const
{
    const String& format = TextFormat(DisplayText);
    if (!format.isEmpty())
        return FormatCurr(format, Value.AsCurrency());
    if (!FCurrency)
        return CurrToStrF(Value.AsCurrency(), TFloatFormat::ffGeneral, 0);
    return CurrToStrF(Value.AsCurrency(), DisplayText ? TFloatFormat::ffCurrency : TFloatFormat::ffFixed,
                      FormatSettings().CurrencyDecimals);
}

// --- Booleans ---------------------------------------------------------------------------------

TBooleanField::TBooleanField(TComponent* AOwner) : TField(AOwner, TFieldType::ftBoolean) {}

String TBooleanField::DisplayValues() const { return FTrueText + u';' + FFalseText; }

void TBooleanField::SetDisplayValues(const String& Value)
{
    const qsizetype separator = Value.indexOf(u';');
    FTrueText = separator < 0 ? Value : Value.left(separator);
    FFalseText = separator < 0 ? String() : Value.mid(separator + 1);
    PropertyChanged(false);
}

Variant TBooleanField::TextToValue(const String& Text) const
{
    if (Text.isEmpty())
        return Variant::Null();
    // A prefix of either text will do, as typing "T" or "F" does.
    if (FFalseText.startsWith(Text, Qt::CaseInsensitive))
        return Variant(false);
    if (FTrueText.startsWith(Text, Qt::CaseInsensitive))
        return Variant(true);
    DatabaseError(DBConsts::SInvalidBoolValue.arg(Text, DisplayName()));
}

String TBooleanField::ValueToString(const Variant& Value) const
{
    return Value.AsBoolean() ? FTrueText : FFalseText;
}

// --- Dates and times --------------------------------------------------------------------------

TDateTimeField::TDateTimeField(TComponent* AOwner, TFieldType DataType) : TField(AOwner, DataType) {}

void TDateTimeField::SetDisplayFormat(const String& Value)
{
    if (Value == FDisplayFormat)
        return;
    FDisplayFormat = Value;
    PropertyChanged(false);
}

Variant TDateTimeField::TextToValue(const String& Text) const
{
    if (Text.isEmpty())
        return Variant::Null();
    switch (DataType()) {
    case TFieldType::ftDate: return Variant::FromDateTime(StrToDate(Text));
    case TFieldType::ftTime: return Variant::FromDateTime(StrToTime(Text));
    default: return Variant::FromDateTime(StrToDateTime(Text));
    }
}

String TDateTimeField::ValueToString(const Variant& Value) const
{
    // Another program may have stored any text in a date column; painting it must not raise.
    if (VarIsStr(Value))
        return Value.AsString();
    switch (DataType()) {
    case TFieldType::ftDate: return DateToStr(Value.AsDateTime());
    case TFieldType::ftTime: return TimeToStr(Value.AsDateTime());
    default: return DateTimeToStr(Value.AsDateTime());
    }
}

String TDateTimeField::ValueToText(const Variant& Value, bool DisplayText) const
{
    if (DisplayText && !FDisplayFormat.isEmpty() && !VarIsStr(Value))
        return FormatDateTime(FDisplayFormat, Value.AsDateTime());
    return ValueToString(Value);
}

int TDateTimeField::DefaultWidth() const { return DataType() == TFieldType::ftDateTime ? 18 : 10; }

// --- Blobs ------------------------------------------------------------------------------------

namespace {

String TypeText(TFieldType DataType, bool HasData)
{
    String name;
    switch (DataType) {
    case TFieldType::ftMemo: name = QStringLiteral("Memo"); break;
    case TFieldType::ftGraphic: name = QStringLiteral("Graphic"); break;
    default: name = QStringLiteral("Blob"); break;
    }
    return u'(' + (HasData ? name.toUpper() : name) + u')';
}

}  // namespace

TBlobField::TBlobField(TComponent* AOwner, TFieldType DataType) : TField(AOwner, DataType) {}

String TBlobField::ValueToText(const Variant& Value, bool) const
{
    return TypeText(DataType(), !VarIsNull(Value));
}

String TMemoField::ValueToText(const Variant& Value, bool DisplayText) const
{
    if (DisplayText)
        return TypeText(DataType(), !VarIsNull(Value));
    return VarToStr(Value);
}

// --- Creation ---------------------------------------------------------------------------------

namespace {

TField* NewField(TComponent* AOwner, TFieldType DataType)
{
    switch (DataType) {
    case TFieldType::ftString:
    case TFieldType::ftFixedChar:
    case TFieldType::ftGuid: return new TStringField(AOwner);
    case TFieldType::ftWideString: return new TWideStringField(AOwner);
    case TFieldType::ftSmallint: return new TSmallintField(AOwner);
    case TFieldType::ftInteger: return new TIntegerField(AOwner);
    case TFieldType::ftWord: return new TWordField(AOwner);
    case TFieldType::ftAutoInc: return new TAutoIncField(AOwner);
    case TFieldType::ftLargeint: return new TLargeintField(AOwner);
    case TFieldType::ftFloat: return new TFloatField(AOwner);
    case TFieldType::ftCurrency: return new TCurrencyField(AOwner);
    case TFieldType::ftBCD:
    case TFieldType::ftFMTBcd: return new TBCDField(AOwner);
    case TFieldType::ftBoolean: return new TBooleanField(AOwner);
    case TFieldType::ftDate: return new TDateField(AOwner);
    case TFieldType::ftTime: return new TTimeField(AOwner);
    case TFieldType::ftDateTime:
    case TFieldType::ftTimeStamp: return new TDateTimeField(AOwner);
    case TFieldType::ftMemo:
    case TFieldType::ftFmtMemo:
    case TFieldType::ftOraClob: return new TMemoField(AOwner);
    case TFieldType::ftGraphic: return new TGraphicField(AOwner);
    case TFieldType::ftBlob:
    case TFieldType::ftBytes:
    case TFieldType::ftVarBytes:
    case TFieldType::ftTypedBinary:
    case TFieldType::ftOraBlob: return new TBlobField(AOwner);
    default:
        DatabaseError(QStringLiteral("不能创建类型为 %1 的字段").arg(static_cast<int>(DataType)));
    }
}

}  // namespace

TField* CreateField(TComponent* AOwner, TFieldType DataType)
{
    TField* field = NewField(AOwner, DataType);
    // Kinds that share a class keep their own type: controls key on it (memo-like text, blobs).
    field->SetDataType(DataType);
    return field;
}
