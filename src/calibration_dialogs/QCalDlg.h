#pragma once
// QCalDlg: the "Calibration" dialog. It shows a plate's curve definition (trend, model,
// "Log (x)", a fixed coefficient of the linear model, the standards' concentrations) and
// whether the curve is calculated or stored; it edits copies of these, releases a stored
// calibration, or takes the calibration of another plate ("Load calibration..."). The
// creator reads the answer and applies it.
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Dialog.h"

namespace vyn {

class ICalibrationSource;
class QCalibr;
class QDoc;
class QGEdit;
class QNumberSeries;
class QPlate;
class QVarList;
class TCheckBox;
class TComboBox;
class TEdit;
class TOkCancelGadgetWin;
class TRadioButton;

class QCalDlg : public TDialog {
public:
    static constexpr int kResId = 899;
    static constexpr int kState = 400, kIncreasing = 405, kDecreasing = 406, kModel = 407, kLogX = 408,
                         kFixK0 = 409, kFixK1 = 410, kK0 = 411, kK1 = 412, kList = 413, kEdit = 414, kLoad = 415,
                         kRemember = 416, kRelease = 417;

    explicit QCalDlg(TWindow* parent, int resId = kResId);
    ~QCalDlg() override;

    // Set by the creator before the dialog runs.
    const QCalibr* cal = nullptr;
    ICalibrationSource* source = nullptr;

    // "Load calibration...": the plate whose calibration was chosen, its document, and the
    // document when it was opened from a file for the purpose.
    const QPlate* sourcePlate = nullptr;
    QDoc* sourceDoc = nullptr;
    QDoc* openedDoc = nullptr;

    int model = 0;
    int decreasing = 0;
    int logX = 0;
    int stored = 0;
    std::string memo;
    std::vector<double> concentrations;
    int fixedK = 0;
    double K0 = 0.0;
    double K1 = 1.0;

    void LoadFromCalibration(int storedFlag, const QCalibr& c);
    // false, the dialog staying open, when K0 or K1 holds a text that is not a number.
    bool StoreControls();

    QVarList& List() const { return *list_; }
    QGEdit& Edit() const { return *edit_; }
    TOkCancelGadgetWin& Pair() const { return *pair_; }

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;

private:
    void ApplyVisibility();
    void KVisibility();
    void LoadCalibration();
    TResult CharToItem(TParam1 p1);

    TOkCancelGadgetWin* pair_;
    QGEdit* edit_;
    QVarList* list_;
    TComboBox* model_;
    TRadioButton* increasing_;
    TRadioButton* decreasing_;
    TCheckBox* logX_;
    TCheckBox* fixK0_;
    TCheckBox* fixK1_;
    TEdit* k0_;
    TEdit* k1_;
    std::unique_ptr<QNumberSeries> series_;
};

}  // namespace vyn
