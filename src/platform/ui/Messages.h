#pragma once
// Window messages of the platform: the message record, the message numbers and the codes that
// travel in their parameters, with the platform's values, so code that compares or stores them
// (a wheel hook reading wParam as a signed number, a posted user message) behaves as designed.
#include "platform/ui/SmallSet.h"

#include <cstdint>

using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using WORD = std::uint16_t;

struct TMessage {
    unsigned Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Parameter packing as the platform does it: two 16-bit halves, the high one signed where the
// platform reads it signed (wheel delta, mouse coordinates).
constexpr std::uint16_t LOWORD(std::uintptr_t Value) { return static_cast<std::uint16_t>(Value & 0xFFFF); }
constexpr std::uint16_t HIWORD(std::uintptr_t Value) { return static_cast<std::uint16_t>((Value >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int Low, int High)
{
    return static_cast<LPARAM>(static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(High) << 16) | (static_cast<std::uint32_t>(Low) & 0xFFFF)));
}
constexpr WPARAM MAKEWPARAM(int Low, int High) { return static_cast<WPARAM>(static_cast<std::uint32_t>(MAKELPARAM(Low, High))); }
constexpr int GET_X_LPARAM(LPARAM Value) { return static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(Value))); }
constexpr int GET_Y_LPARAM(LPARAM Value) { return static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(Value))); }
constexpr int GET_WHEEL_DELTA_WPARAM(WPARAM Value) { return static_cast<std::int16_t>(HIWORD(Value)); }
constexpr unsigned GET_KEYSTATE_WPARAM(WPARAM Value) { return LOWORD(Value); }

// Window messages.
constexpr unsigned WM_NULL = 0x0000;
constexpr unsigned WM_CREATE = 0x0001;
constexpr unsigned WM_DESTROY = 0x0002;
constexpr unsigned WM_MOVE = 0x0003;
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_ACTIVATE = 0x0006;
constexpr unsigned WM_SETFOCUS = 0x0007;
constexpr unsigned WM_KILLFOCUS = 0x0008;
constexpr unsigned WM_ENABLE = 0x000A;
constexpr unsigned WM_SETTEXT = 0x000C;
constexpr unsigned WM_GETTEXT = 0x000D;
constexpr unsigned WM_GETTEXTLENGTH = 0x000E;
constexpr unsigned WM_PAINT = 0x000F;
constexpr unsigned WM_CLOSE = 0x0010;
constexpr unsigned WM_ERASEBKGND = 0x0014;
constexpr unsigned WM_SYSCOLORCHANGE = 0x0015;
constexpr unsigned WM_SHOWWINDOW = 0x0018;
constexpr unsigned WM_CANCELMODE = 0x001F;
constexpr unsigned WM_SETCURSOR = 0x0020;
constexpr unsigned WM_MOUSEACTIVATE = 0x0021;
constexpr unsigned WM_WINDOWPOSCHANGED = 0x0047;
constexpr unsigned WM_CONTEXTMENU = 0x007B;
constexpr unsigned WM_NCCALCSIZE = 0x0083;
constexpr unsigned WM_NCHITTEST = 0x0084;
constexpr unsigned WM_NCPAINT = 0x0085;
constexpr unsigned WM_GETDLGCODE = 0x0087;
constexpr unsigned WM_KEYFIRST = 0x0100;
constexpr unsigned WM_KEYDOWN = 0x0100;
constexpr unsigned WM_KEYUP = 0x0101;
constexpr unsigned WM_CHAR = 0x0102;
constexpr unsigned WM_SYSKEYDOWN = 0x0104;
constexpr unsigned WM_SYSKEYUP = 0x0105;
constexpr unsigned WM_SYSCHAR = 0x0106;
constexpr unsigned WM_KEYLAST = 0x0109;
constexpr unsigned WM_IME_STARTCOMPOSITION = 0x010D;
constexpr unsigned WM_IME_ENDCOMPOSITION = 0x010E;
constexpr unsigned WM_IME_COMPOSITION = 0x010F;
constexpr unsigned WM_COMMAND = 0x0111;
constexpr unsigned WM_TIMER = 0x0113;
constexpr unsigned WM_HSCROLL = 0x0114;
constexpr unsigned WM_VSCROLL = 0x0115;
constexpr unsigned WM_MOUSEFIRST = 0x0200;
constexpr unsigned WM_MOUSEMOVE = 0x0200;
constexpr unsigned WM_LBUTTONDOWN = 0x0201;
constexpr unsigned WM_LBUTTONUP = 0x0202;
constexpr unsigned WM_LBUTTONDBLCLK = 0x0203;
constexpr unsigned WM_RBUTTONDOWN = 0x0204;
constexpr unsigned WM_RBUTTONUP = 0x0205;
constexpr unsigned WM_RBUTTONDBLCLK = 0x0206;
constexpr unsigned WM_MBUTTONDOWN = 0x0207;
constexpr unsigned WM_MBUTTONUP = 0x0208;
constexpr unsigned WM_MBUTTONDBLCLK = 0x0209;
constexpr unsigned WM_MOUSEWHEEL = 0x020A;
constexpr unsigned WM_MOUSELAST = 0x020A;
constexpr unsigned WM_CAPTURECHANGED = 0x0215;
constexpr unsigned WM_IME_SETCONTEXT = 0x0281;
constexpr unsigned WM_IME_NOTIFY = 0x0282;
constexpr unsigned WM_IME_CHAR = 0x0286;
constexpr unsigned WM_MOUSELEAVE = 0x02A3;
constexpr unsigned WM_CUT = 0x0300;
constexpr unsigned WM_COPY = 0x0301;
constexpr unsigned WM_PASTE = 0x0302;
constexpr unsigned WM_CLEAR = 0x0303;
constexpr unsigned WM_UNDO = 0x0304;
constexpr unsigned WM_USER = 0x0400;

// Control messages: notifications the class library sends between its own controls.
constexpr unsigned CM_BASE = 0xB000;
constexpr unsigned CM_ACTIVATE = CM_BASE + 0;
constexpr unsigned CM_DEACTIVATE = CM_BASE + 1;
constexpr unsigned CM_GOTFOCUS = CM_BASE + 2;
constexpr unsigned CM_LOSTFOCUS = CM_BASE + 3;
constexpr unsigned CM_CANCELMODE = CM_BASE + 4;
constexpr unsigned CM_DIALOGKEY = CM_BASE + 5;
constexpr unsigned CM_DIALOGCHAR = CM_BASE + 6;
constexpr unsigned CM_FOCUSCHANGED = CM_BASE + 7;
constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr unsigned CM_HITTEST = CM_BASE + 10;
constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 11;
constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr unsigned CM_COLORCHANGED = CM_BASE + 13;
constexpr unsigned CM_FONTCHANGED = CM_BASE + 14;
constexpr unsigned CM_CURSORCHANGED = CM_BASE + 15;
constexpr unsigned CM_CTL3DCHANGED = CM_BASE + 16;
constexpr unsigned CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr unsigned CM_TEXTCHANGED = CM_BASE + 18;
constexpr unsigned CM_MOUSEENTER = CM_BASE + 19;
constexpr unsigned CM_MOUSELEAVE = CM_BASE + 20;
constexpr unsigned CM_BUTTONPRESSED = CM_BASE + 24;
constexpr unsigned CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr unsigned CM_ENTER = CM_BASE + 26;
constexpr unsigned CM_EXIT = CM_BASE + 27;
constexpr unsigned CM_DESIGNHITTEST = CM_BASE + 28;
constexpr unsigned CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr unsigned CM_RELEASE = CM_BASE + 33;
constexpr unsigned CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr unsigned CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr unsigned CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr unsigned CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr unsigned CM_CHILDKEY = CM_BASE + 46;
constexpr unsigned CM_HINTSHOW = CM_BASE + 48;
constexpr unsigned CM_RECREATEWND = CM_BASE + 51;
constexpr unsigned CM_INVALIDATE = CM_BASE + 52;
constexpr unsigned CM_CHANGED = CM_BASE + 55;
// Answers a data-aware control's field link (as an LRESULT), 0 for other controls.
constexpr unsigned CM_GETDATALINK = CM_BASE + 57;
constexpr unsigned CM_BORDERCHANGED = CM_BASE + 59;
constexpr unsigned CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr unsigned CM_MOUSEWHEEL = CM_BASE + 67;

// Edit control messages and notifications.
constexpr unsigned EM_GETSEL = 0x00B0;
constexpr unsigned EM_SETSEL = 0x00B1;
constexpr unsigned EM_GETRECT = 0x00B2;
constexpr unsigned EM_SETRECT = 0x00B3;
constexpr unsigned EM_SETRECTNP = 0x00B4;
constexpr unsigned EM_SCROLLCARET = 0x00B7;
constexpr unsigned EM_GETMODIFY = 0x00B8;
constexpr unsigned EM_SETMODIFY = 0x00B9;
constexpr unsigned EM_GETLINECOUNT = 0x00BA;
constexpr unsigned EM_LINEINDEX = 0x00BB;
constexpr unsigned EM_LINELENGTH = 0x00C1;
constexpr unsigned EM_REPLACESEL = 0x00C2;
constexpr unsigned EM_LIMITTEXT = 0x00C5;
constexpr unsigned EM_CANUNDO = 0x00C6;
constexpr unsigned EM_UNDO = 0x00C7;
constexpr unsigned EM_LINEFROMCHAR = 0x00C9;
constexpr unsigned EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr unsigned EM_SETREADONLY = 0x00CF;
constexpr unsigned EM_SETMARGINS = 0x00D3;
constexpr unsigned EM_GETMARGINS = 0x00D4;
constexpr unsigned EM_POSFROMCHAR = 0x00D6;
constexpr unsigned EM_CHARFROMPOS = 0x00D7;
constexpr unsigned EC_LEFTMARGIN = 0x0001;
constexpr unsigned EC_RIGHTMARGIN = 0x0002;
constexpr unsigned EN_CHANGE = 0x0300;

// Scroll-bar codes (low word of WM_HSCROLL/WM_VSCROLL's WParam) and bar identifiers.
constexpr int SB_LINEUP = 0;
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINEDOWN = 1;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGEUP = 2;
constexpr int SB_PAGELEFT = 2;
constexpr int SB_PAGEDOWN = 3;
constexpr int SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_TOP = 6;
constexpr int SB_LEFT = 6;
constexpr int SB_BOTTOM = 7;
constexpr int SB_RIGHT = 7;
constexpr int SB_ENDSCROLL = 8;
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;
constexpr int SB_BOTH = 3;

// SCROLLINFO members to read or write.
constexpr unsigned SIF_RANGE = 0x0001;
constexpr unsigned SIF_PAGE = 0x0002;
constexpr unsigned SIF_POS = 0x0004;
constexpr unsigned SIF_DISABLENOSCROLL = 0x0008;
constexpr unsigned SIF_TRACKPOS = 0x0010;
constexpr unsigned SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct TScrollInfo {
    unsigned cbSize = sizeof(TScrollInfo);
    unsigned fMask = 0;
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
using SCROLLINFO = TScrollInfo;

// ScrollWindowEx flags.
constexpr unsigned SW_SCROLLCHILDREN = 0x0001;
constexpr unsigned SW_INVALIDATE = 0x0002;
constexpr unsigned SW_ERASE = 0x0004;

// Virtual key codes. Digits and letters are their ASCII capitals: '0'..'9', 'A'..'Z'.
constexpr unsigned short VK_LBUTTON = 0x01;
constexpr unsigned short VK_RBUTTON = 0x02;
constexpr unsigned short VK_CANCEL = 0x03;
constexpr unsigned short VK_MBUTTON = 0x04;
constexpr unsigned short VK_BACK = 0x08;
constexpr unsigned short VK_TAB = 0x09;
constexpr unsigned short VK_CLEAR = 0x0C;
constexpr unsigned short VK_RETURN = 0x0D;
constexpr unsigned short VK_SHIFT = 0x10;
constexpr unsigned short VK_CONTROL = 0x11;
constexpr unsigned short VK_MENU = 0x12;
constexpr unsigned short VK_PAUSE = 0x13;
constexpr unsigned short VK_CAPITAL = 0x14;
constexpr unsigned short VK_ESCAPE = 0x1B;
constexpr unsigned short VK_SPACE = 0x20;
constexpr unsigned short VK_PRIOR = 0x21;
constexpr unsigned short VK_NEXT = 0x22;
constexpr unsigned short VK_END = 0x23;
constexpr unsigned short VK_HOME = 0x24;
constexpr unsigned short VK_LEFT = 0x25;
constexpr unsigned short VK_UP = 0x26;
constexpr unsigned short VK_RIGHT = 0x27;
constexpr unsigned short VK_DOWN = 0x28;
constexpr unsigned short VK_SELECT = 0x29;
constexpr unsigned short VK_PRINT = 0x2A;
constexpr unsigned short VK_EXECUTE = 0x2B;
constexpr unsigned short VK_SNAPSHOT = 0x2C;
constexpr unsigned short VK_INSERT = 0x2D;
constexpr unsigned short VK_DELETE = 0x2E;
constexpr unsigned short VK_HELP = 0x2F;
constexpr unsigned short VK_LWIN = 0x5B;
constexpr unsigned short VK_RWIN = 0x5C;
constexpr unsigned short VK_APPS = 0x5D;
constexpr unsigned short VK_NUMPAD0 = 0x60;
constexpr unsigned short VK_NUMPAD1 = 0x61;
constexpr unsigned short VK_NUMPAD2 = 0x62;
constexpr unsigned short VK_NUMPAD3 = 0x63;
constexpr unsigned short VK_NUMPAD4 = 0x64;
constexpr unsigned short VK_NUMPAD5 = 0x65;
constexpr unsigned short VK_NUMPAD6 = 0x66;
constexpr unsigned short VK_NUMPAD7 = 0x67;
constexpr unsigned short VK_NUMPAD8 = 0x68;
constexpr unsigned short VK_NUMPAD9 = 0x69;
constexpr unsigned short VK_MULTIPLY = 0x6A;
constexpr unsigned short VK_ADD = 0x6B;
constexpr unsigned short VK_SEPARATOR = 0x6C;
constexpr unsigned short VK_SUBTRACT = 0x6D;
constexpr unsigned short VK_DECIMAL = 0x6E;
constexpr unsigned short VK_DIVIDE = 0x6F;
constexpr unsigned short VK_F1 = 0x70;
constexpr unsigned short VK_F2 = 0x71;
constexpr unsigned short VK_F3 = 0x72;
constexpr unsigned short VK_F4 = 0x73;
constexpr unsigned short VK_F5 = 0x74;
constexpr unsigned short VK_F6 = 0x75;
constexpr unsigned short VK_F7 = 0x76;
constexpr unsigned short VK_F8 = 0x77;
constexpr unsigned short VK_F9 = 0x78;
constexpr unsigned short VK_F10 = 0x79;
constexpr unsigned short VK_F11 = 0x7A;
constexpr unsigned short VK_F12 = 0x7B;
constexpr unsigned short VK_NUMLOCK = 0x90;
constexpr unsigned short VK_SCROLL = 0x91;
constexpr unsigned short VK_OEM_1 = 0xBA;
constexpr unsigned short VK_OEM_PLUS = 0xBB;
constexpr unsigned short VK_OEM_COMMA = 0xBC;
constexpr unsigned short VK_OEM_MINUS = 0xBD;
constexpr unsigned short VK_OEM_PERIOD = 0xBE;
constexpr unsigned short VK_OEM_2 = 0xBF;
constexpr unsigned short VK_OEM_3 = 0xC0;
constexpr unsigned short VK_OEM_4 = 0xDB;
constexpr unsigned short VK_OEM_5 = 0xDC;
constexpr unsigned short VK_OEM_6 = 0xDD;
constexpr unsigned short VK_OEM_7 = 0xDE;
constexpr unsigned short VK_PROCESSKEY = 0xE5;

// Key and button state in a mouse message's WParam.
constexpr unsigned MK_LBUTTON = 0x0001;
constexpr unsigned MK_RBUTTON = 0x0002;
constexpr unsigned MK_SHIFT = 0x0004;
constexpr unsigned MK_CONTROL = 0x0008;
constexpr unsigned MK_MBUTTON = 0x0010;

// Bit 29 of a key message's LParam: Alt was down.
constexpr LPARAM KF_ALTDOWN_LPARAM = 0x20000000;
constexpr int WHEEL_DELTA = 120;

// Hit-test answers of WM_NCHITTEST.
constexpr int HTERROR = -2;
constexpr int HTTRANSPARENT = -1;
constexpr int HTNOWHERE = 0;
constexpr int HTCLIENT = 1;
constexpr int HTCAPTION = 2;
constexpr int HTSYSMENU = 3;
constexpr int HTGROWBOX = 4;
constexpr int HTSIZE = HTGROWBOX;
constexpr int HTMENU = 5;
constexpr int HTHSCROLL = 6;
constexpr int HTVSCROLL = 7;
constexpr int HTMINBUTTON = 8;
constexpr int HTMAXBUTTON = 9;
constexpr int HTLEFT = 10;
constexpr int HTRIGHT = 11;
constexpr int HTTOP = 12;
constexpr int HTTOPLEFT = 13;
constexpr int HTTOPRIGHT = 14;
constexpr int HTBOTTOM = 15;
constexpr int HTBOTTOMLEFT = 16;
constexpr int HTBOTTOMRIGHT = 17;
constexpr int HTBORDER = 18;

// WM_GETDLGCODE answers: which keys a control keeps from dialog navigation.
constexpr unsigned DLGC_WANTARROWS = 0x0001;
constexpr unsigned DLGC_WANTTAB = 0x0002;
constexpr unsigned DLGC_WANTALLKEYS = 0x0004;
constexpr unsigned DLGC_WANTMESSAGE = 0x0004;
constexpr unsigned DLGC_HASSETSEL = 0x0008;
constexpr unsigned DLGC_DEFPUSHBUTTON = 0x0010;
constexpr unsigned DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr unsigned DLGC_RADIOBUTTON = 0x0040;
constexpr unsigned DLGC_WANTCHARS = 0x0080;
constexpr unsigned DLGC_STATIC = 0x0100;
constexpr unsigned DLGC_BUTTON = 0x2000;

// Modifier keys and mouse buttons held during an input event.
using TShiftState = TSmallSet<struct TShiftStateTag>;
constexpr TShiftState ssShift{0x01};
constexpr TShiftState ssAlt{0x02};
constexpr TShiftState ssCtrl{0x04};
constexpr TShiftState ssLeft{0x08};
constexpr TShiftState ssRight{0x10};
constexpr TShiftState ssMiddle{0x20};
constexpr TShiftState ssDouble{0x40};

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// The shift state coded in a mouse message's MK_ flags.
TShiftState KeysToShiftState(unsigned Keys);
// The shift state of a key message: Shift and Ctrl as GetKeyState reports them, Alt from the
// message's own key data.
TShiftState KeyDataToShiftState(LPARAM KeyData);
// Negative (high bit set) while the key or button is down, as of the input message being
// handled; outside input handling, as the window system reports it now.
short GetKeyState(int VirtualKey);
