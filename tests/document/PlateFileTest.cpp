// Plate and method files: the rich fixture written, read and written again byte for byte,
// the older line forms, hostile input and what the writer refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "PlateFileSupport.h"
#include "TempFile.h"
#include "document/TagNames.h"
#include "evaluator/NoValue.h"
#include "platform/core/Clock.h"
#include "platform/core/StringTable.h"

namespace vyn {
namespace {

using test::DecimalChar;
using test::FixturePath;
using test::ReadBlock;
using test::ReadFileBytes;
using test::WriteBlock;

// The rich fixture is the writer's own output, checked by eye once and kept; set
// VYN_WRITE_FIXTURES=1 to write it again after a deliberate format change.
TEST(PlateFile, RichPlateRoundTripIsByteIdentical)
{
    const std::string path = FixturePath("rich_comma.plt");
    if (std::getenv("VYN_WRITE_FIXTURES")) {
        QPlate built;
        test::BuildRichPlate(built);
        DecimalChar comma(',');
        std::ofstream(path, std::ios::binary) << WriteBlock(built);
    }
    const std::string golden = ReadFileBytes(path);
    ASSERT_FALSE(golden.empty()) << path;

    DecimalChar point('.');
    QPlate plate;
    ASSERT_EQ(ReadBlock(plate, golden), 0);
    EXPECT_EQ(gDecimalChar, '.') << "the block's ',' must not outlive the read";
    std::string again;
    {
        DecimalChar comma(',');
        again = WriteBlock(plate);
    }
    EXPECT_EQ(again, golden);

    QPlate second;
    ASSERT_EQ(ReadBlock(second, again), 0);
    DecimalChar comma(',');
    EXPECT_EQ(WriteBlock(second), golden);
}

TEST(PlateFile, RichPlateReadsEveryField)
{
    DecimalChar point('.');
    QPlate p;
    ASSERT_EQ(ReadBlock(p, ReadFileBytes(FixturePath("rich_comma.plt"))), 0);

    EXPECT_EQ(p.methodName, "Hepatitis \xC3\x9C-Test 'B'");
    EXPECT_EQ(p.methodInfo, "Kit lot 42\tbatch \\7\\ \xE2\x80\x93 store at 4\xC2\xB0" "C");
    EXPECT_EQ(p.reportDef.substr(0, 20), "REPORT header 'Vyn' ");
    ASSERT_EQ(p.descs.size(), 7u);
    const std::uint32_t kinds[7] = {1, 1, 2, 4, 0x14, 8, 0x18};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(p.descs[static_cast<std::size_t>(i)]->kind, kinds[i]) << i;
    EXPECT_EQ(p.descs[0]->colour, TColor(255, 0, 0));
    EXPECT_EQ(p.descs[3]->colour, TColor::None) << "a colour word above 2^31 survives";
    EXPECT_EQ(p.descs[0]->info, "Positive control \xC3\xA4");

    EXPECT_EQ(p.dataMode, dmSimple);
    EXPECT_EQ(p.blankExpr, "mean(NegCtrl)");
    EXPECT_EQ(p.transformExpr, "x - 'a\\b'");
    ASSERT_EQ(p.calculations.definitions.size(), 2u);
    EXPECT_EQ(p.calculations.definitions[1].name, "fct2") << "an unnamed calculation is named on writing";
    EXPECT_EQ(p.validations.definitions[0].name, "ok");
    ASSERT_EQ(p.globalQualDef.size(), 2u);
    EXPECT_EQ(p.globalQualDef[1].text, "if(Smp > 1; 'it''s'; \"\t\")");
    EXPECT_EQ(p.globalQuantDef, (std::vector<double>{1.0, 2.5, 10.0}));

    ASSERT_EQ(p.globInUse, &p.globSample);
    ASSERT_EQ(p.globSample.WellCount(), 2);
    EXPECT_EQ(p.wells[1].sample, &p.globSample);
    EXPECT_EQ(p.wells[1].position, 1);
    ASSERT_EQ(p.stdInUse, &p.stdSample);
    ASSERT_EQ(p.stdSample.WellCount(), 8);
    EXPECT_EQ(p.stdSample.wells[7].group, 3);
    EXPECT_EQ(p.stdSample.wells[7].well, 19);

    ASSERT_EQ(p.sampleCount, 7);
    EXPECT_EQ(p.fixedCount, 2);
    auto* qf = dynamic_cast<QQSample*>(p.GetSample(0));
    ASSERT_NE(qf, nullptr);
    EXPECT_EQ(qf->ident, "Fix \xC3\xA9l\xC3\xA8ve");
    EXPECT_TRUE(qf->HasOwnDefinition());
    ASSERT_EQ(qf->QualDefinition().size(), 2u);
    EXPECT_EQ(qf->QualDefinition()[1].name, "res2");
    EXPECT_EQ(qf->QualDefinition()[1].text, "Smp < 0,5");
    auto* nf = dynamic_cast<QNSample*>(p.GetSample(1));
    ASSERT_NE(nf, nullptr);
    EXPECT_EQ(nf->QuantDefinition(), (std::vector<double>{1.0, 4.0}));
    EXPECT_EQ(nf->wells[1].group, 1);
    EXPECT_EQ(p.wells[37].sample, nf);
    EXPECT_EQ(dynamic_cast<QNSample*>(p.GetSample(2)), nullptr) << "sample 2 is qualitative";
    auto* ns = dynamic_cast<QNSample*>(p.GetSample(6));
    ASSERT_NE(ns, nullptr);
    EXPECT_FALSE(ns->HasOwnDefinition());
    EXPECT_EQ(ns->ident, "Seq N2");

    const QCalibr& c = p.calibr;
    EXPECT_EQ(c.stored, 1);
    EXPECT_EQ(c.state, csValid);
    EXPECT_EQ(c.model, cmLinear);
    EXPECT_EQ(c.memo, "fitted on the bench");
    EXPECT_EQ(c.concentrations, (std::vector<double>{0.0, 10.0, 50.0, 100.0}));
    ASSERT_EQ(c.PointCount(), 8);
    EXPECT_EQ(c.pointX[7], 100.0);
    EXPECT_EQ(c.pointY[3], 0.262) << "the comma-written signals are read as numbers";

    EXPECT_EQ(p.useRefFilter, 1);
    EXPECT_EQ(p.measFilter, 450);
    EXPECT_EQ(p.refFilter, 620);
    EXPECT_EQ(p.readerOptions, "shake=5;speed='fast'");
    EXPECT_EQ(p.dataFormat, QNumFormat(nmScientific, 4, 6));
    EXPECT_EQ(p.resultsFormat, QNumFormat(nmGeneral, 3, 5));
    EXPECT_EQ(p.units, "\xC2\xB5g/ml");
    EXPECT_EQ(p.resultFieldWidth, 40);
    EXPECT_EQ(p.cellWidth, 30);
    EXPECT_EQ(p.curveLogX, 1);
    EXPECT_EQ(p.curveGrid, 1);
    EXPECT_EQ(p.measureTime, 13350000012345ull);
    EXPECT_EQ(p.wells[24].measured, 0.333333333333333) << "15 significant digits";
    EXPECT_EQ(p.wells[95].measured, 2.5e-7);
    EXPECT_EQ(p.wells[1].data, NoValue);
    EXPECT_EQ(p.measuredCount, 12);
    EXPECT_EQ(p.dataCount, 10);
}

// A method block carries neither the measurement time nor well values.
TEST(PlateFile, MethodBlockLeavesTheMeasurementOut)
{
    QPlate p;
    test::BuildRichPlate(p);
    const std::string block = WriteBlock(p, pwMethod);
    for (const char* tag : {"TMEA", "DA96", "DM96", "DT96"})
        EXPECT_EQ(block.find(std::string("\r\n") + tag), std::string::npos) << tag;
    QPlate back;
    ASSERT_EQ(ReadBlock(back, block), 0);
    EXPECT_EQ(back.measureTime, 0u);
    EXPECT_EQ(back.measuredCount, 0);
    EXPECT_EQ(back.sampleCount, 7);
}

// Every polynomial model's stored curve comes back and is written again unchanged; the
// plate is in data mode 0, so its values travel in one DA96 line.
TEST(PlateFile, StoredPolynomialCurvesRoundTrip)
{
    for (int model : {cmLinear, cmParabole, cmCubicParabole}) {
        SCOPED_TRACE(QCalibr::ModelName(model));
        QPlate p;
        QDesc* std = test::Desc(p, 0x04, "Std", TColor(0, 0, 0), "");
        test::LayStandards(p, std, model);
        ASSERT_EQ(p.calibr.state, csValid) << p.calibr.message;
        ASSERT_EQ(p.calibr.stored, 1);
        const std::string block = WriteBlock(p);
        EXPECT_NE(block.find("\r\nDA96 "), std::string::npos);

        QPlate back;
        ASSERT_EQ(ReadBlock(back, block), 0);
        EXPECT_EQ(back.calibr.model, model);
        EXPECT_EQ(back.calibr.stored, 1);
        EXPECT_EQ(back.calibr.state, csValid);
        EXPECT_EQ(back.calibr.fitInts, p.calibr.fitInts);
        ASSERT_EQ(back.calibr.results.size(), p.calibr.results.size());
        for (std::size_t i = 0; i < p.calibr.results.size(); ++i) {
            const double a = p.calibr.results[i], b = back.calibr.results[i];
            if (a == NoValue) EXPECT_EQ(b, NoValue) << i;
            else EXPECT_NEAR(b, a, 1e-14 * std::max(1.0, std::fabs(a))) << i;
        }
        for (double x : {0.0, 25.0, 75.0})
            EXPECT_NEAR(back.calibr.CurveY(x), p.calibr.CurveY(x), 1e-12) << x;
        EXPECT_EQ(back.wells[12].data, 0.051);
        EXPECT_EQ(WriteBlock(back), block);
    }
}

// A text field carries no line ends: the lines in which a stored fit reports its parameters come
// back as lines all the same, while any other text is read as the file holds it.
TEST(PlateFile, StoredCurvesKeepTheirParameterLines)
{
    for (int model : {cmLinear, cmParabole, cmCubicParabole, cmFourParameter}) {
        SCOPED_TRACE(QCalibr::ModelName(model));
        QPlate p;
        QDesc* std = test::Desc(p, 0x04, "Std", TColor(0, 0, 0), "");
        test::LayStandards(p, std, model);
        ASSERT_EQ(p.calibr.state, csValid) << p.calibr.message;
        ASSERT_NE(p.calibr.message.find("\r\n"), std::string::npos) << p.calibr.message;
        QPlate back;
        ASSERT_EQ(ReadBlock(back, WriteBlock(p)), 0);
        EXPECT_EQ(back.calibr.message, p.calibr.message);
    }
    QPlate p;
    test::LayStandards(p, test::Desc(p, 0x04, "Std", TColor(0, 0, 0), ""), cmLinear);
    p.calibr.message = "checked by hand";
    QPlate back;
    ASSERT_EQ(ReadBlock(back, WriteBlock(p)), 0);
    EXPECT_EQ(back.calibr.message, "checked by hand");
}

TEST(PlateFile, OlderLineFormsAreRead)
{
    DecimalChar point('.');
    QPlate p;
    ASSERT_EQ(ReadBlock(p, ReadFileBytes(FixturePath("legacy.plt"))), 0);
    EXPECT_EQ(p.methodName, "Old method");
    EXPECT_EQ(p.methodInfo, "written by an older version \xC3\xA9t\xC3\xA9")
        << "Windows-1252 bytes become UTF-8";
    // CALI: field 1 = 0 means decreasing, field 2 the model, field 3 log x.
    EXPECT_EQ(p.calibr.decreasing, 1);
    EXPECT_EQ(p.calibr.model, cmParabole);
    EXPECT_EQ(p.calibr.logX, 1);
    EXPECT_EQ(p.calibr.concentrations, (std::vector<double>{1.0, NoValue, 20.0}));
    EXPECT_EQ(p.calibr.K1, 1.0);
    // SMPL: controls, standards, a fixed quantitative and a sequential qualitative sample.
    ASSERT_EQ(p.globInUse, &p.globSample);
    EXPECT_EQ(p.globSample.ident, "controls");
    ASSERT_EQ(p.globSample.WellCount(), 2);
    EXPECT_EQ(p.globSample.wells[1].desc, p.descs[0].get());
    ASSERT_EQ(p.stdInUse, &p.stdSample);
    EXPECT_EQ(p.stdSample.wells[1].group, 1);
    ASSERT_EQ(p.sampleCount, 2);
    EXPECT_EQ(p.fixedCount, 1);
    auto* n = dynamic_cast<QNSample*>(p.GetSample(0));
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->QuantDefinition(), (std::vector<double>{1.0, 5.0}));
    auto* q = dynamic_cast<QQSample*>(p.GetSample(1));
    ASSERT_NE(q, nullptr);
    ASSERT_EQ(q->QualDefinition().size(), 1u);
    EXPECT_EQ(q->QualDefinition()[0].name, "res1");
    // VALI 0 is skipped, VALI 1 adds one unnamed condition, then named.
    ASSERT_EQ(p.validations.definitions.size(), 1u);
    EXPECT_EQ(p.validations.definitions[0].name, "cond1");
    EXPECT_TRUE(p.calculations.definitions.empty());
    EXPECT_TRUE(p.reportDef.empty());
    // An older measurement time in seconds since 1970, local time.
    const std::int64_t epoch = static_cast<std::int64_t>(p.measureTime) - 100000000LL;
    EXPECT_LE(std::llabs(epoch - kUnixEpochMs), 14LL * 3600 * 1000);
    EXPECT_EQ((epoch - kUnixEpochMs) % (15 * 60 * 1000), 0);
    EXPECT_EQ(p.wells[0].measured, 0.5);
    EXPECT_EQ(p.wells[0].data, 0.5);
    EXPECT_EQ(p.wells[1].measured, NoValue);
    EXPECT_EQ(p.measuredCount, 2);
}

TEST(PlateFile, TimeFromFile)
{
    EXPECT_EQ(TimeFromFile(0), 0u);
    EXPECT_EQ(TimeFromFile(1ull << 32), 1ull << 32) << "from 2^32 on milliseconds since 1601";
    EXPECT_EQ(TimeFromFile(2) - TimeFromFile(1), 1000u) << "below it seconds";
}

// A block whose lines the tokenizer cannot split, or which break their tag's rule, is
// refused with its message; nothing is read out of bounds (the sanitizer build runs these).
TEST(PlateFile, HostileInputIsRefused)
{
    const std::string head = "MNAM 'm';'i';\r\nDESC G;Ctl;0;'';\r\nDESC SP;Std;0;'';\r\n"
                             "DESC NP;Unk;0;'';\r\n";
    struct Row {
        const char* name;
        std::string lines;
        int message;
    };
    const std::string hugeCount = "SMGL '';2147483647;Ctl;0;\r\n";
    const Row rows[] = {
        {"empty line", "\r\n", 3102},
        {"unknown tag", "XXXX 1;\r\n", 3102},
        {"line shorter than a tag", "DA\r\n", 3102},
        {"quote never closed at the end", "UNIT 'abc", 3102},
        {"line longer than 255", "UNIT '" + std::string(300, 'a') + "';\r\n", 3102},
        {"number without ';'", "WIDT 1;2\r\n", 3102},
        {"MNAM with a number", "MNAM 5;\r\n", 3103},
        {"DSEP not . or ,", "DSEP 'x';\r\n", 3103},
        {"DSEP empty", "DSEP '';\r\n", 3103},
        {"BLNK mode 3", "BLNK 3;'';'';\r\n", 3103},
        {"DESC unknown kind", "DESC XX;A;0;'';\r\n", 3103},
        {"DESC colour too large", "DESC G;A;99999999999;'';\r\n", 3103},
        {"DESC name quoted", "DESC G;'A';0;'';\r\n", 3103},
        {"SMGL count 0", "SMGL '';0;Ctl;0;\r\n", 3103},
        {"SMGL huge count", hugeCount, 3103},
        {"SMGL negative count", "SMGL '';-1;Ctl;0;\r\n", 3103},
        {"SMGL count beyond fields", "SMGL '';2;Ctl;0;\r\n", 3103},
        {"SMGL unknown descriptor", "SMGL '';1;Nope;0;\r\n", 3103},
        {"SMGL descriptor of another kind", "SMGL '';1;Std;0;\r\n", 3103},
        {"SMGL well 96", "SMGL '';1;Ctl;96;\r\n", 3103},
        {"SMGL well -1", "SMGL '';1;Ctl;-1;\r\n", 3103},
        {"well used twice", "SMGL '';2;Ctl;5;Ctl;5;\r\n", 3103},
        {"well of another sample", "SMGL '';1;Ctl;5;\r\nSMNF 'a';G;1;Unk;5;0;\r\n", 3103},
        {"SMST negative group", "SMST '';1;Std;3;-2;\r\n", 3103},
        {"SMST huge group", "SMST '';1;Std;3;5000;\r\n", 3103},
        {"SMQF too few fields", "SMQF 'a';G;1;\r\n", 3103},
        {"SMNF group missing", "SMNF 'a';G;1;Unk;3;\r\n", 3103},
        {"SMNF own definition bad pair", "SMNF 'a';L;1;Unk;3;0;2;x;5;\r\n", 3103},
        {"SMPL descriptor position beyond list", "SMPL NF;'a';G;1;7;3;0;\r\n", 3103},
        {"SMPL negative descriptor position", "SMPL NF;'a';G;1;-1;3;0;\r\n", 3103},
        {"SMPL unknown sample letter", "SMPL XF;'a';G;1;0;3;0;\r\n", 3103},
        {"SMPL own values count beyond fields", "SMPL NF;'a';L;1;2;3;0;99999;1;\r\n", 3103},
        {"CALI model 6", "CALI 1;6;0;0;1;\r\n", 3103},
        {"CALJ model -1", "CALJ 1;-1;0;0;0;0;1;\r\n", 3103},
        {"CALJ K0 text", "CALJ 1;0;0;0;0;'a';1;\r\n", 3103},
        {"CALJ state 2", "CALJ 1;0;0;1;0;0;1;1;'';2;'';0;0;8;;;;;;;;;\r\n", 3103},
        {"CALJ negative point count", "CALJ 1;0;0;1;0;0;1;1;'';1;'';-1;0;0;\r\n", 3103},
        {"CALJ huge point count", "CALJ 1;0;0;1;0;0;1;1;'';1;'';2000000000;0;0;\r\n", 3103},
        // Found by the fuzzer: a count this large overflowed the check that the fields cover it.
        {"CALJ count near the largest integer", "CALJ1;0;0;1;0;;;'';1;'';8000000000001110312;\r\n", 3103},
        {"CALJ results too short for its curve", "CALJ 1;0;0;1;0;0;1;1;'';1;'';0;0;2;1;1;\r\n", 3103},
        {"CALJ name among concentrations", "CALJ 1;0;0;0;0;0;1;1;x;\r\n", 3103},
        {"FMTM two fields", "FMTM 1;2;\r\n", 3103},
        {"UNIT number", "UNIT 5;\r\n", 3103},
        {"WIDT 0", "WIDT 0;22;\r\n", 3103},
        {"WIDT huge", "WIDT 36;100000;\r\n", 3103},
        {"WIDT one field", "WIDT 36;\r\n", 3103},
        {"GRAF two fields", "GRAF 1;1;\r\n", 3103},
        {"DMEA negative filter", "DMEA 0;-450;\r\n", 3103},
        {"DMEA flag 2", "DMEA 2;\r\n", 3103},
        {"DA96 text value", "DA96 1;'2';\r\n", 3103},
        {"TMEA negative", "TMEA -5;\r\n", 3103},
        {"TMEA beyond 2^53", "TMEA 1e300;\r\n", 3103},
        {"TMEA two fields", "TMEA 1;2;\r\n", 3103},
        {"VALI flag 5", "VALI 5;'x';\r\n", 3103},
        {"FDEF number", "FDEF 1;\r\n", 3103},
        {"QUAN then a number after texts", "QUAN 1;'a';2;\r\n", 3103},
    };
    for (const Row& row : rows) {
        DecimalChar point('.');
        QPlate p;
        const int message = ReadBlock(p, head + "DSEP ',';\r\n" + row.lines + "QEND\r\n");
        EXPECT_EQ(message, row.message) << row.name;
        EXPECT_EQ(gDecimalChar, '.') << row.name << ": the decimal character is put back";
        EXPECT_LE(p.sampleCount, p.wellCount) << row.name;
    }
}

// Lines a reader skips without a message, and the end of the file standing in for QEND.
TEST(PlateFile, IgnoredLinesAndMissingEnd)
{
    struct Row {
        const char* name;
        const char* lines;
    };
    const Row rows[] = {
        {"CALJ with fewer than 7 fields", "CALJ 0;3;0;0;0;0;\r\n"},
        {"CALI with fewer than 4 fields", "CALI 0;3;0;\r\n"},
        {"lines without fields", "FDEF \r\nVALI \r\nQUAL \r\nDMEA \r\nREPO \r\n"},
        {"REPO with a number", "REPO 5;\r\n"},
        {"VALI 0", "VALI 0;'never';\r\n"},
        {"VALI 1 without its text", "VALI 1;\r\n"},
        {"MNAD", "MNAD 'old';'';\r\n"},
        {"no QEND at all", ""},
    };
    for (const Row& row : rows) {
        QPlate p;
        EXPECT_EQ(ReadBlock(p, std::string("MNAM 'm';\r\n") + row.lines), 0) << row.name;
        EXPECT_EQ(p.calibr.model, cmLinear) << row.name;
        EXPECT_TRUE(p.calculations.definitions.empty()) << row.name;
        EXPECT_TRUE(p.validations.definitions.empty()) << row.name;
        EXPECT_EQ(p.methodName, "m") << row.name;
    }
}

// Inputs the fuzzer found: each reads, and what it read writes back as a block that reads
// again to the same bytes.
TEST(PlateFile, FuzzFindsWriteBackUnchanged)
{
    struct Row {
        const char* name;
        std::string bytes;
    };
    const Row rows[] = {
        // Without blanking the data values are the measured ones; values from DM96 alone
        // were lost at the next save.
        {"DM96 without a data mode", "MNAM 'x';\r\nDM96 1.5;;2;\r\nQEND \r\n"},
        {"DT96 without a data mode", "MNAM 'x';\r\nDT96 ;0.25;\r\nQEND \r\n"},
        // A QUAN line of definitions only empties the value list, which then must stay empty.
        {"QUAN without values", "MNAM 'x';\r\nQUAN ok;'1 > 0';\r\nDA96 1;\r\nQEND \r\n"},
    };
    for (const Row& row : rows) {
        DecimalChar point('.');
        QPlate p;
        ASSERT_EQ(ReadBlock(p, row.bytes), 0) << row.name;
        const std::string first = WriteBlock(p);
        QPlate again;
        ASSERT_EQ(ReadBlock(again, first), 0) << row.name;
        EXPECT_EQ(WriteBlock(again), first) << row.name;
        EXPECT_EQ(again.measuredCount, p.measuredCount) << row.name;
        EXPECT_GT(again.measuredCount, 0) << row.name;
    }
}

TEST(PlateFile, SequentialLimitTakesTheFirstSequentialSamples)
{
    const std::string rich = ReadFileBytes(FixturePath("rich_comma.plt"));
    struct Row {
        int limit;
        int samples;
        int boundWells;
    };
    // Two fixed samples (4 wells, with 2 controls and 8 standards: 14), then three
    // qualitative sequential samples of one well and two quantitative ones of two wells.
    for (Row row : {Row{-1, 7, 21}, Row{0, 2, 14}, Row{2, 4, 16}, Row{4, 6, 19}, Row{100, 7, 21}}) {
        QPlate p;
        ASSERT_EQ(ReadBlock(p, rich, row.limit), 0) << row.limit;
        EXPECT_EQ(p.sampleCount, row.samples) << "limit " << row.limit;
        EXPECT_EQ(p.fixedCount, 2) << "limit " << row.limit;
        int bound = 0;
        for (const QWellRecord& w : p.wells) bound += w.sample != nullptr;
        EXPECT_EQ(bound, row.boundWells) << "wells of left-out samples stay free; limit " << row.limit;
    }
}

// A name the file cannot carry would make an unreadable file: the writer refuses the plate
// before a byte is written, and saving keeps the old file.
TEST(PlateFile, WriterRefusesNamesTheFileCannotCarry)
{
    struct Row {
        const char* name;
        std::string descName;
    };
    const Row rows[] = {
        {"too long", std::string(251, 'a')},
        {"starts with a digit", "1abc"},
        {"holds ';'", "a;b"},
        {"holds a tab", "a\tb"},
        {"empty", ""},
        {"ends with a blank", "ab "},
    };
    test::TempFile old("old content\r\n");
    for (const Row& row : rows) {
        QPlate p;
        QDesc* d = test::Desc(p, 0x01, row.descName, TColor(0, 0, 0), "");
        p.globSample.AddWellEntry(QSegm{0, 0, d});
        p.globInUse = &p.globSample;
        std::string block, message;
        EXPECT_FALSE(RenderPlateBlock(p, pwPlate, block, &message)) << row.name;
        EXPECT_TRUE(block.empty()) << row.name;
        EXPECT_NE(message.find("cannot be stored"), std::string::npos) << row.name << ": " << message;
        EXPECT_FALSE(SavePlateFile(p, old.Path(), pwPlate)) << row.name;
        EXPECT_EQ(old.Read(), "old content\r\n") << row.name;
    }

    // An entry whose descriptor is not written (kind outside the table) could not be bound again.
    QPlate p;
    QDesc* odd = test::Desc(p, 0x03, "Odd", TColor(0, 0, 0), "");
    p.globSample.AddWellEntry(QSegm{0, 0, odd});
    p.globInUse = &p.globSample;
    std::string block;
    EXPECT_FALSE(RenderPlateBlock(p, pwPlate, block));

    // Letters beyond ASCII after the first are carried.
    QPlate ok;
    test::Desc(ok, 0x01, "Pos_\xC3\xBC 1", TColor(0, 0, 0), "");
    QPlate back;
    ASSERT_EQ(ReadBlock(back, WriteBlock(ok)), 0);
    EXPECT_EQ(back.descs.at(0)->name, "Pos_\xC3\xBC 1");
}

// nan has no form the reader takes back ("nan" is a name field, the block would be refused at
// reading): the writer refuses the plate and saving keeps the old file. A number field "-nan"
// in a file is read as a missing value, so that whatever is read can be written again.
TEST(PlateFile, NotANumberIsNeitherWrittenNorTakenIn)
{
    test::TempFile old("old content\r\n");
    const double nan = std::nan("");
    struct Row {
        const char* name;
        void (*spoil)(QPlate&, double);
    };
    const Row rows[] = {
        {"a concentration", [](QPlate& p, double v) { p.calibr.concentrations.push_back(v); }},
        {"K0", [](QPlate& p, double v) { p.calibr.K0 = v; }},
        {"a global dilution", [](QPlate& p, double v) { p.globalQuantDef.push_back(v); }},
    };
    for (const Row& row : rows) {
        QPlate p;
        test::BuildRichPlate(p);
        row.spoil(p, nan);
        for (int flag : {pwPlate, pwMethod}) {
            std::string block, message;
            EXPECT_FALSE(RenderPlateBlock(p, flag, block, &message)) << row.name;
            EXPECT_TRUE(block.empty()) << row.name;
            EXPECT_EQ(message, GetResString(kMsgNotANumberValue)) << row.name;
        }
        std::string message;
        EXPECT_FALSE(SavePlateFile(p, old.Path(), pwPlate, &message)) << row.name;
        EXPECT_EQ(message, GetResString(kMsgNotANumberValue)) << row.name;
        EXPECT_EQ(old.Read(), "old content\r\n") << row.name;
    }

    DecimalChar point('.');
    QPlate p;
    ASSERT_EQ(ReadBlock(p, "MNAM 'x';\r\nCALJ 1;0;0;0;1;-nan;1;5;-nan;\r\nQEND \r\n"), 0);
    EXPECT_EQ(p.calibr.K0, NoValue);
    ASSERT_EQ(p.calibr.concentrations.size(), 2u);
    EXPECT_EQ(p.calibr.concentrations[1], NoValue);
    QPlate again;
    EXPECT_EQ(ReadBlock(again, WriteBlock(p)), 0);
}

TEST(PlateFile, SaveReplacesTheFileWhole)
{
    test::TempFile file("old\r\n");
    QPlate p;
    test::BuildRichPlate(p);
    std::string message;
    ASSERT_TRUE(SavePlateFile(p, file.Path(), pwPlate, &message)) << message;
    QPlate back;
    EXPECT_EQ(ReadBlock(back, file.Read()), 0);
    EXPECT_EQ(back.sampleCount, 7);

    EXPECT_FALSE(SavePlateFile(p, "/nonexistent-folder/x.plt", pwPlate, &message));
    EXPECT_EQ(message, GetResString(3104));
}

// The block rendered in memory (what a save writes and what the document keeps as its saved
// state) is byte for byte what the record writer puts into a file, for a plate and a method.
TEST(PlateFile, TheRenderedBlockIsWhatTheFileWriterWrites)
{
    QPlate p;
    test::BuildRichPlate(p);
    for (int flag : {pwPlate, pwMethod}) {
        test::TempFile file("");
        const int fd = ::open(file.Path().c_str(), O_WRONLY | O_TRUNC);
        ASSERT_GE(fd, 0);
        const long written = WritePlateFile(p, fd, flag);
        ::close(fd);
        const std::string block = WriteBlock(p, flag);
        EXPECT_EQ(written, static_cast<long>(block.size())) << "flag " << flag;
        EXPECT_EQ(block, file.Read()) << "flag " << flag;
    }
}

// Writing to a full disk fails with the writer's message and a negative count.
TEST(PlateFile, WriteErrorIsReported)
{
    const int fd = ::open("/dev/full", O_WRONLY);
    if (fd < 0) GTEST_SKIP() << "no /dev/full";
    QPlate p;
    test::BuildRichPlate(p);
    std::string message;
    EXPECT_EQ(WritePlateFile(p, fd, pwPlate, &message), -1);
    EXPECT_EQ(message, GetResString(3105));
    ::close(fd);
}

}  // namespace
}  // namespace vyn
