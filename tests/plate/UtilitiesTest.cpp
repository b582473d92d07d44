#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "evaluator/NoValue.h"
#include "plate/QDesc.h"
#include "plate/Utilities.h"

namespace vyn {
namespace {

TEST(Labels, LettersAndNumbers)
{
    struct Row {
        int index;
        const char* upper;
        const char* lower;
    };
    static const Row rows[] = {
        {0, "A", "a"},   {25, "Z", "z"},   {26, "AA", "aa"}, {27, "AB", "ab"}, {51, "AZ", "az"},
        {52, "BA", "ba"}, {701, "ZZ", "zz"}, {702, "", ""},   {-1, "", ""},
    };
    for (const Row& r : rows) {
        char buf[3] = "xx";
        EXPECT_EQ(IndexToLetters(buf, r.index), static_cast<int>(std::strlen(r.upper))) << r.index;
        EXPECT_STREQ(buf, r.upper) << r.index;
        IndexToLettersLower(buf, r.index);
        EXPECT_STREQ(buf, r.lower) << r.index;
        EXPECT_STREQ(IndexToLettersStatic(r.index), r.upper) << r.index;
    }
    char num[12];
    EXPECT_EQ(IndexToNumberText(num, 11), 2);
    EXPECT_STREQ(num, "12");
    EXPECT_STREQ(IndexToNumberTextStatic(std::numeric_limits<int>::max()), "2147483648");
}

TEST(DefinitionNames, NormalizeRules)
{
    struct Row {
        const char* name;
        const char* prefix;
        int position;
        const char* before;
        const char* after;
    };
    static const Row rows[] = {
        {"automatic name renumbered", "res", 4, "res", "res5"},
        {"prefix and digits renumbered", "fct", 0, "fct7", "fct1"},
        {"leading digit dropped", "res", 0, "2abc", "abc"},
        {"only punctuation", "res", 0, " .-! ", "res1"},
        {"blank removed", "fct", 1, "x y", "xy"},
        {"digits kept after the first letter", "cond", 0, "a1_2", "a1_2"},
        {"prefix with letters is a user name", "fct", 3, "fctx", "fctx"},
        {"prefix compares with case", "fct", 3, "FCT9", "FCT9"},
        {"non-ASCII letters dropped", "res", 0, "d\xC3\xA9j\xC3\xA0", "dj"},
        {"cut to 31 characters", "res", 0, "abcdefghijabcdefghijabcdefghijabcdefghij",
         "abcdefghijabcdefghijabcdefghija"},
    };
    for (const Row& r : rows) {
        std::string name = r.before;
        const bool changed = NormalizeDefinitionName(r.prefix, r.position, name);
        EXPECT_EQ(name, r.after) << r.name;
        EXPECT_EQ(changed, std::string(r.before) != r.after) << r.name;
    }
    TwostrArray list = {{"fct7", "1"}, {"x y", "2"}, {"fct2", "3"}};
    EXPECT_TRUE(NormalizeDefinitionNames("fct", list));
    EXPECT_EQ(list, (TwostrArray{{"fct1", "1"}, {"xy", "2"}, {"fct3", "3"}}));
    EXPECT_FALSE(NormalizeDefinitionNames("fct", list));
}

TEST(ValueLists, MinAndMaxSkipMissingValues)
{
    const double values[] = {NoValue, 3, 1, NoValue, 7};
    EXPECT_EQ(MinOfValues(NoValue, values, 5), 1);
    EXPECT_EQ(MaxOfValues(NoValue, values, 5), 7);
    EXPECT_EQ(MinOfValues(0.5, values, 5), 0.5);
    EXPECT_EQ(MaxOfValues(10, values, 3), 10);
    EXPECT_EQ(MinOfValues(4, values, 0), 4);
    EXPECT_EQ(MinOfValues(NoValue, values, 1), NoValue);
    const double negative[] = {-2, -5};
    EXPECT_EQ(MaxOfValues(NoValue, negative, 2), -2);
}

TEST(DoublesAsText, RoundTrips)
{
    struct Row {
        const char* name;
        double value;
        const char* text;
        bool changes;
    };
    // Expected texts from Python's '%.16g' % value.
    static const Row rows[] = {
        {"tenth", 0.1, "0.1", false},
        {"missing", NoValue, "", false},
        {"large", 1.5e300, "1.5e+300", false},
        {"sixteen digits are not always enough", 0.1 + 0.2, "0.3", true},
        {"third", 1.0 / 3, "0.3333333333333333", false},
        {"negative integer", -42, "-42", false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(DoubleToText(r.value), r.text) << r.name;
        EXPECT_EQ(ChangesAsText(r.value), r.changes) << r.name;
    }
    EXPECT_EQ(TextToDouble("  2.5xyz"), 2.5);
    EXPECT_EQ(TextToDouble("2,5"), 2);
    EXPECT_EQ(TextToDouble("word"), NoValue);
}

TEST(DoublesAsText, Int32ConversionIsRangeChecked)
{
    EXPECT_EQ(DoubleToInt32(-2.9), -2);
    EXPECT_EQ(DoubleToInt32(1e12), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(DoubleToInt32(-1e12), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(DoubleToInt32(NoValue), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(DoubleToInt32(std::nan("")), 0);
}

TEST(TextAndBytes, SmallRoutines)
{
    char text[] = "abc   ";
    TrimRight(text);
    EXPECT_STREQ(text, "abc");
    std::string s = " x \t  ";
    TrimTrailingBlanks(s);
    EXPECT_EQ(s, " x \t");
    const unsigned char bytes[] = {0x12, 0x34, 0xFF};
    EXPECT_EQ(XorBytes(bytes, 3), 0x12 ^ 0x34 ^ 0xFF);
    EXPECT_EQ(XorBytes(bytes, 0), 0);
    EXPECT_EQ(XorBytes(bytes, -4), 0);
    EXPECT_EQ(CombineNibbles('3', 'A'), static_cast<unsigned char>(('3' << 4) | 1));
    EXPECT_TRUE(EqualNoCase("LNeg", "lneg"));
    EXPECT_TRUE(EqualNoCase("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"));  // Été / éTÉ
    EXPECT_FALSE(EqualNoCase("\xC3\x97", "\xC3\xB7"));                 // × and ÷ are not a pair
    EXPECT_FALSE(EqualNoCase("ab", "abc"));
}

TEST(QDesc, EqualityIgnoresCaseColourInfoAndReferenceBit)
{
    const QDesc a(8, "LNeg", TColor(255, 0, 0), "negative control");
    struct Row {
        const char* name;
        QDesc other;
        bool equal, identical;
    };
    const Row rows[] = {
        {"same", QDesc(8, "LNeg", TColor(255, 0, 0), "negative control"), true, true},
        {"name case", QDesc(8, "lneg", TColor(255, 0, 0), "negative control"), true, false},
        {"reference bit", QDesc(8 | QDesc::kReference, "LNeg", TColor(255, 0, 0), "negative control"), true, false},
        {"colour", QDesc(8, "LNeg", TColor(0, 0, 255), "negative control"), true, false},
        {"info", QDesc(8, "LNeg", TColor(255, 0, 0), "Negative control"), true, false},
        {"kind", QDesc(4, "LNeg", TColor(255, 0, 0), "negative control"), false, false},
        {"name", QDesc(8, "LPos", TColor(255, 0, 0), "negative control"), false, false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(a == r.other, r.equal) << r.name;
        EXPECT_EQ(a.IsIdentical(r.other), r.identical) << r.name;
    }
    EXPECT_TRUE(a.IsIdentical(a));
    EXPECT_TRUE(a.HasName("LNEG"));
    EXPECT_TRUE(a.HasName(std::string("lneg")));
    EXPECT_FALSE(a.HasName("LNe"));
    EXPECT_TRUE(QDesc(0x14, "S", TColor::Black, "").IsReference());
    EXPECT_EQ(QDesc(0x14, "S", TColor::Black, "").SampleKind(), 4u);
}

}  // namespace
}  // namespace vyn
