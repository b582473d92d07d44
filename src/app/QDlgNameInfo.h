#pragma once
// QDlgNameInfo: "Method Name and Description", a method's name and comment. Execute answers
// IDOK only when the user changed at least one of them and confirmed; Name and Comment then
// hold the new texts.
#include <string>

#include "platform/gui/Dialog.h"

namespace vyn {

class TEdit;

class QDlgNameInfo : public TDialog {
public:
    static constexpr int kResId = 1459;
    static constexpr int kMaxText = 255;
    QDlgNameInfo(TWindow* parent, const std::string& name, const std::string& comment);

    std::string Name;
    std::string Comment;

protected:
    void SetupWindow() override;
    void CmOk() override;

private:
    TEdit* name_;
    TEdit* comment_;
};

}  // namespace vyn
