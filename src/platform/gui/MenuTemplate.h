#pragma once
// Menu bars as data: popups with their items (command id and text, the accelerator key after
// a tab) and separators. The files in resources/menus are compiled into a table at build time.
// No Qt here: the compiled table lives in the resource library.
namespace vyn {

enum TMenuItemKind : int { miItem = 0, miPopup = 1, miEndPopup = 2, miSeparator = 3 };

struct TMenuItemTemplate {
    int kind;  // TMenuItemKind
    int id;    // command id of an item
    const char* text;
};

struct TMenuTemplate {
    int id;
    const TMenuItemTemplate* items;
    int count;
};

// The compiled menu resource, or nullptr when there is none.
const TMenuTemplate* FindMenuTemplate(int id);

namespace res {
extern const TMenuTemplate kMenuTable[];
extern const int kMenuCount;
}  // namespace res

}  // namespace vyn
