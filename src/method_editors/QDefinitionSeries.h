#pragma once
// QDefinitionSeries: the editing of one list of named expressions through a names-mode variable
// list, the in-place edit below it and the Confirm/Cancel pair beside the edit, as the
// calculation, evaluation and validation pages of the method sheet and the wizard's validation
// page do it. The owner passes on the notifications of the list and the edit, the pair's
// commands and the characters typed on the list; the series changes the list of definitions,
// keeps their names valid and numbered (prefix1, prefix2, ...) and tells the list what changed.
#include <string>

#include "plate/twostr.h"
#include "platform/gui/WindowMessages.h"

namespace vyn {

class QGEdit;
class QVarList;
class TOkCancelGadgetWin;
class TWindow;

class QDefinitionSeries {
public:
    // owner: the parent of the rename dialog.
    QDefinitionSeries(TWindow& owner, QVarList& list, QGEdit& edit, TwostrArray& defs, TOkCancelGadgetWin& pair,
                      std::string prefix);

    const std::string& Prefix() const { return prefix_; }
    void ApplyNameRule();

    void ListNotify(unsigned code);
    void EditNotify(unsigned code);
    // Commands 1 (confirm) and 2 (cancel) of the pair, also Enter and Escape in the edit: acted
    // on only while the edit has the focus; false when the owner should handle the command.
    bool ConfirmOrCancel(unsigned id);
    // A character typed on the list: -2 when it started an edit, -1 for the list's own handling.
    TResult CharToItem(unsigned ch);
    // Trailing blanks go, then the definitions at the end whose expression is empty.
    void DropTrailingEmpty();
    // Selects the definition and opens the edit on it with the caret at pos (characters).
    void ShowDefinition(int index, int pos);

private:
    void Rename();

    TWindow& owner_;
    QVarList& list_;
    QGEdit& edit_;
    TwostrArray& defs_;
    TOkCancelGadgetWin& pair_;
    std::string prefix_;
};

}  // namespace vyn
