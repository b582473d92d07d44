#include "method_editors/QAllPsh.h"

#include "method_editors/QPageBlank.h"
#include "method_editors/QPageCalcEvalVal.h"
#include "method_editors/QPageCurveFit.h"
#include "method_editors/QPageFilters.h"
#include "method_editors/QSheetTabs.h"
#include "method_editors/SheetHelp.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Keyboard.h"

namespace vyn {

int gMethodSheetPage = 0;
TPoint gMethodSheetPos(-1, -1);

namespace {
// Where the pages stand below the tabs, in dialog units.
const TPoint kPageOrigin(7, 20);
constexpr int kHelpSheet = 3120, kHelpButtons = 3128;
}  // namespace

QMethodPage::QMethodPage(QAllPsh* sheet, int resId) : TPropertyPage(sheet, resId), sheet_(sheet) {}

int QMethodPage::SetActive()
{
    if (!shown_) {
        shown_ = true;
        SetupPage();
    }
    return 0;
}

void QMethodPage::CmOk() { sheet_->PressOk(); }
void QMethodPage::CmCancel() { sheet_->CloseWindow(IDCANCEL); }

QAllPsh::QAllPsh(TWindow* parent, const QPlate* plate_)
    : TPropertySheet(parent, kResId, kPageOrigin), plate(plate_), tabs_(new QSheetTabs(this, kTabId))
{
    AddPage(new QPageBlank(this));
    AddPage(new QPageCurveFit(this));
    AddPage(new QPageCalcEvalVal(this, QPageCalcEvalVal::kCalculationsId, calculations));
    AddPage(new QPageCalcEvalVal(this, QPageCalcEvalVal::kEvaluationsId, evaluations));
    AddPage(new QPageCalcEvalVal(this, QPageCalcEvalVal::kValidationsId, validations));
    AddPage(new QPageFilters(this));
    OnNotify(kTabId, QSheetTabs::kSelChange, [this] { TabChanged(); });
    OnCommand(kPrintId, [this] { Print(); });
    SendHelpToOwner(*this);
}

void QAllPsh::SetupWindow()
{
    TPropertySheet::SetupWindow();
    SetWindowText(GetResString(kCaptionId));
    if (gMethodSheetPos.x != -1 || gMethodSheetPos.y != -1)
        SetWindowPos(nullptr, gMethodSheetPos.x, gMethodSheetPos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    std::vector<std::string> titles;
    for (int i = 0; i < GetPageCount(); ++i) titles.push_back(GetPage(i)->GetTitle());
    tabs_->SetTabs(titles);
    // The tab row takes the focus with Tab and turns the pages with the arrows.
    tabs_->ModifyStyle(0, dlgstyle::TABSTOP);
    ShowPage(gMethodSheetPage >= 0 && gMethodSheetPage < GetPageCount() ? gMethodSheetPage : 0);

    TWindow* ok = GetDlgItem(IDOK);
    TWindow* cancel = GetDlgItem(IDCANCEL);
    TWindow* apply = GetDlgItem(kApplyId);
    if (!cancel || !apply || !tabs_->IsWindow()) return;
    const TRect r = ChildRectInClient(*apply);
    print_ = new TButton(this, kPrintId, GetResString(kPrintTextId), r.left, r.top, r.Width(), r.Height(),
                         dlgstyle::TABSTOP);
    if (!print_->Create()) {
        delete print_;
        print_ = nullptr;
    }
    // Changes reach the plate only after OK.
    apply->ShowWindow(SW_HIDE);
    SetContextHelpId(kHelpSheet);
    tabs_->SetContextHelpId(kHelpSheet);
    if (ok) ok->SetContextHelpId(kHelpButtons);
    cancel->SetContextHelpId(kHelpButtons);
    if (print_) print_->SetContextHelpId(kHelpButtons);
}

void QAllPsh::CleanupWindow()
{
    gMethodSheetPos = ClientToScreen(TPoint(0, 0));
    TPropertySheet::CleanupWindow();
}

void QAllPsh::ShowPage(int index)
{
    SetActivePage(index);
    // The pages' titles name the tabs; the sheet keeps its own caption.
    SetWindowText(GetResString(kCaptionId));
    tabs_->SetSel(index);
}

void QAllPsh::SelectPage(int index)
{
    if (index < 0 || index >= GetPageCount()) return;
    if (index == GetActiveIndex()) return;
    if (auto* page = dynamic_cast<QMethodPage*>(GetActivePage()); page && !page->KillActive()) {
        tabs_->SetSel(GetActiveIndex());
        return;
    }
    ShowPage(index);
    gMethodSheetPage = index;
}

void QAllPsh::TabChanged()
{
    const int sel = tabs_->GetSel();
    if (sel >= 0) SelectPage(sel);
}

bool QAllPsh::PreProcessKey(unsigned vk, TWindow* focus)
{
    if (GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0) {
        const bool back = GetKeyState(VK_SHIFT) < 0;
        if (vk == VK_TAB) return StepPage(back ? -1 : 1), true;
        if (vk == VK_NEXT) return StepPage(1), true;
        if (vk == VK_PRIOR) return StepPage(-1), true;
    }
    return TPropertySheet::PreProcessKey(vk, focus);
}

void QAllPsh::StepPage(int step)
{
    const int n = GetPageCount();
    TPropertyPage* old = GetActivePage();
    if (n < 2 || !old) return;
    const bool inPage = old->HasFocus();
    // As a click on the tab: the page left commits, or keeps the user when it cannot.
    tabs_->UserSelect((GetActiveIndex() + step + n) % n);
    TPropertyPage* now = GetActivePage();
    // The keyboard stays in the pages: it goes on to the first field of the new one.
    if (inPage && now != old)
        if (TWindow* first = NextTabStop(now, true)) first->SetFocus();
}

void QAllPsh::PressOk()
{
    if (auto* page = dynamic_cast<QMethodPage*>(GetActivePage()); page && !page->KillActive()) {
        printRequested = false;
        return;
    }
    CloseWindow(IDOK);
}

void QAllPsh::CmOk() { PressOk(); }

void QAllPsh::Print()
{
    printRequested = true;
    PressOk();
}

}  // namespace vyn
