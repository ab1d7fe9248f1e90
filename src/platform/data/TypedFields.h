#pragma once
// The typed fields: each stores its own kind of value and converts text the platform's way.
#include "platform/data/Field.h"

class TStringField : public TField {
public:
    explicit TStringField(TComponent* AOwner) : TStringField(AOwner, TFieldType::ftString) {}

protected:
    TStringField(TComponent* AOwner, TFieldType DataType);
    const char* ClassName() const override { return "TStringField"; }
    Variant ToNative(const Variant& Value) const override { return Variant(Value.AsString()); }
    int DefaultWidth() const override { return Size(); }
};

class TWideStringField : public TStringField {
public:
    explicit TWideStringField(TComponent* AOwner) : TStringField(AOwner, TFieldType::ftWideString) {}

protected:
    const char* ClassName() const override { return "TWideStringField"; }
};

// Numbers: right-aligned, shown through DisplayFormat and edited through EditFormat (falling
// back to DisplayFormat), both FormatFloat patterns.
class TNumericField : public TField {
public:
    const String& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const String& Value);
    const String& EditFormat() const { return FEditFormat; }
    void SetEditFormat(const String& Value);

protected:
    TNumericField(TComponent* AOwner, TFieldType DataType);
    Variant EmptyValue() const override { return Variant(0); }
    bool IsValidChar(Char InputChar) const override;
    // The pattern for the display or the edit text; empty for the type's own format.
    const String& TextFormat(bool DisplayText) const;

private:
    String FDisplayFormat;
    String FEditFormat;
};

class TIntegerField : public TNumericField {
public:
    explicit TIntegerField(TComponent* AOwner) : TIntegerField(AOwner, TFieldType::ftInteger) {}
    // The range an editor keeps typed values in; equal bounds (0, 0) mean none.
    std::int64_t MinValue() const { return FMinValue; }
    void SetMinValue(std::int64_t Value) { FMinValue = Value; }
    std::int64_t MaxValue() const { return FMaxValue; }
    void SetMaxValue(std::int64_t Value) { FMaxValue = Value; }

protected:
    TIntegerField(TComponent* AOwner, TFieldType DataType);
    const char* ClassName() const override { return "TIntegerField"; }
    Variant ToNative(const Variant& Value) const override;
    Variant TextToValue(const String& Text) const override;
    String ValueToString(const Variant& Value) const override;
    String ValueToText(const Variant& Value, bool DisplayText) const override;
    int DefaultWidth() const override;

private:
    // Raises the platform's range error for values the type cannot hold.
    Variant Checked(std::int64_t Value) const;

    std::int64_t FMinValue = 0;
    std::int64_t FMaxValue = 0;
};

class TSmallintField : public TIntegerField {
public:
    explicit TSmallintField(TComponent* AOwner) : TIntegerField(AOwner, TFieldType::ftSmallint) {}
};

class TWordField : public TIntegerField {
public:
    explicit TWordField(TComponent* AOwner) : TIntegerField(AOwner, TFieldType::ftWord) {}
};

class TAutoIncField : public TIntegerField {
public:
    explicit TAutoIncField(TComponent* AOwner) : TIntegerField(AOwner, TFieldType::ftAutoInc) {}
};

class TLargeintField : public TIntegerField {
public:
    explicit TLargeintField(TComponent* AOwner) : TIntegerField(AOwner, TFieldType::ftLargeint) {}
};

// Floating-point numbers; a Currency one shows the money format and edits two decimals.
class TFloatField : public TNumericField {
public:
    explicit TFloatField(TComponent* AOwner) : TFloatField(AOwner, TFieldType::ftFloat) {}
    bool Currency() const { return FCurrency; }
    void SetCurrency(bool Value);
    // Significant digits of the general format.
    int Precision() const { return FPrecision; }
    void SetPrecision(int Value);
    // The range an editor keeps typed values in; equal bounds (0, 0) mean none.
    double MinValue() const { return FMinValue; }
    void SetMinValue(double Value) { FMinValue = Value; }
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double Value) { FMaxValue = Value; }

protected:
    TFloatField(TComponent* AOwner, TFieldType DataType);
    const char* ClassName() const override { return "TFloatField"; }
    Variant ToNative(const Variant& Value) const override { return Variant(Value.AsDouble()); }
    Variant TextToValue(const String& Text) const override;
    String ValueToString(const Variant& Value) const override;
    String ValueToText(const Variant& Value, bool DisplayText) const override;

private:
    bool FCurrency = false;
    int FPrecision = 15;
    double FMinValue = 0;
    double FMaxValue = 0;
};

class TCurrencyField : public TFloatField {
public:
    explicit TCurrencyField(TComponent* AOwner);
};

// Fixed-point numbers held as Currency.
class TBCDField : public TNumericField {
public:
    explicit TBCDField(TComponent* AOwner);
    bool Currency() const { return FCurrency; }
    void SetCurrency(bool Value);
    // The range an editor keeps typed values in; equal bounds (0, 0) mean none.
    ::Currency MinValue() const { return FMinValue; }
    void SetMinValue(::Currency Value) { FMinValue = Value; }
    ::Currency MaxValue() const { return FMaxValue; }
    void SetMaxValue(::Currency Value) { FMaxValue = Value; }

protected:
    const char* ClassName() const override { return "TBCDField"; }
    Variant EmptyValue() const override { return Variant(::Currency()); }
    Variant ToNative(const Variant& Value) const override { return Variant(Value.AsCurrency()); }
    Variant TextToValue(const String& Text) const override;
    String ValueToString(const Variant& Value) const override;
    String ValueToText(const Variant& Value, bool DisplayText) const override;

private:
    bool FCurrency = false;
    ::Currency FMinValue;
    ::Currency FMaxValue;
};

class TBooleanField : public TField {
public:
    explicit TBooleanField(TComponent* AOwner);
    // "True text;False text", "True;False" by default.
    String DisplayValues() const;
    void SetDisplayValues(const String& Value);

protected:
    const char* ClassName() const override { return "TBooleanField"; }
    Variant EmptyValue() const override { return Variant(false); }
    Variant ToNative(const Variant& Value) const override { return Variant(Value.AsBoolean()); }
    Variant TextToValue(const String& Text) const override;
    String ValueToString(const Variant& Value) const override;
    int DefaultWidth() const override { return 5; }

private:
    String FTrueText = QStringLiteral("True");
    String FFalseText = QStringLiteral("False");
};

// Dates and times: text in the short date and long time formats, shown through DisplayFormat
// (a FormatDateTime pattern) when set. A stored text that is no date shows as it is.
class TDateTimeField : public TField {
public:
    explicit TDateTimeField(TComponent* AOwner) : TDateTimeField(AOwner, TFieldType::ftDateTime) {}
    const String& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const String& Value);

protected:
    TDateTimeField(TComponent* AOwner, TFieldType DataType);
    const char* ClassName() const override { return "TDateTimeField"; }
    Variant EmptyValue() const override { return Variant::FromDateTime(0); }
    Variant ToNative(const Variant& Value) const override { return Variant::FromDateTime(Value.AsDateTime()); }
    Variant TextToValue(const String& Text) const override;
    String ValueToString(const Variant& Value) const override;
    String ValueToText(const Variant& Value, bool DisplayText) const override;
    int DefaultWidth() const override;

private:
    String FDisplayFormat;
};

class TDateField : public TDateTimeField {
public:
    explicit TDateField(TComponent* AOwner) : TDateTimeField(AOwner, TFieldType::ftDate) {}
};

class TTimeField : public TDateTimeField {
public:
    explicit TTimeField(TComponent* AOwner) : TDateTimeField(AOwner, TFieldType::ftTime) {}
};

// Binary values (pictures, documents): AsBytes holds them; the text names the type,
// "(BLOB)" with data and "(Blob)" without.
class TBlobField : public TField {
public:
    explicit TBlobField(TComponent* AOwner) : TBlobField(AOwner, TFieldType::ftBlob) {}
    bool IsBlob() const override { return true; }

protected:
    TBlobField(TComponent* AOwner, TFieldType DataType);
    const char* ClassName() const override { return "TBlobField"; }
    Variant EmptyValue() const override { return Variant(QByteArray()); }
    Variant ToNative(const Variant& Value) const override { return Variant(Value.AsBytes()); }
    Variant TextToValue(const String& Text) const override { return Variant(Text.toUtf8()); }
    String ValueToString(const Variant& Value) const override { return String::fromUtf8(Value.AsBytes()); }
    String ValueToText(const Variant& Value, bool DisplayText) const override;
};

class TGraphicField : public TBlobField {
public:
    explicit TGraphicField(TComponent* AOwner) : TBlobField(AOwner, TFieldType::ftGraphic) {}
};

// Long text: edited as its text, shown as "(MEMO)" / "(Memo)".
class TMemoField : public TBlobField {
public:
    explicit TMemoField(TComponent* AOwner) : TBlobField(AOwner, TFieldType::ftMemo) {}

protected:
    const char* ClassName() const override { return "TMemoField"; }
    Variant EmptyValue() const override { return Variant(String()); }
    Variant ToNative(const Variant& Value) const override { return Variant(Value.AsString()); }
    Variant TextToValue(const String& Text) const override { return Variant(Text); }
    String ValueToString(const Variant& Value) const override { return Value.AsString(); }
    String ValueToText(const Variant& Value, bool DisplayText) const override;
};

// A new field of the class for the type; raises EDatabaseError for types without one.
TField* CreateField(TComponent* AOwner, TFieldType DataType);
