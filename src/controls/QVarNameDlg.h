#pragma once
// QVarNameDlg: "User Variable", the small dialog that renames a variable of a definition list.
// It answers OK only when the user actually changed the name; cleaning and numbering the
// name is the caller's business.
#include <string>

#include "platform/gui/Dialog.h"

namespace vyn {

class TEdit;

class QVarNameDlg : public TDialog {
public:
    static constexpr int kResId = 903;
    static constexpr std::size_t kMaxName = 33;

    QVarNameDlg(TWindow* parent, int resId = kResId);

    // Written by the caller before Execute, read back after it returned IDOK.
    std::string name;

protected:
    void SetupWindow() override;
    void CmOk() override;

private:
    TEdit* edit_;
};

}  // namespace vyn
