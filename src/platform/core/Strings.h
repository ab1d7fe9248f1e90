#pragma once
// TStrings: the platform's abstract list of texts, each with an optional TObject*. Descendants
// store the texts (TStringList, a control's lines); this class builds everything else on them:
// Text, CommaText, DelimitedText, name=value pairs, Assign and update batching.
#include "platform/core/Persistent.h"
#include "platform/core/String.h"

class TStrings : public TPersistent {
public:
    virtual int Count() const = 0;
    virtual String Strings(int Index) const = 0;
    virtual void SetStrings(int Index, const String& S);
    String operator[](int Index) const { return Strings(Index); }
    // The object stored with each text; this base stores none.
    virtual TObject* Objects(int Index) const;
    virtual void SetObjects(int Index, TObject* Object);

    // Returns the index the text landed at.
    virtual int Add(const String& S);
    virtual int AddObject(const String& S, TObject* Object);
    void AddStrings(TStrings* Strings);
    virtual void Insert(int Index, const String& S) = 0;
    virtual void InsertObject(int Index, const String& S, TObject* Object);
    virtual void Delete(int Index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int Index1, int Index2);
    virtual void Move(int CurIndex, int NewIndex);

    virtual int IndexOf(const String& S) const;
    int IndexOfName(const String& Name) const;
    int IndexOfObject(const TObject* Object) const;
    // Same texts in the same order, compared exactly; objects are not compared.
    bool Equals(const TStrings* Strings) const;

    // Clears this list and copies Source's texts, objects, delimiters and separator.
    void Assign(TPersistent* Source) override;

    // Batches changes: a descendant reports one change for the whole batch.
    void BeginUpdate();
    void EndUpdate();

    // Every line followed by CR LF.
    String Text() const;
    // Replaces the lines with those of Value, which may end lines with CR, LF or CR LF.
    void SetText(const String& Value);
    // The texts joined by commas; texts holding blanks, commas or quotes are double-quoted.
    String CommaText() const;
    // Replaces the texts with those parsed from Value: separated by commas or blanks, each
    // optionally double-quoted with doubled inner quotes.
    void SetCommaText(const String& Value);
    // As CommaText, with Delimiter and QuoteChar instead of comma and double quote.
    String DelimitedText() const;
    void SetDelimitedText(const String& Value);
    Char Delimiter() const { return FDelimiter; }
    void SetDelimiter(Char Value) { FDelimiter = Value; }
    Char QuoteChar() const { return FQuoteChar; }
    void SetQuoteChar(Char Value) { FQuoteChar = Value; }

    // Lines of the form name=value; the separator is NameValueSeparator.
    String Names(int Index) const;
    String Values(const String& Name) const;
    // Replaces the value of Name, adds name=value when absent; an empty value deletes the line.
    void SetValues(const String& Name, const String& Value);
    // The value of line Index; empty for a line without a separator or for a negative Index.
    String ValueFromIndex(int Index) const;
    Char NameValueSeparator() const { return FNameValueSeparator; }
    void SetNameValueSeparator(Char Value) { FNameValueSeparator = Value; }

protected:
    // <0, 0, >0 as S1 sorts before, with, after S2; this base ignores case.
    virtual int CompareStrings(const String& S1, const String& S2) const;
    // Called as the outermost BeginUpdate starts a batch and as its EndUpdate ends it.
    virtual void SetUpdateState(bool Updating);
    int UpdateCount() const { return FUpdateCount; }
    const char* ClassName() const override { return "TStrings"; }

private:
    String JoinDelimited(Char Delimiter, Char Quote) const;
    void SplitDelimited(const String& Value, Char Delimiter, Char Quote);

    int FUpdateCount = 0;
    Char FDelimiter = u',';
    Char FQuoteChar = u'"';
    Char FNameValueSeparator = u'=';
};
