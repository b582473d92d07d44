#pragma once
// Dialog templates as data: the dialog's caption, font and size, and its controls with id,
// kind, text, style flags and rectangle, all in dialog units. The files in resources/dialogs
// are compiled into a table at build time; tests may build a template in code.
// No Qt here: the compiled table lives in the resource library.
#include <cstddef>

namespace vyn {

// Style flags, named as they are written in the template files.
namespace dlgstyle {
// Dialog.
inline constexpr unsigned POPUP = 1u << 0, CAPTION = 1u << 1, SYSMENU = 1u << 2, THICKFRAME = 1u << 3,
                          MODALFRAME = 1u << 4;
// Any control.
inline constexpr unsigned HIDDEN = 1u << 5, DISABLED = 1u << 6, TABSTOP = 1u << 7, GROUP = 1u << 8,
                          BORDER = 1u << 9, HSCROLL = 1u << 10, VSCROLL = 1u << 11;
// Buttons.
inline constexpr unsigned DEFPUSHBUTTON = 1u << 12, AUTO = 1u << 13, OWNERDRAW = 1u << 14;
// Edits.
inline constexpr unsigned MULTILINE = 1u << 15, READONLY = 1u << 16, AUTOHSCROLL = 1u << 17,
                          AUTOVSCROLL = 1u << 18, NOHIDESEL = 1u << 19, WANTRETURN = 1u << 20,
                          PASSWORD = 1u << 21, UPPERCASE = 1u << 22;
// Statics.
inline constexpr unsigned LEFT = 1u << 23, CENTER = 1u << 24, RIGHT = 1u << 25, NOPREFIX = 1u << 26;
// Lists and combo boxes.
inline constexpr unsigned OWNERDRAWFIXED = 1u << 27, DROPDOWNLIST = 1u << 28, SORT = 1u << 29,
                          NOTIFY = 1u << 30, HASSTRINGS = 1u << 31;
}  // namespace dlgstyle

enum class TControlKind { STATIC, EDIT, BUTTON, CHECKBOX, RADIOBUTTON, GROUPBOX, LISTBOX, COMBOBOX, SCROLLBAR };

struct TControlTemplate {
    int id;
    TControlKind kind;
    const char* text;
    unsigned style;
    int x, y, cx, cy;  // dialog units
};

struct TDialogTemplate {
    int id;
    const char* caption;
    int pointSize;
    const char* fontFace;
    unsigned style;
    int x, y, cx, cy;  // dialog units
    const TControlTemplate* controls;
    int controlCount;
};

// The compiled template of a dialog resource, or nullptr when there is none.
const TDialogTemplate* FindDialogTemplate(int id);

namespace res {
extern const TDialogTemplate kDialogTable[];
extern const int kDialogCount;
}  // namespace res

}  // namespace vyn
