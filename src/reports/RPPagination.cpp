// Laying a report run out: band instances per sample, cut at page breaks or set in columns,
// distributed over pages in device units.
#include <algorithm>

#include "plate/QPlate.h"
#include "reports/RPReport.h"
#include "reports/RPRun.h"

namespace vyn {

RPSecInst::RPSecInst(RPReport& report_, RPSection& band_, int sample_)
    : report(report_), band(band_), sample(sample_), width(report_.Width()), height(band_.StoredHeight())
{
}

void RPSecInst::CreateObjectInstances()
{
    objects.clear();
    const bool lastSlice = (flags & siLastSlice) != 0;
    for (const auto& o : band.Objects()) {
        if (o->GetType() == otPageBreak) continue;
        const int l = o->GetLeft(), t = o->GetTop();
        const int bottom = sliceTop + height + (lastSlice ? 1 : 0);
        if (l < 0 || l >= width + 24 || t < sliceTop || t >= bottom) continue;
        if (auto inst = o->CreateInstance(*this)) objects.push_back(std::move(inst));
    }
}

RPPage::RPPage(RPReport& report_)
    : report(report_), header(report_, report_.Band(bandPageHeader), -1), footer(report_, report_.Band(bandPageFooter), -1)
{
    header.flags = footer.flags = siFirstSlice | siLastSlice;
    if (header.band.Enabled()) header.CreateObjectInstances();
    if (footer.band.Enabled()) footer.CreateObjectInstances();
}

RPPage* RPReport::Page(int n) const
{
    if (n < 1 || n > print_.pageCount || n > static_cast<int>(pages_.size())) return nullptr;
    return pages_[static_cast<std::size_t>(n - 1)].get();
}

void RPReport::DeleteRunState()
{
    secInsts_.clear();
    pages_.clear();
    print_.pageCount = 0;
}

void RPReport::Paginate()
{
    if (!print_.keepLayout) {
        if (plate_) {
            firstSeq_ = plate_->fixedCount;
            seqCount_ = plate_->sampleCount - plate_->fixedCount;
        } else {
            int fixed = firstSeq_ >= 0 ? firstSeq_ : 3;
            int seq = firstSeq_ >= 0 ? seqCount_ : 45;
            if (GetRPRunShell().fakeSamples) GetRPRunShell().fakeSamples(fixed, seq);
            firstSeq_ = fixed;
            seqCount_ = seq;
        }
        pages_.clear();
        print_.pageCount = 0;
    }
    const bool relayout = !print_.keepLayout || printX_.UnitsPerInch() != print_.dpiX ||
                          printY_.UnitsPerInch() != print_.dpiY || !(print_.pageRect == lastPageRect_);
    printX_.SetUnitsPerInch(print_.dpiX);
    printY_.SetUnitsPerInch(print_.dpiY);
    lastPageRect_ = print_.pageRect;
    if (!print_.keepLayout) BuildSectionInstances();
    if (relayout) {
        const int before = print_.pageCount;
        SplitIntoPages();
        if (print_.pageCount != before) {
            for (int k = 1; k <= print_.pageCount; ++k) {
                RPPage& p = *pages_[static_cast<std::size_t>(k - 1)];
                p.header.evaluatedPage = p.footer.evaluatedPage = 0;
                for (int i = p.first; i <= p.last; ++i) secInsts_[static_cast<std::size_t>(i)]->evaluatedPage = 0;
            }
        }
        if (EvaluateAll() != 0) print_.pageCount = 0;
    }
}

void RPReport::FreePages()
{
    if (!print_.keepLayout) DeleteRunState();
}

void RPReport::BuildSectionInstances()
{
    secInsts_.clear();
    auto markForce = [this](std::size_t from, const RPSection& band) {
        if (secInsts_.size() <= from) return;
        const int f = band.GetForceNewPage();
        if (f == 1 || f == 3) secInsts_[from]->flags |= siNewPageBefore;
        if (f == 2 || f == 3) secInsts_.back()->flags |= siNewPageAfter;
    };
    RPSection& rh = Band(bandReportHeader);
    if (rh.Enabled()) {
        const std::size_t from = secInsts_.size();
        AddBandSlices(rh, -1);
        markForce(from, rh);
    }
    RPSectionDetail& detail = Detail();
    if (detail.Enabled()) {
        const std::size_t from = secInsts_.size();
        const int s = detail.GetDetailSamples() == 0 ? 0 : firstSeq_;
        const int end = firstSeq_ + seqCount_;
        for (int i = std::max(s, 0); i < end; ++i) {
            if (detail.GetNOfColumns() < 2) AddBandSlices(detail, i);
            else AddBandColumnInstance(detail, i);
        }
        markForce(from, detail);
    }
    RPSection& rf = Band(bandReportFooter);
    if (rf.Enabled()) {
        const std::size_t from = secInsts_.size();
        AddBandSlices(rf, -1);
        markForce(from, rf);
    }
    for (auto& si : secInsts_) si->CreateObjectInstances();
}

int RPReport::AddBandSlices(RPSection& band, int sample)
{
    bool breakAtTop = false;
    for (const auto& o : band.Objects())
        if (o->GetType() == otPageBreak && o->GetTop() == 0) breakAtTop = true;
    int top = 0, added = 0;
    for (;;) {
        int bottom = band.StoredHeight();
        bool found = false;
        for (const auto& o : band.Objects()) {
            if (o->GetType() != otPageBreak) continue;
            const int t = o->GetTop();
            if (t > top && t <= bottom) {
                bottom = t;
                found = true;
            }
        }
        auto si = std::make_unique<RPSecInst>(*this, band, sample);
        si->height = bottom - top;
        si->sliceTop = top;
        if (top == 0) si->flags |= siFirstSlice;
        if (!found) si->flags |= siLastSlice;
        if (top != 0 || (added == 0 && breakAtTop)) si->flags |= siNewPageBefore;
        secInsts_.push_back(std::move(si));
        ++added;
        top = bottom;
        if (!found) break;
    }
    return added;
}

void RPReport::AddBandColumnInstance(RPSection& band, int sample)
{
    auto si = std::make_unique<RPSecInst>(*this, band, sample);
    si->flags = siFirstSlice | siLastSlice;
    const int n = Detail().GetNOfColumns();
    si->width = width_ / n;
    si->height = band.StoredHeight();
    secInsts_.push_back(std::move(si));
}

void RPReport::SplitIntoPages()
{
    for (auto& si : secInsts_) {
        si->devWidth = printX_.FromTwips(si->width);
        si->devHeight = printY_.FromTwips(si->height);
    }
    int count = 0;
    std::size_t p = 0;
    while (p < secInsts_.size()) {
        if (static_cast<std::size_t>(count) >= pages_.size()) pages_.push_back(std::make_unique<RPPage>(*this));
        ++count;
        p += static_cast<std::size_t>(pages_[static_cast<std::size_t>(count - 1)]->Fill(count, static_cast<int>(p)));
    }
    print_.pageCount = count;
}

static int BandColumns(const RPSection& band) { return band.Index() == bandDetail ? band.GetNOfColumns() : 1; }

int RPPage::CountFitting(int available, int f)
{
    auto& insts = report.secInsts_;
    const int n = static_cast<int>(insts.size());
    auto at = [&insts](int i) -> RPSecInst& { return *insts[static_cast<std::size_t>(i)]; };
    int count = 1, i = f;
    int used = at(f).devHeight;
    at(f).column = 0;
    auto rowFill = [&]() {
        const int cols = BandColumns(at(i).band);
        if (cols < 2) return;
        for (int col = 1; col < cols && i < n - 1 && BandColumns(at(i + 1).band) >= 2; ++col) {
            at(i + 1).column = col;
            ++count;
            ++i;
        }
    };
    rowFill();
    for (;;) {
        if (i >= n - 1) return count;
        if (at(i).flags & siNewPageAfter) return count;
        if (at(i + 1).flags & siNewPageBefore) return count;
        if (used + at(i + 1).devHeight > available) return count;
        ++count;
        used += at(i + 1).devHeight;
        at(i + 1).column = 0;
        ++i;
        rowFill();
    }
}

int RPPage::Fill(int k, int f)
{
    pageNumber = k;
    const TRect& page = report.print_.pageRect;
    const RPScale& sx = report.printX_;
    const RPScale& sy = report.printY_;
    auto& insts = report.secInsts_;
    auto at = [&insts](int i) -> RPSecInst& { return *insts[static_cast<std::size_t>(i)]; };
    const bool hdEnabled = header.band.Enabled(), ftEnabled = footer.band.Enabled();
    if (hdEnabled) {
        header.devWidth = sx.FromTwips(header.width);
        header.devHeight = sy.FromTwips(header.height);
        header.devX = page.left;
        header.devY = page.top;
        header.page = k;
    }
    if (ftEnabled) {
        footer.devWidth = sx.FromTwips(footer.width);
        footer.devHeight = sy.FromTwips(footer.height);
        footer.devX = page.left;
        footer.devY = page.bottom - footer.devHeight;
        footer.page = k;
    }
    headerShown = footerShown = false;
    bool deferHeader = false, deferFooter = false;
    first = last = f;
    const bool notRH = at(f).band.Index() != bandReportHeader;
    auto decide = [notRH](int mode, bool& shown, bool& defer) {
        switch (mode) {
        case 0: shown = true; break;
        case 1: shown = notRH; break;
        case 2: defer = true; break;
        case 3: defer = notRH; break;
        default: break;
        }
    };
    if (hdEnabled) decide(header.band.GetHdFtPresent(), headerShown, deferHeader);
    if (ftEnabled) decide(footer.band.GetHdFtPresent(), footerShown, deferFooter);
    int available = page.bottom - page.top;
    if (headerShown) available -= header.devHeight;
    if (footerShown) available -= footer.devHeight;
    int count = CountFitting(available, f);
    last = f + count - 1;
    if (at(last).band.Index() != bandReportFooter && (deferHeader || deferFooter)) {
        if (deferHeader) {
            headerShown = true;
            available -= header.devHeight;
        }
        if (deferFooter) {
            footerShown = true;
            available -= footer.devHeight;
        }
        count = CountFitting(available, f);
        last = f + count - 1;
    }
    for (int i = first; i <= last; ++i) at(i).page = k;
    int y = page.top + (headerShown ? sy.FromTwips(header.band.StoredHeight()) : 0);
    const int width = report.Width();
    for (int i = first; i <= last; ++i) {
        RPSecInst& si = at(i);
        const int cols = BandColumns(si.band);
        si.devX = page.left + (cols != 0 ? sx.FromTwips(si.column * width / cols) : 0);
        si.devY = y;
        if (i < last && at(i + 1).column == 0) y += si.devHeight;
    }
    const RPSectionDetail& detail = report.Detail();
    const int n = detail.GetNOfColumns();
    if (detail.Enabled() && n > 1 && detail.GetColumnLayout() == 0) {
        int i0 = first;
        while (i0 <= last && BandColumns(at(i0).band) < 2) ++i0;
        if (i0 <= last) {
            int i1 = i0;
            while (i1 + 1 <= last && BandColumns(at(i1 + 1).band) >= 2) ++i1;
            const int m = i1 - i0 + 1;
            const int rows = (m + n - 1) / n;
            const int y0 = at(i0).devY;
            for (int kk = 0; kk < m; ++kk) {
                RPSecInst& si = at(i0 + kk);
                si.column = kk / rows;
                si.devX = page.left + sx.FromTwips(si.column * width / n);
                si.devY = y0 + si.devHeight * (kk % rows);
            }
        }
    }
    return last - first + 1;
}

}  // namespace vyn
