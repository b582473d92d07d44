#include "plate/QPlate.h"

#include <algorithm>

#include "evaluator/NoValue.h"
#include "plate/FilterTable.h"
#include "plate/PlateSettings.h"
#include "plate/Utilities.h"

namespace vyn {

bool gPlateLevelEvaluation = false;

QPlate::QPlate() : globSample(this), stdSample(this)
{
    blankValue.SetName("gblank");
    const QFilterTable& filters = QFilterTable::Instance();
    if (filters.GetFilterCount() > 0) {
        measFilter = filters.GetFilter(0);
        refFilter = measFilter;
    }
    SetSize(12, 8);
}

QPlate::~QPlate()
{
    // The samples go first: their destructors must not find freed wells.
    samples.clear();
}

void QPlate::SetSize(int columns_, int rows_)
{
    if (columns_ < 1) columns_ = 1;
    if (rows_ < 1) rows_ = 1;
    const int n = columns_ * rows_;
    rst.Reset(n);
    if (n != wellCount) {
        samples.clear();
        samples.resize(static_cast<std::size_t>(n));
        wells.assign(static_cast<std::size_t>(n), QWellRecord{});
    }
    columns = columns_;
    rows = rows_;
    wellCount = n;
    sampleCount = 0;
    fixedCount = 0;
    samplesWithResults = 0;
}

std::string QPlate::FormatWellName(int i) const
{
    if (!IsWell(i)) return "?";
    return IndexToLetters(i / columns) + std::to_string(i % columns + 1);
}

std::string QPlate::FormatMeasured(int i) const
{
    if (!IsWell(i)) return {};
    return FormatDouble(wells[static_cast<std::size_t>(i)].measured, measuredFormat);
}

std::string QPlate::FormatData(int i) const
{
    if (!IsWell(i)) return {};
    return FormatDouble(wells[static_cast<std::size_t>(i)].data, dataFormat);
}

std::string QPlate::SampleResultText(const QSample& sample, bool& isText) const
{
    isText = true;
    const QPlateSettings& settings = PlateSettings();
    switch (sample.resultState) {
    case rsNotCalculated: return {};
    case rsCalculated: {
        if (sample.results.empty()) return {};
        const TStackVal& r = sample.results.back();
        if (r.IsVector()) return "?";
        if (r.IsText()) return r.Text();
        if (r.IsNumber()) {
            isText = false;
            return FormatDouble(r.Number(), resultsFormat);
        }
        return {};
    }
    case rsUnder: return settings.resUnder;
    case rsOver: return settings.resOver;
    default: return settings.resError;
    }
}

std::string QPlate::WellResultText(const QSample& sample, bool& isText) const
{
    if (sample.shortSelected && sample.shortIndex >= 0 && sample.shortIndex < sample.ResultCount()) {
        isText = true;
        const TStackVal& r = sample.results[static_cast<std::size_t>(sample.shortIndex)];
        if (r.IsError()) return PlateSettings().resError;
        if (r.IsText()) return r.Text();
        isText = false;
        return FormatDouble(r.Number(), resultsFormat);
    }
    return SampleResultText(sample, isText);
}

void QPlate::MarkUsedDescriptors()
{
    for (auto& d : descs) d->kind &= ~0x8000u;
    for (const QWellRecord& w : wells) {
        if (!w.sample || w.position < 0 || w.position >= w.sample->WellCount()) continue;
        QDesc* d = w.sample->wells[static_cast<std::size_t>(w.position)].desc;
        if (d) d->kind |= 0x8000u;
    }
}

QSample* QPlate::GetSample(int i) const
{
    if (i < 0 || i >= sampleCount) return nullptr;
    return samples[static_cast<std::size_t>(i)].get();
}

int QPlate::InsertSample(std::unique_ptr<QSample> sample, int index, bool fixed)
{
    if (!sample || sampleCount >= wellCount) return -1;
    if (fixed ? (index < 0 || index > fixedCount) : (index < fixedCount || index > sampleCount)) return -1;
    for (int j = sampleCount; j > index; --j) {
        samples[static_cast<std::size_t>(j)] = std::move(samples[static_cast<std::size_t>(j - 1)]);
        samples[static_cast<std::size_t>(j)]->index = j;
        rst.MarkSample(j);
        samples[static_cast<std::size_t>(j)]->MarkWellsChanged();
    }
    sample->plate = this;
    sample->index = index;
    samples[static_cast<std::size_t>(index)] = std::move(sample);
    rst.MarkSample(index);
    ++sampleCount;
    if (fixed) ++fixedCount;
    return index;
}

std::unique_ptr<QSample> QPlate::RemoveSample(int i)
{
    if (i < 0 || i >= sampleCount) return nullptr;
    std::unique_ptr<QSample> removed = std::move(samples[static_cast<std::size_t>(i)]);
    if (removed) {
        // Wells left bound to the sample would point at an object the table no longer holds.
        removed->UnlinkWells();
        if (removed->HasResults() && samplesWithResults > 0) --samplesWithResults;
    }
    for (int j = i + 1; j < sampleCount; ++j) {
        auto& from = samples[static_cast<std::size_t>(j)];
        rst.MarkSample(j);
        if (from) {
            from->MarkWellsChanged();
            from->index = j - 1;
        }
        samples[static_cast<std::size_t>(j - 1)] = std::move(from);
    }
    if (i < fixedCount) --fixedCount;
    --sampleCount;
    return removed;
}

QSample* QPlate::FindSampleById(std::string_view text) const
{
    for (int i = 0; i < fixedCount && i < sampleCount; ++i) {
        QSample* s = samples[static_cast<std::size_t>(i)].get();
        if (!s) continue;
        const std::string& id = s->ident;
        if (id.size() < text.size()) continue;
        if (!EqualNoCase(std::string_view(id).substr(0, text.size()), text)) continue;
        if (id.size() == text.size() || id[text.size()] == ' ') return s;
    }
    return nullptr;
}

}  // namespace vyn
