// Qt key codes and the platform's virtual keys (US layout for the punctuation keys).
#include "platform/ui/WindowHost.h"

#include <array>
#include <utility>

namespace {

struct TKeyPair {
    int Qt;
    WORD Virtual;
};

// Keys whose Qt code differs from the virtual key; letters and digits share their codes.
constexpr std::array<TKeyPair, 62> KeyTable{{
    {Qt::Key_Backspace, VK_BACK},     {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},        {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},       {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},        {Qt::Key_CapsLock, VK_CAPITAL},
    {Qt::Key_Escape, VK_ESCAPE},      {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},       {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},            {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},          {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},        {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Print, VK_SNAPSHOT},     {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},      {Qt::Key_Help, VK_HELP},
    {Qt::Key_Meta, VK_LWIN},          {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},    {Qt::Key_ScrollLock, VK_SCROLL},
    {Qt::Key_Clear, VK_CLEAR},        {Qt::Key_Semicolon, VK_OEM_1},
    {Qt::Key_Colon, VK_OEM_1},        {Qt::Key_Equal, VK_OEM_PLUS},
    {Qt::Key_Plus, VK_OEM_PLUS},      {Qt::Key_Comma, VK_OEM_COMMA},
    {Qt::Key_Less, VK_OEM_COMMA},     {Qt::Key_Minus, VK_OEM_MINUS},
    {Qt::Key_Underscore, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD},
    {Qt::Key_Greater, VK_OEM_PERIOD}, {Qt::Key_Slash, VK_OEM_2},
    {Qt::Key_Question, VK_OEM_2},     {Qt::Key_QuoteLeft, VK_OEM_3},
    {Qt::Key_AsciiTilde, VK_OEM_3},   {Qt::Key_BracketLeft, VK_OEM_4},
    {Qt::Key_BraceLeft, VK_OEM_4},    {Qt::Key_Backslash, VK_OEM_5},
    {Qt::Key_Bar, VK_OEM_5},          {Qt::Key_BracketRight, VK_OEM_6},
    {Qt::Key_BraceRight, VK_OEM_6},   {Qt::Key_Apostrophe, VK_OEM_7},
    {Qt::Key_QuoteDbl, VK_OEM_7},     {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},                {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},            {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},       {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},          {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},        {Qt::Key_Cancel, VK_CANCEL},
}};

// Keys of the numeric keypad.
constexpr std::array<TKeyPair, 5> KeypadTable{{
    {Qt::Key_Asterisk, VK_MULTIPLY},
    {Qt::Key_Plus, VK_ADD},
    {Qt::Key_Minus, VK_SUBTRACT},
    {Qt::Key_Slash, VK_DIVIDE},
    {Qt::Key_Period, VK_DECIMAL},
}};

}  // namespace

WORD VirtualKeyFromQt(int Key, bool Keypad)
{
    if (Keypad) {
        if (Key >= Qt::Key_0 && Key <= Qt::Key_9)
            return static_cast<WORD>(VK_NUMPAD0 + (Key - Qt::Key_0));
        for (const TKeyPair& pair : KeypadTable)
            if (pair.Qt == Key)
                return pair.Virtual;
    }
    if ((Key >= Qt::Key_0 && Key <= Qt::Key_9) || (Key >= Qt::Key_A && Key <= Qt::Key_Z))
        return static_cast<WORD>(Key);
    if (Key >= Qt::Key_F1 && Key <= Qt::Key_F24)
        return static_cast<WORD>(VK_F1 + (Key - Qt::Key_F1));
    for (const TKeyPair& pair : KeyTable)
        if (pair.Qt == Key)
            return pair.Virtual;
    return 0;
}

int QtKeyFromVirtualKey(WORD Key)
{
    if ((Key >= '0' && Key <= '9') || (Key >= 'A' && Key <= 'Z'))
        return Key;
    if (Key >= VK_NUMPAD0 && Key <= VK_NUMPAD9)
        return Qt::Key_0 + (Key - VK_NUMPAD0);
    if (Key >= VK_F1 && Key <= VK_F12 + 12)
        return Qt::Key_F1 + (Key - VK_F1);
    for (const TKeyPair& pair : KeypadTable)
        if (pair.Virtual == Key)
            return pair.Qt;
    for (const TKeyPair& pair : KeyTable)
        if (pair.Virtual == Key)
            return pair.Qt;
    return 0;
}
