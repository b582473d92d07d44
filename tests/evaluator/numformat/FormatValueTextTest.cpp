#include <gtest/gtest.h>

#include <string>

#include "../StackValMakers.h"
#include "evaluator/FormatValueText.h"
#include "evaluator/NoValue.h"
#include "evaluator/TStackVal.h"

namespace vyn {
namespace {

using test::Numbers;
using test::Texts;

TEST(FormatValueText, EveryKind)
{
    TStackVal error(12.0);
    error.SetErrorFlag(true);
    TStackVal literal;
    literal.SetEmptyVector();
    TStackVal named = TStackVal::Named("x");
    TStackVal resolved = TStackVal::Named("x");
    resolved = TStackVal(2.0);

    struct Row {
        const char* name;
        TStackVal value;
        const char* expected;
    };
    const Row rows[] = {
        {"error holding a number", error, "#"},
        {"nothing", TStackVal(), "!"},
        {"unresolved reference", named, "!"},
        {"resolved reference", resolved, "2"},
        {"text", TStackVal::Text("low positive"), "low positive"},
        {"number with five digits", TStackVal(3.14159265), "3.1416"},
        {"missing number", TStackVal(NoValue), "#"},
        {"number vector", Numbers({1, 2.5}), "{ 1; 2.5}"},
        {"vector with a missing item", Numbers({NoValue, 123456789}), "{ #; 123460000}"},
        {"text vector", Texts({"a b", "c"}), "{ a b; c}"},
        {"empty number vector", Numbers({}), "{}"},
        {"empty literal", literal, "{}"},
    };
    for (const Row& r : rows) {
        char buf[64];
        const int n = FormatValueText(r.value, buf, sizeof buf);
        EXPECT_STREQ(buf, r.expected) << r.name;
        EXPECT_EQ(n, static_cast<int>(std::string(r.expected).size())) << r.name;
    }
}

TEST(FormatValueText, CutsAtTheBufferWithoutClosingBrace)
{
    const TStackVal v = Numbers({1, 2, 3, 4, 5, 6});
    char buf[8];
    EXPECT_EQ(FormatValueText(v, buf, sizeof buf), 7);
    EXPECT_STREQ(buf, "{ 1; 2;");
    EXPECT_EQ(FormatValueText(v, buf, 1), 0);
    EXPECT_STREQ(buf, "");
    char utf[4];
    EXPECT_EQ(FormatValueText(TStackVal::Text("ab\xC3\xA9"), utf, sizeof utf), 2) << "no half character";
}

}  // namespace
}  // namespace vyn
