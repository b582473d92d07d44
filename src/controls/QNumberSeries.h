#pragma once
// QNumberSeries: the editing of one array of numbers through a number list, the in-place edit
// below it and the Confirm/Cancel pair beside the edit, as the curve-fit page (concentrations,
// dilutions) and the calibration dialog (concentrations) do it. The owner passes on the
// notifications of the list and the edit, the pair's commands and the characters typed on the
// list; the series changes the array and tells the list what changed.
#include <vector>

#include "platform/gui/WindowMessages.h"

namespace vyn {

class QGEdit;
class QVarList;
class TOkCancelGadgetWin;

class QNumberSeries {
public:
    // step: the factor of "/", the next member of a dilution series (0.5 halves, 2 doubles).
    QNumberSeries(QVarList& list, QGEdit& edit, std::vector<double>& values, TOkCancelGadgetWin* pair, double step);

    QVarList& List() const { return list_; }
    QGEdit& Edit() const { return edit_; }

    void ListNotify(unsigned code);
    void EditNotify(unsigned code);
    // Commands 1 (confirm) and 2 (cancel) of the pair: acted on only while the edit has the
    // focus; false when the owner should handle the command itself.
    bool ConfirmOrCancel(unsigned id);
    // A character typed on the list: -2 when it was taken, -1 for the list's own handling.
    TResult CharToItem(unsigned ch);
    // Missing values at the end of the array are dropped; those inside stay.
    void DropTrailingMissing();

private:
    void AppendStep();

    QVarList& list_;
    QGEdit& edit_;
    std::vector<double>& values_;
    TOkCancelGadgetWin* pair_;
    double step_;
};

}  // namespace vyn
