#pragma once
// Message numbers, key codes, flags and results of the window framework that the system's
// windows are written against. The values are the framework's own, so that numbers carried in
// messages (a command id in the low word, a notify code in the high word) keep their meaning.
#include <cstdint>

namespace vyn {

using TParam1 = std::uintptr_t;  // wParam
using TParam2 = std::intptr_t;   // lParam
using TResult = std::intptr_t;

constexpr unsigned LOWORD(std::uintptr_t v) { return static_cast<unsigned>(v & 0xFFFF); }
constexpr unsigned HIWORD(std::uintptr_t v) { return static_cast<unsigned>((v >> 16) & 0xFFFF); }
constexpr TParam1 MAKEWPARAM(unsigned lo, unsigned hi) { return (lo & 0xFFFF) | (TParam1(hi & 0xFFFF) << 16); }
constexpr TParam2 MAKELPARAM(int lo, int hi)
{
    return static_cast<TParam2>((static_cast<std::uint32_t>(lo) & 0xFFFF) | ((static_cast<std::uint32_t>(hi) & 0xFFFF) << 16));
}

// Messages.
constexpr unsigned WM_SIZE = 0x0005, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_CLOSE = 0x0010,
                   WM_GETMINMAXINFO = 0x0024, WM_HELP = 0x0053, WM_CONTEXTMENU = 0x007B, WM_GETDLGCODE = 0x0087,
                   WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_COMMAND = 0x0111,
                   WM_TIMER = 0x0113, WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115, WM_MOUSEMOVE = 0x0200,
                   WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203,
                   WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205, WM_USER = 0x0400;

// Virtual key codes.
constexpr unsigned VK_LBUTTON = 1, VK_BACK = 8, VK_TAB = 9, VK_RETURN = 13, VK_SHIFT = 16, VK_CONTROL = 17, VK_MENU = 18,
                   VK_ESCAPE = 27, VK_SPACE = 32, VK_PRIOR = 33, VK_NEXT = 34, VK_END = 35, VK_HOME = 36,
                   VK_LEFT = 37, VK_UP = 38, VK_RIGHT = 39, VK_DOWN = 40, VK_INSERT = 45, VK_DELETE = 46,
                   VK_APPS = 0x5D, VK_F1 = 0x70, VK_F2 = 0x71, VK_F10 = 0x79, VK_F12 = 0x7B;
// Owner-drawn lists ask their parent about keys (answer -1: the list's own handling, -2: handled,
// an index: select it); buttons take and report their check state and style; a dialog is told
// which button is its default.
// An owner-drawn control asks its parent for the height of its items (wParam: the control's
// id, lParam: a TMeasureItem).
constexpr unsigned WM_MEASUREITEM = 0x002C;
constexpr unsigned WM_VKEYTOITEM = 0x002E, WM_CHARTOITEM = 0x002F, BM_GETCHECK = 0x00F0, BM_SETCHECK = 0x00F1,
                   BM_SETSTYLE = 0x00F4, DM_SETDEFID = WM_USER + 1;
constexpr unsigned BS_PUSHBUTTON = 0, BS_DEFPUSHBUTTON = 1;

// The mouse entered a control (wParam: the window now under the mouse, lParam: the hit-test
// code in the low word, the mouse message in the high word); sent to the control's parent, which
// may show a hint for it. Leaving a control for its parent names the parent.
constexpr unsigned WM_SETCURSOR = 0x0020, HTCLIENT = 1;

// A top-level window was activated (wParam WA_ACTIVE) or lost the activation (WA_INACTIVE; the
// high word set while it is minimised); lParam: the window of the program that takes or gave
// the activation, 0 for another program's or none.
constexpr unsigned WM_ACTIVATE = 0x0006, WA_INACTIVE = 0, WA_ACTIVE = 1;

// Key message flags (the high word of the key message's lParam): set on an auto-repeated key.
constexpr unsigned KF_REPEAT = 0x4000;

// Mouse modifier keys and buttons.
constexpr unsigned MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08, MK_MBUTTON = 0x10;

// Dialog results.
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7, IDHELP = 9;

// Message box flags.
constexpr unsigned MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_ABORTRETRYIGNORE = 0x2, MB_YESNOCANCEL = 0x3,
                   MB_YESNO = 0x4, MB_RETRYCANCEL = 0x5, MB_TYPEMASK = 0xF, MB_ICONSTOP = 0x10,
                   MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30,
                   MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40, MB_ICONASTERISK = 0x40, MB_ICONMASK = 0xF0,
                   MB_DEFBUTTON1 = 0x000, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200, MB_DEFMASK = 0xF00;

// Control notifications (the high word of a WM_COMMAND's wParam).
constexpr unsigned BN_CLICKED = 0;
constexpr unsigned EN_SETFOCUS = 0x0100, EN_KILLFOCUS = 0x0200, EN_CHANGE = 0x0300, EN_UPDATE = 0x0400;
constexpr unsigned CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_SETFOCUS = 3, CBN_KILLFOCUS = 4, CBN_DROPDOWN = 7,
                   CBN_CLOSEUP = 8;
constexpr unsigned LBN_SELCHANGE = 1, LBN_DBLCLK = 2, LBN_SETFOCUS = 4, LBN_KILLFOCUS = 5;

// Answers to WM_GETDLGCODE.
constexpr unsigned DLGC_WANTARROWS = 0x0001, DLGC_WANTTAB = 0x0002, DLGC_WANTALLKEYS = 0x0004,
                   DLGC_WANTMESSAGE = 0x0004, DLGC_HASSETSEL = 0x0008, DLGC_DEFPUSHBUTTON = 0x0010,
                   DLGC_UNDEFPUSHBUTTON = 0x0020, DLGC_RADIOBUTTON = 0x0040, DLGC_WANTCHARS = 0x0080,
                   DLGC_STATIC = 0x0100, DLGC_BUTTON = 0x2000;

// Scroll bars: which bar, and the request codes of WM_HSCROLL / WM_VSCROLL.
constexpr int SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3;
constexpr unsigned SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2,
                   SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5,
                   SB_TOP = 6, SB_LEFT = 6, SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8;

// SetWindowPos flags.
constexpr unsigned SWP_NOSIZE = 0x0001, SWP_NOMOVE = 0x0002, SWP_NOZORDER = 0x0004, SWP_NOREDRAW = 0x0008,
                   SWP_NOACTIVATE = 0x0010, SWP_SHOWWINDOW = 0x0040, SWP_HIDEWINDOW = 0x0080,
                   SWP_NOOWNERZORDER = 0x0200;

// ShowWindow commands.
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMAXIMIZED = 3, SW_SHOW = 5,
              SW_SHOWMINNOACTIVE = 7, SW_SHOWNA = 8;

// WM_SIZE kinds.
constexpr unsigned SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;

// The record of WM_GETMINMAXINFO.
struct TMinMaxInfo {
    int maxSizeX = 0, maxSizeY = 0, maxPositionX = 0, maxPositionY = 0;
    int minTrackSizeX = 0, minTrackSizeY = 0, maxTrackSizeX = 0, maxTrackSizeY = 0;
};

// WM_HELP (lParam points at it): F1 on a window (the focus window; its context id is the nearest
// non-zero one of it and the windows its commands go on to), F1 on an open menu's item, or a
// dialog's Help button. A window that does not handle it passes it on along its command route
// to the application (TApplication::EvHelp).
constexpr int HELPINFO_WINDOW = 1, HELPINFO_MENUITEM = 2;
struct THelpInfo {
    int contextType = HELPINFO_WINDOW;
    int ctrlId = 0;            // the window's id, or the menu item's command id
    unsigned long contextId = 0;
    int mouseX = 0, mouseY = 0;  // screen
};

// A message as a handler of WM_GETDLGCODE sees it: the key message being asked about.
struct TMsg {
    unsigned message = 0;
    TParam1 wParam = 0;
    TParam2 lParam = 0;
};

}  // namespace vyn
