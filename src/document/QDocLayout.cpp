// Layout and sample editing: which wells belong to which sample, the order and kind of the
// samples in the list, their identifications and the values typed in or measured. No
// operation recalculates; each leaves the results it makes stale invalidated.
#include <algorithm>

#include "document/QDoc.h"
#include "document/WellIterators.h"
#include "plate/QDesc.h"
#include "plate/QNSample.h"
#include "plate/QQSample.h"
#include "platform/core/Clock.h"

namespace vyn {

namespace {

struct BlockShape {
    int width;
    int height;
};

BlockShape ShapeOf(int arrangement)
{
    switch (arrangement) {
    case arDoubletsAcross: return {2, 1};
    case arDoubletsDown: return {1, 2};
    default: return {1, 1};
    }
}

bool IsFree(const QPlate& plate, int well)
{
    return plate.IsWell(well) && plate.wells[static_cast<std::size_t>(well)].sample == nullptr;
}

// The replicate wells of a block whose top-left well is given.
std::vector<int> Replicates(const QPlate& plate, int topLeft, int arrangement)
{
    switch (arrangement) {
    case arDoubletsAcross: return {topLeft, topLeft + 1};
    case arDoubletsDown: return {topLeft, topLeft + plate.columns};
    default: return {topLeft};
    }
}

bool AllFree(const QPlate& plate, const std::vector<int>& wells)
{
    return std::all_of(wells.begin(), wells.end(), [&](int w) { return IsFree(plate, w); });
}

void Bind(QPlate& plate, QSample& sample, int well, int position)
{
    QWellRecord& w = plate.wells[static_cast<std::size_t>(well)];
    w.sample = &sample;
    w.position = position;
}

// A run of well entries and the rectangle around their wells: the block a repeat lays out.
struct Pattern {
    std::vector<QSegm> entries;
    int top = 0, left = 0, width = 1, height = 1;
};

Pattern MakePattern(const QPlate& plate, std::vector<QSegm> entries)
{
    Pattern p;
    p.entries = std::move(entries);
    int top = plate.rows, left = plate.columns, bottom = -1, right = -1;
    for (const QSegm& e : p.entries) {
        const int r = e.well / plate.columns, c = e.well % plate.columns;
        top = std::min(top, r);
        bottom = std::max(bottom, r);
        left = std::min(left, c);
        right = std::max(right, c);
    }
    p.top = top;
    p.left = left;
    p.width = right - left + 1;
    p.height = bottom - top + 1;
    return p;
}

// The pattern's wells moved so that its rectangle's top-left corner lies on the well.
std::vector<int> MovedWells(const QPlate& plate, const Pattern& p, int topLeft)
{
    const int dr = topLeft / plate.columns - p.top;
    const int dc = topLeft % plate.columns - p.left;
    std::vector<int> wells;
    wells.reserve(p.entries.size());
    for (const QSegm& e : p.entries) wells.push_back(e.well + dr * plate.columns + dc);
    return wells;
}

bool IsSelected(const std::vector<unsigned char>& selection, int well)
{
    return well >= 0 && static_cast<std::size_t>(well) < selection.size() &&
           (selection[static_cast<std::size_t>(well)] & 1) != 0;
}

// Takes the selected wells out of a sample: unbinds its wells, drops the selected entries
// and binds the rest again. Answers whether the sample had a selected well.
bool TakeSelected(QPlate& plate, QSample& sample, const std::vector<unsigned char>& selection)
{
    const bool any = std::any_of(sample.wells.begin(), sample.wells.end(),
                                 [&](const QSegm& e) { return IsSelected(selection, e.well); });
    if (!any) return false;
    sample.MarkWellsChanged();
    if (sample.index >= 0 && plate.GetSample(sample.index) == &sample) plate.rst.MarkSample(sample.index);
    sample.UnlinkWells();
    for (std::size_t i = sample.wells.size(); i-- > 0;) {
        if (IsSelected(selection, sample.wells[i].well)) sample.wells.erase(sample.wells.begin() + static_cast<long>(i));
    }
    sample.LinkWells();
    return true;
}

}  // namespace

int QDoc::PlaceSampleAt(QSample* sample, QDesc* desc, int group, int from, int to, bool byColumns)
{
    QPlate& p = fPlate;
    if (!desc) return -1;
    const std::uint32_t kind = desc->SampleKind();
    if (!sample && kind != skGlobal && kind != skQualitative && kind != skStandard && kind != skQuantitative)
        return -1;

    WellRangeIterator range;
    int free = 0;
    for (int w = range.Start(p, from, to, byColumns); w >= 0; w = range.Next()) {
        if (IsFree(p, w)) ++free;
    }
    if (free == 0) return -1;

    // A dilution or standard level below the last one goes in among the entries, behind
    // those of its own group; one further up is the next group.
    int insertAt = -1;
    if (sample && (sample->kind & (skStandard | skQuantitative)) != 0) {
        const int next = sample->wells.empty() ? 0 : sample->wells.back().group + 1;
        if (group > next) group = next;
        if (group < next) {
            const auto above = std::find_if(sample->wells.begin(), sample->wells.end(),
                                            [&](const QSegm& e) { return e.group > group; });
            insertAt = static_cast<int>(above - sample->wells.begin());
        }
    }

    ForgetRetired();
    p.rst.Reset(0);
    p.InvalidateAll();

    if (!sample) {
        if (kind == skGlobal) {
            sample = &p.globSample;
        } else if (kind == skStandard) {
            sample = &p.stdSample;
        } else {
            std::unique_ptr<QSample> made;
            if (kind == skQuantitative) made = std::make_unique<QNSample>(&p);
            else made = std::make_unique<QQSample>(&p);
            QSample* raw = made.get();
            const int index = p.InsertSample(std::move(made), p.sampleCount, false);
            if (index < 0) return -1;
            sample = raw;
            Notify(vnSampleAdded, index);
        }
    }
    if (sample == &p.globSample) p.globInUse = &p.globSample;
    if (sample == &p.stdSample) {
        p.stdInUse = &p.stdSample;
        p.rst.SetCalibrationChanged();
    }

    for (int w = range.Start(p, from, to, byColumns); w >= 0; w = range.Next()) {
        if (!IsFree(p, w)) continue;
        const QSegm entry{group, w, desc};
        const int position = insertAt >= 0 ? sample->InsertWellEntry(entry, insertAt++) : sample->AddWellEntry(entry);
        Bind(p, *sample, w, position);
    }

    sample->LinkWells();
    sample->MarkWellsChanged();
    if (sample->kind & (skQualitative | skQuantitative)) p.rst.MarkSample(sample->index);
    Notify(vnPlateChanged);
    SetDirty();
    return sample->index;
}

int QDoc::PlaceStandardAt(QStdSample* sample, QDesc* desc, int from, int to, bool byColumns, int arrangement)
{
    QPlate& p = fPlate;
    if (arrangement < arSingle || arrangement > arDoubletsDown || !desc) return -1;
    int group = (sample && !sample->wells.empty()) ? sample->wells.back().group + 1 : 0;

    const BlockShape shape = ShapeOf(arrangement);
    WellBlockIterator blocks;
    int placed = 0;
    for (int b = blocks.Start(p, shape.width, shape.height, from, to, byColumns); b >= 0; b = blocks.Next()) {
        const std::vector<int> wells = Replicates(p, b, arrangement);
        if (!AllFree(p, wells)) break;
        if (!sample) {
            sample = &p.stdSample;
            p.stdInUse = sample;
        }
        for (int w : wells) Bind(p, *sample, w, sample->AddWellEntry(QSegm{group, w, desc}));
        ++group;
        ++placed;
    }
    if (placed == 0) return -1;

    ForgetRetired();
    if (sample == &p.stdSample) p.stdInUse = &p.stdSample;
    p.rst.Reset(0);
    p.rst.SetCalibrationChanged();
    p.InvalidateAll();
    sample->LinkWells();
    sample->MarkWellsChanged();
    Notify(vnPlateChanged);
    SetDirty();
    return 0;
}

int QDoc::PlaceNewSampleAt(QDesc* desc, int from, int to, bool byColumns, int arrangement)
{
    QPlate& p = fPlate;
    if (arrangement < arSingle || arrangement > arDoubletsDown || !desc) return -1;
    const BlockShape shape = ShapeOf(arrangement);
    const bool quantitative = (desc->SampleKind() & skQuantitative) != 0;

    WellBlockIterator blocks;
    std::vector<QSample*> made;
    for (int b = blocks.Start(p, shape.width, shape.height, from, to, byColumns); b >= 0; b = blocks.Next()) {
        const std::vector<int> wells = Replicates(p, b, arrangement);
        if (!AllFree(p, wells)) break;
        std::unique_ptr<QSample> s;
        if (quantitative) s = std::make_unique<QNSample>(&p);
        else s = std::make_unique<QQSample>(&p);
        QSample* raw = s.get();
        const int index = p.InsertSample(std::move(s), p.sampleCount, false);
        if (index < 0) break;
        Notify(vnSampleAdded, index);
        for (int w : wells) Bind(p, *raw, w, raw->AddWellEntry(QSegm{0, w, desc}));
        made.push_back(raw);
    }
    if (made.empty()) return -1;

    ForgetRetired();
    p.rst.Reset(0);
    p.InvalidateAll();
    for (QSample* s : made) {
        s->LinkWells();
        s->MarkWellsChanged();
        p.rst.MarkSample(s->index);
    }
    Notify(vnPlateChanged);
    SetDirty();
    return static_cast<int>(made.size());
}

bool QDoc::RepeatDilutionAt(QSample* sample, int from, int to, bool byColumns)
{
    QPlate& p = fPlate;
    if (!sample || (sample->kind & (skStandard | skQuantitative)) == 0 || sample->wells.empty()) return false;

    int group = sample->wells.back().group;
    auto first = sample->wells.end();
    while (first != sample->wells.begin() && std::prev(first)->group == group) --first;
    const Pattern pattern = MakePattern(p, std::vector<QSegm>(first, sample->wells.end()));

    WellBlockIterator blocks;
    int placed = 0;
    for (int b = blocks.Start(p, pattern.width, pattern.height, from, to, byColumns); b >= 0; b = blocks.Next()) {
        const std::vector<int> wells = MovedWells(p, pattern, b);
        if (!AllFree(p, wells)) break;
        ++group;
        for (std::size_t i = 0; i < wells.size(); ++i)
            Bind(p, *sample, wells[i], sample->AddWellEntry(QSegm{group, wells[i], pattern.entries[i].desc}));
        ++placed;
    }
    if (placed == 0) return false;

    ForgetRetired();
    p.rst.Reset(0);
    p.InvalidateAll();
    // New standard levels change the curve's points.
    if (sample->kind == skStandard) p.rst.SetCalibrationChanged();
    sample->LinkWells();
    sample->MarkWellsChanged();
    if (sample->kind == skQuantitative) p.rst.MarkSample(sample->index);
    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

bool QDoc::RepeatSampleAt(QSample* sample, int from, int to, bool byColumns)
{
    QPlate& p = fPlate;
    if (!sample || (sample->kind & (skQualitative | skQuantitative)) == 0 || sample->wells.empty()) return false;
    const Pattern pattern = MakePattern(p, sample->wells);

    WellBlockIterator blocks;
    std::vector<QSample*> made;
    for (int b = blocks.Start(p, pattern.width, pattern.height, from, to, byColumns); b >= 0; b = blocks.Next()) {
        const std::vector<int> wells = MovedWells(p, pattern, b);
        if (!AllFree(p, wells)) break;
        std::unique_ptr<QSample> copy;
        if (sample->kind == skQuantitative)
            copy = std::make_unique<QNSample>(&p, static_cast<const QNSample&>(*sample));
        else
            copy = std::make_unique<QQSample>(&p, static_cast<const QQSample&>(*sample));
        QSample* raw = copy.get();
        const int index = p.InsertSample(std::move(copy), p.sampleCount, false);
        if (index < 0) break;
        Notify(vnSampleAdded, index);
        for (std::size_t i = 0; i < wells.size(); ++i)
            Bind(p, *raw, wells[i],
                 raw->AddWellEntry(QSegm{pattern.entries[i].group, wells[i], pattern.entries[i].desc}));
        made.push_back(raw);
    }
    if (made.empty()) return false;

    ForgetRetired();
    p.rst.Reset(0);
    p.InvalidateAll();
    for (QSample* s : made) {
        s->LinkWells();
        s->MarkWellsChanged();
        p.rst.MarkSample(s->index);
    }
    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

bool QDoc::ClearSelectedWells(const std::vector<unsigned char>& selection)
{
    QPlate& p = fPlate;
    ForgetRetired();
    p.rst.Reset(0);
    p.InvalidateAll();

    for (int i = p.sampleCount - 1; i >= 0; --i) {
        QSample* s = p.GetSample(i);
        if (!s || !TakeSelected(p, *s, selection)) continue;
        if (!s->wells.empty()) continue;
        RetireSample(p.RemoveSample(i));
        Notify(vnSampleRemoved, i);
    }
    if (p.globInUse && TakeSelected(p, *p.globInUse, selection) && p.globInUse->wells.empty())
        p.globInUse = nullptr;
    if (p.stdInUse && TakeSelected(p, *p.stdInUse, selection) && p.stdInUse->wells.empty()) {
        p.stdInUse = nullptr;
        p.rst.SetCalibrationChanged();
    }

    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

bool QDoc::MoveSelectedWells(int rows, int columns, std::vector<unsigned char>& selection)
{
    QPlate& p = fPlate;
    if (rows == 0 && columns == 0) return false;
    const int offset = rows * p.columns + columns;

    // Row and column are checked apart: a move to the right from the last column must not
    // come out in the next row.
    for (int w = 0; w < p.wellCount; ++w) {
        if (!IsSelected(selection, w)) continue;
        if (!p.wells[static_cast<std::size_t>(w)].sample) return false;
        const int r = w / p.columns + rows, c = w % p.columns + columns;
        if (r < 0 || r >= p.rows || c < 0 || c >= p.columns) return false;
        const int t = w + offset;
        if (!IsFree(p, t) && !IsSelected(selection, t)) return false;
    }

    ForgetRetired();
    p.rst.Reset(0);
    // Wells move towards the offset's side first, so that none is overwritten before it
    // has moved itself.
    auto move = [&](int s) {
        if (!IsSelected(selection, s)) return;
        const int t = s + offset;
        QWellRecord& src = p.wells[static_cast<std::size_t>(s)];
        QWellRecord& dst = p.wells[static_cast<std::size_t>(t)];
        dst.sample = src.sample;
        dst.position = src.position;
        src.sample = nullptr;
        src.position = 0;
        if (dst.position >= 0 && dst.position < dst.sample->WellCount())
            dst.sample->wells[static_cast<std::size_t>(dst.position)].well = t;
        p.rst.MarkWell(s);
        p.rst.MarkWell(t);
        selection[static_cast<std::size_t>(s)] &= static_cast<unsigned char>(~1u);
        if (static_cast<std::size_t>(t) >= selection.size()) selection.resize(static_cast<std::size_t>(t) + 1, 0);
        selection[static_cast<std::size_t>(t)] |= 1;
    };
    if (offset < 0) {
        for (int w = 0; w < p.wellCount; ++w) move(w);
    } else {
        for (int w = p.wellCount - 1; w >= 0; --w) move(w);
    }

    p.InvalidateAll();
    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

bool QDoc::MoveSampleTo(QSample* sample, int position)
{
    QPlate& p = fPlate;
    if (!sample || p.GetSample(sample->index) != sample) return false;
    const int index = sample->index;
    if (position < 0 || position >= index || position >= p.sampleCount) return false;
    if ((index < p.fixedCount) != (position < p.fixedCount)) return false;

    ForgetRetired();
    p.rst.Reset(0);
    p.InvalidateAll();
    auto first = p.samples.begin() + position;
    std::rotate(first, p.samples.begin() + index, p.samples.begin() + index + 1);
    for (int i = position; i <= index; ++i) {
        QSample* s = p.GetSample(i);
        s->index = i;
        p.rst.MarkSample(i);
        s->MarkWellsChanged();
    }
    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

bool QDoc::FixSample(int index)
{
    QPlate& p = fPlate;
    if (index < p.fixedCount || index >= p.sampleCount) return false;

    ForgetRetired();
    p.rst.Reset(0);
    p.InvalidateAll();
    const int slot = p.fixedCount;
    std::rotate(p.samples.begin() + slot, p.samples.begin() + index, p.samples.begin() + index + 1);
    // Every sequential sample from the slot on changes its place or its number.
    for (int i = slot; i < p.sampleCount; ++i) {
        QSample* s = p.GetSample(i);
        s->index = i;
        p.rst.MarkSample(i);
        s->MarkWellsChanged();
    }
    ++p.fixedCount;
    p.GetSample(slot)->MakeFixName();
    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

bool QDoc::RemoveSample(QSample* sample)
{
    QPlate& p = fPlate;
    if (!sample || p.GetSample(sample->index) != sample) return false;
    const int index = sample->index;

    ForgetRetired();
    p.rst.Reset(0);
    p.InvalidateAll();
    sample->MarkWellsChanged();
    sample->UnlinkWells();
    RetireSample(p.RemoveSample(index));
    Notify(vnSampleRemoved, index);
    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

bool QDoc::SetSampleName(const std::string& text, int index)
{
    QPlate& p = fPlate;
    QSample* s = p.GetSample(index);
    if (!s) return false;
    p.rst.Reset(0);
    s->SetIdent(text);
    p.rst.MarkSample(index);
    s->MarkWellsChanged();
    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

bool QDoc::SetPlateValue(double value, int well, bool measured)
{
    QPlate& p = fPlate;
    if (!p.IsWell(well)) return false;
    p.rst.Reset(0);
    const int changed = measured ? p.SetMeasuredValue(well, value) : p.SetDataValue(well, value);
    if (!changed) return false;
    p.InvalidateResults();
    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

bool QDoc::SetMeasuredData(const std::vector<double>& values, bool subtract)
{
    QPlate& p = fPlate;
    p.rst.Reset(0);
    p.measureTime = static_cast<std::uint64_t>(NowMs());
    if (!p.SubtractMeasuredValues(values, subtract ? 1 : 0)) return false;
    p.InvalidateResults();
    Notify(vnPlateChanged);
    SetDirty();
    return true;
}

}  // namespace vyn
