// The evaluator's value: copying, naming, vector building and the text form.
#include <gtest/gtest.h>

#include <string>

#include "StackValMakers.h"
#include "evaluator/NoValue.h"
#include "evaluator/TStackVal.h"

namespace vyn::test {
namespace {

TEST(StackValFormat, TextForms)
{
    TStackVal errorNumber(5.0);
    errorNumber.SetErrorFlag(true);
    TStackVal resolved = TStackVal::Named("x");
    resolved.SetNumber(2);
    TStackVal emptyMade;
    emptyMade.MakeNumberVector(0);
    TStackVal literal;
    literal.SetEmptyVector();

    struct Row {
        const char* name;
        TStackVal value;
        const char* want;
    } rows[] = {
        {"nothing", TStackVal(), "NOTHING"},
        {"unresolved reference", TStackVal::Named("x"), "VAR"},
        {"resolved reference shows its content", resolved, "2"},
        {"error bit wins over the number", errorNumber, "ERROR"},
        {"made empty vector", emptyMade, "{}"},
        {"empty vector literal", literal, "{}"},
        {"number vector", Numbers({1, 2.5, 3}), "{1,2.5,3}"},
        {"text vector", Texts({"a", "b"}), "{a,b}"},
        {"tenth", TStackVal(0.1), "0.1"},
        {"six digits", TStackVal(1234.5678), "1234.57"},
        {"exponent from 6 up", TStackVal(1e6), "1e+06"},
        {"below 6 digits stays plain", TStackVal(123456), "123456"},
        {"exponent below -4", TStackVal(0.00001), "1e-05"},
        {"-4 stays plain", TStackVal(0.0001), "0.0001"},
        {"negative", TStackVal(-2.5), "-2.5"},
        {"text", TStackVal::Text("hello"), "hello"},
    };
    for (const Row& r : rows) EXPECT_EQ(r.value.Format(), r.want) << r.name;
    // Not a user-visible form (formatters print nothing for NoValue), but it must not crash.
    EXPECT_EQ(TStackVal(NoValue).Format(), "inf");
}

TEST(StackValFormat, BufferCutKeepsSizeMinusOne)
{
    char buf[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(TStackVal(12.5).Format(buf, 4), 4);
    EXPECT_STREQ(buf, "12.");
    char big[16];
    EXPECT_EQ(TStackVal(12.5).Format(big, 16), 5);
    EXPECT_STREQ(big, "12.5");
    EXPECT_EQ(TStackVal(1.0).Format(big, 0), 0);
    // A cut never splits a UTF-8 character.
    char three[3];
    TStackVal::Text("a\xC3\xA9").Format(three, 3);
    EXPECT_STREQ(three, "a");
    // A long vector is not bounded by any work area.
    TStackVal longVec;
    longVec.MakeNumberVector(100);
    for (int i = 0; i < 100; ++i) longVec.AppendNumber(1000 + i);
    EXPECT_EQ(longVec.Format().size(), 2 + 100 * 4 + 99);
}

TEST(StackValCopy, AssignmentKeepsTheTargetsName)
{
    TStackVal named = TStackVal::Named("gblank");
    named = TStackVal(3.0);
    EXPECT_EQ(named.Flags(), svNamed | svNumber);
    EXPECT_EQ(named.Name(), "gblank");
    EXPECT_EQ(named.Number(), 3.0);

    TStackVal source = TStackVal::Named("x");
    source.SetText("abc");
    TStackVal plain;
    plain = source;
    EXPECT_EQ(plain.Flags(), std::uint32_t(svText));
    EXPECT_EQ(plain.Name(), "");
    EXPECT_EQ(plain.Text(), "abc");

    TStackVal copied(source);  // a copy starts as nothing: no name either
    EXPECT_FALSE(copied.IsNamed());
    EXPECT_EQ(copied.Text(), "abc");

    TStackVal err(1.0);
    err.SetErrorFlag(true);
    TStackVal target = TStackVal::Named("r");
    target = err;
    EXPECT_TRUE(target.IsError()) << "the error bit is copied";
    EXPECT_EQ(target.Name(), "r");

    TStackVal self = Numbers({1, 2});
    self = *&self;
    EXPECT_EQ(self.Format(), "{1,2}");

    TStackVal moved(std::move(source));  // relocation keeps the name
    EXPECT_EQ(moved.Name(), "x");
    EXPECT_TRUE(source.IsNothing());
}

TEST(StackValCopy, DeepCopiesOfVectors)
{
    TStackVal a = Numbers({1, 2});
    TStackVal b;
    b = a;
    a.AppendNumber(9);  // past the count: grows, and touches only a
    EXPECT_EQ(b.Format(), "{1,2}");
    EXPECT_EQ(a.Count(), 3);
}

TEST(StackValBuild, SettersAndVectors)
{
    TStackVal v;
    v.SetTextRight("12", 5);
    EXPECT_EQ(v.Text(), "   12");
    v.SetTextRight("123456", 5);
    EXPECT_EQ(v.Text(), "123456");
    v.SetTextRight("\xC3\xA9", 3);  // one character, two bytes
    EXPECT_EQ(v.Text(), "  \xC3\xA9");

    TStackVal a = Numbers({1, 2});
    TStackVal empty;
    empty.SetEmptyVector();
    a.AppendVector(empty);
    EXPECT_EQ(a.Format(), "{1,2}");
    a.AppendVector(Numbers({3}));
    EXPECT_EQ(a.Format(), "{1,2,3}");
    empty.AppendVector(Numbers({4}));
    EXPECT_TRUE(empty.IsNumberVector());
    EXPECT_EQ(empty.Format(), "{4}");

    TStackVal t = TStackVal::Text("ab");
    t.ConcatText(TStackVal::Text("cd"));
    EXPECT_EQ(t.Text(), "abcd");

    TStackVal named = TStackVal::Named("n");
    named.MakeTextVector(1);
    named.AppendText("z");
    EXPECT_EQ(named.Flags(), svNamed | svTextVector);
    EXPECT_EQ(named.TextAt(0), "z");
    EXPECT_EQ(named.TextAt(5), "") << "outside the vector";
    EXPECT_TRUE(IsNoValue(named.NumberAt(0)));

    named.Clear();
    EXPECT_EQ(named.Flags(), 0u);
    EXPECT_EQ(named.Name(), "");
}

}  // namespace
}  // namespace vyn::test
