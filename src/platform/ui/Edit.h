#pragma once
// The platform's edit: single-line on a QLineEdit, or multi-line (word-wrapped, without
// horizontal scrolling) on a QPlainTextEdit. Its properties travel through the edit
// messages (EM_SETSEL, EM_SETMARGINS, WM_PASTE ...), which the window's own processing
// (DefaultHandler) carries out, so a descendant sees and may stop every one of them in WndProc.
//
// Every path by which the user changes the text (typed and input-method characters, Backspace
// and Delete, paste, cut, clear, undo, drops) first asks EditCanModify, at the moment of the
// change, and reports a change through Change; text set by code reports nothing.
#include "platform/core/Alignment.h"
#include "platform/ui/Controls.h"

#include <cstdint>

class TEditBox;

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// Answers of WM_GETDLGCODE for an edit: arrows, selection setting and characters.
constexpr unsigned EditDialogCode = DLGC_WANTARROWS | DLGC_HASSETSEL | DLGC_WANTCHARS;

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);
    ~TCustomEdit() override;

    bool Modified() const;
    void SetModified(bool Value);
    int SelStart() const;
    void SetSelStart(int Value);
    int SelLength() const;
    void SetSelLength(int Value);
    String SelText() const;
    // Replaces the selection, as code does: no change event.
    void SetSelText(const String& Value);
    void SelectAll();
    // Empties the text, as code does.
    virtual void Clear();
    // These act through WM_CLEAR, WM_COPY, WM_CUT, WM_PASTE and WM_UNDO, as the user's commands do.
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    bool CanUndo() const;
    void ClearUndo();
    // The caret's top-left corner in client coordinates; EM_CHARFROMPOS turns a point into the
    // index of the character there.
    TPoint CaretPos() const;
    // A hidden caret is not drawn while the edit has the focus (a drop-down takes the keys).
    bool CaretHidden() const { return FCaretHidden; }
    void SetCaretHidden(bool Value);

    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;

protected:
    // Published by the descendants that offer them, as on the platform.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase Value);
    // The most characters the user may enter; 0 for no limit. Text set by code may be longer.
    int MaxLength() const { return FMaxLength; }
    virtual void SetMaxLength(int Value);
    Char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(Char Value);
    // The property; EM_SETREADONLY sets the window's own state alone. The standard edit actions
    // read it to enable themselves.
    friend class TEditAction;
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    TNotifyEvent OnChange;
    // Multi-line: the text wraps at the window's width and Enter or Ctrl+Enter types a line
    // break. A change recreates the window.
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool Value);

    // Whether the user may change the text now; asked at the moment of every change.
    virtual bool EditCanModify() { return true; }
    // The user changed the text.
    virtual void Change();
    // Puts S where the selection is, as pasting and dropping do: case converted, cut at the
    // first line break and at MaxLength. Descendants with their own text rules override it.
    virtual void InsertUserText(const String& S);
    // Paints over what the edit window painted (DC in client coordinates); windowless children
    // are painted after it. The default paints nothing.
    void PaintWindow(HDC DC) override;

    // The property and the hook together, then the window's own read-only state, which the hook
    // may have changed.
    bool MayChangeText();
    // Runs an edit of the window's text and reports it through Change when the text changed.
    template <class TAction>
    void UserEdit(TAction Edit);
    // Sets the text and selection with the window's undo history kept, as a user's edit.
    void ReplaceText(const String& S, int Start, int Length);
    String ApplyCharCase(const String& S) const;
    // The window's text while a handle exists, else the stored one.
    String WindowText() const;

    QWidget* CreateWindowHandle(const TCreateParams& Params) override;
    void DestroyWnd() override;
    const char* ClassName() const override { return "TCustomEdit"; }

private:
    template <class TWidget>
    friend class TEditWidget;
    TEditBox Box() const;
    void TypeCharacter(TMessage& Message);
    void EditKey(TMessage& Message);
    void HandleEditMessage(TMessage& Message);
    void ApplyTextMargins();
    void ApplyEditStyle(QWidget* Window);
    void DropText(int Position, const String& S);

    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FAutoSelect = true;
    TEditCharCase FCharCase = TEditCharCase::ecNormal;
    int FMaxLength = 0;
    Char FPasswordChar;
    bool FReadOnly = false;
    bool FCaretHidden = false;
    bool FMultiLine = false;
    int FLeftMargin = 0;
    int FRightMargin = 0;
    // The formatting rectangle set by EM_SETRECT, in client coordinates; empty for the whole.
    TRect FFormatRect;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    using TCustomEdit::Alignment;
    using TCustomEdit::AutoSelect;
    using TCustomEdit::CharCase;
    using TCustomEdit::MaxLength;
    using TCustomEdit::OnChange;
    using TCustomEdit::PasswordChar;
    using TCustomEdit::ReadOnly;
    using TCustomEdit::SetAlignment;
    using TCustomEdit::SetAutoSelect;
    using TCustomEdit::SetCharCase;
    using TCustomEdit::SetMaxLength;
    using TCustomEdit::SetPasswordChar;
    using TCustomEdit::SetReadOnly;

protected:
    const char* ClassName() const override { return "TEdit"; }
};

template <class TAction>
void TCustomEdit::UserEdit(TAction Edit)
{
    const String before = WindowText();
    Edit();
    if (WindowText() != before)
        Change();
}
