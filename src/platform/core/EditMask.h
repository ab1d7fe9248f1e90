#pragma once
// The edit-mask language of the platform's masked edit: "mask;save-literals;blank".
//
//   !   blanks are trimmed on the left: the value is right-aligned, short values leave the
//       positions on the left empty
//   >   following characters upper case;  <  lower case;  <>  no case change
//   \   the next character is a literal
//   L l letter (required, optional)       A a  letter or digit
//   C c any character                     0 9  digit
//   #   digit, '+', '-' or blank, optional
//   :   the time separator                /    the date separator
//   _   a blank literal                   any other character is a literal
//   ;   ends the mask. Then "0" saves the value without literals ("1", the default, with
//       them), then ";" and the character that shows an empty position ('_' by default).
//
// Every literal and every character class takes one position of the edit text; the
// directives take none. Positions below are indexes into the edit text.
#include "platform/core/Exceptions.h"
#include "platform/core/String.h"

#include <vector>

enum class TMaskCharKind { Literal, Letter, LetterOrDigit, AnyChar, Digit, DigitOrSign };
enum class TMaskCase { None, Upper, Lower };

struct TMaskPosition {
    TMaskCharKind Kind;
    Char Literal;  // the character shown, for a literal
    bool Required;
    TMaskCase Case;
};

struct TEditMask {
    std::vector<TMaskPosition> Positions;
    bool ReverseDir = false;  // '!'
    bool SaveLiterals = true;
    Char Blank = u'_';
};

// The masked edit's validation error.
class EDBEditError : public Exception {
public:
    using Exception::Exception;
};
inline constexpr char SMaskEditErr[] = "输入的值无效。按 Esc 键可放弃修改";

TEditMask ParseEditMask(const String& EditMask);

// The platform's FormatMaskText: Value laid on the mask, empty positions shown as spaces.
// Value holds the literals when the mask saves them (missing ones are supplied), else only
// the characters of the classes. Characters beyond the mask are kept, so an empty mask gives
// Value itself.
String FormatMaskText(const String& EditMask, const String& Value);

// The masked edit's edit text for the value Text: as FormatMaskText, but empty positions
// show the mask's blank character.
String MaskEditText(const TEditMask& Mask, const String& Text);
// The edit text of an empty masked edit.
String MaskBlankText(const TEditMask& Mask);

// The masked edit's value for its edit text: the characters of the classes, with the blanks
// on the trimmed side (left under '!', else right) dropped and inner blanks made spaces;
// when the mask saves literals, that laid on the mask again with spaces.
String MaskEditValue(const TEditMask& Mask, const String& EditText);

// Whether Ch may be typed at Position: a character of the position's class, or a literal
// position's own character. On success Ch holds what the edit stores (case converted).
bool MaskAcceptChar(const TEditMask& Mask, int Position, Char& Ch);

// Whether an edit text may be accepted: every required position holds a character (neither
// the blank nor, except for 'C', a space) and every filled position a character of its class.
// An empty text passes. On failure ErrorPos is the first failing position, where the edit
// puts the caret before raising EDBEditError(SMaskEditErr).
bool MaskValidateText(const TEditMask& Mask, const String& EditText, int& ErrorPos);
