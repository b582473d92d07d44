#include "app/vynwAboutDlg.h"

#include "app/ProjectRCVersion.h"

namespace vyn {

vynwAboutDlg::vynwAboutDlg(TWindow* parent, int resId) : TDialog(parent, resId)
{
    SetContextHelpId(3302);
}

void vynwAboutDlg::SetupWindow()
{
    TDialog::SetupWindow();
    const ProjectRCVersion version;
    const char* text = nullptr;
    if (version.GetProductName(text)) SetDlgItemText(IDC_PRODUCT, text);
    if (version.GetProductVersion(text)) SetDlgItemText(IDC_VERSION, std::string("Version ") + text);
    if (version.GetLegalNotice(text)) SetDlgItemText(IDC_LEGAL, text);
    if (version.GetSpecialBuild(text)) SetDlgItemText(IDC_SPECIAL, text);
}

}  // namespace vyn
