#include <string>

#include "BuiltinsTestSupport.h"
#include "evaluator/NumFormat.h"

namespace vyn::test {
namespace {

constexpr double X = NoValue;

TEST(BuiltinsText, Category)
{
    // low up to 10, mid up to 20, high above.
    auto cat = [](double x) { return std::vector<Arg>{T("low"), N(10), T("mid"), N(20), T("high"), N(x)}; };
    auto catDefault = [](double x, double limit2) {
        return std::vector<Arg>{T("low"), N(10), T("mid"), N(limit2), T("high"), N(x), T("none")};
    };
    RunCallCases({
        {"below the first limit", "category", cat(3), "'low'"},
        {"on the first limit", "category", cat(10), "'low'"},
        {"between the limits", "category", cat(15), "'mid'"},
        {"on the last limit", "category", cat(20), "'mid'"},
        {"above every limit", "category", cat(21), "'high'"},
        {"a missing key gives the empty default", "category", cat(X), "''"},
        {"a missing key gives the given default", "category", catDefault(X, 20), "'none'"},
        {"the default is not a category", "category", catDefault(25, 20), "'high'"},
        {"a missing limit on the way gives the default", "category", catDefault(15, X), "'none'"},
        {"a missing limit past the match is not read", "category", catDefault(5, X), "'low'"},
        {"shortest form", "category", {T("a"), N(1), T("b"), N(2)}, "'b'"},
        {"shortest form, key on the limit", "category", {T("a"), N(1), T("b"), N(1)}, "'a'"},
        {"variables are fine", "category", {Var("t", T("a")), N(1), T("b"), Var("k", N(0))}, "'a'"},
        {"three arguments", "category", {T("a"), N(1), T("b")}, "E1431(category)"},
        {"a number where a text belongs", "category", {N(1), N(1), T("b"), N(2)}, "E1430(category)"},
        {"a text where a number belongs", "category", {T("a"), T("1"), T("b"), N(2)}, "E1430(category)"},
        {"a vector key", "category", {T("a"), N(1), T("b"), V({2})}, "E1430(category)"},
        {"a number as the default", "category", {T("a"), N(1), T("b"), N(2), N(3)}, "E1430(category)"},
    });
}

TEST(BuiltinsText, StrOfNumber)
{
    RunCallCases({
        {"default format", "str", {N(3.14159265)}, "'3.142'"},
        {"default keeps large numbers plain", "str", {N(1234567)}, "'1235000'"},
        {"digits", "str", {N(3.14159), N(3)}, "'3.14'"},
        {"digits out of range mean 15", "str", {N(1.0 / 3), N(16)}, "'0.333333333333333'"},
        {"digits truncate", "str", {N(3.14159), N(2.9)}, "'3.1'"},
        {"fixed, right-aligned", "str", {N(2), N(4), T("f"), N(8), N(1)}, "'     2.0'"},
        {"mode letter in upper case", "str", {N(2), N(4), T("Fix"), N(0), N(2)}, "'2.00'"},
        {"scientific", "str", {N(1234.5), N(0), T("e"), N(0), N(2)}, "'1.23e+3'"},
        {"unknown mode letter is General", "str", {N(2.5), N(4), T("x"), N(0), N(3)}, "'2.5'"},
        {"empty mode is General", "str", {N(2.5), N(4), T(""), N(0), N(3)}, "'2.5'"},
        {"width below the text", "str", {N(12345), N(5), T("g"), N(2)}, "'12345'"},
        {"width above 64 means none", "str", {N(7), N(4), T("g"), N(65)}, "'7'"},
        {"decimals out of range mean 0", "str", {N(2.6), N(4), T("f"), N(0), N(16)}, "'3'"},
        {"a missing value is empty", "str", {N(X), N(4), T("f"), N(3)}, "'   '"},
        {"negative number", "str", {N(-0.5), N(4), T("f"), N(6), N(1)}, "'  -0.5'"},
        {"no arguments", "str", {}, "E1431(str)"},
        {"six arguments", "str", {N(1), N(1), T("g"), N(1), N(1), N(1)}, "E1431(str)"},
        {"a vector", "str", {V({1})}, "E1407"},
        {"a variable vector", "str", {Var("v", V({1}))}, "E1406(v)"},
        {"digits as a text", "str", {N(1), T("3")}, "E1407"},
        {"mode as a number", "str", {N(1), N(3), N(1)}, "E1409"},
        {"width beyond the integers", "str", {N(1), N(3), T("g"), N(1e10)}, "E1430(str)"},
        {"missing width", "str", {N(1), N(3), T("g"), N(X)}, "E1430(str)"},
    });
}

TEST(BuiltinsText, StrOfNumberWidthReaches64)
{
    EXPECT_EQ(Call("str", {N(7), N(4), T("g"), N(64)}), "'" + std::string(63, ' ') + "7'");
}

TEST(BuiltinsText, StrOfNumberUsesTheDecimalCharacter)
{
    const char saved = gDecimalChar;
    gDecimalChar = ',';
    const std::string got = Call("str", {N(2.5), N(4), T("f"), N(6), N(2)});
    gDecimalChar = saved;
    EXPECT_EQ(got, "'  2,50'");
}

TEST(BuiltinsText, StrOfText)
{
    RunCallCases({
        {"alone", "str", {T("abcde")}, "'abcde'"},
        {"truncated", "str", {T("abcde"), N(3), T("t")}, "'abc'"},
        {"right-aligned", "str", {T("abcde"), N(8), T("r")}, "'   abcde'"},
        {"left-aligned by default", "str", {T("abcde"), N(8)}, "'abcde   '"},
        {"never cut without t", "str", {T("abcde"), N(3)}, "'abcde'"},
        {"letters anywhere, any case", "str", {T("abcde"), N(4), T("xTyR")}, "'abcd'"},
        {"right and padded", "str", {T("ab"), N(4), T("RT")}, "'  ab'"},
        {"width 0 is the text's length", "str", {T("abc"), N(0), T("rt")}, "'abc'"},
        {"negative width is 0", "str", {T("abc"), N(-3)}, "'abc'"},
        {"width truncates", "str", {T("abc"), N(5.9)}, "'abc  '"},
        {"fourth and fifth ignored", "str", {T("ab"), N(3), T(""), V({1}), T("x")}, "'ab '"},
        {"widths count characters", "str", {T("\xC3\xA4" "b"), N(4), T("r")}, "'  \xC3\xA4" "b'"},
        {"cut between characters", "str", {T("\xC3\xA4\xC3\xB6\xC3\xBC"), N(2), T("t")}, "'\xC3\xA4\xC3\xB6'"},
        {"width as a text", "str", {T("ab"), T("3")}, "E1407"},
        {"letters as a number", "str", {T("ab"), N(3), N(1)}, "E1409"},
        {"width beyond the integers", "str", {T("ab"), N(3e9)}, "E1430(str)"},
    });
}

TEST(BuiltinsText, StrOfTextIsLimitedTo127Characters)
{
    const std::string longText(200, 'x');
    EXPECT_EQ(Call("str", {T(longText)}), "'" + std::string(127, 'x') + "'");
    EXPECT_EQ(Call("str", {T("ab"), N(500), T("r")}), "'" + std::string(125, ' ') + "ab'");
}

}  // namespace
}  // namespace vyn::test
