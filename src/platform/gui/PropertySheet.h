#pragma once
// A property sheet in wizard mode: one dialog whose upper part shows one page at a time, with
// Back, Next (or Finish) and Cancel below. Each page is a dialog of its own template, shown
// inside the sheet; the sheet's caption is the page's title. A page answers the wizard's
// notifications: SetActive when it is shown, WizNext / WizBack before it is left (0 accepts,
// -1 keeps the page), WizFinish before the sheet closes with IDOK.
#include <string>
#include <vector>

#include "platform/gui/Dialog.h"

namespace vyn {

class TPropertySheet;

class TPropertyPage : public TDialog {
public:
    TPropertyPage(TPropertySheet* sheet, int resId);
    TPropertyPage(TPropertySheet* sheet, const TDialogTemplate& tmpl);

    TPropertySheet* GetSheet() const { return sheet_; }
    // A title in place of the template's caption.
    void SetTitle(const std::string& title) { title_ = title; }
    std::string GetTitle() const;

    virtual int SetActive() { return 0; }
    virtual int WizNext() { return 0; }
    virtual int WizBack() { return 0; }
    virtual bool WizFinish() { return true; }

protected:
    QWidget* MakeWidget(QWidget* parentWidget) override;
    void SetupWindow() override;
    // Enter and Escape on a page act on the sheet.
    void CmOk() override;
    void CmCancel() override;

private:
    TPropertySheet* sheet_;
    std::string title_;
};

class TPropertySheet : public TDialog {
public:
    static constexpr unsigned PSWIZB_BACK = 1, PSWIZB_NEXT = 2, PSWIZB_FINISH = 4;
    static constexpr int ID_PSBACK = 0x3023, ID_PSNEXT = 0x3024, ID_PSFINISH = 0x3025;

    // The template holds the buttons; pages are placed at pageOrigin (dialog units).
    TPropertySheet(TWindow* parent, int resId, TPoint pageOrigin = TPoint(0, 0));
    TPropertySheet(TWindow* parent, const TDialogTemplate& tmpl, TPoint pageOrigin = TPoint(0, 0));

    // The sheet owns the pages; they are shown in the order added.
    void AddPage(TPropertyPage* page);
    int GetPageCount() const { return static_cast<int>(pages_.size()); }
    TPropertyPage* GetPage(int index) const { return pages_[static_cast<std::size_t>(index)]; }
    int GetActiveIndex() const { return active_; }
    TPropertyPage* GetActivePage() const { return active_ >= 0 ? GetPage(active_) : nullptr; }
    // Shows the page and runs its SetActive.
    void SetActivePage(int index);
    void SetWizardButtons(unsigned flags);
    // As if the user pressed the button (ID_PSBACK, ID_PSNEXT, ID_PSFINISH or IDCANCEL).
    void PressButton(int id);

protected:
    void SetupWindow() override;

private:
    // The pages stand above the sheet's buttons and come before them in the tab order.
    void PagesBeforeButtons();
    // The first tab stop of the page takes the focus (none when the page has none).
    void FocusFirstField(TPropertyPage& page);

    std::vector<TPropertyPage*> pages_;
    TPoint origin_;
    int active_ = -1;
};

}  // namespace vyn
