#pragma once
// QDefPres: "Plate Data Presentation", the number format and field width with which plate
// values or results are shown, and for results the concentration units. The caller sets the
// fields, executes it and reads them back after OK.
#include <string>

#include "evaluator/NumFormat.h"
#include "platform/core/Geometry.h"
#include "platform/gui/Dialog.h"

namespace vyn {

class TEdit;
class TRadioButton;
class TStatic;

class QDefPres : public TDialog {
public:
    static constexpr int kResId = 5243;
    QDefPres(TWindow* parent, int resId = kResId);

    int CharWidth = 0;        // pixels of a "0" in the sample's font
    int ResultsMode = 0;      // non-zero: the result presentation
    QNumFormat Format;
    int FieldWidth = 24;      // horizontal dialog units, 10..240
    std::string Units;

protected:
    void SetupWindow() override;
    void CmOk() override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;

private:
    int CheckedMode() const;
    void ModeClicked();
    void Refresh();
    void ApplyFieldWidth();
    void ShowSample();
    void Spin(TEdit& edit, unsigned code, int minValue, int maxValue);

    TRadioButton* mode_[3];
    TEdit* decimals_;
    TEdit* digits_;
    TEdit* width_;
    TEdit* units_;
    TStatic* sample_;
    TStatic* mark_;        // the overflow mark after a sample too wide for the field
    TRect field_;          // where the sample's field stands, client pixels
    QNumFormat shown_;     // the sample's format: the fields as they are typed; Format stays until OK
    bool fieldSet_ = false;
    static int setupCount_;
};

}  // namespace vyn
