// The wizard's answers as reserved definitions: written from a set of answers, read back into
// the same answers, and damaged or foreign texts read as the defaults.
#include <gtest/gtest.h>

#include "MethodEditorsTestUtil.h"
#include "method_editors/QWizzSettings.h"

using namespace vyn;
using vyn::test::Dump;

namespace {

QWizzState TwoThresholds()
{
    QWizzState s;
    s.mode = 1;
    s.thresholds = {"0.2", "caxmax/2", "", "", ""};
    s.thresholdCount = 2;
    s.valueToCompare = "conc";
    s.categoryNames = {"neg", "grey", "pos", "", "", "", "?"};
    return s;
}

}  // namespace

TEST(WizardSettings, AnswerSetsGiveTheDefinitions)
{
    struct Row {
        const char* name;
        QWizzState state;
        const char* calculations;
        const char* evaluations;
    };
    std::vector<Row> rows;
    {
        QWizzState s;  // nothing asked: nothing written
        rows.push_back({"no thresholds, nothing included", s, "", ""});
    }
    {
        QWizzState s = TwoThresholds();
        rows.push_back({"two thresholds, names only", s, "Thr1=0.2\nThr2=caxmax/2\n",
                        "ValCmp=conc\nCategResult=category(\"neg\",Thr1,\"grey\",Thr2,\"pos\",ValCmp,\"?\")\n"});
    }
    {
        QWizzState s = TwoThresholds();
        s.colours = {0x0000FF, -1, 0xFF8000, -1, -1, -1, -1};
        s.matrixNames = {"-", "", "+", "", "", "", ""};
        s.exportNames = {"", "", "", "", "", "", "miss"};
        rows.push_back({"colours, matrix and export names", s, "Thr1=0.2\nThr2=caxmax/2\n",
                        "ValCmp=conc\n"
                        "color=category(\"RGB(255,0,0)\",Thr1,\"noc\",Thr2,\"RGB(0,128,255)\",ValCmp,\"noc\")\n"
                        "ShortResult=category(\"-\",Thr1,\" \",Thr2,\"+\",ValCmp,\" \")\n"
                        "ExportResult=category(\" \",Thr1,\" \",Thr2,\" \",ValCmp,\"miss\")\n"
                        "CategResult=category(\"neg\",Thr1,\"grey\",Thr2,\"pos\",ValCmp,\"?\")\n"});
    }
    {
        QWizzState s = TwoThresholds();
        s.includeCategory = s.includeValue = s.includeConcentration = true;
        s.separators = {" (", " / ", ")", ""};
        s.valueFormat.format = QNumFormat(nmFixed, 2, 0);
        s.valueFormat.width = 6;
        rows.push_back({"category, value and concentration", s, "Thr1=0.2\nThr2=caxmax/2\n",
                        "ValCmp=conc\n_CompFmt=str(ValCmp,0,\"F\",6,2)\n_ConcFmt=str(conc,4,\"G\",0,2)\n"
                        "CategResult=category(\"neg\",Thr1,\"grey\",Thr2,\"pos\",ValCmp,\"?\")\n"
                        "LongResult=CategResult+\" (\"+_CompFmt+\" / \"+_ConcFmt+\")\"\n"});
    }
    {
        QWizzState s;
        s.valueToCompare = "avg(od)";
        s.includeAbsorbance = true;
        s.absorbanceFormat.format = QNumFormat(nmFixed, 3, 0);
        s.absorbanceFormat.width = 5;
        s.separators = {"OD ", "", "", ""};
        rows.push_back({"absorbance alone without thresholds", s, "",
                        "_OdFmt=str(avg(od),0,\"F\",5,3)\nLongResult=\"OD \"+_OdFmt+\"\"\n"});
    }
    {
        QWizzState s;
        s.valueToCompare = "avg(od)";
        s.includeCategory = true;  // a category name alone makes no long result
        rows.push_back({"category alone", s, "", ""});
    }
    {
        QWizzState s;
        s.thresholds = {"1", "", "3", "", ""};
        s.thresholdCount = 3;
        s.valueToCompare = "x";
        rows.push_back({"empty threshold in the middle", s, "Thr1=1\nThr2=\nThr3=3\n",
                        "ValCmp=x\nCategResult=category(\" \",Thr1,\" \",Thr2,\" \",Thr3,\" \",ValCmp,\" \")\n"});
    }
    for (Row& r : rows) {
        r.state.calculations = {{"keep", "1"}};
        r.state.evaluations = {{"mine", "2"}};
        r.state.settingsRead = true;  // read from a method that had no wizard definitions
        WriteSettings(r.state);
        EXPECT_EQ(Dump(r.state.calculations), std::string("keep=1\n") + r.calculations) << r.name;
        EXPECT_EQ(Dump(r.state.evaluations), std::string("mine=2\n") + r.evaluations) << r.name;
    }
}

TEST(WizardSettings, ReadBackGivesTheSameAnswersAndOnlyAChangedAnswerTouchesTheMethod)
{
    QWizzState written = TwoThresholds();
    written.colours = {0x00FF00, -1, -1, -1, -1, -1, 0x808080};
    written.matrixNames = {"N", "G", "P", "", "", "", "M"};
    written.includeValue = written.includeAbsorbance = true;
    written.separators = {"[", "|", "]", ""};
    written.valueFormat.format = QNumFormat(nmScientific, 3, 5);
    written.settingsRead = true;
    WriteSettings(written);

    QWizzState read;
    read.mode = 1;
    read.calculations = written.calculations;
    read.evaluations = written.evaluations;
    read.calculations.insert(read.calculations.begin(), twostr{"before", "7"});
    read.evaluations.push_back({"after", "8"});
    const TwostrArray calculations = read.calculations, evaluations = read.evaluations;
    ReadSettings(read);
    EXPECT_EQ(Dump(read.calculations), Dump(calculations)) << "reading changes no list";
    EXPECT_EQ(read.thresholds, written.thresholds);
    EXPECT_EQ(read.thresholdCount, 2);
    EXPECT_EQ(read.valueToCompare, "conc");
    EXPECT_EQ(read.categoryNames, written.categoryNames);
    EXPECT_EQ(read.matrixNames, written.matrixNames);
    EXPECT_EQ(read.exportNames, CategoryTexts{});
    EXPECT_EQ(read.colours, written.colours);
    EXPECT_TRUE(read.includeValue && read.includeAbsorbance);
    EXPECT_FALSE(read.includeCategory || read.includeConcentration);
    EXPECT_EQ(read.separators, written.separators);
    EXPECT_EQ(read.valueFormat, written.valueFormat);
    EXPECT_EQ(read.absorbanceFormat, written.absorbanceFormat);

    // Unchanged answers leave both lists exactly as they were, order included.
    QWizzState same = read;
    WriteSettings(same);
    EXPECT_EQ(Dump(same.calculations), Dump(calculations));
    EXPECT_EQ(Dump(same.evaluations), Dump(evaluations));

    // A changed answer replaces its definitions where they stand; one no longer made goes.
    QWizzState changed = read;
    changed.matrixNames[1] = "g";
    changed.includeAbsorbance = false;
    WriteSettings(changed);
    TwostrArray expected = evaluations;
    for (auto it = expected.begin(); it != expected.end();) {
        if (it->name == "ShortResult") it->text = "category(\"N\",Thr1,\"g\",Thr2,\"P\",ValCmp,\"M\")";
        if (it->name == "LongResult") it->text = "\"[\"+_CompFmt+\"|\"";
        it = it->name == "_OdFmt" ? expected.erase(it) : it + 1;
    }
    EXPECT_EQ(Dump(changed.evaluations), Dump(expected));
    EXPECT_EQ(Dump(changed.calculations), Dump(calculations));
}

TEST(WizardSettings, UserDefinitionsUnderReservedNamesSurviveARunWithoutChanges)
{
    // Texts the wizard would not have written: the user's own.
    const TwostrArray calculations = {{"Thr1", "caxmax/2"}, {"Thr2", "od[1]"}, {"Thr3", ""},
                                      {"Thr4", "x"},        {"Thr5", "1"},     {"mine", "2"}};
    const TwostrArray evaluations = {{"ValCmp", "avg(od)"},
                                     {"_CompFmt", "str(conc,2,\"F\",0,1)"},
                                     {"_OdFmt", "avg(od)*2"},
                                     {"_ConcFmt", "conc"},
                                     {"color", "avg(od)>1 ? \"RGB(255,0,0)\" : \"noc\""},
                                     {"ShortResult", "avg(od)>1 ? \"+\" : \"-\""},
                                     {"ExportResult", "\"x\""},
                                     {"CategResult", "category(\"a\",1,\"b\",avg(od),\"c\")"},
                                     {"LongResult", "res1+\" \"+res2"},
                                     {"last", "3"}};
    QWizzState s;
    s.calculations = calculations;
    s.evaluations = evaluations;
    ReadSettings(s);
    EXPECT_EQ(s.colours[0], -1) << "a colour of the user's own definition is not the wizard's";
    EXPECT_FALSE(s.includeValue || s.includeAbsorbance || s.includeConcentration);
    WriteSettings(s);
    EXPECT_EQ(Dump(s.calculations), Dump(calculations));
    EXPECT_EQ(Dump(s.evaluations), Dump(evaluations));

    // A user's definition the wizard does not make again stays even when other answers change.
    QWizzState t;
    t.calculations = {{"mine", "2"}};
    t.evaluations = {{"color", "\"RGB(1,2,3)\""}, {"LongResult", "res1"}};
    ReadSettings(t);
    t.thresholds[0] = "0.5";
    t.thresholdCount = 1;
    t.categoryNames = {"lo", "hi", "", "", "", "", "?"};
    WriteSettings(t);
    EXPECT_EQ(Dump(t.calculations), "mine=2\nThr1=0.5\n");
    EXPECT_EQ(Dump(t.evaluations), "color=\"RGB(1,2,3)\"\nLongResult=res1\nValCmp=avg(od)\n"
                                   "CategResult=category(\"lo\",Thr1,\"hi\",ValCmp,\"?\")\n");
}

TEST(WizardSettings, MethodWithoutDefinitionsReadsAsDefaults)
{
    for (int mode : {0, 1, 2}) {
        QWizzState s;
        s.mode = mode;
        s.evaluations = {{"LongRes", "\"x\""}};
        ReadSettings(s);
        EXPECT_EQ(s.thresholdCount, 0);
        EXPECT_EQ(s.valueToCompare, mode == 0 ? "avg(od)" : "conc") << mode;
        EXPECT_EQ(s.absorbanceFormat.format, QNumFormat(nmFixed, 3, 0));
        EXPECT_EQ(s.absorbanceFormat.width, 5);
        EXPECT_EQ(s.valueFormat, QWizzFormat{});
        EXPECT_EQ(s.colours[0], -1);
        EXPECT_FALSE(s.includeCategory || s.includeValue || s.includeAbsorbance || s.includeConcentration);
        EXPECT_EQ(s.evaluations.size(), 1u) << "a name that is not reserved stays";
    }
}

TEST(WizardSettings, Parsers)
{
    struct RgbRow {
        const char* text;
        int colour;
    } rgbRows[] = {
        {"RGB(255,0,0)", 0x0000FF}, {"RGB(1,2,3)", 0x030201}, {"noc", -1}, {"", -1}, {"RGB(300,0,0)", -1},
        {"RGB(1,2)", -1}, {"x 10 y 20 z 30", 0x1E140A}, {"RGB(99999999999999999999,0,0)", -1},
    };
    for (const auto& r : rgbRows) EXPECT_EQ(ParseRgb(r.text), r.colour) << r.text;

    struct FormatRow {
        const char* text;
        QNumFormat format;
        int width;
    } formatRows[] = {
        {"str(ValCmp,3,\"e\",7,4)", QNumFormat(nmScientific, 4, 3), 7},
        {"str(avg(od),0,\"F\",5,3)", QNumFormat(nmFixed, 3, 0), 5},
        {"str(x,99,\"G\",2,-4)", QNumFormat(nmGeneral, 0, 0), 2},        // digits outside 0-15 become 0
        {"str(x,3,\"Q\",2,4)", QNumFormat(), 0},                         // unknown letter: unchanged
        {"str(x,3,\"F\",2)", QNumFormat(), 0},                           // no decimals comma: unchanged
        {"nothing", QNumFormat(), 0},
    };
    for (const auto& r : formatRows) {
        QWizzFormat f;
        ParseStrFormat(f, r.text);
        EXPECT_EQ(f.format, r.format) << r.text;
        EXPECT_EQ(f.width, r.width) << r.text;
    }

    const std::string longName(62, 'n');
    auto texts = ParseQuotedTexts("category(\"a\",Thr1,\"" + longName + "\",ValCmp,\"c\")", 7);
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "", "", "", "", "", ""})) << "a 62-character name stops the list";
    texts = ParseQuotedTexts("\"a\"\"b\" \"c", 4);
    EXPECT_EQ(texts, (std::vector<std::string>{"a", "b", "", ""})) << "a missing closing quote stops";

    CategoryTexts slots{"a", "b", "M", "", "", "", ""};
    MoveMissingCategory(slots, 1);
    EXPECT_EQ(slots, (CategoryTexts{"a", "b", "", "", "", "", "M"}));
    slots = {"1", "2", "3", "4", "5", "6", "M"};
    MoveMissingCategory(slots, 5);
    EXPECT_EQ(slots[6], "M");

    // A value over 255 in a stored colour reads as no colour; the others stay.
    QWizzState s;
    s.calculations = {{"Thr1", "1"}};
    s.evaluations = {{"color", "category(\"RGB(300,0,0)\",Thr1,\"RGB(0,0,9)\",ValCmp,\"noc\")"}};
    ReadSettings(s);
    EXPECT_EQ(s.colours[0], -1);
    EXPECT_EQ(s.colours[1], 0x090000);
    EXPECT_EQ(s.colours[6], -1);
}

TEST(WizardSettings, StrExpressionKeepsItsBufferLength)
{
    QWizzFormat f;
    EXPECT_EQ(StrExpression("avg(od)", f), "str(avg(od),4,\"G\",0,2)");
    const std::string longName(80, 'v');
    EXPECT_EQ(StrExpression(longName, f).size(), 63u);
}
