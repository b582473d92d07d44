#pragma once
#include <string>
#include <vector>

#include "platform/gui/Dialog.h"

namespace vyn {

class QFoto;
class QFltList;
class QGEdit;
class QMessageLine;
class TOkCancelGadgetWin;

// The reader's filter table (resource 2): the wavelengths as a list, edited in place below
// it, read from the reader and written to it ("Calibrate"). OK stores the table; Cancel and
// the close box leave it as it was.
class QFltDlg : public TDialog {
public:
    // driver: the reader the dialog works with; gReader when none is given.
    explicit QFltDlg(TWindow* parent, QFoto* driver = nullptr);

    const std::vector<int>& Values() const { return values_; }
    std::string MessageText() const;
    bool Unchanged() const { return unchanged_; }

protected:
    void SetupWindow() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;

private:
    QFoto& Driver() const;
    void LoadList();
    void Store();
    void MarkChanged();
    void SetUnchanged(bool unchanged);
    void ShowMessage(const std::string& text);
    void ListNotify(unsigned code);
    void EditNotify(unsigned code);
    TResult KeyToItem(unsigned key);
    TResult CharToItem(unsigned ch);
    // "&Read" and "&Calibrate": store, run the reader operation, show the table and the outcome.
    void RunOperation(bool write);

    QFoto* driver_;
    std::vector<int> values_;
    QFltList* list_;
    QGEdit* edit_;
    TOkCancelGadgetWin* pair_;
    QMessageLine* line_ = nullptr;
    bool unchanged_ = true;
};

}  // namespace vyn
