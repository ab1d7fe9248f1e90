#pragma once
// The platform's memo on a QPlainTextEdit: several lines of text, seen as Lines (a TStrings over
// the window's text) or as Text (the lines joined by CR LF). Right-aligned, read-only memos of
// one line show totals. The user's edits fire OnChange; text set by code fires nothing.
#include "platform/core/Alignment.h"
#include "platform/core/Strings.h"
#include "platform/ui/Controls.h"

#include <memory>

class QPlainTextEdit;


class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* AOwner);
    ~TMemo() override;

    TStrings* Lines() const { return FLines.get(); }
    void SetLines(TStrings* Value) { FLines->Assign(Value); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle Value);
    // Enter types a line break; otherwise it goes to the form (its default button).
    bool WantReturns() const { return FWantReturns; }
    void SetWantReturns(bool Value) { FWantReturns = Value; }
    void SelectAll();
    void Clear() { SetText(String()); }

    TNotifyEvent OnChange;

    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    virtual void Change();
    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    void DestroyWnd() override;
    const char* ClassName() const override { return "TMemo"; }

private:
    friend class TMemoStrings;
    QPlainTextEdit* Editor() const;
    String WindowText() const;
    void ApplyTextLayout(QPlainTextEdit* Edit) const;
    void ApplyScrollBars(QPlainTextEdit* Edit) const;
    static void KeepALineInView(QPlainTextEdit* Edit);

    std::unique_ptr<TStrings> FLines;
    bool FReadOnly = false;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = TScrollStyle::ssNone;
    bool FWantReturns = true;
};
