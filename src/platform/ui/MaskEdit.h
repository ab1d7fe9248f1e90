#pragma once
// The platform's masked edit: an edit whose text follows an edit mask of the core's mask language.
// The window shows the edit text (every position: literals, typed characters, blanks); Text is
// the value the mask saves. While masked, the edit overwrites: a typed character goes to the next
// position that takes characters, Backspace and Delete blank positions instead of closing up, and
// the caret shows as the one character it stands on, selected.
//
// Descendants (the grid's cell editor, the data-aware edits) steer it through the protected
// virtuals: EditCanModify (asked at the moment of every change, typed, committed by an input
// method, pasted, cut, cleared or dropped), Change, ValidateEdit, Reset and the key methods, where
// setting the key to 0 consumes it before the mask sees it.
#include "platform/core/EditMask.h"
#include "platform/ui/Edit.h"

class TCustomMaskEdit : public TCustomEdit {
public:
    explicit TCustomMaskEdit(TComponent* AOwner);

    bool IsMasked() const { return !FMask.Positions.empty(); }
    // The text as the window shows it: literals and blank characters included.
    String EditText() const { return WindowText(); }
    // Sets the edit text as code does: no change event.
    void SetEditText(const String& Value);
    // Raises EDBEditError with the caret on the first required position left empty, when the
    // user has modified a masked text.
    virtual void ValidateEdit();
    // Restores the edit text the control had when it was entered, when the user modified it.
    virtual void Reset();

    void Dispatch(TMessage& Message) override;

protected:
    const String& EditMask() const { return FEditMask; }
    // Keeps the value: the text is laid on the new mask.
    void SetEditMask(const String& Value);

    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(Char& Key) override;
    // Pasted and dropped text fills positions from the caret as typing would, skipping the
    // characters the positions refuse.
    void InsertUserText(const String& S) override;
    // Shows the caret at Position the masked way: the character there selected.
    void SetCursor(int Position);
    const char* ClassName() const override { return "TCustomMaskEdit"; }

private:
    int MaskLength() const { return static_cast<int>(FMask.Positions.size()); }
    bool IsLiteral(int Position) const;
    // The first position at or after Position (before Position, going back) that takes characters.
    int NextEditable(int Position) const;
    int PriorEditable(int Position) const;
    // Puts Ch at the first position from Position that takes it; false when none does.
    bool PlaceChar(String& Text, int& Position, Char Ch) const;
    void BlankRange(String& Text, int Start, int End) const;
    void DeleteKeys(WORD Key);
    void ArrowKeys(WORD Key, TShiftState Shift);
    void HomeEndKeys(WORD Key, TShiftState Shift);
    void CheckCursor();
    void SetWindowText(const String& Value);
    // The selection as start and end, end included in no case.
    void GetSel(int& Start, int& End) const;

    String FEditMask;
    TEditMask FMask;
    String FOldValue;
    // Entered again after a failed validation: the saved text stays.
    bool FReEnter = false;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
    using TCustomMaskEdit::Alignment;
    using TCustomMaskEdit::AutoSelect;
    using TCustomMaskEdit::CharCase;
    using TCustomMaskEdit::EditMask;
    using TCustomMaskEdit::MaxLength;
    using TCustomMaskEdit::OnChange;
    using TCustomMaskEdit::PasswordChar;
    using TCustomMaskEdit::ReadOnly;
    using TCustomMaskEdit::SetAlignment;
    using TCustomMaskEdit::SetAutoSelect;
    using TCustomMaskEdit::SetCharCase;
    using TCustomMaskEdit::SetEditMask;
    using TCustomMaskEdit::SetMaxLength;
    using TCustomMaskEdit::SetPasswordChar;
    using TCustomMaskEdit::SetReadOnly;

protected:
    const char* ClassName() const override { return "TMaskEdit"; }
};
