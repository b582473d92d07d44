#include <gtest/gtest.h>

#include <functional>

#include "QDocTestUtil.h"
#include "evaluator/NoValue.h"
#include "plate/QNSample.h"
#include "plate/QQSample.h"

namespace vyn {
namespace {

using test::DocFixture;
using test::Heard;
using test::W;

constexpr Heard kChanged{vnPlateChanged, 0};
Heard Added(long i) { return {vnSampleAdded, i}; }
Heard Removed(long i) { return {vnSampleRemoved, i}; }

std::vector<unsigned char> Select(std::initializer_list<const char*> wells)
{
    std::vector<unsigned char> sel(96, 0);
    for (const char* w : wells) sel[static_cast<std::size_t>(W(w))] = 1;
    return sel;
}

// Controls on A1 A2, standards B1..B4 (one level each), quantitative samples on C1, C2,
// C3 (the first of them fixed) and a qualitative sample on D1 D2.
struct Laid : DocFixture {
    Laid()
    {
        doc.PlaceSampleAt(nullptr, ctl, 0, W("A1"), W("A2"), false);
        doc.PlaceStandardAt(nullptr, standard, W("B1"), W("B4"), false, arSingle);
        doc.PlaceNewSampleAt(quant, W("C1"), W("C3"), false, arSingle);
        doc.PlaceNewSampleAt(qual, W("D1"), W("D2"), false, arDoubletsAcross);
        doc.FixSample(0);
        doc.SetDirty(false);
        p.rst.Reset(0);
        p.rst.MarkWell(95);  // a refusal must not reset the change set
        Take();
    }
    QSample* S(int i) { return p.GetSample(i); }
};

TEST(QDocLayout, EveryRefusalChangesNothingAndSaysNothing)
{
    const struct {
        const char* name;
        std::function<bool(Laid&)> refused;
    } rows[] = {
        {"controls over occupied wells", [](Laid& f) { return f.doc.PlaceSampleAt(nullptr, f.ctl, 0, W("A1"), W("B2"), false) == -1; }},
        {"a sample without descriptor", [](Laid& f) { return f.doc.PlaceSampleAt(nullptr, nullptr, 0, W("E1"), W("E1"), false) == -1; }},
        {"standards in free style", [](Laid& f) { return f.doc.PlaceStandardAt(nullptr, f.standard, W("E1"), W("E2"), false, arFreeStyle) == -1; }},
        {"standards without descriptor", [](Laid& f) { return f.doc.PlaceStandardAt(nullptr, nullptr, W("E1"), W("E2"), false, arSingle) == -1; }},
        {"standard doublet from the last column", [](Laid& f) { return f.doc.PlaceStandardAt(&f.p.stdSample, f.standard, W("E12"), W("E12"), false, arDoubletsAcross) == -1; }},
        {"new samples, unknown arrangement", [](Laid& f) { return f.doc.PlaceNewSampleAt(f.quant, W("E1"), W("E2"), false, 7) == -1; }},
        {"new doublets from the last column", [](Laid& f) { return f.doc.PlaceNewSampleAt(f.quant, W("E12"), W("E12"), false, arDoubletsAcross) == -1; }},
        {"new vertical doublets from the last row", [](Laid& f) { return f.doc.PlaceNewSampleAt(f.quant, W("H1"), W("H1"), false, arDoubletsDown) == -1; }},
        {"new samples, first block occupied", [](Laid& f) { return f.doc.PlaceNewSampleAt(f.quant, W("C3"), W("C6"), false, arDoubletsAcross) == -1; }},
        {"repeat dilution of nothing", [](Laid& f) { return !f.doc.RepeatDilutionAt(nullptr, W("E1"), W("E1"), false); }},
        {"repeat dilution of a qualitative sample", [](Laid& f) { return !f.doc.RepeatDilutionAt(f.S(3), W("E1"), W("E1"), false); }},
        {"repeat dilution onto occupied wells", [](Laid& f) { return !f.doc.RepeatDilutionAt(f.S(0), W("C2"), W("C4"), false); }},
        {"repeat sample of the standards", [](Laid& f) { return !f.doc.RepeatSampleAt(&f.p.stdSample, W("E1"), W("E1"), false); }},
        {"repeat sample over the edge", [](Laid& f) { return !f.doc.RepeatSampleAt(f.S(3), W("E12"), W("E12"), false); }},
        {"move a free well", [](Laid& f) { auto s = Select({"E1"}); return !f.doc.MoveSelectedWells(0, 1, s); }},
        {"move onto another sample", [](Laid& f) { auto s = Select({"C1"}); return !f.doc.MoveSelectedWells(0, 1, s); }},
        {"move right from the last column", [](Laid& f) {
             // D2 + 11 is the free well E1 on a plate that wraps rows; the move must not wrap.
             auto s = Select({"D1", "D2"});
             return !f.doc.MoveSelectedWells(0, 11, s); }},
        {"move left past the first column", [](Laid& f) { auto s = Select({"C1"}); return !f.doc.MoveSelectedWells(1, -1, s); }},
        {"move up from the first row", [](Laid& f) { auto s = Select({"A1", "A2"}); return !f.doc.MoveSelectedWells(-1, 0, s); }},
        {"move by nothing", [](Laid& f) { auto s = Select({"A1"}); return !f.doc.MoveSelectedWells(0, 0, s); }},
        {"renumber behind the sample", [](Laid& f) { return !f.doc.MoveSampleTo(f.S(1), 2); }},
        {"renumber onto itself", [](Laid& f) { return !f.doc.MoveSampleTo(f.S(2), 2); }},
        {"renumber from sequential into fixed", [](Laid& f) { return !f.doc.MoveSampleTo(f.S(1), 0); }},
        {"fix a fixed sample", [](Laid& f) { return !f.doc.FixSample(0); }},
        {"fix past the list", [](Laid& f) { return !f.doc.FixSample(4); }},
        {"remove nothing", [](Laid& f) { return !f.doc.RemoveSample(nullptr); }},
        {"rename past the list", [](Laid& f) { return !f.doc.SetSampleName("x", 9); }},
    };
    for (const auto& r : rows) {
        Laid f;
        const std::string before = f.Layout(f.S(0)) + ";" + f.Layout(f.S(1)) + ";" + f.Layout(&f.p.stdSample);
        EXPECT_TRUE(r.refused(f)) << r.name;
        EXPECT_TRUE(f.view->heard.empty()) << r.name << ": heard " << f.view->heard.size();
        EXPECT_FALSE(f.doc.IsDirty()) << r.name;
        EXPECT_TRUE(f.p.rst.WellChanged(95)) << r.name << ": the change set was reset";
        EXPECT_EQ(f.Layout(f.S(0)) + ";" + f.Layout(f.S(1)) + ";" + f.Layout(&f.p.stdSample), before) << r.name;
        EXPECT_EQ(f.p.sampleCount, 4) << r.name;
        EXPECT_TRUE(f.Consistent()) << r.name;
    }
}

TEST(QDocLayout, SingleSamplesOverARectangleAreAnnouncedOneByOne)
{
    DocFixture f;
    EXPECT_EQ(f.doc.PlaceNewSampleAt(f.quant, W("A1"), W("B3"), false, arSingle), 6);
    EXPECT_EQ(f.Take(), (std::vector<Heard>{Added(0), Added(1), Added(2), Added(3), Added(4), Added(5), kChanged}));
    const char* expected[] = {"A1/0", "A2/0", "A3/0", "B1/0", "B2/0", "B3/0"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(f.Layout(f.p.GetSample(i)), expected[i]) << "sample " << i;
        EXPECT_NE(dynamic_cast<QNSample*>(f.p.GetSample(i)), nullptr) << "sample " << i;
        EXPECT_TRUE(f.p.rst.SampleChanged(i)) << "sample " << i;
    }
    EXPECT_TRUE(f.doc.IsDirty());
    EXPECT_TRUE(f.Consistent());
}

TEST(QDocLayout, PlacementStopsAtTheFirstBlockThatMeetsAnOccupiedWell)
{
    DocFixture f;
    f.doc.PlaceSampleAt(nullptr, f.ctl, 0, W("A5"), W("A5"), false);
    f.Take();
    EXPECT_EQ(f.doc.PlaceNewSampleAt(f.qual, W("A1"), W("A8"), false, arDoubletsAcross), 2);
    EXPECT_EQ(f.Take(), (std::vector<Heard>{Added(0), Added(1), kChanged}));
    EXPECT_EQ(f.Layout(f.p.GetSample(1)), "A3/0 A4/0");
    EXPECT_NE(dynamic_cast<QQSample*>(f.p.GetSample(1)), nullptr);
    EXPECT_EQ(dynamic_cast<QNSample*>(f.p.GetSample(1)), nullptr);

    EXPECT_EQ(f.doc.PlaceStandardAt(nullptr, f.standard, W("B1"), W("B12"), false, arDoubletsAcross), 0);
    EXPECT_EQ(f.doc.PlaceStandardAt(&f.p.stdSample, f.standard, W("C1"), W("D2"), false, arDoubletsDown), 0);
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kChanged, kChanged}));
    EXPECT_EQ(f.p.stdInUse, &f.p.stdSample);
    EXPECT_EQ(f.p.stdSample.WellCount(), 16);
    EXPECT_EQ(f.p.stdSample.wells.back().group, 7) << "six doublets across, then two down";
    EXPECT_EQ(f.p.stdSample.wells[13].well, W("D1"));
    EXPECT_TRUE(f.p.rst.CalibrationChanged());
    EXPECT_TRUE(f.Consistent());
}

TEST(QDocLayout, DilutionsGoInBehindTheirGroupAndNeverSkipOne)
{
    DocFixture f;
    ASSERT_EQ(f.doc.PlaceSampleAt(nullptr, f.quant, 0, W("A1"), W("A2"), false), 0);
    QSample* s = f.p.GetSample(0);
    EXPECT_EQ(f.Take(), (std::vector<Heard>{Added(0), kChanged}));
    EXPECT_EQ(f.doc.PlaceSampleAt(s, f.quant, 1, W("B1"), W("B2"), false), 0);
    EXPECT_EQ(f.doc.PlaceSampleAt(s, f.quant, 7, W("C1"), W("C2"), false), 0);
    EXPECT_EQ(f.Layout(s), "A1/0 A2/0 B1/1 B2/1 C1/2 C2/2");
    EXPECT_EQ(f.doc.PlaceSampleAt(s, f.quant, 9, W("D1"), W("D1"), false), 0);
    EXPECT_EQ(f.Layout(s), "A1/0 A2/0 B1/1 B2/1 C1/2 C2/2 D1/3") << "group 9 above last group 2 is group 3";
    EXPECT_EQ(f.doc.PlaceSampleAt(s, f.quant, 1, W("E1"), W("E2"), false), 0);
    EXPECT_EQ(f.Layout(s), "A1/0 A2/0 B1/1 B2/1 E1/1 E2/1 C1/2 C2/2 D1/3");
    EXPECT_EQ(f.Take(), (std::vector<Heard>(4, kChanged)));
    EXPECT_TRUE(f.Consistent());

    // Free style takes only the free wells of the sweep.
    EXPECT_EQ(f.doc.PlaceSampleAt(nullptr, f.ctl, 0, W("A1"), W("B4"), true), 0);
    EXPECT_EQ(f.Layout(f.p.globInUse), "A3/0 B3/0 A4/0 B4/0");
    EXPECT_TRUE(f.Consistent());
}

TEST(QDocLayout, RepeatsCopyTheLastGroupOrTheWholeSample)
{
    DocFixture f;
    ASSERT_EQ(f.doc.PlaceNewSampleAt(f.quant, W("A1"), W("A1"), false, arDoubletsDown), 1);
    QSample* s = f.p.GetSample(0);
    auto* own = dynamic_cast<QNSample*>(s);
    own->SetOwnDefinition(TwostrArray{});
    own->SetOwnQuantDefinition({1.0, 2.0, 4.0});
    f.Take();

    EXPECT_TRUE(f.doc.RepeatDilutionAt(s, W("A2"), W("A5"), false));
    EXPECT_EQ(f.Layout(s), "A1/0 B1/0 A2/1 B2/1 A3/2 B3/2 A4/3 B4/3 A5/4 B5/4");
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kChanged}));

    EXPECT_TRUE(f.doc.RepeatSampleAt(s, W("C1"), W("C12"), false)) << "the copy's box is five by two";
    ASSERT_EQ(f.p.sampleCount, 3);
    EXPECT_EQ(f.Layout(f.p.GetSample(1)), "C1/0 D1/0 C2/1 D2/1 C3/2 D3/2 C4/3 D4/3 C5/4 D5/4");
    EXPECT_EQ(f.Layout(f.p.GetSample(2)), "C6/0 D6/0 C7/1 D7/1 C8/2 D8/2 C9/3 D9/3 C10/4 D10/4");
    EXPECT_EQ(f.Take(), (std::vector<Heard>{Added(1), Added(2), kChanged}));
    auto* copy = dynamic_cast<QNSample*>(f.p.GetSample(2));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->QuantDefinition(), (std::vector<double>{1.0, 2.0, 4.0})) << "the copy keeps its own dilutions";
    EXPECT_TRUE(f.Consistent());
}

TEST(QDocLayout, DeletingWellsEmptiesSamplesAndClosesTheGap)
{
    Laid f;
    QSample* last = f.S(2);
    EXPECT_TRUE(f.doc.ClearSelectedWells(Select({"C2", "A1", "A2", "B4"})));
    EXPECT_EQ(f.Take(), (std::vector<Heard>{Removed(1), kChanged}));
    EXPECT_EQ(f.p.sampleCount, 3);
    EXPECT_EQ(f.S(1), last) << "the last quantitative sample moved up to slot 1";
    EXPECT_EQ(last->index, 1);
    EXPECT_EQ(f.p.fixedCount, 1);
    EXPECT_EQ(f.p.globInUse, nullptr) << "controls without wells are no longer in use";
    EXPECT_EQ(f.Layout(&f.p.stdSample), "B1/0 B2/1 B3/2");
    EXPECT_EQ(f.p.stdInUse, &f.p.stdSample);
    EXPECT_TRUE(f.doc.IsDirty());
    EXPECT_TRUE(f.Consistent());

    EXPECT_TRUE(f.doc.ClearSelectedWells(Select({"B1", "B2", "B3", "C1"})));
    EXPECT_EQ(f.Take(), (std::vector<Heard>{Removed(0), kChanged}));
    EXPECT_EQ(f.p.stdInUse, nullptr);
    EXPECT_TRUE(f.p.rst.CalibrationChanged());
    EXPECT_EQ(f.p.fixedCount, 0) << "the fixed sample went";
    EXPECT_TRUE(f.Consistent());
}

TEST(QDocLayout, MovingWellsCarriesSamplesAndSelection)
{
    Laid f;
    // C1..C3 one to the right: C3 moves first, so that C2 finds its place free.
    auto sel = Select({"C1", "C2", "C3"});
    EXPECT_TRUE(f.doc.MoveSelectedWells(0, 1, sel));
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kChanged}));
    EXPECT_EQ(f.Layout(f.S(0)), "C2/0");
    EXPECT_EQ(f.Layout(f.S(2)), "C4/0");
    EXPECT_EQ(sel, Select({"C2", "C3", "C4"}));
    EXPECT_EQ(f.p.wells[static_cast<std::size_t>(W("C1"))].sample, nullptr);
    EXPECT_TRUE(f.Consistent());

    // Down and to the left in one move.
    sel = Select({"D1", "D2"});
    EXPECT_TRUE(f.doc.MoveSelectedWells(2, 0, sel));
    EXPECT_EQ(f.Layout(f.S(3)), "F1/0 F2/0");
    sel = Select({"F2"});
    EXPECT_FALSE(f.doc.MoveSelectedWells(0, -1, sel)) << "F1 stays with the sample";
    sel = Select({"F1", "F2"});
    EXPECT_FALSE(f.doc.MoveSelectedWells(0, -1, sel)) << "off the left edge";
    EXPECT_TRUE(f.doc.MoveSelectedWells(-1, 1, sel));
    EXPECT_EQ(f.Layout(f.S(3)), "E2/0 E3/0");
    EXPECT_TRUE(f.Consistent());
}

TEST(QDocLayout, RenumberingAndFixingReorderTheList)
{
    Laid f;  // slots: 0 C1 (fixed "Fix1"), 1 C2, 2 C3, 3 D1 D2
    EXPECT_EQ(f.S(0)->ident, "Fix1");
    QSample* d = f.S(3);
    EXPECT_TRUE(f.doc.MoveSampleTo(d, 1));
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kChanged}));
    EXPECT_EQ(f.S(1), d);
    EXPECT_EQ(f.Layout(f.S(2)), "C2/0");
    EXPECT_EQ(f.Layout(f.S(3)), "C3/0");
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(f.p.rst.SampleChanged(i)) << i;
    EXPECT_FALSE(f.p.rst.SampleChanged(0));
    EXPECT_TRUE(f.Consistent());

    // The first sequential sample only becomes fixed and gets its name.
    EXPECT_TRUE(f.doc.FixSample(1));
    EXPECT_EQ(f.p.fixedCount, 2);
    EXPECT_EQ(f.S(1), d);
    EXPECT_EQ(d->ident, "Fix2");
    // A later one moves to the end of the fixed part.
    QSample* c3 = f.S(3);
    EXPECT_TRUE(f.doc.FixSample(3));
    EXPECT_EQ(f.S(2), c3);
    EXPECT_EQ(f.Layout(f.S(3)), "C2/0");
    EXPECT_EQ(f.p.fixedCount, 3);
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kChanged, kChanged}));
    EXPECT_TRUE(f.Consistent());
}

TEST(QDocLayout, RemoveRenameAndValuesFollowTheEditingPattern)
{
    Laid f;
    QSample* gone = f.S(1);
    EXPECT_TRUE(f.doc.RemoveSample(gone));
    EXPECT_EQ(f.Take(), (std::vector<Heard>{Removed(1), kChanged}));
    EXPECT_EQ(gone->WellCount(), 1) << "a removed sample stays readable until the views have heard";
    EXPECT_EQ(f.p.wells[static_cast<std::size_t>(W("C2"))].sample, nullptr);
    EXPECT_TRUE(f.Consistent());

    // A name changes no result.
    QSample* s = f.S(1);
    s->AppendResult("conc");
    s->resultState = rsCalculated;
    f.doc.SetDirty(false);
    EXPECT_TRUE(f.doc.SetSampleName("Patient 7", 1));
    EXPECT_EQ(s->ident, "Patient 7");
    EXPECT_EQ(s->resultState, rsCalculated);
    EXPECT_TRUE(f.p.rst.SampleChanged(1));
    EXPECT_TRUE(f.doc.IsDirty());

    // A value drops the results.
    EXPECT_TRUE(f.doc.SetPlateValue(0.5, W("C3"), true));
    EXPECT_EQ(f.p.measuredCount, 1);
    EXPECT_EQ(s->resultState, rsNotCalculated);
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kChanged, kChanged}));

    f.doc.SetDirty(false);
    EXPECT_FALSE(f.doc.SetPlateValue(0.5, W("C3"), true)) << "the value already there";
    EXPECT_FALSE(f.doc.IsDirty());
    EXPECT_TRUE(f.Take().empty());

    std::vector<double> values(96, 0.25);
    EXPECT_TRUE(f.doc.SetMeasuredData(values, false));
    EXPECT_EQ(f.p.measuredCount, 96);
    EXPECT_NE(f.p.measureTime, 0u);
    EXPECT_TRUE(f.doc.SetMeasuredData(std::vector<double>(96, 0.75), true));
    EXPECT_DOUBLE_EQ(f.p.wells[0].measured, 0.5) << "the difference to the old values";
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kChanged, kChanged}));
}

TEST(QDocViews, CountsDataViewsAndClosesSampleGraphs)
{
    QDoc doc;
    auto* plate1 = new test::RecordingView(doc, "QPView");
    new test::RecordingView(doc, "QNView");
    new test::RecordingView(doc, "QLView");
    new test::RecordingView(doc, "QNView");
    auto* curve = new test::RecordingView(doc, "QSView");
    EXPECT_EQ(doc.CountDataViews(), 3);
    delete plate1;
    delete curve;
    EXPECT_EQ(doc.CountDataViews(), 1);
    doc.CloseSampleGraphViews();
    EXPECT_EQ(doc.GetViewCount(), 1);
    EXPECT_EQ(doc.CountDataViews(), 1);

    auto* list = static_cast<test::RecordingView*>(doc.NextView(nullptr));
    EXPECT_TRUE(doc.NotifySampleSelected(4));
    EXPECT_TRUE(doc.NotifySampleFocused(2));
    EXPECT_EQ(list->heard, (std::vector<Heard>{{vnSampleSelected, 4}, {vnSampleFocused, 2}}));
    EXPECT_FALSE(doc.IsDirty()) << "notifications alone change nothing";
}

}  // namespace
}  // namespace vyn
