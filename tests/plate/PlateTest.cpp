#include <gtest/gtest.h>

#include "evaluator/NoValue.h"
#include "plate/FilterTable.h"
#include "plate/PlateSettings.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"
#include "PlateTestUtil.h"

namespace vyn {
namespace {

using test::AddDesc;
using test::Lay;

TEST(Plate, NewPlateDefaults)
{
    QFilterTable::Instance().SetFilters({});
    QPlate p;
    EXPECT_EQ(p.columns, 12);
    EXPECT_EQ(p.rows, 8);
    EXPECT_EQ(p.wellCount, 96);
    ASSERT_EQ(p.wells.size(), 96u);
    for (const QWellRecord& w : p.wells) {
        EXPECT_EQ(w.measured, NoValue);
        EXPECT_EQ(w.data, NoValue);
        EXPECT_EQ(w.sample, nullptr);
    }
    EXPECT_EQ(p.sampleCount, 0);
    EXPECT_EQ(p.dataMode, dmMeasured);
    EXPECT_EQ(p.validity, pvNotValidated);
    EXPECT_EQ(p.measuredFormat, QNumFormat(nmFixed, 3, 0));
    EXPECT_EQ(p.dataFormat, QNumFormat(nmFixed, 3, 0));
    EXPECT_EQ(p.resultsFormat, QNumFormat(nmGeneral, 3, 3));
    EXPECT_EQ(p.resultFieldWidth, 36);
    EXPECT_EQ(p.cellWidth, 22);
    EXPECT_EQ(p.globalQuantDef, std::vector<double>{1.0});
    EXPECT_EQ(p.blankValue.Name(), "gblank");
    EXPECT_EQ(p.measFilter, 0);
    EXPECT_EQ(p.globSample.plate, &p);
    EXPECT_EQ(p.stdSample.kind, skStandard);
}

TEST(Plate, FirstFilterOfTheReaderTableIsTheInitialFilter)
{
    QFilterTable::Instance().SetFilters({450, 620});
    QPlate p;
    QFilterTable::Instance().SetFilters({});
    EXPECT_EQ(p.measFilter, 450);
    EXPECT_EQ(p.refFilter, 450);
    EXPECT_EQ(QFilterTable::Instance().GetFilter(0), 0) << "index outside the empty table";
}

TEST(Plate, WellNames)
{
    QPlate p;
    const struct {
        int well;
        const char* name;
    } rows[] = {{0, "A1"}, {11, "A12"}, {12, "B1"}, {95, "H12"}, {96, "?"}, {-1, "?"}};
    for (const auto& r : rows) EXPECT_EQ(p.FormatWellName(r.well), r.name) << "well " << r.well;

    p.SetSize(1, 30);  // rows beyond Z take two letters
    EXPECT_EQ(p.FormatWellName(26), "AA1");
    EXPECT_EQ(p.FormatWellName(29), "AD1");
}

TEST(Plate, SetSizeOfTheSameCountKeepsWellsAndClearsSampleCounts)
{
    QPlate p;
    p.SetMeasuredValue(5, 0.25);
    auto s = std::make_unique<QQSample>(&p);
    ASSERT_EQ(p.InsertSample(std::move(s), 0, true), 0);
    p.SetSize(12, 8);
    EXPECT_EQ(p.wells[5].measured, 0.25);
    EXPECT_EQ(p.sampleCount, 0);
    EXPECT_EQ(p.fixedCount, 0);
    p.SetSize(6, 4);
    EXPECT_EQ(p.wellCount, 24);
    EXPECT_EQ(p.wells[5].measured, NoValue) << "a new size brings new wells";
}

TEST(Plate, FormattedValuesAndResultTexts)
{
    QPlate p;
    p.SetMeasuredValue(0, 0.12345);
    EXPECT_EQ(p.FormatMeasured(0), "0.123");
    EXPECT_EQ(p.FormatData(0), "0.123");
    EXPECT_EQ(p.FormatMeasured(1), "");
    EXPECT_EQ(p.FormatMeasured(500), "");

    QQSample s(&p);
    bool isText = false;
    const struct {
        const char* name;
        int state;
        TStackVal last;
        std::string text;
        bool isText;
    } rows[] = {
        {"not calculated", rsNotCalculated, TStackVal(1.0), "", true},
        {"number", rsCalculated, TStackVal(2.5), "2.5", false},
        {"text", rsCalculated, TStackVal::Text("pos"), "pos", true},
        {"under", rsUnder, TStackVal(1.0), "<std", true},
        {"over", rsOver, TStackVal(1.0), ">STD", true},
        {"error", rsError, TStackVal(1.0), "err", true},
        {"other state is an error", 7, TStackVal(1.0), "err", true},
    };
    for (const auto& r : rows) {
        s.results.clear();
        s.results.push_back(r.last);
        s.resultState = r.state;
        EXPECT_EQ(p.SampleResultText(s, isText), r.text) << r.name;
        EXPECT_EQ(isText, r.isText) << r.name;
    }
    TStackVal vec;
    vec.MakeNumberVector(2);
    vec.AppendNumber(1);
    vec.AppendNumber(2);
    s.results.assign(1, vec);
    s.resultState = rsCalculated;
    EXPECT_EQ(p.SampleResultText(s, isText), "?");

    PlateSettings().resUnder = "low";
    s.resultState = rsUnder;
    EXPECT_EQ(p.SampleResultText(s, isText), "low");
    PlateSettings() = QPlateSettings();

    // The well shows the selected short result, an error as the error word.
    s.results.clear();
    s.results.push_back(TStackVal::Text("short"));
    s.results.push_back(TStackVal(3.0));
    s.resultState = rsCalculated;
    s.shortSelected = true;
    s.shortIndex = 0;
    EXPECT_EQ(p.WellResultText(s, isText), "short");
    s.results[0].SetErrorFlag(true);
    EXPECT_EQ(p.WellResultText(s, isText), "err");
    s.shortIndex = 9;  // a damaged index falls back to the sample's own text
    EXPECT_EQ(p.WellResultText(s, isText), "3");
}

// Three fixed and two sequential samples, each on one well.
struct FiveSamples : ::testing::Test {
    QPlate p;
    QDesc* desc = AddDesc(p, skQualitative, "S");
    QSample* s[5] = {};
    void SetUp() override
    {
        for (int i = 0; i < 5; ++i) {
            auto sample = std::make_unique<QQSample>(&p);
            sample->SetIdent("S" + std::to_string(i));
            Lay(*sample, desc, {{i, 0}});
            sample->LinkWells();
            s[i] = sample.get();
            ASSERT_EQ(p.InsertSample(std::move(sample), i, i < 3), i);
        }
        p.rst.Reset(0);
    }
};

TEST_F(FiveSamples, RemovingTheLastFixedSampleMovesTheSequentialOnesDown)
{
    ASSERT_EQ(p.fixedCount, 3);
    std::unique_ptr<QSample> removed = p.RemoveSample(2);
    ASSERT_EQ(removed.get(), s[2]);
    EXPECT_EQ(p.fixedCount, 2);
    EXPECT_EQ(p.sampleCount, 4);
    EXPECT_EQ(p.GetSample(2), s[3]);
    EXPECT_EQ(p.GetSample(3), s[4]);
    EXPECT_EQ(s[3]->index, 2);
    EXPECT_EQ(s[4]->index, 3);
    EXPECT_EQ(s[3]->SeqNumber(), 1);
    EXPECT_EQ(p.GetSample(4), nullptr);
    // Slots 3 and 4 were left; the moved samples' wells changed.
    EXPECT_TRUE(p.rst.SampleChanged(3));
    EXPECT_TRUE(p.rst.SampleChanged(4));
    EXPECT_FALSE(p.rst.SampleChanged(1));
    EXPECT_TRUE(p.rst.WellChanged(3));
    EXPECT_TRUE(p.rst.WellChanged(4));
    EXPECT_EQ(p.wells[2].sample, nullptr) << "the removed sample's well is free";
}

TEST_F(FiveSamples, IndexesFromOutsideAreRefused)
{
    EXPECT_EQ(p.RemoveSample(5), nullptr);
    EXPECT_EQ(p.RemoveSample(-1), nullptr);
    EXPECT_EQ(p.GetSample(99), nullptr);
    EXPECT_EQ(p.InsertSample(std::make_unique<QQSample>(&p), 4, true), -1) << "fixed slot past the fixed part";
    EXPECT_EQ(p.InsertSample(std::make_unique<QQSample>(&p), 1, false), -1) << "sequential slot in the fixed part";
    EXPECT_EQ(p.sampleCount, 5);
}

TEST_F(FiveSamples, SequenceNumbersAndFixedNames)
{
    EXPECT_TRUE(s[0]->IsFixed());
    EXPECT_TRUE(s[3]->IsSequential());
    EXPECT_EQ(s[3]->SeqIndex(), 0);
    EXPECT_EQ(s[4]->SeqNumber(), 2);

    p.fixNameCounter = 97;
    s[0]->MakeFixName();
    EXPECT_EQ(s[0]->ident, "Fix98");
    s[0]->MakeFixName();
    EXPECT_EQ(s[0]->ident, "Fix99");
    s[0]->MakeFixName();
    EXPECT_EQ(s[0]->ident, "Fix1");
}

TEST_F(FiveSamples, FindSampleByIdReachesFixedSamplesOnly)
{
    s[0]->SetIdent("Std 1");
    s[1]->SetIdent("Std1");
    s[3]->SetIdent("Seq");
    EXPECT_EQ(p.FindSampleById("std"), s[0]);
    EXPECT_EQ(p.FindSampleById("Std1"), s[1]);
    EXPECT_EQ(p.FindSampleById("Seq"), nullptr);
    EXPECT_EQ(p.FindSampleById("Std 10"), nullptr);
}

TEST(Samples, LinkWellsRenumbersGroupsByRuns)
{
    QPlate p;
    QDesc* d = AddDesc(p, skQuantitative, "X");
    QNSample s(&p);
    Lay(s, d, {{0, 5}, {1, 5}, {2, 7}, {3, 7}, {4, 2}});
    s.AddWellEntry(QSegm{2, 500, d});  // a well number from a damaged file
    s.LinkWells();
    std::vector<int> groups;
    for (const QSegm& e : s.wells) groups.push_back(e.group);
    EXPECT_EQ(groups, (std::vector<int>{0, 0, 1, 1, 2, 2}));
    EXPECT_EQ(p.wells[3].sample, &s);
    EXPECT_EQ(p.wells[3].position, 3);

    double v;
    int ref;
    EXPECT_EQ(s.GetWellEntry(5, v, ref), -1);
    EXPECT_EQ(s.GetWellEntry(6, v, ref), -1);
    s.UnlinkWells();
    EXPECT_EQ(p.wells[3].sample, nullptr);
}

TEST(Samples, InsertEntryAndCountDescriptors)
{
    QPlate p;
    QDesc* pos = AddDesc(p, skQualitative, "Pos");
    QDesc* neg = AddDesc(p, skQualitative, "Neg");
    QQSample s(&p);
    Lay(s, pos, {{0, 0}, {2, 0}});
    EXPECT_EQ(s.InsertWellEntry(QSegm{0, 1, neg}, 1), 1);
    EXPECT_EQ(s.InsertWellEntry(QSegm{0, 3, neg}, 99), 3);
    EXPECT_EQ(s.wells[1].well, 1);
    QDesc lower(skQualitative, "pos", TColor(), "");
    EXPECT_EQ(s.CountWellsWithDesc(lower), 2);

    s.LinkWells();
    p.MarkUsedDescriptors();
    EXPECT_TRUE(pos->kind & 0x8000u);
    AddDesc(p, skQualitative, "Unused");
    p.MarkUsedDescriptors();
    EXPECT_FALSE(p.descs.back()->kind & 0x8000u);
}

TEST(Samples, ClearResultsOfAnUncalculatedSampleChangesNothing)
{
    QPlate p;
    QQSample s(&p);
    s.colour = 0x123;
    s.colourSet = true;
    EXPECT_EQ(s.ClearResults(), 0);
    EXPECT_EQ(s.colour, 0x123u);
    s.resultState = rsCalculated;
    s.AppendResult("x");
    EXPECT_EQ(s.ClearResults(), 1);
    EXPECT_EQ(s.colour, kNoSampleColour);
    EXPECT_TRUE(s.results.empty());
}

}  // namespace
}  // namespace vyn
