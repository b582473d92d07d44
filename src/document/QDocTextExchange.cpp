// Plate values and sample identifications to and from plain text: files chosen in the open
// and save dialogs, and text blocks from the clipboard. How a line is split and laid out is
// the text field codec's business; here the lines meet the plate.
//
// Every export replaces its file whole through the file service, so that a failed write never
// leaves a half-written file, nor destroys the file that was there; a link chosen in the
// dialog stays a link and the file it names gets the text.
#include <algorithm>

#include "document/LineReader.h"
#include "document/QDoc.h"
#include "document/TextExchange.h"
#include "plate/TextFieldCodec.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {

enum ExchangeText : int {
    etMeasuredImport = 1650,
    etTransformedImport = 1651,
    etSubtraction = 1652,
    etCannotRead = 1653,
    etMeasuredExport = 1654,
    etTransformedExport = 1655,
    etCannotWrite = 1656,
    etResultsExport = 1657,
    etIdentificationsImport = 1658,
    etSeparatorIsDecimal = 1660,
    etNoValueToExport = 1661,
    etNothingToExport = 1662,
};

// How the values read are put into the plate.
enum StoreMode : int {
    smMeasured,
    smData,
    smSubtract,
};

// The buffer of one result line.
constexpr int kResultLineSize = 8000;

// The file chosen in an open or save dialog over one of the exchange's filters; the filter
// index chosen is remembered for the next dialog. Empty when the user cancelled.
std::string ChooseFile(IDocDialogs& ui, int titleId, bool save, const std::string& filter, int& filterIndex)
{
    FileDialogData d;
    d.save = save;
    d.title = GetResStringStd(titleId);
    d.filter = filter;
    d.filterIndex = filterIndex;
    d.mustExist = !save;
    d.overwritePrompt = save;
    if (!ui.RunFileDialog(d) || d.path.empty()) return {};
    filterIndex = d.filterIndex;
    return d.path;
}

std::string ChooseDataFile(IDocDialogs& ui, int titleId, bool save)
{
    TextExchangeSettings& s = TextExchange();
    return ChooseFile(ui, titleId, save, s.dataFilter, s.dataFilterIndex);
}

// Up to maxLines lines of the file. False when it cannot be opened or a read fails: a file
// read only in part must not pass for the whole of it.
bool ReadFileLines(const std::string& path, std::size_t maxLines, std::vector<std::string>& lines)
{
    lines.clear();
    LineReader reader;
    if (!reader.Open(path)) return false;
    std::string line;
    while (lines.size() < maxLines) {
        reader.ReadLine(line, kMaxExchangeLine);
        if (reader.IsError()) return false;
        if (reader.IsEnd()) break;
        lines.push_back(line);
    }
    return true;
}

}  // namespace

int QDoc::StoreValues(const std::vector<double>& values, int how)
{
    QPlate& p = fPlate;
    p.rst.Reset(0);
    int changed = 0;
    switch (how) {
    case smMeasured: changed = p.SetMeasuredValues(values); break;
    case smData: changed = p.SetDataValues(values); break;
    default: changed = p.SubtractMeasuredValues(values, -1); break;
    }
    if (!changed) return 0;
    p.InvalidateResults();
    Notify(vnPlateChanged);
    SetDirty();
    return 1;
}

int QDoc::ImportData(IDocDialogs& ui, bool transformed)
{
    const std::string path = ChooseDataFile(ui, transformed ? etTransformedImport : etMeasuredImport, false);
    if (path.empty()) return 0;
    std::vector<std::string> lines;
    int found = 0;
    std::vector<double> values;
    if (ReadFileLines(path, static_cast<std::size_t>(std::max(fPlate.rows, 0)), lines))
        values = ReadPlateRows(lines, fPlate.columns, fPlate.rows, found);
    if (found == 0) {
        ShowDocMessage(etCannotRead);
        return 0;
    }
    return StoreValues(values, transformed ? smData : smMeasured);
}

int QDoc::SubtractTextData(IDocDialogs& ui)
{
    const std::string path = ChooseDataFile(ui, etSubtraction, false);
    if (path.empty()) return 0;
    std::vector<std::string> lines;
    int found = 0;
    std::vector<double> values;
    if (ReadFileLines(path, static_cast<std::size_t>(std::max(fPlate.rows, 0)), lines))
        values = ReadPlateRows(lines, fPlate.columns, fPlate.rows, found);
    if (found == 0) {
        ShowDocMessage(etCannotRead);
        return 0;
    }
    return StoreValues(values, smSubtract);
}

int QDoc::PastePlateValues(const std::string& text, bool transformed)
{
    int found = 0;
    const std::vector<double> values = ReadPlateRows(SplitTextLines(text), fPlate.columns, fPlate.rows, found);
    if (found == 0) return 0;
    return StoreValues(values, transformed ? smData : smMeasured);
}

int QDoc::ExportData(IDocDialogs& ui, bool transformed)
{
    if (SeparatorIsDecimalChar(true)) {
        ShowDocMessage(etSeparatorIsDecimal);
        return 0;
    }
    std::string content;
    for (int r = 0; r < fPlate.rows; ++r) {
        content += FormatCellRow(fPlate, r, transformed);
        content += "\r\n";
    }
    // A file of separators or blanks alone (no values yet, or fixed fields too narrow for
    // every one of them) would pass for an export; the text is judged as it reads back.
    int readable = 0;
    ReadPlateRows(SplitTextLines(content), fPlate.columns, fPlate.rows, readable);
    if (readable == 0) {
        ShowDocMessage(etNoValueToExport);
        return 0;
    }
    const std::string path = ChooseDataFile(ui, transformed ? etTransformedExport : etMeasuredExport, true);
    if (path.empty()) return 0;
    if (!WriteFileAtomic(path, content)) {
        ShowDocMessage(etCannotWrite);
        return 0;
    }
    return 1;
}

void QDoc::IdentificationsChanged(int from)
{
    QPlate& p = fPlate;
    SetDirty();
    p.rst.Reset(0);
    for (int i = std::max(from, 0); i < p.sampleCount; ++i) {
        p.rst.MarkSample(i);
        p.GetSample(i)->MarkWellsChanged();
    }
    Notify(vnPlateChanged);
}

int QDoc::TakeIdentifications(const std::vector<std::string>& lines)
{
    QPlate& p = fPlate;
    const int first = TextExchange().impFixes ? 0 : p.fixedCount;
    int taken = 0;
    for (const std::string& line : lines) {
        QSample* s = p.GetSample(first + taken);
        if (!s) break;
        s->SetIdent(IdentificationFromLine(line));
        ++taken;
    }
    if (taken == 0) return 0;
    for (int i = first + taken; i < p.sampleCount; ++i) p.GetSample(i)->SetIdent("");
    IdentificationsChanged(first);
    return taken;
}

int QDoc::PasteSampleIds(const std::string& text)
{
    const QPlate& p = fPlate;
    const int first = TextExchange().impFixes ? 0 : p.fixedCount;
    if (first >= p.sampleCount) return 0;
    return TakeIdentifications(SplitTextLines(text));
}

int QDoc::ImportIdentifications(IDocDialogs& ui)
{
    QPlate& p = fPlate;
    const int exportFirst = TextExchange().expFixes ? 0 : p.fixedCount;
    if (exportFirst >= p.sampleCount) return 0;
    TextExchangeSettings& s = TextExchange();
    const std::string path = ChooseFile(ui, etIdentificationsImport, false, s.idFilter, s.idFilterIndex);
    if (path.empty()) return 0;
    const int first = s.impFixes ? 0 : p.fixedCount;
    const std::size_t room = static_cast<std::size_t>(std::max(p.sampleCount - first, 0));
    std::vector<std::string> lines;
    if (!ReadFileLines(path, room, lines) || TakeIdentifications(lines) == 0) {
        ShowDocMessage(etCannotRead);
        return 0;
    }
    return 1;
}

int QDoc::DeleteSampleIdent(int index)
{
    QPlate& p = fPlate;
    if (!p.GetSample(index)) return 0;
    for (int i = index; i + 1 < p.sampleCount; ++i) p.GetSample(i)->ident = std::move(p.GetSample(i + 1)->ident);
    p.GetSample(p.sampleCount - 1)->SetIdent("");
    IdentificationsChanged(index);
    return p.sampleCount - index;
}

int QDoc::InsertSampleIdent(int index)
{
    QPlate& p = fPlate;
    if (!p.GetSample(index)) return 0;
    for (int k = p.sampleCount - 2; k >= index; --k) p.GetSample(k + 1)->ident = std::move(p.GetSample(k)->ident);
    p.GetSample(index)->SetIdent("");
    IdentificationsChanged(index);
    return p.sampleCount - index;
}

int QDoc::ExportResults(IDocDialogs& ui)
{
    const QPlate& p = fPlate;
    TextExchangeSettings& s = TextExchange();
    const int first = s.expFixes ? 0 : p.fixedCount;
    if (first >= p.sampleCount) return 0;
    if (SeparatorIsDecimalChar(false)) {
        ShowDocMessage(etSeparatorIsDecimal);
        return -1;
    }
    std::string content;
    for (int i = first; i < p.sampleCount; ++i) {
        content += FormatResultLine(*p.GetSample(i), kResultLineSize);
        content += "\r\n";
    }
    // Lines of blanks alone (no identifications and no results yet, or fields too narrow for
    // any of them) would pass for an export.
    if (content.find_first_not_of(" *\r\n") == std::string::npos) {
        ShowDocMessage(etNothingToExport);
        return 0;
    }
    std::string* filter = s.ownResultFilter ? &s.resultFilter : &s.idFilter;
    int* index = s.ownResultFilter ? &s.resultFilterIndex : &s.idFilterIndex;
    const std::string path = ChooseFile(ui, etResultsExport, true, *filter, *index);
    if (path.empty()) return 0;
    if (!WriteFileAtomic(path, content)) {
        ShowDocMessage(etCannotWrite);
        return -1;
    }
    return 1;
}

}  // namespace vyn
