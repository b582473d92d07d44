#pragma once
// QDlgDesc: "Sample Names", the plate's sample-name descriptors by kind (control, qualitative,
// standard, quantitative), each kind on a page of its own. It works on copies and replaces the
// plate's list only at OK and only when something changed. A descriptor that a well uses (bit
// 0x8000, set by the caller) is shown but never changed or deleted, and the plate's own object
// is kept for it, since the wells point at it.
#include <array>
#include <memory>
#include <vector>

#include "plate/QDesc.h"
#include "platform/gui/Dialog.h"

namespace vyn {

class QClrBut;
class QDescLst;
class TEdit;
class TStatic;

class QDlgDesc : public TDialog {
public:
    static constexpr int kResId = 1029;
    static constexpr std::uint32_t kInUse = 0x8000;
    QDlgDesc(TWindow* parent, QDescList& descs, int resId = kResId);
    ~QDlgDesc() override;

    // Kind 1, 2, 4 or 8 (in the low four bits) fixes the page and locks it; anything else
    // leaves the choice free.
    void SetStartKind(int kind);

    // For tests and the shell: the page shown (-1 before the first) and its list box.
    int CurrentPage() const { return page_; }
    QDescLst* PageList(int page) const { return lists_[static_cast<std::size_t>(page)]; }

protected:
    void SetupWindow() override;
    void CmOk() override;

private:
    void ShowPage(int page);
    void Refresh(bool keepName = false);
    void ColourClicked(int index);
    void SignClicked();
    void NameChanged();
    void DeleteCurrent(bool fromUser);
    void InsertKey();
    TResult VKeyToItem(unsigned key);
    TResult CharToItem(unsigned ch);
    bool IsOwnCopy(const QDesc* d) const;
    void RemoveFromWorking(QDesc* d);
    bool CheckPages();
    // Names the plate file cannot carry ("9x", "a;b") are refused here, not at the next Save.
    bool CheckStorableNames();
    // Shows the page and selects the row that a check found.
    void SelectFinding(int page, int row);

    int update_ = 0;
    QDescList& docDescs_;
    std::vector<QDesc*> working_;
    std::vector<std::unique_ptr<QDesc>> copies_;  // the working descriptors not in use
    std::array<std::vector<QDesc*>, 4> kinds_;
    std::array<QDescLst*, 4> lists_{};
    std::array<QClrBut*, 8> colours_{};
    TEdit* name_;
    TEdit* info_;
    TStatic* infoLabel_;
    int startPage_ = -1;
    int page_ = -1;
    QDesc* current_ = nullptr;
    int row_ = -1;
};

}  // namespace vyn
