#include "document/MethodSummary.h"

#include <string>
#include <vector>

#include "document/LinePrinter.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "platform/core/StringTable.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"
#include "plate/Utilities.h"

namespace vyn {

namespace {

// Fillers of the listing.
constexpr int kPresent = 5996, kMissing = 5997, kNotSpecified = 5998, kNotUsed = 5999;
// Tabs in quarter characters.
constexpr int kItemTab = 16, kDetailTab = 24, kValueTab = 36;

std::string Res(int id) { return GetResString(id); }

std::string Letter(std::size_t i) { return std::string(1, static_cast<char>('a' + i)) + ". "; }

class MethodSummaryWriter {
public:
    MethodSummaryWriter(const QPlate& p, ILinePrinter& o) : plate(p), out(o) {}
    void Write();

private:
    void TabTo(int q, int move) { out.TabTo(q, move != 0); }
    void PrintF(const std::string& s) { out.PrintF(s); }
    void PrintText(const std::string& s) { out.PrintText(s); }
    void PrintWrapped(const std::string& s) { out.PrintWrapped(s); }
    void MarkLine() { out.MarkLine(); }
    void ClearMark() { out.ClearMark(); }
    void NewLine() { out.PrintF("\r\n"); }
    // The tab becomes q and the current line ends, so that the next item starts at q.
    void NewLineAt(int q);
    void BeginSection(int headingId);
    void EndSection(bool emptyLine = true);
    // "name = expression" with the expression wrapped from the second tab on.
    void DefinitionLine(const std::string& name, const std::string& expr, int nameTab, int exprTab);
    // "a. value" lines of dilutions or concentrations.
    void ValueList(const std::vector<double>& values, bool moveToValue);
    void SampleDefinition(const QSample& sample);
    static std::string Number(double v);

    const QPlate& plate;
    ILinePrinter& out;
};

std::string MethodSummaryWriter::Number(double v)
{
    if (v == NoValue) return Res(kMissing);
    return FormatDouble(v, 0, 0, 0, 0);
}

void MethodSummaryWriter::NewLineAt(int q)
{
    TabTo(q, 0);
    NewLine();
}

void MethodSummaryWriter::BeginSection(int headingId)
{
    TabTo(0, 0);
    MarkLine();
    PrintF(Res(headingId));
}

void MethodSummaryWriter::EndSection(bool emptyLine)
{
    ClearMark();
    NewLine();
    if (emptyLine) NewLine();
}

void MethodSummaryWriter::DefinitionLine(const std::string& name, const std::string& expr, int nameTab, int exprTab)
{
    NewLineAt(nameTab);
    PrintF(name + " = ");
    TabTo(exprTab, 0);
    if (expr.empty()) PrintF(Res(kMissing));
    else PrintWrapped(expr);
}

void MethodSummaryWriter::ValueList(const std::vector<double>& values, bool moveToValue)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        NewLineAt(kDetailTab);
        PrintF(Letter(i));
        TabTo(kValueTab, moveToValue ? 1 : 0);
        PrintF(Number(values[i]));
    }
}

void MethodSummaryWriter::SampleDefinition(const QSample& sample)
{
    NewLine();
    NewLine();
    TabTo(0, 0);
    MarkLine();
    const std::string label = sample.IsFixed() ? IndexToLetters(sample.index) : std::to_string(sample.SeqNumber());
    PrintF(label + ".: ");
    TabTo(kItemTab, 0);
    PrintWrapped(sample.ident);
    if ((sample.kind & skQualitative) == 0) {
        if (const auto* n = dynamic_cast<const QNSample*>(&sample)) ValueList(n->QuantDefinition(), false);
    }
    if (const auto* q = dynamic_cast<const QQSample*>(&sample)) {
        for (const twostr& d : q->QualDefinition()) DefinitionLine(d.name, d.text, kDetailTab, kValueTab);
    }
    ClearMark();
}

void MethodSummaryWriter::Write()
{
    const QPlate& p = plate;
    auto orNotSpecified = [](const std::string& s) { return s.empty() ? Res(kNotSpecified) : s; };

    TabTo(0, 0);
    PrintF(Res(6100));
    NewLine();
    NewLine();

    BeginSection(6101);
    NewLineAt(kItemTab);
    PrintF(orNotSpecified(p.methodName));
    EndSection(false);

    BeginSection(6102);
    NewLineAt(kItemTab);
    PrintF(orNotSpecified(p.methodInfo));
    EndSection();

    BeginSection(6103);
    NewLineAt(kItemTab);
    switch (p.dataMode) {
    case dmMeasured: PrintF(Res(kNotUsed)); break;
    case dmSimple: PrintF(Res(6104)); break;
    case dmGeneral: PrintF(Res(6105)); break;
    default: break;
    }
    if (p.dataMode == dmSimple || p.dataMode == dmGeneral) {
        auto expression = [&](int labelId, const std::string& expr) {
            NewLineAt(kDetailTab);
            PrintF(Res(labelId));
            TabTo(kValueTab, 0);
            if (expr.empty()) PrintF(Res(kMissing));
            else PrintWrapped(expr);
        };
        expression(6106, p.blankExpr);
        if (p.dataMode == dmGeneral) expression(6107, p.transformExpr);
    }
    EndSection();

    auto definitions = [&](int headingId, const TwostrArray& list) {
        BeginSection(headingId);
        for (const twostr& d : list) DefinitionLine(d.name, d.text, kItemTab, kDetailTab);
        if (list.empty()) {
            NewLineAt(kItemTab);
            PrintF(Res(kNotUsed));
        }
        EndSection();
    };
    definitions(6110, p.calculations.definitions);

    BeginSection(6120);
    const QCalibr& c = p.calibr;
    if (c.concentrations.empty()) {
        NewLineAt(kItemTab);
        PrintF(Res(kNotSpecified));
    } else {
        NewLineAt(kItemTab);
        PrintF(Res(6121));
        TabTo(kDetailTab, 0);
        PrintText(QCalibr::ModelName(c.model) + " ");
        if (c.model == cmLinear && c.fixedK != 0) {
            PrintText((c.fixedK & 1) ? "(K0 = " + Number(c.K0) + ") " : "(K1 = " + Number(c.K1) + ") ");
        }
        PrintText(Res(c.decreasing ? 6123 : 6122));
        if (c.logX && QCalibr::HasLogOption(c.model)) PrintText(Res(6124));
        NewLineAt(kItemTab);
        PrintF(Res(6125));
        ValueList(c.concentrations, true);
    }
    EndSection();

    BeginSection(6130);
    NewLineAt(kItemTab);
    PrintF(orNotSpecified(p.units));
    EndSection();

    definitions(6140, p.validations.definitions);
    definitions(6150, p.globalQualDef);

    BeginSection(6160);
    NewLineAt(kItemTab);
    if (p.globalQuantDef.empty()) {
        PrintF(Res(kNotUsed));
    } else {
        PrintF(Res(6161));
        ValueList(p.globalQuantDef, false);
    }
    EndSection();

    BeginSection(6170);
    NewLineAt(kItemTab);
    PrintF(Res(6171));
    TabTo(kDetailTab, 0);
    PrintText(p.measFilter ? std::to_string(p.measFilter) : Res(kMissing));
    if (p.useRefFilter) {
        PrintText(" / ");
        PrintText(p.refFilter ? std::to_string(p.refFilter) : Res(kMissing));
    }
    NewLineAt(kItemTab);
    PrintF(Res(6172));
    TabTo(kDetailTab, 0);
    if (p.readerOptions.empty()) {
        PrintF(Res(kNotSpecified));
    } else {
        PrintF("\r\n");
        PrintF(p.readerOptions);
    }
    EndSection();

    BeginSection(6180);
    NewLineAt(kItemTab);
    if (p.globInUse) PrintF(Res(kPresent) + " (" + std::to_string(p.globInUse->WellCount()) + ")");
    else PrintF(Res(kNotSpecified));
    EndSection();

    BeginSection(6181);
    NewLineAt(kItemTab);
    if (p.stdInUse) {
        const int groups = p.stdInUse->wells.empty() ? 0 : p.stdInUse->wells.back().group + 1;
        PrintF(Res(kPresent) + " (" + std::to_string(p.stdInUse->WellCount()) + "/" + std::to_string(groups) + ")");
    } else {
        PrintF(Res(kNotSpecified));
    }
    EndSection();

    if (p.sampleCount <= 0) {
        TabTo(0, 0);
        PrintF(Res(6190));
        return;
    }
    const int sequential = p.sampleCount - p.fixedCount;
    TabTo(0, 0);
    MarkLine();
    PrintWrapped(Res(6191));
    TabTo(kDetailTab, 0);
    PrintWrapped(std::to_string(p.sampleCount));
    NewLineAt(kItemTab);
    PrintF(Res(6192));
    TabTo(kDetailTab, 0);
    PrintText(p.fixedCount ? std::to_string(p.fixedCount) : Res(kNotSpecified));
    NewLineAt(kItemTab);
    PrintF(Res(6193));
    TabTo(kDetailTab, 0);
    PrintText(sequential ? std::to_string(sequential) : Res(kNotSpecified));
    ClearMark();
    TabTo(0, 0);

    bool any = false;
    for (int i = 0; i < p.sampleCount; ++i) {
        const QSample* s = p.GetSample(i);
        if (!s || !s->HasOwnDefinition()) continue;
        if (!any) {
            NewLine();
            NewLine();
            TabTo(0, 0);
            PrintWrapped(Res(6194));
            any = true;
        }
        SampleDefinition(*s);
    }
}

}  // namespace

void WriteMethodSummary(const QPlate& plate, ILinePrinter& out)
{
    MethodSummaryWriter(plate, out).Write();
}

}  // namespace vyn
