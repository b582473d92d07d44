#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "evaluator/NoValue.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"
#include "plate/TextFieldCodec.h"

namespace vyn {
namespace {

// Every test starts from the default settings and '.' and leaves them so.
class TextFieldCodec : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = TextFields();
        savedDecimal_ = gDecimalChar;
        TextFields() = TextFieldSettings{};
        gDecimalChar = '.';
    }
    void TearDown() override
    {
        TextFields() = saved_;
        gDecimalChar = savedDecimal_;
    }

private:
    TextFieldSettings saved_;
    char savedDecimal_ = '.';
};

std::string Show(const std::vector<double>& v)
{
    std::string out;
    for (double x : v) {
        if (!out.empty()) out += ' ';
        out += x == NoValue ? std::string("-") : std::to_string(x).substr(0, std::to_string(x).find_last_not_of('0') + 1);
    }
    return out;
}

TEST_F(TextFieldCodec, ParseCellRowTable)
{
    struct Row {
        const char* name;
        int fixed;
        char separator;
        char decimal;
        int width;
        std::string line;
        int n;
        int found;
        std::vector<double> expect;   // the first entries; the rest stay NoValue
    };
    const std::vector<Row> rows = {
        {"tab with a word between", 0, '\t', '.', 7, "1.5\tabc\t3", 12, 2, {1.5, NoValue, 3}},
        {"empty fields keep positions", 0, '\t', '.', 7, "1\t\t3", 12, 2, {1, NoValue, 3}},
        {"fourteen fields fill twelve", 0, '\t', '.', 7, "1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t14", 12, 12,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"n limits the fields read", 0, '\t', '.', 7, "1\t2\t3", 2, 2, {1, 2, NoValue}},
        {"comma decimal, semicolon separator", 0, ';', ',', 7, "1,5;2,25", 12, 2, {1.5, 2.25}},
        {"comma separator splits before reading", 0, ',', ',', 7, "1,5", 12, 2, {1, 5}},
        {"leading blanks and trailing text", 0, '\t', '.', 7, "  0.25xyz\t -1e-3", 12, 2, {0.25, -0.001}},
        {"infinity and nan are no values", 0, '\t', '.', 7, "inf\tnan\t1e999\t4", 12, 1, {NoValue, NoValue, NoValue, 4}},
        {"empty line", 0, '\t', '.', 7, "", 12, 0, {}},
        {"fixed width 7", 1, '\t', '.', 7, "    1.5  12.25", 12, 2, {1.5, 12.25}},
        {"fixed, a wider text runs into the next field", 1, '\t', '.', 7, "    1.5   12.25", 12, 3, {1.5, 12.2, 5}},
        {"fixed, short last field", 1, '\t', '.', 7, "      1  2", 12, 2, {1, 2}},
        {"fixed, blank field", 1, '\t', '.', 7, "       3.0000", 12, 1, {NoValue, 3}},
        {"fixed, width 0 read as 1", 1, '\t', '.', 0, "123", 12, 3, {1, 2, 3}},
    };
    for (const Row& r : rows) {
        TextFields().cellFixFields = r.fixed;
        TextFields().cellSeparator = r.separator;
        TextFields().cellValLen = r.width;
        gDecimalChar = r.decimal;
        std::vector<double> values(12, NoValue);
        const int found = ParseCellRow(values.data(), r.line, r.n);
        std::vector<double> expect = r.expect;
        expect.resize(12, NoValue);
        EXPECT_EQ(found, r.found) << r.name;
        EXPECT_EQ(Show(values), Show(expect)) << r.name;
    }
}

TEST_F(TextFieldCodec, ParseCellRowLeavesUnreadEntriesAlone)
{
    std::vector<double> values(4, 7.0);
    EXPECT_EQ(ParseCellRow(values.data(), "\t2", 4), 1);
    EXPECT_EQ(values, (std::vector<double>{7.0, 2.0, 7.0, 7.0}));
}

struct RowPlate {
    QPlate p;
    // Row B: 1.5, missing, 12.25, 123456789 in the first columns, the rest missing.
    RowPlate()
    {
        std::vector<double> v(96, NoValue);
        v[12] = 1.5;
        v[14] = 12.25;
        v[15] = 123456789.0;
        p.SetMeasuredValues(v);
    }
};

TEST_F(TextFieldCodec, FormatCellRowSeparatedAndFixed)
{
    RowPlate f;
    EXPECT_EQ(FormatCellRow(f.p, 0, false), std::string(11, '\t')) << "a row of missing values";
    EXPECT_EQ(FormatCellRow(f.p, 1, false), "1.5\t\t12.25\t123500000" + std::string(8, '\t'));
    TextFields().cellSeparator = ';';
    EXPECT_EQ(FormatCellRow(f.p, 1, false, 10), "1.5;;12.25") << "the next text would not fit";
    EXPECT_EQ(FormatCellRow(f.p, 1, false, 11), "1.5;;12.25;") << "a separator while below the size";

    TextFields().cellFixFields = 1;
    EXPECT_EQ(FormatCellRow(f.p, 0, false), std::string(84, ' '));
    const std::string first3 = "    1.5" + std::string(7, ' ') + "  12.25";
    EXPECT_EQ(FormatCellRow(f.p, 1, false, 28), first3 + "*******") << "nine characters become stars";
    EXPECT_EQ(FormatCellRow(f.p, 1, false, 27), first3) << "a field past the size is not begun";
    EXPECT_EQ(FormatCellRow(f.p, 8, false), "") << "no such row";

    // The buffer form writes no terminator and measures without a buffer.
    char buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(FormatCellRow(buffer, 14, f.p, 1, false), 14);
    EXPECT_EQ(std::string(buffer, 16), "    1.5       ##");
    EXPECT_EQ(FormatCellRow(nullptr, 0, f.p, 1, false), 84);
}

TEST_F(TextFieldCodec, ParsesWhatItFormats)
{
    RowPlate f;
    for (int fixed : {0, 1}) {
        TextFields().cellFixFields = fixed;
        std::vector<double> back(12, NoValue);
        EXPECT_EQ(ParseCellRow(back.data(), FormatCellRow(f.p, 1, false), 12), fixed ? 2 : 3) << fixed;
        EXPECT_EQ(back[0], 1.5);
        EXPECT_EQ(back[1], NoValue);
        EXPECT_EQ(back[2], 12.25);
        EXPECT_EQ(back[3], fixed ? NoValue : 123500000.0) << "stars read as no value";
    }
}

TEST_F(TextFieldCodec, CopyIdFieldTable)
{
    struct Row {
        const char* name;
        int fixed;
        char separator;
        int idLen;
        int size;
        std::string line;
        std::string expect;
    };
    const std::vector<Row> rows = {
        {"nine characters, blanks, tab", 0, '\t', 36, 256, "Patient 1  \tmore text", "Patient 1"},
        {"separator ends the field", 0, ';', 36, 256, "abc;def", "abc"},
        {"tab ends the field with another separator", 0, ';', 36, 256, "abc\tdef", "abc"},
        {"size limit", 0, '\t', 36, 4, "abcdef", "abc"},
        {"fixed: id width", 1, '\t', 5, 256, "Abcdefg", "Abcde"},
        {"fixed: separator is content", 1, ';', 36, 256, "a;b  \tc", "a;b"},
        {"fixed: blanks of the padding removed", 1, '\t', 8, 256, "ab      123", "ab"},
        {"empty line", 0, '\t', 36, 256, "", ""},
        {"cut never splits a character", 0, '\t', 36, 5, "ab\xC3\xA9\xC3\xA9", "ab\xC3\xA9"},
        {"single-byte text cut at the limit", 0, '\t', 36, 4, "M\xFCller", "M\xFCl"},
    };
    for (const Row& r : rows) {
        TextFields().expFixFields = r.fixed;
        TextFields().expSeparator = r.separator;
        TextFields().expIdLen = r.idLen;
        EXPECT_EQ(CopyIdField(r.line, r.size), r.expect) << r.name;
        std::vector<char> dest(static_cast<std::size_t>(r.size), '#');
        EXPECT_EQ(CopyIdField(dest.data(), r.size, r.line), static_cast<int>(r.expect.size())) << r.name;
        EXPECT_EQ(std::string(dest.data()), r.expect) << r.name;
    }
}

struct ResultSample {
    QPlate p;
    QQSample s{&p};
    ResultSample(const std::string& id, int state, const TStackVal& last)
    {
        s.SetIdent(id);
        s.resultState = state;
        if (state != rsNotCalculated) {
            s.AppendResult("res1");
            s.results.back() = last;
        }
    }
};

TStackVal Num(double x)
{
    TStackVal v;
    v.SetNumber(x);
    return v;
}

TEST_F(TextFieldCodec, FormatResultLineTable)
{
    struct Row {
        const char* name;
        int fixed;
        int size;
        std::string id;
        int state;
        TStackVal last;
        std::string expect;
    };
    const std::string id36(36, 'i');
    const std::vector<Row> rows = {
        {"no result: the id alone", 0, 8000, "P1", rsNotCalculated, {}, "P1"},
        {"number", 0, 8000, "P1", rsCalculated, Num(12.25), "P1\t12.25"},
        {"missing number", 0, 8000, "P1", rsCalculated, Num(NoValue), "P1\t"},
        {"text", 0, 8000, "P1", rsCalculated, TStackVal::Text("positive"), "P1\tpositive"},
        {"under", 0, 8000, "P1", rsUnder, Num(1), "P1\t<std"},
        {"over", 0, 8000, "P1", rsOver, Num(1), "P1\t>STD"},
        {"error", 0, 8000, "P1", rsError, Num(1), "P1\terr"},
        {"number that does not fit", 0, 6, "P1", rsCalculated, Num(12.25), "P1\t***"},
        {"text cut to what is left", 0, 6, "P1", rsCalculated, TStackVal::Text("positive"), "P1\tpos"},
        {"id fills the size", 0, 2, "P1", rsCalculated, Num(1), "P1"},
        {"fixed, no result", 1, 8000, "P1", rsNotCalculated, {}, "P1" + std::string(54, ' ')},
        {"fixed, number right-aligned", 1, 8000, "P1", rsCalculated, Num(12.25),
         "P1" + std::string(34, ' ') + std::string(15, ' ') + "12.25"},
        {"fixed, text left-aligned", 1, 8000, "P1", rsCalculated, TStackVal::Text("pos"),
         "P1" + std::string(34, ' ') + "pos" + std::string(17, ' ')},
        {"fixed, long id cut", 1, 8000, id36 + "xyz", rsOver, Num(1), id36 + ">STD" + std::string(16, ' ')},
        {"fixed, result field shortened", 1, 40, "P1", rsCalculated, Num(12.25),
         "P1" + std::string(34, ' ') + "****"},
        {"fixed, id takes the whole size", 1, 30, "P1", rsCalculated, Num(12.25), "P1" + std::string(28, ' ')},
        {"fixed, character kept whole", 1, 8000, std::string(35, 'a') + "\xC3\xA9", rsNotCalculated, {},
         std::string(35, 'a') + std::string(21, ' ')},
    };
    for (const Row& r : rows) {
        TextFields().expFixFields = r.fixed;
        ResultSample f(r.id, r.state, r.last);
        EXPECT_EQ(FormatResultLine(f.s, r.size), r.expect) << r.name;
        EXPECT_EQ(FormatResultLine(nullptr, 0, f.s), static_cast<int>(FormatResultLine(f.s).size())) << r.name;
    }
}

TEST_F(TextFieldCodec, ExportResultTakesThePlaceOfTheLastResult)
{
    ResultSample f("P1", rsCalculated, TStackVal::Text("positive"));
    f.s.AppendResult("ExportResult");
    f.s.results.back() = Num(3.5);
    f.s.AppendResult("later");
    f.s.results.back() = TStackVal::Text("ignored");
    f.s.exportSelected = true;
    f.s.exportIndex = 1;
    EXPECT_EQ(FormatResultLine(f.s), "P1\t3.5");
    f.s.results[1].SetErrorFlag(true);
    EXPECT_EQ(FormatResultLine(f.s), "P1\terr") << "an error value counts as an error";
    f.s.resultState = rsNotCalculated;
    EXPECT_EQ(FormatResultLine(f.s), "P1") << "nothing but the id while the state is 0";
    f.s.resultState = rsCalculated;
    f.s.exportIndex = 9;
    EXPECT_EQ(FormatResultLine(f.s), "P1\tignored") << "an index outside the results is not followed";
}

}  // namespace
}  // namespace vyn
