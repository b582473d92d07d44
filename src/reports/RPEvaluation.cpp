// Evaluating a report run: conditions and contents of every object instance, per page, with
// the report's pool chained before the plate's; errors go to the run's "Status" dialog.
#include <cstdio>

#include "document/DocShell.h"
#include "document/QDoc.h"
#include "evaluator/NumFormat.h"
#include "evaluator/QExcErr.h"
#include "evaluator/TEvaluator.h"
#include "plate/CellPool.h"
#include "plate/QPlate.h"
#include "plate/QSample.h"
#include "plate/Utilities.h"
#include "platform/core/StringTable.h"
#include "reports/RPObjectGraph.h"
#include "reports/RPObjectTextBox.h"
#include "reports/RPReport.h"
#include "reports/RPRun.h"
#include "reports/ReportStrings.h"

namespace vyn {

namespace {

bool EqualNoCase(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return i == a.size() && b[i] == 0;
}

std::string FormatNumber(double v, const RPNumFormat& f)
{
    // A text box always carries a kind of its own; only a format read as "none" lands here,
    // and it prints in the general form with its digits.
    const int mode = (f.kind >= 0 && f.kind <= 2) ? f.kind : 0;
    return FormatDouble(v, mode, f.decimals, f.digits, 0);
}

std::string ValueText(const TStackVal& v, const RPNumFormat& f)
{
    if (v.IsNumber()) return FormatNumber(v.Number(), f);
    if (v.IsText()) return v.Text();
    if (v.IsVector()) {
        std::string s = "{";
        const int n = v.Count();
        for (int i = 0; i < n; ++i) {
            if (i) s += ";";
            s += v.HasNumbers() && !v.IsTextVector() ? FormatNumber(v.NumberAt(i), f) : v.TextAt(i);
        }
        return s + "}";
    }
    return {};
}

// The condition text after blanks and one optional "=".
std::string_view ConditionBody(const std::string& text)
{
    std::string_view s(text);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    if (!s.empty() && s.front() == '=') s.remove_prefix(1);
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

}  // namespace

// --- instances ---

RPObjInst::RPObjInst(RPSecInst& owner, RPObject& object) : owner_(owner), object_(object) {}

RPReport& RPObjInst::Report() const { return owner_.report; }

RPObjInstTextBox::RPObjInstTextBox(RPSecInst& owner, RPObjectTextBox& box) : RPObjInst(owner, box)
{
    visibility = viNotEvaluated;
    contentState = 0;
}

RPObjectTextBox& RPObjInstTextBox::Box() const { return static_cast<RPObjectTextBox&>(object_); }

RPObjInstGraph::RPObjInstGraph(RPSecInst& owner, RPObjectGraph& graph) : RPObjInst(owner, graph)
{
    visibility = viNotEvaluated;
    contentState = 0;
}

RPObjectGraph& RPObjInstGraph::Graph() const { return static_cast<RPObjectGraph&>(object_); }

int RPReport::RunStatus(IStatusReport& dialog, int& ignoreAll)
{
    const int id = dialog.Run();
    if (id == kStatusIgnoreThis) return 0;
    if (id == kStatusIgnoreAll) {
        ignoreAll = 1;
        return 0;
    }
    return 1;
}

int RPObjInst::Evaluate(TEvaluator* ev, int& ignoreAll)
{
    if (conditionDone) return 0;
    const std::string& cond = object_.GetCondition();
    std::string_view body = ConditionBody(cond);
    std::string_view trimmed = body;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.remove_suffix(1);
    if (trimmed.empty() || trimmed == "1") {
        visibility = viPrinted;
        conditionDone = true;
        return 0;
    }
    if (trimmed == "0") {
        visibility = viHidden;
        conditionDone = true;
        return 0;
    }
    if (!ev) {
        visibility = viPrinted;
        conditionDone = true;
        return 0;
    }
    RPReport& rep = Report();
    const int rc = ev->Evaluate(body);
    if (rc == 1) {
        visibility = viPrinted;
        conditionDone = true;
        return 0;
    }
    if (rc == 0 && ev->Result().IsNumber()) {
        visibility = ev->Result().Number() != 0.0 ? viPrinted : viHidden;
        return 0;
    }
    visibility = viCondError;
    conditionDone = true;
    if (ignoreAll || !rep.status_) return 0;
    rep.status_->SetTitle(GetResStringStd(kStrCondError));
    const std::string detail = rc == 0 ? GetResStringStd(kStrCondError) : QExcErr().GetText();
    rep.status_->AddErrorDetail(GetResStringStd(kStrCond), std::string(body), detail);
    return rep.RunStatus(*rep.status_, ignoreAll);
}

int RPObjInstTextBox::Evaluate(TEvaluator* ev, int& ignoreAll)
{
    if (RPObjInst::Evaluate(ev, ignoreAll) != 0) return 1;
    if (visibility != viPrinted || contentDone) return 0;
    const std::string& contents = Box().GetContents();
    std::size_t i = 0;
    while (i < contents.size() && contents[i] == ' ') ++i;
    if (!ev || i >= contents.size() || contents[i] != '=') {
        text = contents;
        contentState = 1;
        contentDone = true;
        return 0;
    }
    const std::string_view expr = std::string_view(contents).substr(i + 1);
    const int rc = ev->Evaluate(expr);
    if (rc == 1) {
        text.clear();
        contentState = 1;
        contentDone = true;
        return 0;
    }
    if (rc != 0) {
        text.clear();
        contentState = -1;
        contentDone = true;
        RPReport& rep = Report();
        if (ignoreAll || !rep.status_) return 0;
        rep.status_->SetTitle(GetResStringStd(kStrTextBoxError));
        rep.status_->AddErrorDetail("", std::string(expr), QExcErr().GetText());
        return rep.RunStatus(*rep.status_, ignoreAll);
    }
    text = ValueText(ev->Result(), Box().GetFormat());
    contentState = 1;
    return 0;
}

int RPObjInstGraph::Evaluate(TEvaluator* ev, int& ignoreAll)
{
    if (RPObjInst::Evaluate(ev, ignoreAll) != 0) return 1;
    if (visibility != viPrinted || contentDone) return 0;
    contentDone = true;
    sampleIndex = -1;
    RPReport& rep = Report();
    QPlate* plate = rep.Plate();
    if (!ev || !plate) {
        contentState = 1;
        return 0;
    }
    const QRSource& src = object_.GetSource();
    QSample* sample = nullptr;
    if (src.kind == srSample) {
        sample = plate->FindSampleById(src.id);
    } else if ((src.kind == srDefault || src.kind == srCell) && owner_.sample >= 0) {
        if (owner_.sample < plate->sampleCount) sample = plate->GetSample(owner_.sample);
    } else {
        contentState = 1;
        return 0;
    }
    if (!sample) {
        contentState = -1;
        return 0;
    }
    if (sample->kind != skQuantitative) {
        contentState = -1;
        if (ignoreAll || !rep.status_) return 0;
        rep.status_->SetTitle(GetResStringStd(kStrGraphError));
        std::string label;
        if (sample->IsSequential()) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%2d", sample->SeqNumber());
            label = buf;
        } else {
            label = IndexToLetters(sample->index);
        }
        const std::string whole = label + ": " + sample->ident;
        if (whole.size() < 64) {
            rep.status_->AddMessage(whole);
        } else {
            rep.status_->AddMessage(label);
            rep.status_->AddMessage(sample->ident);
        }
        rep.status_->AddMessage(GetResStringStd(kStrNotQuantitative));
        return rep.RunStatus(*rep.status_, ignoreAll);
    }
    sampleIndex = sample->index;
    contentState = 1;
    return 0;
}

int RPSecInst::Evaluate(TEvaluator* ev, int& ignoreAll)
{
    if (evaluatedPage == page) return 0;
    evaluatedPage = page;
    QPlate* plate = report.Plate();
    for (auto& inst : objects) {
        if (!ev || !plate) {
            if (inst->Evaluate(nullptr, ignoreAll) != 0) return 1;
            continue;
        }
        const std::uint32_t depth = ev->PoolDepth();
        const QRSource& src = inst->Object().GetSource();
        std::unique_ptr<TCellPool> cell;
        int abort = 0;
        bool evaluate = true;
        if (src.kind == srDefault) {
            if (sample >= 0 && sample < plate->sampleCount) {
                QSample* s = plate->GetSample(sample);
                ev->AddVarPool(s);
                ev->AddFuncPool(s);
            }
        } else if (src.kind == srCell) {
            cell = std::make_unique<TCellPool>(plate, src.column, src.row);
            ev->AddVarPool(cell.get());
            ev->AddFuncPool(cell.get());
        } else if (src.kind == srSample) {
            QSample* s = plate->FindSampleById(src.id);
            if (s) {
                ev->AddVarPool(s);
                ev->AddFuncPool(s);
            } else {
                evaluate = false;
                inst->visibility = viCondError;
                inst->conditionDone = true;
                if (!ignoreAll && report.status_) {
                    report.status_->SetTitle(GetResStringStd(kStrCondError));
                    report.status_->AddMessage(GetResStringStd(kStrNoSample));
                    report.status_->AddMessage(src.id);
                    abort = report.RunStatus(*report.status_, ignoreAll);
                }
            }
        }
        if (evaluate) abort = inst->Evaluate(ev, ignoreAll);
        ev->RestorePoolDepth(depth);
        if (abort) return 1;
    }
    return 0;
}

int RPReport::EvaluateAll()
{
    if (print_.pageCount == 0) return 0;
    std::unique_ptr<IStatusReport> dialog = GetRPRunShell().makeStatus ? GetRPRunShell().makeStatus() : MakeStatusReport();
    status_ = dialog.get();
    // The run's errors pile up: each one shows beside those the user already let pass.
    status_->KeepEarlierLines();
    int ignoreAll = 0;
    std::unique_ptr<TEvaluator> ev;
    if (plate_) {
        ev = std::make_unique<TEvaluator>();
        ev->AddVarPool(plate_);
        ev->AddFuncPool(plate_);
        ev->AddVarPool(this);
        ev->AddFuncPool(this);
    }
    int result = 0;
    for (int k = 1; k <= print_.pageCount && !result; ++k) {
        currentPage_ = k;
        RPPage& p = *pages_[static_cast<std::size_t>(k - 1)];
        if (p.headerShown && p.header.Evaluate(ev.get(), ignoreAll)) result = 1;
        if (!result && p.footerShown && p.footer.Evaluate(ev.get(), ignoreAll)) result = 1;
        for (int i = p.first; i <= p.last && !result; ++i)
            if (secInsts_[static_cast<std::size_t>(i)]->Evaluate(ev.get(), ignoreAll)) result = 1;
    }
    // The evaluator unlinks the pools before the dialog goes.
    ev.reset();
    status_ = nullptr;
    return result;
}

bool RPReport::GetVar(TStackVal& value)
{
    const std::string& name = value.Name();
    if (EqualNoCase(name, "page")) {
        value.SetNumber(currentPage_);
        return true;
    }
    if (EqualNoCase(name, "pages")) {
        value.SetNumber(print_.pageCount);
        return true;
    }
    if (EqualNoCase(name, "filename")) {
        value.SetText(doc_ ? doc_->GetTitle() : std::string());
        return true;
    }
    if (EqualNoCase(name, "filepath")) {
        value.SetText(doc_ ? doc_->GetDocPath() : std::string());
        return true;
    }
    if (EqualNoCase(name, "report")) {
        value.SetText(name_);
        return true;
    }
    return TVarPool::GetVar(value);
}

bool RPReport::CallFunc(TStackVal* args, int count) { return TFuncPool::CallFunc(args, count); }

TRect RPReport::PenExtent(int n) const
{
    const int d = printX_.FromTwips(n * 20), e = printY_.FromTwips(n * 20);
    const int h = d / 2 + 1, v = e / 2 + 1;
    return TRect(d == 0 ? 0 : -(d - h), e == 0 ? 0 : -(e - v), h, v);
}

int RPObjInst::PrepareGeometry(std::string& marker)
{
    RPReport& rep = Report();
    const RPScale& sx = rep.PrintScaleX();
    const RPScale& sy = rep.PrintScaleY();
    const int t0 = owner_.sliceTop;
    const RPObject& o = object_;
    objRect = TRect(sx.FromTwips(o.GetLeft()), sy.FromTwips(o.GetTop() - t0), sx.FromTwips(o.GetLeft() + o.GetWidth()),
                    sy.FromTwips(o.GetTop() + o.GetHeight() - t0));
    // An object without a border style (a line) is laid out as one without a border.
    const bool bordered = o.HasAttr(acBorderStyle) && o.GetBorderStyle() != 0;
    borderMode = !bordered ? 0 : (o.GetBorderLnStyle() == 0 && o.GetBorderWidth() != 0 ? 2 : 1);
    const TRect one = rep.PenExtent(1);
    auto emptyIfFlat = [](TRect r) { return (r.right <= r.left || r.bottom <= r.top) ? TRect(0, 0, 0, 0) : r; };
    outer = TRect(objRect.left, objRect.top, objRect.right + 1, objRect.bottom + 1);
    if (borderMode == 0) {
        inner = outer;
        insetX = insetY = 0;
    } else if (borderMode == 1) {
        inner = emptyIfFlat(TRect(outer.left + 1, outer.top + 1, outer.right - 1, outer.bottom - 1));
        insetX = one.Width();
        insetY = one.Height();
    } else {
        const TRect p = rep.PenExtent(o.GetBorderWidth());
        outer = TRect(objRect.left + p.left, objRect.top + p.top, objRect.right + p.right, objRect.bottom + p.bottom);
        inner = emptyIfFlat(TRect(objRect.left + p.right, objRect.top + p.bottom, objRect.right + p.left, objRect.bottom + p.top));
        insetX = std::max(one.Width(), p.Width() / 2);
        insetY = std::max(one.Height(), p.Height() / 2);
    }
    marker.clear();
    if (visibility == viPrinted && contentState == 1) return 0;
    if (visibility == viPrinted && contentState == 0) marker = "?";
    else if (visibility == viPrinted && contentState == -1) marker = "#ERR#";
    else if (visibility == viNotEvaluated) marker = "?";
    else if (visibility == viCondError) marker = "#C#";
    return 1;
}

}  // namespace vyn
