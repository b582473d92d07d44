#include "reader_dialogs/QCalSel.h"

#include "calibration/QCalibr.h"
#include "document/QDoc.h"
#include "platform/gui/ControlListBox.h"
#include "reader_dialogs/ReaderUiIds.h"

namespace vyn {

namespace {
constexpr int idList = 101, idExplanation = 102;
}

QCalSel::QCalSel(TWindow* parent, const std::vector<TDocument*>& openDocs, const TDocument* current)
    : TDialog(parent, idDlgCalSelect)
{
    SetContextHelpId(3314);
    new TListBox(this, idList);
    for (TDocument* d : openDocs) {
        auto* doc = dynamic_cast<QDoc*>(d);
        if (doc && d != current && doc->GetPlate().calibr.state == csValid) docs_.push_back(doc);
    }
}

void QCalSel::SetupWindow()
{
    TDialog::SetupWindow();
    auto* list = static_cast<TListBox*>(GetDlgItem(idList));
    for (QDoc* doc : docs_) list->AddString(doc->GetTitle());
    if (!docs_.empty()) {
        list->SetSelIndex(0);
        GetDlgItem(idExplanation)->ShowWindow(SW_HIDE);
    } else {
        list->ShowWindow(SW_HIDE);
        PostCommand(IDOK);
    }
}

void QCalSel::CmOk()
{
    if (docs_.empty()) {
        CloseWindow(IDOK);
        return;
    }
    const int sel = static_cast<TListBox*>(GetDlgItem(idList))->GetSelIndex();
    if (sel < 0 || sel >= Count()) return;
    chosen_ = docs_[static_cast<std::size_t>(sel)];
    CloseWindow(IDOK);
}

}  // namespace vyn
