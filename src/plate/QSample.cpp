#include "plate/QSample.h"

#include <cstdio>

#include "evaluator/EvalErrors.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "plate/QDesc.h"
#include "plate/QPlate.h"
#include "plate/Utilities.h"
#include "platform/core/Utf8Text.h"

namespace vyn {

namespace {
// A "loc" text stops after the well that brings it to this length.
constexpr std::size_t kLocationLimit = 73;
}  // namespace

QSample::QSample(QPlate* plate_, int kind_) : kind(kind_), plate(plate_) {}

QSample::~QSample() = default;

void QSample::SetIdent(std::string_view text)
{
    ident = WithoutUnstorableControls(text);
}

int QSample::MakeFixName()
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "Fix%d", plate->fixNameCounter + 1);
    ident = buf;
    plate->fixNameCounter = (plate->fixNameCounter + 1) % 99;
    return 1;
}

bool QSample::IsFixed() const
{
    return index < plate->fixedCount;
}

int QSample::SeqIndex() const
{
    return index - plate->fixedCount;
}

int QSample::AddWellEntry(const QSegm& entry)
{
    wells.push_back(entry);
    return WellCount() - 1;
}

int QSample::InsertWellEntry(const QSegm& entry, int position)
{
    if (position < 0 || position > WellCount()) position = WellCount();
    wells.insert(wells.begin() + position, entry);
    return position;
}

void QSample::LinkWells()
{
    if (wells.empty()) return;
    int running = 0;
    int remembered = wells.front().group;
    for (std::size_t i = 0; i < wells.size(); ++i) {
        QSegm& e = wells[i];
        if (e.group != remembered) {
            remembered = e.group;
            ++running;
        }
        e.group = running;
        if (plate->IsWell(e.well)) {
            QWellRecord& w = plate->wells[static_cast<std::size_t>(e.well)];
            w.sample = this;
            w.position = static_cast<int>(i);
        }
    }
}

void QSample::UnlinkWells()
{
    for (const QSegm& e : wells) {
        if (!plate->IsWell(e.well)) continue;
        QWellRecord& w = plate->wells[static_cast<std::size_t>(e.well)];
        if (w.sample == this) {
            w.sample = nullptr;
            w.position = 0;
        }
    }
}

int QSample::GetWellEntry(int i, double& value, int& isReference) const
{
    value = NoValue;
    isReference = 0;
    if (i < 0 || i >= WellCount()) return -1;
    const QSegm& e = wells[static_cast<std::size_t>(i)];
    isReference = (e.desc && e.desc->IsReference()) ? 1 : 0;
    if (!plate->IsWell(e.well)) return -1;
    value = plate->wells[static_cast<std::size_t>(e.well)].data;
    return e.group;
}

void QSample::MarkWellsChanged()
{
    for (const QSegm& e : wells) plate->rst.MarkWell(e.well);
}

int QSample::CountWellsWithDesc(const QDesc& desc) const
{
    int n = 0;
    for (const QSegm& e : wells) {
        if (e.desc && *e.desc == desc) ++n;
    }
    return n;
}

int QSample::AppendResult(std::string_view name)
{
    results.emplace_back();
    results.back().SetName(name);
    errorTexts.emplace_back();
    errorPositions.push_back(-1);
    return ResultCount() - 1;
}

std::string QSample::ResultSource(int) const
{
    return {};
}

void QSample::ResetPresentation()
{
    colourSet = false;
    colour = kNoSampleColour;
    shortSelected = false;
    shortIndex = 0;
    exportSelected = false;
    exportIndex = 0;
}

int QSample::ClearResults()
{
    if (resultState == rsNotCalculated) return 0;
    results.clear();
    errorTexts.clear();
    errorPositions.clear();
    resultState = rsNotCalculated;
    ResetPresentation();
    return 1;
}

double QSample::WellValue(int well, bool measured) const
{
    if (!plate->IsWell(well)) return NoValue;
    const QWellRecord& w = plate->wells[static_cast<std::size_t>(well)];
    return (measured || gPlateLevelEvaluation) ? w.measured : w.data;
}

int QSample::LookupVar(TStackVal& value) const
{
    const std::string& fullName = value.Name();
    std::string_view name = fullName;
    bool measured = false;
    if (name.size() >= 2 && name[0] == 'M' && name[1] == '_') {
        measured = true;
        name.remove_prefix(2);
    }

    if (EqualNoCase(name, "OD")) {
        if (wells.empty()) {
            value.SetNumber(NoValue);
        } else if (wells.size() == 1) {
            value.SetNumber(WellValue(wells.front().well, measured));
        } else {
            value.MakeNumberVector(WellCount());
            for (const QSegm& e : wells) value.AppendNumber(WellValue(e.well, measured));
        }
        return 1;
    }

    if (!wells.empty()) {
        int matches = 0;
        const QSegm* first = nullptr;
        for (const QSegm& e : wells) {
            if (e.desc && e.desc->HasName(name)) {
                if (!first) first = &e;
                ++matches;
            }
        }
        if (matches == 1) {
            value.SetNumber(WellValue(first->well, measured));
            return 1;
        }
        if (matches > 1) {
            value.MakeNumberVector(matches);
            for (const QSegm& e : wells) {
                if (e.desc && e.desc->HasName(name)) value.AppendNumber(WellValue(e.well, measured));
            }
            return 1;
        }
    }

    for (auto it = results.rbegin(); it != results.rend(); ++it) {
        if (!EqualNoCase(it->Name(), fullName)) continue;
        if (it->IsError()) return 0;
        value = *it;
        return 1;
    }

    if (EqualNoCase(fullName, "smplid")) {
        value.SetText(ident);
        return 1;
    }
    if (EqualNoCase(fullName, "smpltype")) {
        int code = 1;
        if (kind & skStandard) code = 2;
        else if (kind & skQualitative) code = 3;
        else if (kind & skQuantitative) code = 4;
        value.SetNumber(code);
        return 1;
    }
    if (EqualNoCase(fullName, "smplseq")) {
        if (IsSequential()) {
            value.SetText(std::to_string(SeqNumber()));
        } else {
            value.SetText(IndexToLetters(index));
        }
        return 1;
    }
    if (EqualNoCase(fullName, "loc") || EqualNoCase(fullName, "location")) {
        std::string text;
        for (const QSegm& e : wells) {
            if (!text.empty()) text += ' ';
            if (plate->IsWell(e.well) && plate->columns > 0) {
                char col[16];
                std::snprintf(col, sizeof col, "%02d", e.well % plate->columns + 1);
                text += IndexToLetters(e.well / plate->columns);
                text += col;
            } else {
                text += '?';
            }
            if (text.size() >= kLocationLimit) break;
        }
        value.SetText(text);
        return 1;
    }
    return -1;
}

bool QSample::GetVar(TStackVal& value)
{
    const int answer = LookupVar(value);
    if (answer >= 0) return answer == 1;
    return TVarPool::GetVar(value);
}

bool QSample::CallFunc(TStackVal* args, int count)
{
    if (EqualNoCase(args[0].Name(), "res")) {
        if (count != 0) ThrowEvalError(kErrWrongArgCount, args[0].Name());
        if (!results.empty() && !results.back().IsError()) {
            args[0] = results.back();
        } else {
            args[0].SetNumber(NoValue);
        }
        return true;
    }
    return TFuncPool::CallFunc(args, count);
}

std::vector<QCalEntry> QStdSample::CalibrationEntries() const
{
    std::vector<QCalEntry> entries;
    entries.reserve(wells.size());
    for (int i = 0; i < WellCount(); ++i) {
        double value;
        int isReference;
        GetWellEntry(i, value, isReference);
        entries.push_back({wells[static_cast<std::size_t>(i)].group, value, isReference != 0});
    }
    return entries;
}

}  // namespace vyn
