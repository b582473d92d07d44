#pragma once
// QPageFilters: the "Filters" page: the measurement and reference wavelengths, offered from the
// reader's filter table, and the reader's own options, which the reader driver edits in a
// dialog of its own.
#include "method_editors/QAllPsh.h"

namespace vyn {

class TButton;
class TCheckBox;
class TComboBox;

class QPageFilters : public QMethodPage {
public:
    static constexpr int kResId = 7305;
    static constexpr int kMeasLabel = 800, kRefLabel = 801, kMeas = 802, kUseRef = 803, kRef = 804,
                         kOptionsLabel = 805, kOptions = 806, kHint = 103;
    static constexpr int kOptionsTextSize = 64;

    explicit QPageFilters(QAllPsh* sheet);
    bool KillActive() override;

protected:
    void SetupPage() override;

private:
    void ShowReference();
    void UseRefClicked();
    void RunOptions();
    void ShowOptionsText();

    TComboBox* meas_;
    TComboBox* ref_;
    TCheckBox* useRef_;
    TButton* options_;
};

}  // namespace vyn
