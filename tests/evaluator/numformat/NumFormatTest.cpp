#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"

namespace vyn {
namespace {

// Restores the program-wide decimal character after a test changed it.
class DecimalCharScope {
public:
    explicit DecimalCharScope(char c) : saved_(gDecimalChar) { gDecimalChar = c; }
    ~DecimalCharScope() { gDecimalChar = saved_; }

private:
    char saved_;
};

struct FormatCase {
    const char* name;
    double value;
    int mode, decimals, digits;
    const char* expected;
};

void CheckFormatCases(const FormatCase* cases, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const FormatCase& c = cases[i];
        const char* got = FormatDouble(c.value, c.mode, c.decimals, c.digits, 0);
        EXPECT_STREQ(got, c.expected) << c.name;
        EXPECT_EQ(gNumTextLen, static_cast<int>(std::strlen(c.expected))) << c.name;
    }
}

TEST(FormatDouble, WorkedExamples)
{
    const double pi = 3.14159265358979323846;
    static const FormatCase cases[] = {
        {"pi, default format", pi, nmGeneral, 2, 4, "3.142"},
        {"1234567, default format keeps plain digits", 1234567, nmGeneral, 2, 4, "1235000"},
        {"1/3 with 15 digits", 1.0 / 3, nmGeneral, 0, 0, "0.333333333333333"},
        {"100 stays plain", 100, nmGeneral, 0, 0, "100"},
        {"zero", 0, nmGeneral, 0, 0, "0"},
        {"negative zero", -0.0, nmGeneral, 0, 0, "0"},
        {"1e-20 still plain at 22 characters", 1e-20, nmGeneral, 0, 0, "0.00000000000000000001"},
        {"1e-30 exponent form", 1e-30, nmGeneral, 0, 0, "1e-30"},
        {"1e30 exponent form", 1e30, nmGeneral, 0, 0, "1e+30"},
        {"negative general", -2.5, nmGeneral, 0, 0, "-2.5"},
        {"general exponent form keeps mantissa", -1.25e-40, nmGeneral, 0, 0, "-1.25e-40"},
        {"general rounds to 15 digits", 0.1 + 0.2, nmGeneral, 0, 0, "0.3"},
        {"scientific 1234.5", 1234.5, nmScientific, 2, 0, "1.23e+3"},
        {"scientific 0.000123", 0.000123, nmScientific, 2, 0, "1.23e-4"},
        {"scientific no decimals", 1234, nmScientific, 0, 0, "1e+3"},
        {"scientific pads zeros", 2, nmScientific, 3, 0, "2.000e+0"},
        {"scientific zero", 0, nmScientific, 2, 0, "0.00e+0"},
        {"scientific digits below decimals pad", 1.23456, nmScientific, 4, 2, "1.2000e+0"},
        {"scientific negative", -0.00987, nmScientific, 1, 0, "-9.9e-3"},
        {"fixed 12.5 to 0 places", 12.5, nmFixed, 0, 0, "13"},
        {"fixed 0.5 to 0 places", 0.5, nmFixed, 0, 0, "1"},
        {"fixed 99.5 to 0 places", 99.5, nmFixed, 0, 0, "100"},
        {"fixed 2.345 to 2 places", 2.345, nmFixed, 2, 0, "2.35"},
        {"fixed 9.996 carries", 9.996, nmFixed, 2, 0, "10.00"},
        {"fixed 0.0996", 0.0996, nmFixed, 2, 0, "0.10"},
        {"fixed 0.005 rounds at the first digit", 0.005, nmFixed, 2, 0, "0.01"},
        {"fixed 0.004", 0.004, nmFixed, 2, 0, "0.00"},
        {"fixed -0.004 keeps the sign", -0.004, nmFixed, 2, 0, "-0.00"},
        {"fixed beyond the digits pads zeros", 1e20, nmFixed, 1, 0, "100000000000000000000.0"},
        {"fixed with 4 digits rounds twice", 2.3456, nmFixed, 3, 3, "2.350"},
        {"fixed 1e24 too wide falls back", 1e24, nmFixed, 2, 0, "1000000000000000000000000"},
        {"fixed 1e25 falls back to exponent", 1e25, nmFixed, 2, 0, "1e+25"},
        {"out-of-range decimals are clamped", 1.5, nmScientific, 99, 0, "1.500000000000000e+0"},
    };
    CheckFormatCases(cases, std::size(cases));
}

TEST(FormatDouble, MissingValue)
{
    EXPECT_STREQ(FormatDouble(NoValue, nmFixed, 2, 0, 0), "");
    EXPECT_EQ(gNumTextLen, 0);
    EXPECT_STREQ(FormatDouble(NoValue, nmGeneral, 2, 4, 1), "#");
    EXPECT_EQ(gNumTextLen, 1);
}

TEST(FormatDouble, DecimalCommaIsWrittenInEveryMode)
{
    DecimalCharScope comma(',');
    static const FormatCase cases[] = {
        {"pi default format", 3.14159265358979, nmGeneral, 2, 4, "3,142"},
        {"small general", 0.0625, nmGeneral, 0, 0, "0,0625"},
        {"scientific", 1234.5, nmScientific, 2, 0, "1,23e+3"},
        {"fixed", 2.345, nmFixed, 2, 0, "2,35"},
    };
    CheckFormatCases(cases, std::size(cases));
}

// Expected texts computed outside the project with Python's decimal module: the value's
// 15-significant-digit text (format(v, '.14e')) quantized with ROUND_HALF_UP to the
// number of places, a negative value keeping its '-' when every digit is zero.
TEST(FormatDouble, FixedMatchesHalfUpOnFifteenDigitsReference)
{
    struct Row {
        double value;
        int decimals;
        const char* expected;
    };
    static const Row rows[] = {
        {2156.7001669038646, 0, "2157"},        {2156.7001669038646, 5, "2156.70017"},
        {-0.004823020278099304, 0, "-0"},       {-0.004823020278099304, 5, "-0.00482"},
        {-26883.513155216933, 2, "-26883.51"},  {-3.3068671797006655, 2, "-3.31"},
        {402.0123135745397, 5, "402.01231"},    {0.0008025582819327029, 5, "0.00080"},
        {7289633.311321912, 2, "7289633.31"},   {-283.74705092796427, 0, "-284"},
        {3.657412022610374e-05, 5, "0.00004"},  {-6.366466414217014e-07, 5, "-0.00000"},
        {649922.049270171, 2, "649922.05"},     {-57978333.80365205, 5, "-57978333.80365"},
        {-1.7483435667290936, 0, "-2"},         {1.005, 2, "1.01"},
        {0.125, 2, "0.13"},                     {-2.675, 2, "-2.68"},
        {1234.5675, 2, "1234.57"},              {0.045, 2, "0.05"},
        {999.9995, 2, "1000.00"},               {999.9995, 5, "999.99950"},
        {-0.0005, 0, "-0"},                     {8.325, 2, "8.33"},
        {123456789.125, 2, "123456789.13"},     {123456789.125, 0, "123456789"},
    };
    for (const Row& r : rows) {
        EXPECT_STREQ(FormatDouble(r.value, nmFixed, r.decimals, 0, 0), r.expected)
            << r.value << " with " << r.decimals << " places";
    }
}

// printf's %.*e in the "C" locale is correctly rounded: the same number of digits must
// denote the very same decimal value.
TEST(FormatDouble, RandomValuesMatchCorrectlyRoundedDigits)
{
    std::mt19937_64 rng(12345);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-40, 40);
    std::uniform_int_distribution<int> digitCount(1, 15);
    for (int i = 0; i < 20000; ++i) {
        double v = mantissa(rng) * std::pow(10.0, exponent(rng));
        if (i % 7 == 0) {  // raw bit patterns reach the far ends of the range too
            std::uint64_t bits = rng();
            std::memcpy(&v, &bits, sizeof v);
            if (!std::isfinite(v)) continue;
        }
        const int n = digitCount(rng);
        char ref[64];
        std::snprintf(ref, sizeof ref, "%.*e", n - 1, v);
        const double refValue = std::strtod(ref, nullptr);

        const std::string general = FormatDouble(v, nmGeneral, 0, n, 0);
        ASSERT_LE(general.size(), 25u) << ref;
        EXPECT_EQ(std::strtod(general.c_str(), nullptr), refValue) << "general " << n << " digits of " << ref
                                                                     << " gave " << general;

        // Scientific with n - 1 decimals is printf's text with the exponent's leading
        // zeros dropped.
        const std::string sci = FormatDouble(v, nmScientific, n - 1, 0, 0);
        const std::string refText = ref;
        const std::size_t epos = refText.find('e');
        const int ex = std::atoi(ref + epos + 1);
        const std::string expected = refText.substr(0, epos) + "e" + (ex >= 0 ? "+" : "") + std::to_string(ex);
        EXPECT_EQ(sci, expected) << "scientific of " << ref;
    }
}

TEST(NumFormat, SettersReportChangesAndKeepRanges)
{
    QNumFormat f;
    EXPECT_EQ(f, QNumFormat(nmGeneral, 2, 4));
    QNumFormat s(nmScientific, 2, 4);
    EXPECT_EQ(s.SetMode(7), 1);
    EXPECT_EQ(s.mode, nmGeneral);
    EXPECT_EQ(s.SetMode(0), 0);
    EXPECT_EQ(f.SetDigits(16), 1);
    EXPECT_EQ(f.digits, 0);
    EXPECT_EQ(f.SetDigits(-1), 0);
    EXPECT_EQ(f.SetDecimals(-3), 1);
    EXPECT_EQ(f.decimals, 0);
    EXPECT_EQ(f.SetDecimals(40), 1);
    EXPECT_EQ(f.decimals, 15);
    EXPECT_EQ(f.SetDecimals(15), 0);
}

struct ParseCase {
    const char* name;
    char decimalChar;
    const char* text;
    double expected;  // NoValue when nothing converts
    int consumed;
};

TEST(ParseDouble, Cases)
{
    static const ParseCase cases[] = {
        {"point", '.', "1.5", 1.5, 3},
        {"comma with comma setting", ',', "1,5", 1.5, 3},
        {"point with comma setting", ',', "1.5", 1.5, 3},
        {"only the first comma counts", ',', "1,234.5", 1.234, 5},
        {"comma without comma setting stops", '.', "1,5", 1, 1},
        {"leading blanks and sign", '.', "  -2.5e3x", -2500, 8},
        {"plus sign", '.', "+7", 7, 2},
        {"exponent without digits is left", '.', "3e", 3, 1},
        {"leading point", '.', ".25", 0.25, 3},
        {"trailing letters", '.', "12abc", 12, 2},
        {"empty", '.', "", NoValue, 0},
        {"blanks only", '.', "   ", NoValue, 0},
        {"word", '.', "high", NoValue, 0},
        {"double sign", '.', "+-3", NoValue, 0},
        {"lone point", ',', ".", NoValue, 0},
        {"overflow gives the huge value", '.', "1e999", NoValue, 5},
        {"negative overflow", '.', "-1e999", -NoValue, 6},
        {"underflow gives zero", '.', "1e-999", 0, 6},
    };
    for (const ParseCase& c : cases) {
        DecimalCharScope dc(c.decimalChar);
        const char* end = nullptr;
        const double got = ParseDouble(c.text, &end);
        EXPECT_EQ(got, c.expected) << c.name;
        EXPECT_EQ(end - c.text, c.consumed) << c.name;
        EXPECT_EQ(ParseDouble(c.text), got) << c.name << " without end place";
    }
    const char* end = reinterpret_cast<const char*>(1);
    EXPECT_EQ(ParseDouble(nullptr, &end), NoValue);
    EXPECT_EQ(end, nullptr);
}

// What the user types: no number at all is a missing entry, and a text that strtod reads as nan,
// an infinity or past the double range is told apart from it, so that the edit can refuse it.
TEST(ReadTypedNumber, TellsNumbersMissingEntriesAndTextsThatAreNone)
{
    struct Row {
        const char* text;
        TypedNumber kind;
        double value;  // when kind is tnNumber or tnMissing
    };
    static const Row rows[] = {
        {"2.5", tnNumber, 2.5},           {" -1e300", tnNumber, -1e300}, {"1e-999", tnNumber, 0.0},
        {"12abc", tnNumber, 12},          {"", tnMissing, NoValue},      {"  ", tnMissing, NoValue},
        {"abc", tnMissing, NoValue},      {"nan", tnNotANumber, 0},      {"-NaN", tnNotANumber, 0},
        {"nan(0x1)", tnNotANumber, 0},    {"inf", tnNotANumber, 0},      {"-Infinity", tnNotANumber, 0},
        {"1e999", tnNotANumber, 0},       {"-1e999", tnNotANumber, 0},   {"1.8e308", tnNotANumber, 0},
    };
    for (const Row& r : rows) {
        double v = 7.0;
        EXPECT_EQ(ReadTypedNumber(r.text, v), r.kind) << r.text;
        EXPECT_EQ(v, r.kind == tnNotANumber ? 7.0 : r.value) << r.text;
    }
    DecimalCharScope comma(',');
    double v = 0;
    EXPECT_EQ(ReadTypedNumber("1,5", v), tnNumber);
    EXPECT_EQ(v, 1.5);
}

// A whole number typed for a field of a range: blanks, a sign and digits only, within the range;
// anything else (a fraction, an exponent, an infinity, digits past any int) is told apart from
// an empty text, and the value is left alone.
TEST(ReadTypedWhole, TakesWholeNumbersOfTheRangeOnly)
{
    struct Row {
        const char* text;
        TypedNumber kind;
        int value;  // when kind is tnNumber
    };
    const std::string nines(300, '9');
    const Row rows[] = {
        {"0", tnNumber, 0},          {" 15 ", tnNumber, 15},     {"+7", tnNumber, 7},       {"007", tnNumber, 7},
        {"", tnMissing, 0},          {" \t", tnMissing, 0},      {"-5", tnNotANumber, 0},   {"16", tnNotANumber, 0},
        {"8.9", tnNotANumber, 0},    {"8.0", tnNotANumber, 0},   {"1e1", tnNotANumber, 0},  {"1e999", tnNotANumber, 0},
        {"inf", tnNotANumber, 0},    {"nan", tnNotANumber, 0},   {"abc", tnNotANumber, 0},  {"12abc", tnNotANumber, 0},
        {"1 2", tnNotANumber, 0},    {"-", tnNotANumber, 0},     {"+-1", tnNotANumber, 0},  {nines.c_str(), tnNotANumber, 0},
    };
    for (const Row& r : rows) {
        int v = -77;
        EXPECT_EQ(ReadTypedWhole(r.text, 0, 15, v), r.kind) << '"' << r.text << '"';
        EXPECT_EQ(v, r.kind == tnNumber ? r.value : -77) << '"' << r.text << '"';
    }
    int v = 0;
    EXPECT_EQ(ReadTypedWhole("-5", -10, 10, v), tnNumber);
    EXPECT_EQ(v, -5);
    EXPECT_EQ(ReadTypedWhole("2147483647", 0, 2147483647, v), tnNumber);
    EXPECT_EQ(v, 2147483647);
}

// A process locale with a decimal comma (as a desktop session may set) must change neither
// what is written nor what is read.
TEST(ParseDouble, IgnoresTheProcessLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (scripts/install-deps.sh generates it)";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    const std::string probeText = probe;
    const double point = ParseDouble("2.5");
    const double comma = ParseDouble("2,5");
    const std::string written = FormatDouble(2.5, nmFixed, 2, 0, 0);
    const std::string general = FormatDouble(1234.5, nmGeneral, 0, 0, 0);
    std::setlocale(LC_ALL, saved.c_str());

    EXPECT_EQ(probeText, "1,5") << "the locale did not take effect";
    EXPECT_EQ(point, 2.5);
    EXPECT_EQ(comma, 2);
    EXPECT_EQ(written, "2.50");
    EXPECT_EQ(general, "1234.5");
}

TEST(NumberRoundTrip, RoundToSignificantAndDiffersFromText)
{
    EXPECT_EQ(RoundToSignificant(1234.5678, 3), 1230);
    EXPECT_EQ(RoundToSignificant(-0.00123456, 2), -0.0012);
    EXPECT_EQ(RoundToSignificant(9.96, 2), 10);
    EXPECT_EQ(RoundToSignificant(1234.5678, 0), 1234.5678);
    EXPECT_EQ(RoundToSignificant(NoValue, 3), NoValue);

    EXPECT_EQ(DiffersFromText(0.1), 0);
    EXPECT_EQ(DiffersFromText(NoValue), 0);
    EXPECT_EQ(DiffersFromText(1.0 / 3), 1);  // 15 digits cannot carry every double
    {
        DecimalCharScope comma(',');
        EXPECT_EQ(DiffersFromText(2.5), 0);
    }
}

}  // namespace
}  // namespace vyn
