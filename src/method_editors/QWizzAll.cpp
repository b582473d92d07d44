#include "method_editors/QWizzAll.h"

#include <algorithm>
#include <cmath>

#include "controls/QGEdit.h"
#include "calibration/QCalibr.h"
#include "evaluator/NoValue.h"
#include "method_editors/ColorDlg.h"
#include "method_editors/CtxWzDlg.h"
#include "method_editors/ExpressionCheck.h"
#include "controls/InPlaceEditColours.h"
#include "method_editors/KeptNumber.h"
#include "method_editors/NumFormatDlg.h"
#include "method_editors/QDefinitionSeries.h"
#include "method_editors/QHintText.h"
#include "controls/QNumberSeries.h"
#include "plate/FilterTable.h"
#include "controls/QVarList.h"
#include "method_editors/SeriesCommands.h"
#include "method_editors/SheetHelp.h"
#include "controls/TOkCancelGadgetWin.h"
#include "plate/QPlate.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/MsgBox.h"
#include "readers/QFoto.h"

namespace vyn {

TColor QWizzAll::TitleColour(0, 127, 127);

namespace {

TPoint sPosition(-1, -1);
const TColor kNumberColour(255, 0, 0);
const TColor kNameColour(0, 0, 255);
constexpr int kHeading = 101;

constexpr int kWarningCaption = 3254;
constexpr int kContinueQuestion = 3253;
constexpr int kQuotedTextRefused = 3270;
// Questions are made in a buffer of this size; what does not fit is left out.
constexpr std::size_t kQuestionLimit = 159;

bool AskContinue(TWindow* page, const std::string& text)
{
    return MessageBox(page, text, GetResString(kWarningCaption), MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}

// Joins the parts of a question and drops the line break that starts it.
std::string Question(const std::vector<int>& ids)
{
    std::string text;
    for (int id : ids) text += GetResString(id);
    text = CutUtf8(text, kQuestionLimit);
    return text.size() >= 2 ? text.substr(2) : text;
}

bool IsChecked(const TWindow* page, int id)
{
    auto* b = dynamic_cast<const TCheckBox*>(static_cast<const TDialog*>(page)->GetDlgItem(id));
    return b && b->GetCheck() == TCheckBox::BF_CHECKED;
}

void SetChecked(TDialog* page, int id, bool on)
{
    if (auto* b = dynamic_cast<TCheckBox*>(page->GetDlgItem(id))) b->SetCheck(on ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
}

void Show(TDialog* page, int id, bool show)
{
    if (TWindow* w = page->GetDlgItem(id)) w->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void Enable(TDialog* page, int id, bool on)
{
    if (TWindow* w = page->GetDlgItem(id)) w->EnableWindow(on);
}

// Names and separators end up between double quotes in the definitions: one that would break
// its definition is refused where it was typed, with the edit focused on it.
bool RefuseQuotedText(TDialog* page, const std::vector<int>& ids)
{
    for (int id : ids) {
        TWindow* w = page->GetDlgItem(id);
        if (!w || !w->IsWindowVisible() || FitsQuotedText(page->GetDlgItemText(id))) continue;
        MessageBox(page, GetResString(kQuotedTextRefused), GetResString(kWarningCaption), MB_OK | MB_ICONEXCLAMATION);
        w->SetFocus();
        if (auto* e = dynamic_cast<TEdit*>(w)) e->SetSelection(0, 256);
        return true;
    }
    return false;
}

std::vector<int> Ids(int first, int last)
{
    std::vector<int> ids;
    for (int id = first; id <= last; ++id) ids.push_back(id);
    return ids;
}

// The number of standard levels: the last well group of the standards plus one.
int StandardLevels(const QPlate* plate)
{
    if (!plate || !plate->stdInUse || plate->stdInUse->wells.empty()) return 0;
    return plate->stdInUse->wells.back().group + 1;
}

// What every page shares: the wizard, the help id, and the expression wizard on the page's
// expression edits.
class QWizzPage : public TPropertyPage {
public:
    QWizzPage(QWizzAll& wiz, int resId, int index) : TPropertyPage(&wiz, resId), wiz_(wiz), index_(index)
    {
        new QHintText(this, kHeading, &QWizzAll::TitleColour);
    }

protected:
    void SetupWindow() override
    {
        TPropertyPage::SetupWindow();
        SetContextHelpId(QWizzAll::kHelpId);
    }
    int SetActive() override
    {
        const int refused = Activate();
        if (refused == 0) wiz_.lastShown = index_;
        return refused;
    }
    virtual int Activate() { return 0; }
    // The expression context of an edit of the page, -1 for none.
    virtual int ExpressionContext(int /*id*/) const { return -1; }
    void EvContextMenu(TWindow* window, int x, int y) override
    {
        const int context = window ? ExpressionContext(window->GetId()) : -1;
        auto* edit = dynamic_cast<TEdit*>(window);
        if (context < 0 || !edit) {
            TPropertyPage::EvContextMenu(window, x, y);
            return;
        }
        if (auto* g = dynamic_cast<QGEdit*>(edit))
            g->RunExpressionWizard(context, wiz_.plate, &wiz_.st.calculations, &wiz_.st.validations, &wiz_.st.evaluations);
        else
            RunExpressionWizard(*edit, context, wiz_.plate, &wiz_.st.calculations, &wiz_.st.validations,
                                &wiz_.st.evaluations, false);
    }
    void Buttons(unsigned flags) { GetSheet()->SetWizardButtons(flags); }

    QWizzAll& wiz_;
    QWizzState& st() { return wiz_.st; }
    int index_;
};

using Sheet = TPropertySheet;

// An expression edit that forwards its context menu to the page.
QGEdit* ExpressionEdit(TDialog* page, int id) { return new QGEdit(page, nullptr, page, id, true); }

// What the wizard's state keeps of a name, expression or threshold text, and of a separator of
// the long result, in bytes of UTF-8.
constexpr std::size_t kTextBytes = 255, kSeparatorBytes = 31;

// The edits from first to last take no more than the state keeps of them.
void LimitEdits(TDialog* page, int first, int last, std::size_t bytes)
{
    for (int id = first; id <= last; ++id)
        if (auto* e = dynamic_cast<TEdit*>(page->GetDlgItem(id))) e->SetTextLimit(static_cast<int>(bytes) + 1);
}

// ---------------------------------------------------------------------------------------------
class QWizzCurveFit : public QWizzPage {
public:
    static constexpr int kList = 413, kEdit = 414;

    explicit QWizzCurveFit(QWizzAll& wiz)
        : QWizzPage(wiz, 7400, QWizzAll::kCurveFitPage), models_(new TComboBox(this, 407)),
          list_(new QVarList(this, kList, kNumberColour, &wiz.st.concentrations, nullptr)),
          edit_(new QGEdit(this, list_, this, kEdit, false)), pair_(new TOkCancelGadgetWin(this)),
          series_(*list_, *edit_, wiz.st.concentrations, pair_, 0.5)
    {
        for (int id : {405, 406}) new TRadioButton(this, id);
        for (int id : {408, 409, 410}) new TCheckBox(this, id);
        k0_ = new TEdit(this, 411);
        k1_ = new TEdit(this, 412);
        list_->Activate(true);
        OnNotify(407, CBN_SELCHANGE, [this] { ModelChanged(); });
        OnCommand(409, [this] { FixedK(409, 410); });
        OnCommand(410, [this] { FixedK(410, 409); });
        OnMessage(kVarListCharToItem, [this](TParam1 p1, TParam2) { return series_.CharToItem(LOWORD(p1)); });
    }

protected:
    void SetupWindow() override
    {
        QWizzPage::SetupWindow();
        QWizzState& s = st();
        s.curveFitValid = 1;
        if (const QCalibr* c = wiz_.calibration) {
            s.model = c->model;
            s.decreasing = c->decreasing ? 1 : 0;
            s.logX = c->logX;
            s.concentrations = c->concentrations;
            s.fixedK = c->fixedK;
            s.K0 = c->K0;
            s.K1 = c->K1;
        }
        if (s.mode == 1) s.concentrations.resize(static_cast<std::size_t>(StandardLevels(wiz_.plate)), NoValue);
        SetChecked(this, s.decreasing ? 406 : 405, true);
        for (int m = 0; m < QCalibr::ModelCount(); ++m) models_->AddString(QCalibr::ModelName(m));
        if (s.model < 0 || s.model >= QCalibr::ModelCount()) s.model = 0;
        models_->SetSelIndex(s.model);
        SetChecked(this, 408, s.logX != 0);
        SetChecked(this, 409, (s.fixedK & 1) != 0);
        SetChecked(this, 410, s.fixedK == 2);
        shownK0_.Show(*k0_, s.K0);
        shownK1_.Show(*k1_, s.K1);
        ModelChanged();
        list_->Refill();
        edit_->Open(nullptr);
        edit_->ShowWindow(SW_SHOW);
        pair_->PlaceBeside(*edit_);
        ColourInPlaceEdit(*edit_);
        if (s.mode == 2) {
            s.curveFitValid = 0;
            for (int id = 405; id <= 412; ++id) Enable(this, id, false);
            Enable(this, kEdit, false);
            edit_->ShowWindow(SW_HIDE);
            pair_->ShowWindow(SW_HIDE);
            list_->Activate(false);
            Show(this, 103, false);
            Show(this, 104, true);
        } else {
            Show(this, 103, true);
            Show(this, 104, false);
        }
    }

    int Activate() override
    {
        Buttons(Sheet::PSWIZB_NEXT);
        return 0;
    }

    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override
    {
        return RouteToSeries(series_, kList, kEdit, id, notifyCode) ? 0 : QWizzPage::EvCommand(id, control, notifyCode);
    }

    int WizNext() override { return Leave(); }

private:
    void ModelChanged()
    {
        const int model = std::max(0, models_->GetSelIndex());
        Show(this, 408, QCalibr::HasLogOption(model));
        const bool linear = model == 0;
        Show(this, 409, linear);
        Show(this, 410, linear);
        Show(this, 411, linear && IsChecked(this, 409));
        Show(this, 412, linear && IsChecked(this, 410));
    }

    void FixedK(int clicked, int other)
    {
        if (IsChecked(this, clicked)) SetChecked(this, other, false);
        Show(this, 411, IsChecked(this, 409));
        Show(this, 412, IsChecked(this, 410));
    }

    int Leave()
    {
        QWizzState& s = st();
        if (s.mode == 2) return 0;
        s.model = std::max(0, models_->GetSelIndex());
        s.decreasing = IsChecked(this, 406) ? 1 : 0;
        s.logX = IsChecked(this, 408) && QCalibr::HasLogOption(s.model) ? 1 : 0;
        const bool k0 = IsChecked(this, 409), k1 = IsChecked(this, 410);
        s.fixedK = k0 == k1 ? 0 : k0 ? 1 : 2;
        if (!shownK0_.Read(this, *k0_, 159, 0.0, s.K0) || !shownK1_.Read(this, *k1_, 159, 1.0, s.K1)) return -1;
        auto& conc = s.concentrations;
        series_.DropTrailingMissing();

        const int levels = StandardLevels(wiz_.plate);
        unsigned bits = static_cast<int>(conc.size()) != levels ? 1 : 0;
        for (std::size_t i = 0; i < conc.size(); ++i) {
            unsigned bit = 0;
            if (conc[i] == NoValue) bit = 2;
            else if (i > 0 && conc[i - 1] != NoValue) {
                const bool ascending = conc.size() > 1 && conc[0] < conc[1];
                if (conc[i] == conc[i - 1] || (conc[i] > conc[i - 1]) != ascending) bit = 4;
            }
            if (bit) {
                bits |= bit;
                list_->SetSelIndex(static_cast<int>(i));
                edit_->Open(nullptr);
                break;
            }
        }
        if (!bits) return 0;
        std::vector<int> ids;
        if (bits & 1) ids.push_back(3248);
        if (bits & 2) ids.push_back(3251);
        if (bits & 4) ids.push_back(3252);
        ids.push_back(kContinueQuestion);
        if (AskContinue(this, Question(ids))) return 0;
        conc.resize(static_cast<std::size_t>(levels), NoValue);
        list_->Refill();
        edit_->Open(nullptr);
        return -1;
    }

    TComboBox* models_;
    QVarList* list_;
    QGEdit* edit_;
    TOkCancelGadgetWin* pair_;
    QNumberSeries series_;
    TEdit* k0_;
    TEdit* k1_;
    KeptNumber shownK0_, shownK1_;
};

// ---------------------------------------------------------------------------------------------
class QWizzCategories : public QWizzPage {
public:
    explicit QWizzCategories(QWizzAll& wiz) : QWizzPage(wiz, 7401, QWizzAll::kCategoriesPage)
    {
        ExpressionEdit(this, 102);
        for (int id = 300; id <= 304; ++id) ExpressionEdit(this, id);
    }

protected:
    void SetupWindow() override
    {
        QWizzPage::SetupWindow();
        wiz_.ReadSettings();
        for (int id : {102, 300, 301, 302, 303, 304}) Show(this, id, true);
        LimitEdits(this, 102, 102, kTextBytes);
        LimitEdits(this, 300, 300 + kMaxThresholds - 1, kTextBytes);
        LimitEdits(this, 200, 200 + kCategorySlots - 1, kTextBytes);
        for (int k = 0; k < kMaxThresholds; ++k) SetDlgItemText(300 + k, st().thresholds[k]);
        for (int k = 0; k < kCategorySlots; ++k) SetDlgItemText(200 + k, st().categoryNames[k]);
        SetDlgItemText(102, st().valueToCompare);
    }

    int Activate() override
    {
        Buttons(Sheet::PSWIZB_NEXT | (st().mode != 0 ? Sheet::PSWIZB_BACK : 0u));
        return 0;
    }

    int ExpressionContext(int id) const override { return id == 102 ? 4 : (id >= 300 && id <= 304) ? 2 : -1; }

    int WizBack() override
    {
        Buttons(Sheet::PSWIZB_BACK | Sheet::PSWIZB_NEXT);
        return 0;
    }

    int WizNext() override
    {
        if (RefuseQuotedText(this, Ids(200, 206))) return -1;
        QWizzState& s = st();
        for (int k = 0; k < kMaxThresholds; ++k) s.thresholds[k] = CutUtf8(GetDlgItemText(300 + k), kTextBytes);
        s.thresholdCount = CountThresholds(s.thresholds);
        for (int k = 0; k < kCategorySlots; ++k) s.categoryNames[k] = CutUtf8(GetDlgItemText(200 + k), kTextBytes);
        s.valueToCompare = CutUtf8(GetDlgItemText(102), kTextBytes);
        for (int k = 0; k < s.thresholdCount; ++k) {
            if (!s.thresholds[k].empty()) continue;
            if (!AskContinue(this, GetResString(3255))) return -1;
            break;
        }
        if (s.thresholdCount != 0 && s.valueToCompare.empty() && !AskContinue(this, GetResString(3256))) return -1;
        for (int k = s.thresholdCount + 1; k <= 5; ++k) {
            s.categoryNames[k].clear();
            SetDlgItemText(200 + k, "");
        }
        Buttons(Sheet::PSWIZB_BACK | Sheet::PSWIZB_NEXT);
        return 0;
    }
};

// ---------------------------------------------------------------------------------------------
class QWizzPresentation : public QWizzPage {
public:
    explicit QWizzPresentation(QWizzAll& wiz) : QWizzPage(wiz, 7402, QWizzAll::kPresentationPage)
    {
        for (int id : {110, 111, 112}) {
            new TCheckBox(this, id);
            OnCommand(static_cast<unsigned>(id), [this] { ShowRows(); });
        }
        for (int k = 0; k < kCategorySlots; ++k) {
            swatches_[k] = new TColorSwatch(this, 600 + k);
            OnCommand(static_cast<unsigned>(600 + k), [this, k] { PickColour(k); });
        }
    }

protected:
    void SetupWindow() override
    {
        QWizzPage::SetupWindow();
        const QWizzState& s = st();
        bool anyMatrix = false, anyExport = false, anyColour = false;
        LimitEdits(this, 400, 400 + kCategorySlots - 1, kTextBytes);
        LimitEdits(this, 500, 500 + kCategorySlots - 1, kTextBytes);
        for (int k = 0; k < kCategorySlots; ++k) {
            SetDlgItemText(400 + k, s.matrixNames[k]);
            SetDlgItemText(500 + k, s.exportNames[k]);
            swatches_[k]->SetColour(s.colours[k]);
            anyMatrix |= !s.matrixNames[k].empty();
            anyExport |= !s.exportNames[k].empty();
            anyColour |= s.colours[k] != -1;
        }
        SetChecked(this, 110, anyMatrix);
        SetChecked(this, 111, anyExport);
        SetChecked(this, 112, anyColour);
    }

    int Activate() override
    {
        if (st().thresholdCount == 0) {
            // Nothing to present without categories: pass on in the direction of travel.
            GetSheet()->SetActivePage(wiz_.lastShown > index_ ? index_ - 1 : index_ + 1);
            return -1;
        }
        for (int k = 0; k < kCategorySlots; ++k) SetDlgItemText(200 + k, st().categoryNames[k]);
        ShowRows();
        return 0;
    }

    int WizNext() override
    {
        std::vector<int> names = Ids(400, 406);
        for (int id : Ids(500, 506)) names.push_back(id);
        if (RefuseQuotedText(this, names)) return -1;
        QWizzState& s = st();
        for (int k = 0; k < kCategorySlots; ++k) {
            s.matrixNames[k] = IsChecked(this, 110) ? CutUtf8(GetDlgItemText(400 + k), kTextBytes) : "";
            s.exportNames[k] = IsChecked(this, 111) ? CutUtf8(GetDlgItemText(500 + k), kTextBytes) : "";
            s.colours[k] = IsChecked(this, 112) ? swatches_[k]->GetColour() : -1;
        }
        return 0;
    }

private:
    void ShowRows()
    {
        const int n = st().thresholdCount;
        const struct {
            int base;
            bool on;
        } sets[] = {{200, true}, {400, IsChecked(this, 110)}, {500, IsChecked(this, 111)}, {600, IsChecked(this, 112)}};
        for (const auto& set : sets) {
            for (int k = 0; k <= 5; ++k) Show(this, set.base + k, set.on && k <= n);
            Show(this, set.base + 6, set.on && n != 0);
        }
    }

    void PickColour(int k)
    {
        MyColorDlg dlg(this, swatches_[k], swatches_[k]->GetColour());
        if (dlg.Execute() == IDOK) swatches_[k]->SetColour(dlg.Chosen());
    }

    TColorSwatch* swatches_[kCategorySlots];
};

// ---------------------------------------------------------------------------------------------
class QWizzComposition : public QWizzPage {
public:
    explicit QWizzComposition(QWizzAll& wiz) : QWizzPage(wiz, 7403, QWizzAll::kCompositionPage)
    {
        for (int id = 102; id <= 105; ++id) {
            new TCheckBox(this, id);
            OnCommand(static_cast<unsigned>(id), [this] { Refresh(); });
        }
        OnCommand(113, [this] { Format(st().valueFormat); });
        OnCommand(114, [this] { Format(st().absorbanceFormat); });
        OnCommand(115, [this] { Format(st().concentrationFormat); });
    }

protected:
    void SetupWindow() override
    {
        QWizzPage::SetupWindow();
        for (int i = 0; i < 3; ++i) captions_[i] = CutUtf8(GetDlgItemText(121 + i), 31);
        const QWizzState& s = st();
        SetChecked(this, 102, s.includeCategory);
        SetChecked(this, 103, s.includeValue);
        SetChecked(this, 104, s.includeAbsorbance);
        SetChecked(this, 105, s.includeConcentration);
        LimitEdits(this, 130, 133, kSeparatorBytes);
        for (int i = 0; i < 4; ++i) SetDlgItemText(130 + i, s.separators[i]);
    }

    int Activate() override
    {
        Refresh();
        return 0;
    }

    int WizNext() override
    {
        if (RefuseQuotedText(this, Ids(130, 133))) return -1;
        QWizzState& s = st();
        s.includeCategory = IsChecked(this, 102);
        s.includeValue = IsChecked(this, 103);
        s.includeAbsorbance = IsChecked(this, 104);
        s.includeConcentration = IsChecked(this, 105);
        // An untouched separator of the method's long result stays as it is, even an empty one.
        const bool fromMethod = std::any_of(s.generatedAsRead.begin(), s.generatedAsRead.end(),
                                            [](const twostr& t) { return t.name == "LongResult"; });
        for (int i = 0; i < 4; ++i) {
            const std::string t = CutUtf8(GetDlgItemText(130 + i), kSeparatorBytes);
            if (!fromMethod || t != s.separators[i]) s.separators[i] = t.empty() ? " " : t;
        }
        return 0;
    }

private:
    static bool EqualNoCase(const std::string& a, const char* b)
    {
        const std::string lb(b);
        if (a.size() != lb.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(a[i])) != lb[i]) return false;
        return true;
    }

    void Refresh()
    {
        const QWizzState& s = st();
        const std::string& v = s.valueToCompare;
        const bool plain = EqualNoCase(v, "avg(od)") || EqualNoCase(v, "conc") || v.empty();
        if (plain) SetChecked(this, 103, false);
        Enable(this, 103, !plain);
        Enable(this, 113, !plain);
        if (s.mode == 0) SetChecked(this, 105, false);
        Enable(this, 105, s.mode != 0);
        Enable(this, 115, s.mode != 0);
        if (s.thresholdCount == 0) SetChecked(this, 102, false);
        Enable(this, 102, s.thresholdCount != 0);
        int m = 0;
        int order[3];
        for (int i = 0; i < 3; ++i) {
            const bool on = IsChecked(this, 103 + i);
            Show(this, 113 + i, on);
            if (on) order[m++] = i;
        }
        if (s.thresholdCount != 0 && m == 0) SetChecked(this, 102, true);
        Show(this, 120, IsChecked(this, 102));
        Show(this, 116, m > 0);
        Show(this, 130, m > 0);
        for (int p = 0; p < 3; ++p) {
            if (p < m) SetDlgItemText(121 + p, captions_[order[p]]);
            Show(this, 121 + p, p < m);
            Show(this, 131 + p, p < m);
        }
    }

    void Format(QWizzFormat& f)
    {
        MyFormatDlg dlg(this, f);
        dlg.Execute();
    }

    std::string captions_[3];
};

// ---------------------------------------------------------------------------------------------
class QWizzValidation : public QWizzPage {
public:
    static constexpr int kList = 102, kEdit = 103;

    explicit QWizzValidation(QWizzAll& wiz)
        : QWizzPage(wiz, 7404, QWizzAll::kValidationPage),
          list_(new QVarList(this, kList, kNameColour, nullptr, &wiz.st.validations)),
          edit_(new QGEdit(this, list_, this, kEdit, true)), pair_(new TOkCancelGadgetWin(this)),
          series_(*this, *list_, *edit_, wiz.st.validations, *pair_, "cond")
    {
        list_->Activate(true);
        OnMessage(kVarListCharToItem, [this](TParam1 p1, TParam2) { return series_.CharToItem(LOWORD(p1)); });
    }

protected:
    void SetupWindow() override
    {
        QWizzPage::SetupWindow();
        list_->Refill();
        edit_->Open(nullptr);
        edit_->ShowWindow(SW_SHOW);
        pair_->PlaceBeside(*edit_);
        ColourInPlaceEdit(*edit_);
    }

    int ExpressionContext(int id) const override { return id == kEdit ? 3 : -1; }

    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override
    {
        return RouteToSeries(series_, kList, kEdit, id, notifyCode) ? 0 : QWizzPage::EvCommand(id, control, notifyCode);
    }

    int WizNext() override
    {
        auto& v = st().validations;
        series_.DropTrailingEmpty();
        for (std::size_t i = 0; i < v.size(); ++i) {
            if (!v[i].text.empty()) continue;
            list_->SetSelIndex(static_cast<int>(i));
            edit_->Open(nullptr);
            return AskContinue(this, GetResString(3257)) ? 0 : -1;
        }
        int bad = 0, position = 0;
        if (guard_.AcceptAll(this, v, bad, position)) return 0;
        series_.ShowDefinition(bad, position);
        return -1;
    }

private:
    QVarList* list_;
    QGEdit* edit_;
    TOkCancelGadgetWin* pair_;
    QDefinitionSeries series_;
    ExpressionGuard guard_;
};

// ---------------------------------------------------------------------------------------------
class QWizzMeasurement : public QWizzPage {
public:
    explicit QWizzMeasurement(QWizzAll& wiz) : QWizzPage(wiz, 7405, QWizzAll::kMeasurementPage)
    {
        meas_ = new TComboBox(this, 802);
        ref_ = new TComboBox(this, 804);
        new TCheckBox(this, 803);
        OnCommand(803, [this] {
            if (TWindow* b = GetDlgItem(803)) b->SetFocus();
            ShowReference();
        });
        OnCommand(806, [this] {
            if (gReader) gReader->OptionsDialog(this, st().readerOptions);
            OptionsCaption();
        });
    }

protected:
    void SetupWindow() override
    {
        QWizzPage::SetupWindow();
        const QWizzState& s = st();
        for (int i = 0; i < GetFilterCount(); ++i)
            if (const int f = GetFilter(i); f > 0) {
                meas_->AddString(std::to_string(f));
                ref_->AddString(std::to_string(f));
            }
        Select(*meas_, s.measFilter);
        Select(*ref_, s.refFilter);
        SetChecked(this, 803, s.useReference != 0);
        ShowReference();
        const bool options = gReader && gReader->HasOptions();
        Show(this, 805, options);
        Show(this, 806, options);
        if (options) OptionsCaption();
    }

    int Activate() override
    {
        Buttons(Sheet::PSWIZB_BACK | Sheet::PSWIZB_FINISH);
        return 0;
    }

    int WizBack() override
    {
        Buttons(Sheet::PSWIZB_BACK | Sheet::PSWIZB_NEXT);
        return 0;
    }

    bool WizFinish() override
    {
        QWizzState& s = st();
        int measurement = 0, reference = s.refFilter;
        if (!TakeWholeEdit(*this, 802, kFilterBoxField, measurement) || !TakeWholeEdit(*this, 804, kFilterBoxField, reference))
            return false;
        s.measFilter = measurement;
        s.refFilter = reference;
        s.useReference = IsChecked(this, 803) ? 1 : 0;
        unsigned bits = 0;
        if (s.useReference && (s.refFilter < 100 || s.refFilter > 999)) bits |= 1;
        if (s.measFilter < 100 || s.measFilter > 999) bits |= 2;
        if (bits) {
            std::vector<int> ids;
            if (bits & 2) ids.push_back(3258);
            if (bits & 1) ids.push_back(3259);
            ids.push_back(kContinueQuestion);
            if (!AskContinue(this, Question(ids))) return false;
        }
        wiz_.WriteSettings();
        return true;
    }

private:
    // The method's filter is shown even when the reader's table lacks it.
    static void Select(TComboBox& box, int filter)
    {
        if (filter <= 0) return;
        const std::string text = std::to_string(filter);
        for (int i = 0; i < box.GetCount(); ++i)
            if (box.GetString(i) == text) {
                box.SetSelIndex(i);
                return;
            }
        box.SetSelIndex(box.AddString(text));
    }

    void ShowReference()
    {
        const bool on = IsChecked(this, 803);
        Show(this, 801, on);
        Show(this, 804, on);
    }

    void OptionsCaption()
    {
        if (!gReader) return;
        char buffer[64];
        SetDlgItemText(806, gReader->GetOptionsText(buffer, sizeof buffer, st().readerOptions));
    }

    TComboBox* meas_;
    TComboBox* ref_;
};

}  // namespace

QWizzAll::QWizzAll(TWindow* parent, const QPlate* plate_) : TPropertySheet(parent, kSheetResId, TPoint(4, 4)), plate(plate_)
{
    const bool stored = plate && plate->calibr.stored;
    const bool standards = plate && plate->stdInUse;
    st.mode = stored ? 2 : standards ? 1 : 0;
    startPage_ = st.mode == 0 ? kCategoriesPage : kCurveFitPage;
    InstallExpressionWizard();
    AddPage(new QWizzCurveFit(*this));
    AddPage(new QWizzCategories(*this));
    AddPage(new QWizzPresentation(*this));
    AddPage(new QWizzComposition(*this));
    AddPage(new QWizzValidation(*this));
    AddPage(new QWizzMeasurement(*this));
    SendHelpToOwner(*this);
}

void QWizzAll::ForgetPosition() { sPosition = TPoint(-1, -1); }

void QWizzAll::SetupWindow()
{
    TPropertySheet::SetupWindow();
    // The wizard's own buttons lead to the wizard's topic, not on to the main window's.
    for (int id : {ID_PSBACK, ID_PSNEXT, ID_PSFINISH, IDCANCEL})
        if (TWindow* button = GetDlgItem(id)) button->SetContextHelpId(kHelpId);
    if (startPage_ != 0) SetActivePage(startPage_);
    if (sPosition.x != -1 || sPosition.y != -1)
        SetWindowPos(nullptr, sPosition.x, sPosition.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
}

void QWizzAll::CleanupWindow()
{
    const TRect r = GetWindowRect();
    sPosition = TPoint(r.left, r.top);
    TPropertySheet::CleanupWindow();
}

}  // namespace vyn
