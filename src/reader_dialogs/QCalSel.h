#pragma once
#include <vector>

#include "platform/gui/Dialog.h"

namespace vyn {

class QDoc;
class TDocument;

// "Select Calibration": the open plate documents other than the current one whose
// calibration is valid. Execute answers IDOK or IDCANCEL; after IDOK Chosen() is the picked
// document, or none when no document qualified (the dialog then closes at once by itself).
class QCalSel : public TDialog {
public:
    QCalSel(TWindow* parent, const std::vector<TDocument*>& openDocs, const TDocument* current);

    QDoc* Chosen() const { return chosen_; }
    int Count() const { return static_cast<int>(docs_.size()); }

protected:
    void SetupWindow() override;
    void CmOk() override;

private:
    std::vector<QDoc*> docs_;
    QDoc* chosen_ = nullptr;
};

}  // namespace vyn
