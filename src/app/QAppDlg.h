#pragma once
// QAppDlg: "Application Options", the decimal character, the texts of results that cannot be
// given, the layout of the result and plate data exports and whether fixed samples take part
// in sample export and import. It edits its own copy of the settings (the buffer); the
// options command copies it back when the dialog ends with "Save" (id 1).
#include <string>

#include "evaluator/NumFormat.h"
#include "platform/gui/Dialog.h"

namespace vyn {

class QScEdit;
struct AppSettings;

class QAppDlg : public TDialog {
public:
    static constexpr int kResId = 1425;
    QAppDlg(TWindow* parent, int resId = kResId);

    // The buffer.
    char DecimalChar;
    std::string ResError, ResUnder, ResOver;
    int ExpFixFields = 0;
    char ExpSeparator = '\t';
    int ExpIdLen = 36;
    int ExpResLen = 20;
    QNumFormat ExpFormat;
    int CellFixFields = 0;
    char CellSeparator = '\t';
    int CellValLen = 7;
    QNumFormat CellFormat;
    std::string ExpError, ExpUnder, ExpOver;
    int ExpFixes = 0;
    int ImpFixes = 0;

    void FromSettings(const AppSettings& s, char decimalChar);
    void ToSettings(AppSettings& s) const;

    void ShowGroup(int page, bool show);
    // The name of a separator character as the hidden statics 900-906 hold it.
    std::string SeparatorText(char c) const;
    int CurrentPage() const { return page_; }
    // The page the next dialog of the run opens on (-1 before the first one closed).
    static int LastPage() { return lastPage_; }
    static void ResetLastPage() { lastPage_ = -1; }

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    void CmOk() override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;

private:
    void PageButton(int page);
    void Refresh();
    // format: the page's format as the dialog opened with it; the sample shows the fields over it.
    void RefreshExport(int base, QNumFormat format);
    bool Checked(int id) const;
    void Check(int id, bool on);
    // The whole number the edit shows (empty is 0); false for a text that is none.
    bool Number(int id, int& value) const;
    void SetNumber(int id, int value);
    void Spin(int editId, unsigned code, int low, int high);

    QScEdit* expSep_;
    QScEdit* cellSep_;
    int page_ = 0;
    static char systemDecimal_;
    static int lastPage_;
    static bool settingUp_;
};

}  // namespace vyn
