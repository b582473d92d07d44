#pragma once
// Plates for the file tests: a rich plate that uses every line the writer knows, and the
// small helpers that read and write blocks in memory.
#include <fcntl.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "document/LineReader.h"
#include "document/PlateFile.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"

namespace vyn::test {

inline std::string ReadFileBytes(const std::string& path)
{
    std::string data;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return data;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0) data.append(buf, static_cast<std::size_t>(n));
    ::close(fd);
    return data;
}

inline std::string FixturePath(const std::string& name)
{
    return std::string(VYN_TEST_DATA) + "/document/" + name;
}

// Reads one block from bytes into plate; the message id (0 on success).
inline int ReadBlock(QPlate& plate, const std::string& bytes, int limit = -1)
{
    LineReader reader;
    reader.OpenMemory(bytes);
    int message = 0;
    const bool ok = ReadPlateFile(plate, reader, limit, &message);
    return ok ? 0 : (message != 0 ? message : -1);
}

inline std::string WriteBlock(QPlate& plate, int flag = pwPlate)
{
    std::string block;
    RenderPlateBlock(plate, flag, block);
    return block;
}

// Sets the program's decimal character for one scope.
class DecimalChar {
public:
    explicit DecimalChar(char c) : saved_(gDecimalChar) { gDecimalChar = c; }
    ~DecimalChar() { gDecimalChar = saved_; }
    DecimalChar(const DecimalChar&) = delete;
    DecimalChar& operator=(const DecimalChar&) = delete;

private:
    char saved_;
};

inline QDesc* Desc(QPlate& p, std::uint32_t kind, const std::string& name, TColor colour,
                   const std::string& info)
{
    p.descs.push_back(std::make_unique<QDesc>(kind, name, colour, info));
    return p.descs.back().get();
}

// Sets a well's values as a file would, and the plate's counts with them.
inline void SetWell(QPlate& p, int well, double measured, double data)
{
    QWellRecord& r = p.wells[static_cast<std::size_t>(well)];
    r.measured = measured;
    r.data = data;
    p.measuredCount = 0;
    p.dataCount = 0;
    for (const QWellRecord& w : p.wells) {
        p.measuredCount += w.measured != NoValue;
        p.dataCount += w.data != NoValue;
    }
}

// Standards in four groups of two wells (B1..B8) with signals a straight line would not fit
// exactly, fitted with the given model and kept as a stored curve.
inline void LayStandards(QPlate& p, QDesc* std, int model)
{
    const double signal[8] = {0.051, 0.049, 0.262, 0.258, 1.010, 0.990, 1.705, 1.695};
    for (int i = 0; i < 8; ++i) {
        p.stdSample.AddWellEntry(QSegm{i / 2, 12 + i, std});
        SetWell(p, 12 + i, signal[i], signal[i]);
    }
    p.stdInUse = &p.stdSample;
    p.stdSample.LinkWells();
    p.calibr.SetParams(model, 0, 0, {0.0, 10.0, 50.0, 100.0}, 0, 0.0, 1.0);
    p.RecalcCalibration();
    p.calibr.memo = "fitted on the bench";
    p.calibr.Remember();
}

// A plate that uses every line the writer knows, with texts that need escaping and
// non-ASCII letters.
inline void BuildRichPlate(QPlate& p)
{
    p.methodName = "Hepatitis \xC3\x9C-Test 'B'";
    p.methodInfo = "Kit lot 42\tbatch \\7\\ \xE2\x80\x93 store at 4\xC2\xB0" "C";
    p.reportDef = "REPORT header 'Vyn' \xE2\x80\x94 a long report definition text that is folded "
                  "over several continuation lines because it is far longer than 64 characters";
    QDesc* pos = Desc(p, 0x01, "PosCtrl", TColor(255, 0, 0), "Positive control \xC3\xA4");
    QDesc* neg = Desc(p, 0x01, "NegCtrl", TColor(0, 0, 255), "");
    QDesc* smp = Desc(p, 0x02, "Smp", TColor(0, 128, 0), "Qualitative sample");
    QDesc* std = Desc(p, 0x04, "Std", TColor::None, "Standard");
    Desc(p, 0x14, "StdBlk", TColor(1, 2, 3), "Standard blank");
    QDesc* unk = Desc(p, 0x08, "Unk", TColor(10, 20, 30), "Quantitative sample");
    Desc(p, 0x18, "UnkBlk", TColor(40, 50, 60), "Quantitative blank");

    p.dataMode = dmSimple;
    p.blankExpr = "mean(NegCtrl)";
    p.transformExpr = "x - 'a\\b'";
    p.calculations.definitions = {{"ratio", "PosCtrl / NegCtrl"}, {"", "mean(Std)"}};
    p.validations.definitions = {{"ok", "PosCtrl > 0.5"}};
    p.globalQualDef = {{"pos", "Smp > 1.5"}, {"txt", "if(Smp > 1; 'it''s'; \"\t\")"}};
    p.globalQuantDef = {1.0, 2.5, 10.0};

    p.globSample.AddWellEntry(QSegm{0, 0, pos});
    p.globSample.AddWellEntry(QSegm{0, 1, neg});
    p.globSample.ident = "";
    p.globInUse = &p.globSample;
    p.globSample.LinkWells();
    LayStandards(p, std, 0);

    auto qf = std::make_unique<QQSample>(&p);
    qf->ident = "Fix \xC3\xA9l\xC3\xA8ve";
    qf->AddWellEntry(QSegm{0, 24, smp});
    qf->AddWellEntry(QSegm{0, 25, smp});
    qf->SetOwnDefinition({{"high", "Smp > 2"}, {"", "Smp < 0,5"}});
    QQSample* qfp = qf.get();
    p.InsertSample(std::move(qf), 0, true);
    qfp->LinkWells();

    auto nf = std::make_unique<QNSample>(&p);
    nf->ident = "Serum 1";
    nf->AddWellEntry(QSegm{0, 36, unk});
    nf->AddWellEntry(QSegm{1, 37, unk});
    nf->SetOwnQuantDefinition({1.0, 4.0});
    nf->SetOwnDefinition({{"conc_ok", "conc < 80"}});
    QNSample* nfp = nf.get();
    p.InsertSample(std::move(nf), 1, true);
    nfp->LinkWells();

    for (int k = 0; k < 3; ++k) {
        auto qs = std::make_unique<QQSample>(&p);
        qs->ident = "Seq Q" + std::to_string(k + 1);
        qs->AddWellEntry(QSegm{0, 48 + k, smp});
        QQSample* qsp = qs.get();
        p.InsertSample(std::move(qs), p.sampleCount, false);
        qsp->LinkWells();
    }
    for (int k = 0; k < 2; ++k) {
        auto ns = std::make_unique<QNSample>(&p);
        ns->ident = "Seq N" + std::to_string(k + 1);
        ns->AddWellEntry(QSegm{0, 60 + 2 * k, unk});
        ns->AddWellEntry(QSegm{0, 61 + 2 * k, unk});
        QNSample* nsp = ns.get();
        p.InsertSample(std::move(ns), p.sampleCount, false);
        nsp->LinkWells();
    }

    p.useRefFilter = 1;
    p.measFilter = 450;
    p.refFilter = 620;
    p.readerOptions = "shake=5;speed='fast'";
    p.measuredFormat = QNumFormat(nmFixed, 3, 0);
    p.dataFormat = QNumFormat(nmScientific, 4, 6);
    p.resultsFormat = QNumFormat(nmGeneral, 3, 5);
    p.units = "\xC2\xB5g/ml";
    p.resultFieldWidth = 40;
    p.cellWidth = 30;
    p.curveLogX = 1;
    p.curveLogY = 0;
    p.curveGrid = 1;
    p.measureTime = 13350000012345ull;
    // Controls, two sample wells and a few wells left empty in between.
    SetWell(p, 0, 1.875, 1.75);
    SetWell(p, 1, 0.125, NoValue);
    SetWell(p, 24, 0.3333333333333333, 0.2083333333333333);
    SetWell(p, 95, 2.5e-7, NoValue);
}

}  // namespace vyn::test
