#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

#include "TempFile.h"
#include "document/ICrunch.h"
#include "document/OCrunch.h"
#include "document/TagNames.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"

namespace vyn {
namespace {

using test::TempFile;

constexpr int E = ICrunch::kFieldEmpty;
constexpr int N = ICrunch::kFieldNumber;
constexpr int T = ICrunch::kFieldText;
constexpr int I = ICrunch::kFieldName;

struct Field {
    int kind;
    std::string text;
    bool operator==(const Field&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Field& f)
{
    return os << "{" << f.kind << ", \"" << f.text << "\"}";
}

struct Record {
    int tag;
    std::vector<Field> fields;
};

class DecimalCharGuard {
public:
    explicit DecimalCharGuard(char c) : saved_(gDecimalChar) { gDecimalChar = c; }
    ~DecimalCharGuard() { gDecimalChar = saved_; }

private:
    char saved_;
};

std::vector<Field> FieldsOf(const ICrunch& in)
{
    std::vector<Field> fields;
    for (int i = 0; i < in.GetCount(); ++i) fields.push_back({in.GetKind(i), in.GetField(i)});
    return fields;
}

// The records of a file up to its QEND, then the tag it ends with (0 or -1) and the message.
struct ReadResult {
    std::vector<Record> records;
    int endTag = 0;
    int message = 0;
};

ReadResult ReadAll(const std::string& bytes)
{
    LineReader reader;
    reader.OpenMemory(bytes);
    ICrunch in(reader);
    ReadResult r;
    while (in.GetTag() >= 0 && !in.IsFileEnd()) {
        r.records.push_back({in.GetTag(), FieldsOf(in)});
        if (in.GetTag() == kTagQEND) break;
        in.NextLine();
    }
    r.endTag = in.GetTag();
    r.message = in.GetMessage();
    return r;
}

std::string Interleaved(const std::string& piece, std::size_t n)
{
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += piece;
    return s;
}

std::string Long(char c, std::size_t n)
{
    return std::string(n, c);
}

TEST(TaggedLines, RecordsAndTheirFields)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::vector<Record> records;  // the file then ends cleanly (tag 0)
    };
    const std::vector<Row> rows = {
        {"all field kinds", "DESC G;ctl_1;255;'info';;\r\n",
         {{kTagDESC, {{I, "G"}, {I, "ctl_1"}, {N, "255"}, {T, "info"}, {E, ""}}}}},
        {"no fields", "QEND\r\n", {{kTagQEND, {}}}},
        {"two semicolons give an empty field", "UNIT ;;\r\n", {{kTagUNIT, {{E, ""}, {E, ""}}}}},
        {"blanks separate, trailing blanks of a number go", "WIDT  12  ;   -3.5e2 ;\r\n",
         {{kTagWIDT, {{N, "12"}, {N, "-3.5e2"}}}}},
        {"number text is not checked here", "GRAF +1x 2;.;\r\n",
         {{kTagGRAF, {{N, "+1x 2"}, {N, "."}}}}},
        {"escapes", "UNIT 'a\\tb\\'c\\\\d\\xe';\r\n", {{kTagUNIT, {{T, "a\tb'c\\dxe"}}}}},
        {"blanks after the closing quote", "UNIT 'u'   ;\r\n", {{kTagUNIT, {{T, "u"}}}}},
        {"UTF-8 inside a text", "UNIT '\xC2\xB5g/ml';\r\n", {{kTagUNIT, {{T, "\xC2\xB5g/ml"}}}}},
        {"continuation lines join the record",
         "FDEF fct1;'a';\r\n fct2;'b';\r\n   fct3;\r\nQEND\r\n",
         {{kTagFDEF, {{I, "fct1"}, {T, "a"}, {I, "fct2"}, {T, "b"}, {I, "fct3"}}},
          {kTagQEND, {}}}},
        {"folded text", "MNAM 'first part'\r\n 'second\\''\r\n   'third';'x';\r\n",
         {{kTagMNAM, {{T, "first partsecond'third"}, {T, "x"}}}}},
        {"LF-only lines", "DSEP '.';\nQEND\n", {{kTagDSEP, {{T, "."}}}, {kTagQEND, {}}}},
        {"last line without line end", "DSEP '.';\r\nQEND", {{kTagDSEP, {{T, "."}}}, {kTagQEND, {}}}},
        {"Ctrl-Z ends the file", "DSEP '.';\r\n\x1aQEND garbage\r\n", {{kTagDSEP, {{T, "."}}}}},
        {"every tag is known", "REPO 'r';\r\nSMPL;\r\nMNAD;\r\n",
         {{kTagREPO, {{T, "r"}}}, {kTagSMPL, {{E, ""}}}, {kTagMNAD, {{E, ""}}}}},
        {"a line of 255 characters is whole", "UNIT '" + Long('u', 247) + "';\r\n",
         {{kTagUNIT, {{T, Long('u', 247)}}}}},
    };
    for (const Row& row : rows) {
        const ReadResult r = ReadAll(row.bytes);
        ASSERT_EQ(r.records.size(), row.records.size())
            << row.name << ": ended with tag " << r.endTag << ", message " << r.message;
        for (std::size_t i = 0; i < r.records.size(); ++i) {
            EXPECT_EQ(r.records[i].tag, row.records[i].tag) << row.name << ", record " << i;
            EXPECT_EQ(r.records[i].fields, row.records[i].fields) << row.name << ", record " << i;
        }
        EXPECT_EQ(r.endTag, 0) << row.name << ": message " << r.message;
    }
}

// Every damaged file ends in 3102 at the damaged record, after the good records before it.
TEST(TaggedLines, DamagedFilesGiveUnexpectedStructure)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::size_t goodRecords;
    };
    const std::vector<Row> rows = {
        {"unknown tag", "DSEP '.';\r\nXXXX 1;\r\n", 1},
        {"lower-case tag", "qend\r\n", 0},
        {"line shorter than a tag", "QEN\r\n", 0},
        {"empty line", "DSEP '.';\r\n\r\nQEND\r\n", 1},
        {"tab between fields", "WIDT 1;\t2;\r\n", 0},
        {"NUL between fields", std::string("WIDT 1;\0" "2;\r\n", 12), 0},
        {"NUL in a tag", std::string("QE\0D\r\n", 6), 0},
        {"NUL inside a text", std::string("UNIT 'a\0b';\r\n", 13), 0},
        {"control character inside a text", "UNIT 'a\x01';\r\n", 0},
        {"control character after a backslash", "UNIT 'a\\\x01';\r\n", 0},
        {"backslash at the end of the line", "UNIT 'a\\\r\n 'b';\r\n", 0},
        {"unterminated text on its own line", "UNIT 'abc\r\n", 0},
        {"number without its ';'", "WIDT 1;2\r\n", 0},
        {"name without its ';'", "DESC G\r\n", 0},
        {"unquoted field of another kind", "WIDT 1;#;\r\n", 0},
        {"byte above 127 outside a text", "WIDT \xC3\xA9;\r\n", 0},
        {"garbage after a closing quote", "UNIT 'a' b;\r\n", 0},
        {"text continuation without a quote", "UNIT 'a'\r\n b';\r\n", 0},
        {"text continuation without a blank", "UNIT 'a'\r\n'b';\r\n", 0},
        {"text continuation at the end of the file", "UNIT 'a'\r\n", 0},
        {"text continuation on an empty line", "UNIT 'a'\r\n\r\n", 0},
        {"truncated record inside a text", "DSEP '.';\r\nMNAM 'na", 1},
        {"over-long line", "UNIT '" + Long('u', 300) + "';\r\nQEND\r\n", 0},
        {"over-long continuation line", "FDEF a;'b';\r\n '" + Long('u', 300) + "';\r\n", 0},
        {"over-long text continuation", "UNIT 'a'\r\n '" + Long('u', 300) + "';\r\n", 0},
        {"over-long line after a good record", "DSEP '.';\r\nUNIT '" + Long('u', 300) + "';\r\n", 1},
    };
    for (const Row& row : rows) {
        const ReadResult r = ReadAll(row.bytes);
        EXPECT_EQ(r.records.size(), row.goodRecords) << row.name;
        EXPECT_EQ(r.endTag, -1) << row.name;
        EXPECT_EQ(r.message, 3102) << row.name;
    }
}

TEST(TaggedLines, FileThatCannotBeReadGivesCannotRead)
{
    LineReader missing("/nonexistent/x.plt");
    ICrunch a(missing);
    EXPECT_EQ(a.GetTag(), -1);
    EXPECT_EQ(a.GetMessage(), 3101);
    a.NextLine();
    EXPECT_EQ(a.GetTag(), -1) << "an error stays";

    LineReader dir("/tmp");  // opens, but the first read fails
    ICrunch b(dir);
    EXPECT_EQ(b.GetTag(), -1);
    EXPECT_EQ(b.GetMessage(), 3101);
}

TEST(TaggedLines, BlockEndAndFileEndStay)
{
    LineReader reader;
    reader.OpenMemory("UNIT 'u';\r\n");
    ICrunch in(reader);
    EXPECT_EQ(in.GetTag(), kTagUNIT);
    in.NextLine();
    EXPECT_EQ(in.GetTag(), 0) << "a file that ends after a record gives 0 next";
    EXPECT_TRUE(in.IsFileEnd());
    EXPECT_EQ(in.GetCount(), 0);
    EXPECT_EQ(in.GetMessage(), 0);
    in.NextLine();
    EXPECT_EQ(in.GetTag(), 0);

    // A block ends at its QEND; the tokenizer has read one line beyond it.
    LineReader block;
    block.OpenMemory("QEND\r\nMNAM 'next';'';\r\nQEND\r\n");
    ICrunch first(block);
    EXPECT_EQ(first.GetTag(), kTagQEND);
    EXPECT_FALSE(first.IsFileEnd());
    first.NextLine();
    EXPECT_EQ(first.GetTag(), kTagQEND) << "nothing after the block's end";
    ICrunch second(block);
    EXPECT_EQ(second.GetTag(), kTagQEND) << "the look-ahead line was consumed by the first";
}

TEST(TaggedLines, MissingFieldsReadAsNothing)
{
    LineReader reader;
    reader.OpenMemory("WIDT 7;\r\n");
    ICrunch in(reader);
    ASSERT_EQ(in.GetCount(), 1);
    EXPECT_EQ(in.GetKind(1), 0);
    EXPECT_EQ(in.GetKind(-1), 0);
    EXPECT_EQ(in.GetField(5), "");
    EXPECT_EQ(in.GetInt(5), 0);
    EXPECT_EQ(in.GetReal(5), NoValue);
}

TEST(TaggedLines, IntegerAndRealConversions)
{
    DecimalCharGuard dot('.');
    LineReader reader;
    reader.OpenMemory("CALJ +12x;-7;99999999999999999999;-99999999999999999999;1.5e3;;0.25;\r\n");
    ICrunch in(reader);
    ASSERT_EQ(in.GetCount(), 7);
    struct Row {
        int field;
        int asInt;
        double asReal;
    };
    const Row rows[] = {
        {0, 12, 12.0},  {1, -7, -7.0}, {2, INT_MAX, 1e20}, {3, INT_MIN, -1e20},
        {4, 1, 1500.0}, {5, 0, NoValue}, {6, 0, 0.25},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(in.GetInt(r.field), r.asInt) << "field " << r.field << " \"" << in.GetField(r.field) << '"';
        EXPECT_EQ(in.GetReal(r.field), r.asReal) << "field " << r.field;
    }
    EXPECT_EQ(in.GetLong(2), LONG_MAX);
}

TEST(TaggedLines, DecimalCommaStartsANumber)
{
    DecimalCharGuard comma(',');
    const ReadResult r = ReadAll("QUAN ,5;1,25;\r\n");
    ASSERT_EQ(r.records.size(), 1u) << "message " << r.message;
    EXPECT_EQ(r.records[0].fields, (std::vector<Field>{{N, ",5"}, {N, "1,25"}}));
}

// Reading positioned by the library: find a block's first line, go back to its start and
// let a tokenizer read the block from there.
TEST(TaggedLines, TokenizerAfterSeekingBackToTheLine)
{
    const std::string bytes =
        "MNAM 'one';'';\r\nQEND\r\nMNAD 'old';'';\r\nQEND\r\nMNAM 'two';'c';\r\nUNIT 'u';\r\nQEND\r\n";
    LineReader reader;
    reader.OpenMemory(bytes);
    std::string line;
    long offset = -1;
    int seen = 0;
    while (reader.ReadLine(line, kMaxTaggedLine) > 0 || !reader.IsEnd()) {
        if (line.compare(0, 4, "MNAM") == 0 && ++seen == 2) {
            offset = reader.GetLineOffset();
            break;
        }
    }
    ASSERT_EQ(offset, static_cast<long>(bytes.find("MNAM 'two'")));
    ASSERT_TRUE(reader.Seek(-1));
    ICrunch in(reader);
    EXPECT_EQ(in.GetTag(), kTagMNAM);
    EXPECT_EQ(FieldsOf(in), (std::vector<Field>{{T, "two"}, {T, "c"}}));
    in.NextLine();
    EXPECT_EQ(in.GetTag(), kTagUNIT);
    in.NextLine();
    EXPECT_EQ(in.GetTag(), kTagQEND);
}

TEST(TaggedLines, TagNamesBothWays)
{
    const char* const expected[kTagCount] = {
        "QEND", "MNAM", "MNAD", "DSEP", "DESC", "BLNK", "FDEF", "VALI", "CALI", "CALJ", "QUAL",
        "QUAN", "SMGL", "SMST", "SMQF", "SMQS", "SMNF", "SMNS", "DMEA", "FMTM", "FMTT", "FMTR",
        "UNIT", "WIDT", "GRAF", "DA96", "DM96", "DT96", "TMEA", "SMPL", "REPO"};
    for (int i = 0; i < kTagCount; ++i) {
        EXPECT_STREQ(GetTagName(i), expected[i]) << "tag " << i;
        EXPECT_EQ(FindTag(expected[i]), i) << expected[i];
    }
    EXPECT_STREQ(GetTagName(-1), "");
    EXPECT_STREQ(GetTagName(kTagCount), "");
    EXPECT_EQ(FindTag("QENd"), -1);
}

// Writing ------------------------------------------------------------------------------

// Runs the writer on a scratch file and gives back what it wrote.
template <class Body>
std::string Written(Body body, long* result = nullptr)
{
    TempFile file;
    const int fd = ::open(file.Path().c_str(), O_WRONLY | O_TRUNC);
    EXPECT_GE(fd, 0);
    OCrunch out(fd);
    const long r = body(out);
    ::close(fd);
    if (result) *result = r;
    return file.Read();
}

std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

TEST(TaggedLines, UnquotedFieldsFoldBeyond64Characters)
{
    struct Row {
        const char* name;
        std::vector<std::string> fields;
        std::string expected;
    };
    const std::string f59 = Long('x', 59);
    const std::vector<Row> rows = {
        {"fits on one line", {"1", "2", "3"}, "FDEF 1;2;3;\r\n"},
        {"a field that would pass 64 goes to a continuation line",
         {"abcdefghij", "abcdefghij", "abcdefghij", "abcdefghij", "abcdefghij", "abcdefghij"},
         "FDEF abcdefghij;abcdefghij;abcdefghij;abcdefghij;abcdefghij;\r\n abcdefghij;\r\n"},
        {"exactly 64 before the ';' stays", {f59, "1"}, "FDEF " + f59 + ";\r\n 1;\r\n"},
        {"a field longer than a fold stands alone", {"1", Long('y', 70)},
         "FDEF 1;\r\n " + Long('y', 70) + ";\r\n"},
    };
    for (const Row& row : rows) {
        long count = 0;
        const std::string bytes = Written(
            [&](OCrunch& out) {
                out.BeginTag(kTagFDEF);
                for (const std::string& f : row.fields) out.PutField(f);
                return out.Finish();
            },
            &count);
        EXPECT_EQ(bytes, row.expected) << row.name;
        EXPECT_EQ(count, static_cast<long>(bytes.size())) << row.name << ": byte count";
    }
}

TEST(TaggedLines, QuotedTextFoldsOntoLinesBeginningWithBlankAndQuote)
{
    const std::string text = Long('a', 150);
    const std::string bytes = Written([&](OCrunch& out) {
        out.BeginTag(kTagMNAM);
        out.PutString(text);
        return out.Finish();
    });
    const std::vector<std::string> lines = SplitLines(bytes);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines.front(), "MNAM '" + Long('a', 58) + "'");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].compare(0, 2, " '"), 0) << "line " << i << ": " << lines[i];
        EXPECT_LE(lines[i].size(), 66u) << "line " << i;
        const bool last = i + 1 == lines.size();
        EXPECT_EQ(lines[i].back(), last ? ';' : '\'') << "line " << i;
    }
    const ReadResult r = ReadAll(bytes);
    ASSERT_EQ(r.records.size(), 1u) << "message " << r.message;
    EXPECT_EQ(r.records[0].fields, (std::vector<Field>{{T, text}}));
}

// Whatever a text holds, reading back what was written gives the text (control characters
// other than tab excepted, which are dropped).
TEST(TaggedLines, TextsRoundTrip)
{
    struct Row {
        const char* name;
        std::string text;
        std::string expected;
    };
    const std::string escapes = Long('\\', 40) + Long('\'', 40) + Long('\t', 40);
    const std::vector<Row> rows = {
        {"empty", "", ""},
        {"tab, quote and backslash", "a\tb'c\\d", "a\tb'c\\d"},
        {"carriage return and other controls dropped", "line1\r\nline2\x01\x7f", "line1line2\x7f"},
        {"escapes across many folds", escapes, escapes},
        {"UTF-8", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC", "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC"},
        {"long text with blanks at the folds", Long(' ', 200), Long(' ', 200)},
        {"semicolons and quotes", ";';'\\';", ";';'\\';"},
        // Found by the plate fuzzer: a dropped control character exactly where the line folds
        // left an empty continuation piece that reading lost.
        {"control characters at every fold", Interleaved("a\x01", 150), Long('a', 150)},
    };
    for (const Row& row : rows) {
        const std::string bytes = Written([&](OCrunch& out) {
            out.BeginTag(kTagREPO);
            out.PutString(row.text);
            out.PutString(row.text);
            out.Finish();
            out.BeginTag(kTagQEND);
            return out.Finish();
        });
        for (const std::string& line : SplitLines(bytes))
            EXPECT_LE(line.size(), 66u) << row.name << ": " << line;
        const ReadResult r = ReadAll(bytes);
        ASSERT_EQ(r.records.size(), 2u) << row.name << ": message " << r.message;
        EXPECT_EQ(r.records[0].fields, (std::vector<Field>{{T, row.expected}, {T, row.expected}}))
            << row.name;
        EXPECT_EQ(r.records[1].tag, kTagQEND) << row.name;
    }
}

TEST(TaggedLines, NumbersRoundTripInTheBlocksDecimalCharacter)
{
    for (char dec : {'.', ','}) {
        DecimalCharGuard guard(dec);
        const std::string bytes = Written([](OCrunch& out) {
            out.BeginTag(kTagCALJ);
            out.PutInt(-42);
            out.PutLong(16777215L);
            out.PutDouble(0.1);
            out.PutDouble(NoValue);
            out.PutDouble(-1.25e-300);
            return out.Finish();
        });
        const ReadResult r = ReadAll(bytes);
        ASSERT_EQ(r.records.size(), 1u) << dec << ": message " << r.message;
        const auto& f = r.records[0].fields;
        ASSERT_EQ(f.size(), 5u) << bytes;
        EXPECT_EQ(f[0], (Field{N, "-42"}));
        EXPECT_EQ(f[1], (Field{N, "16777215"}));
        EXPECT_EQ(f[2].text, std::string("0") + dec + "1");
        EXPECT_EQ(f[3], (Field{E, ""})) << "a missing value is an empty field";

        LineReader reader;
        reader.OpenMemory(bytes);
        ICrunch in(reader);
        EXPECT_EQ(in.GetReal(2), 0.1);
        EXPECT_EQ(in.GetReal(3), NoValue);
        EXPECT_EQ(in.GetReal(4), -1.25e-300);
    }
}

TEST(TaggedLines, WriteErrorTurnsTheCountNegativeUntilTheNextRecord)
{
    const int fd = ::open("/dev/full", O_WRONLY);
    if (fd < 0) GTEST_SKIP() << "no /dev/full";
    OCrunch out(fd);
    out.BeginTag(kTagUNIT);
    out.PutString(Long('u', 100));  // folds: the first line fails to be written
    EXPECT_LT(out.GetCount(), 0);
    out.PutField("1");
    EXPECT_LT(out.Finish(), 0);
    out.BeginTag(kTagQEND);
    EXPECT_EQ(out.GetCount(), 0) << "each record stands alone";
    EXPECT_LT(out.Finish(), 0);
    ::close(fd);
}

TEST(TaggedLines, UnwritableRecordsFailInsteadOfWritingWhatCannotBeRead)
{
    long result = 0;
    const std::string badTag = Written(
        [](OCrunch& out) {
            out.BeginTag(31);
            out.PutField("1");
            return out.Finish();
        },
        &result);
    EXPECT_EQ(badTag, "");
    EXPECT_LT(result, 0);

    const std::string tooLong = Written(
        [](OCrunch& out) {
            out.BeginTag(kTagFDEF);
            out.PutField(Long('n', 254));
            return out.Finish();
        },
        &result);
    EXPECT_EQ(tooLong, "");
    EXPECT_LT(result, 0);

    // The longest unquoted field still reads back.
    const std::string longest = Written([](OCrunch& out) {
        out.BeginTag(kTagFDEF);
        out.PutField(Long('n', 253));
        return out.Finish();
    });
    const ReadResult r = ReadAll(longest);
    ASSERT_EQ(r.records.size(), 1u) << "message " << r.message;
    EXPECT_EQ(r.records[0].fields, (std::vector<Field>{{I, Long('n', 253)}}));
}

TEST(TaggedLines, FinishWithNothingPendingWritesNothing)
{
    long result = -5;
    const std::string bytes = Written(
        [](OCrunch& out) {
            out.BeginTag(kTagQEND);
            long first = out.Finish();
            EXPECT_EQ(first, 7);
            return out.Finish();
        },
        &result);
    EXPECT_EQ(bytes, "QEND \r\n");
    EXPECT_EQ(result, 7);
}

}  // namespace
}  // namespace vyn
