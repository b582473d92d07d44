// Expressions and what they give: a number, a text, a vector or an evaluation error.
// Expected values are worked out by hand from the language's rules (plain decimal arithmetic).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestPool.h"
#include "evaluator/EvalErrors.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "evaluator/TEvaluator.h"

namespace vyn::test {
namespace {

struct Expect {
    enum What { Number, Text, Vector, Error } what = Number;
    double num = 0;
    std::string text;  // the text, or the vector's text form
    std::uint32_t kind = 0;
    int err = 0;
    std::string ctx;
    bool checkCtx = false;
};
Expect Make(Expect::What what)
{
    Expect e;
    e.what = what;
    return e;
}
Expect Num(double d)
{
    Expect e = Make(Expect::Number);
    e.num = d;
    return e;
}
Expect Txt(std::string t)
{
    Expect e = Make(Expect::Text);
    e.text = std::move(t);
    return e;
}
Expect Vec(std::uint32_t kind, std::string form)
{
    Expect e = Make(Expect::Vector);
    e.kind = kind;
    e.text = std::move(form);
    return e;
}
Expect NumVec(std::string form) { return Vec(svNumberVector, std::move(form)); }
Expect TxtVec(std::string form) { return Vec(svTextVector, std::move(form)); }
Expect EmptyLit() { return Vec(svEmptyVector, "{}"); }
Expect Err(int id)
{
    Expect e = Make(Expect::Error);
    e.err = id;
    return e;
}
Expect Err(int id, std::string ctx)
{
    Expect e = Err(id);
    e.ctx = std::move(ctx);
    e.checkCtx = true;
    return e;
}

struct Row {
    std::string name;
    std::string expr;
    Expect want;
};

std::string Repeat(const std::string& s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

std::string ItemList(int n)
{
    std::string out;
    for (int i = 1; i <= n; ++i) out += (i > 1 ? "," : "") + std::to_string(i);
    return out;
}

std::vector<Row> Rows()
{
    const std::string nan = "nan";
    return {
        // --- the edge cases that define the language
        {"product", "2*3", Num(6)},
        {"empty text", "", Err(kErrEmptyExpression)},
        {"blanks only", " \t\r\n ", Err(kErrEmptyExpression)},
        {"dangling operator", "1+", Err(kErrSyntax)},
        {"known name", "x", Num(3)},
        {"unknown name", "nosuch", Err(kErrVarNotFound, "nosuch")},
        {"text variable", "t", Txt("abc")},

        // --- precedence and associativity
        {"mul before add", "1+2*3", Num(7)},
        {"parens", "(1+2)*3", Num(9)},
        {"sub left assoc", "10-4-3", Num(3)},
        {"div left assoc", "24/4/2", Num(3)},
        {"mixed levels", "2*3+4*5", Num(26)},
        {"negate binds tighter than mul", "-2*3", Num(-6)},
        {"index binds tighter than negate", "-v[1]", Num(-2)},
        {"comparison chain is left assoc", "2 < 3 < 1", Num(0)},
        {"equality chain", "2 = 2 = 0", Num(0)},
        {"add before relation", "1 + 2 < 4", Num(1)},
        {"relation before equality", "1 < 2 = 1", Num(1)},
        {"equality before and", "3 = 3 & 0", Num(0)},
        {"and before or", "1 | 0 & 0", Num(1)},
        {"and before or, left", "0 & 0 | 1", Num(1)},
        {"or before conditional", "0 ? 1 : 0 | 1", Num(1)},
        {"conditional right assoc", "1 ? 2 : 3 ? 4 : 5", Num(2)},
        {"conditional right assoc, last", "0 ? 2 : 0 ? 4 : 5", Num(5)},
        {"conditional right assoc, middle", "0 ? 2 : 1 ? 4 : 5", Num(4)},
        {"conditional in then-branch", "1 ? 0 ? 7 : 8 : 9", Num(8)},
        {"not before add", "!0 + 1", Num(2)},
        {"double negation", "--3", Num(3)},
        {"plus minus plus", "-+-3", Num(3)},

        // --- or / and
        {"or true", "0 | 1", Num(1)},
        {"or false", "0 | 0", Num(0)},
        {"and false", "5 & 0", Num(0)},
        {"and gives 1 not 7", "5 & 7", Num(1)},
        {"or skips unknown", "1 | nosuch", Num(1)},
        {"and skips unknown", "0 & nosuch", Num(0)},
        {"unknown before or", "nosuch | 1", Err(kErrVarNotFound, "nosuch")},
        {"or chain skips rest", "0 | 0 | 1 | nosuch | nosuch2", Num(1)},
        {"or skips nested chain", "1 | (0 | nosuch)", Num(1)},
        {"and with nested or", "1 & (0 | 2) & 3", Num(1)},
        {"missing value is true in or", "miss | 0", Num(1)},
        {"missing value is true in and", "miss & 1", Num(1)},
        {"not-a-number is false in or", nan + " | 0", Num(0)},
        {"not-a-number is false in and", nan + " & 1", Num(0)},
        {"text in or", "t | 1", Err(kErrVarNotNumeric, "t")},
        {"text literal in and", "\"a\" & 1", Err(kErrValueNotNumeric)},
        {"vector in or", "0 | v", Err(kErrVarNotNumeric, "v")},
        {"lone text passes", "(t)", Txt("abc")},
        {"lone vector passes", "v", NumVec("{1,2,3}")},

        // --- conditional
        {"false skips then", "0 ? nosuch : 3", Num(3)},
        {"true skips else", "1 ? 3 : nosuch", Num(3)},
        {"chosen name is resolved at the end", "1 ? x : 0", Num(3)},
        {"chosen unknown name", "1 ? nosuch : 3", Err(kErrVarNotFound, "nosuch")},
        {"missing condition is true", "miss ? 1 : 2", Num(1)},
        {"not-a-number condition is false", nan + " ? 1 : 2", Num(2)},
        {"text condition", "t ? 1 : 2", Err(kErrVarNotNumeric, "t")},
        {"vector condition", "{1} ? 1 : 2", Err(kErrValueNotNumeric)},
        {"skipped or chain", "0 ? (1 | 0) : 5", Num(5)},
        {"conditional as operand", "(1 ? 2 : 3) + 1", Num(3)},
        {"skipped call of unknown function", "0 ? nofunc(nosuch) : 2", Num(2)},
        {"skipped bad vector literal", "0 ? {1, \"a\"} : 2", Num(2)},
        {"skipped bad index", "0 ? v[7] : 2", Num(2)},
        {"skipped qualified name", "0 ? S9.zz : 2", Num(2)},
        {"skipped division by zero", "1 ? 2 : 1/0", Num(2)},
        {"skipped nested conditional", "0 ? (1 ? nosuch : 2) : 4", Num(4)},
        {"missing else", "1 ? 2", Err(kErrSyntax)},
        {"missing else value", "0 ? 1 :", Err(kErrSyntax)},
        {"colon without question", "1 : 2", Err(kErrSyntax)},

        // --- comparisons
        {"missing equals", "miss = 1", Num(1)},
        {"missing not equals", "miss != 1", Num(1)},
        {"missing less", "1 < miss", Num(1)},
        {"not equal", "3 != 3", Num(0)},
        {"less or equal", "2 <= 2", Num(1)},
        {"greater or equal", "2 >= 3", Num(0)},
        {"greater", "2 > 1", Num(1)},
        {"less", "2 < 1", Num(0)},
        {"texts equal", "\"abc\" = t", Num(1)},
        {"texts greater", "\"abd\" > t", Num(1)},
        {"texts less", "\"a\" < \"b\"", Num(1)},
        {"texts not equal", "\"a\" != \"a\"", Num(0)},
        {"texts less or equal", "\"b\" <= \"b\"", Num(1)},
        {"texts greater or equal", "\"a\" >= \"b\"", Num(0)},
        {"text with number", "t = 1", Err(kErrTextWithNumbers)},
        {"vector on the left", "v = 1", Err(kErrVarNotSimple, "v")},
        {"vector on the right", "1 < v", Err(kErrVarNotSimple, "v")},
        {"vector literal compared", "{1} = 1", Err(kErrValueNotSimple)},
        {"blank inside less-equal", "2 < = 3", Num(1)},
        {"blank inside greater-equal", "3 >\t= 3", Num(1)},
        {"blank inside not-equal", "1 ! = 2", Num(1)},
        {"no double equals", "1 == 1", Err(kErrSyntax)},
        {"unknown on the right", "1 = nosuch", Err(kErrVarNotFound, "nosuch")},

        // --- addition
        {"texts concatenate", "\"ab\" + \"cd\"", Txt("abcd")},
        {"text plus number", "t + 1", Err(kErrTextWithNumbers)},
        {"number vectors append", "{1,2} + {3}", NumVec("{1,2,3}")},
        {"text vectors append", "{\"a\"} + tv", TxtVec("{a,a,b}")},
        {"number and text vectors", "{1} + {\"a\"}", Err(kErrIncompatibleVectors)},
        {"empty left vector", "{} + {1}", NumVec("{1}")},
        {"empty right vector", "{1,2} + {}", NumVec("{1,2}")},
        {"empty number vector left", "ev + tv", TxtVec("{a,b}")},
        {"both empty", "{} + {}", EmptyLit()},
        {"empty vector plus number", "{} + 1", EmptyLit()},
        {"vector plus number", "{1,2} + 1", NumVec("{2,3}")},
        {"number plus vector", "1 + {1,2}", NumVec("{2,3}")},
        {"missing item stays", "vm + 1", NumVec("{2,inf}")},
        {"missing scalar fills", "{1,2} + miss", NumVec("{inf,inf}")},
        {"text vector plus number", "tv + 1", Err(kErrVarNotNumeric, "tv")},
        {"vector plus text", "v + t", Err(kErrVarNotNumeric, "t")},
        {"missing sum", "1 + miss", Num(NoValue)},
        {"decimal sum", "0.25 + 0.5", Num(0.75)},

        // --- subtraction, multiplication, division
        {"vector minus vector", "{1,2} - {3}", Err(kErrInvalidOperation)},
        {"vector times vector", "v * v", Err(kErrInvalidOperation)},
        {"empty vectors divided", "{} / {}", Err(kErrInvalidOperation)},
        {"scalar minus vector", "10 - {1,2}", NumVec("{9,8}")},
        {"vector minus scalar", "{10,20} - 1", NumVec("{9,19}")},
        {"vector times scalar", "{1,2} * 2", NumVec("{2,4}")},
        {"vector over scalar", "{8,4} / 2", NumVec("{4,2}")},
        {"scalar over vector", "8 / {2,4}", NumVec("{4,2}")},
        {"vector times missing", "{1,2} * miss", NumVec("{inf,inf}")},
        {"text minus number", "t - 1", Err(kErrVarNotNumeric, "t")},
        {"number times text", "1 * \"a\"", Err(kErrValueNotNumeric)},
        {"missing times zero", "miss * 0", Num(NoValue)},
        {"zero over missing", "0 / miss", Num(NoValue)},
        {"missing over zero is no fault", "miss / 0", Num(NoValue)},
        {"division by zero", "1 / 0", Err(kErrNumerical)},
        {"zero over zero", "0 / 0", Err(kErrNumerical)},
        {"vector over zero", "{1,2} / 0", Err(kErrNumerical)},
        {"overflowing product", "1e308 * 10", Err(kErrNumerical)},
        {"overflowing negative product", "-1e308 * 10", Err(kErrNumerical)},
        {"overflowing sum", "1e308 + 1e308", Err(kErrNumerical)},
        {"overflowing difference", "-1e308 - 1e308", Err(kErrNumerical)},
        {"overflowing vector item", "{1e308} * 10", Err(kErrNumerical)},
        {"underflow is no fault", "1e-300 * 1e-300", Num(0)},
        {"decimal quotient", "1 / 8", Num(0.125)},

        // --- unary operators
        {"negate vector with missing item", "-vm", NumVec("{-1,inf}")},
        {"negate missing", "-miss", Num(NoValue)},
        {"not of vector", "!{0,2}", NumVec("{1,0}")},
        {"not of missing", "!miss", Num(0)},
        {"not of variable", "!x", Num(0)},
        {"not of empty vector", "!{}", EmptyLit()},
        {"unary plus keeps vector", "+v", NumVec("{1,2,3}")},
        {"unary plus of text", "+t", Err(kErrVarNotNumeric, "t")},
        {"negate text", "-\"a\"", Err(kErrValueNotNumeric)},
        {"not of text vector", "!tv", Err(kErrVarNotNumeric, "tv")},

        // --- literals
        {"exponent", "1.5e3", Num(1500)},
        {"leading point", ".5", Num(0.5)},
        {"trailing point", "1.", Num(1)},
        {"negative exponent", "1E-2", Num(0.01)},
        {"exponent with plus", "2e+1", Num(20)},
        {"exponent without digits", "1e", Err(kErrSyntax)},
        {"exponent sign without digits", "1e+", Err(kErrSyntax)},
        {"huge literal is missing", "1e999", Num(NoValue)},
        {"tiny literal is zero", "1e-999", Num(0)},
        {"no hexadecimal", "0x10", Err(kErrSyntax)},
        {"lone point", ".", Err(kErrSyntax)},
        {"two points", "1.2.3", Err(kErrSyntax)},
        {"unterminated text", "\"open", Txt("open")},
        {"empty text literal", "\"\"", Txt("")},
        {"text keeps blanks", "\" a b \"", Txt(" a b ")},
        {"UTF-8 inside a text", "\"\xC3\xA4\xC2\xB2\"", Txt("\xC3\xA4\xC2\xB2")},
        {"empty vector", "{}", EmptyLit()},
        {"empty vector with blank", "{ }", EmptyLit()},
        {"number vector", "{1, 2, 3}", NumVec("{1,2,3}")},
        {"vector of variables", "{x, y}", NumVec("{3,4}")},
        {"vector with missing", "{1, miss}", NumVec("{1,inf}")},
        {"text vector", "{\"a\", t}", TxtVec("{a,abc}")},
        {"mixed vector", "{1, \"a\"}", Err(kErrTextWithNumbers)},
        {"mixed vector, text first", "{t, 1}", Err(kErrTextWithNumbers)},
        {"vector in vector", "{{1}}", Err(kErrValueNotSimple)},
        {"empty vector in vector", "{1, {}}", Err(kErrValueNotSimple)},
        {"vector variable in vector", "{v}", Err(kErrVarNotSimple, "v")},
        {"unknown in vector", "{1, nosuch}", Err(kErrVarNotFound, "nosuch")},
        {"trailing comma", "{1,}", Err(kErrSyntax)},
        {"unclosed vector", "{1, 2", Err(kErrSyntax)},
        {"vector of 100 items", "{" + ItemList(100) + "}[99]", Num(100)},

        // --- indexing
        {"first item", "{5,6,7}[0]", Num(5)},
        {"past the end", "{5,6,7}[3]", Err(kErrIndexOutOfRange)},
        {"truncated index", "{5,6,7}[2.9]", Num(7)},
        {"negative fraction truncates to 0", "{5,6,7}[-0.5]", Num(5)},
        {"negative index", "{5,6,7}[-1]", Err(kErrIndexOutOfRange)},
        {"missing index", "{5,6,7}[miss]", Err(kErrIndexOutOfRange)},
        {"not-a-number index", "{5,6,7}[" + nan + "]", Err(kErrIndexOutOfRange)},
        {"huge index", "v[1e300]", Err(kErrIndexOutOfRange)},
        {"huge negative index", "v[-1e300]", Err(kErrIndexOutOfRange)},
        {"index of empty vector", "{}[0]", Err(kErrIndexOutOfRange)},
        {"variable index", "v[1]", Num(2)},
        {"text item", "tv[1]", Txt("b")},
        {"index expression", "v[x-1]", Num(3)},
        {"index of number variable", "x[0]", Err(kErrVarNotVector, "x")},
        {"index of number", "3[0]", Err(kErrValueNotVector)},
        {"text index", "v[t]", Err(kErrVarNotNumeric, "t")},
        {"vector index", "v[{1}]", Err(kErrValueNotNumeric)},
        {"repeated index of an item", "v[1][0]", Err(kErrValueNotVector)},
        {"index of parenthesised vector", "(v)[2]", Num(3)},
        {"items added", "v[0] + v[2]", Num(4)},
        {"index of call result", "echo(v)[1]", Num(2)},
        {"unclosed index", "v[1", Err(kErrSyntax)},

        // --- calls
        {"call", "twice(4)", Num(8)},
        {"call with variable", "twice(x)", Num(6)},
        {"call with missing", "twice(miss)", Num(NoValue)},
        {"call with vector and number", "mean(v, 5)", Num(2.75)},
        {"call with no arguments", "count()", Num(0)},
        {"argument count", "count(1, 2, 3)", Num(3)},
        {"nested call counts its own items", "count(1, count(2, 3), 4)", Num(3)},
        {"nested call value", "count(count(1,2,3,4,5))", Num(1)},
        {"empty vector argument", "count({})", Num(1)},
        {"call in arithmetic", "twice(2) * twice(3)", Num(24)},
        {"unknown function", "nofunc(1)", Err(kErrFunctionNotFound, "nofunc")},
        {"unknown function, no arguments", "nofunc()", Err(kErrFunctionNotFound, "nofunc")},
        {"unknown argument", "twice(nosuch)", Err(kErrVarNotFound, "nosuch")},
        {"function raises", "fail(1)", Err(kErrWrongArgument, "fail")},
        {"function checks its argument", "twice(t)", Err(kErrVarNotNumeric, "t")},
        {"wrong argument count", "twice(1, 2)", Err(kErrWrongArgCount, "twice")},
        {"text result", "echo(t)", Txt("abc")},
        {"expression is not callable", "(x)(2)", Err(kErrSyntax)},
        {"parenthesis resolves before the next token", "(twice)(2)", Err(kErrVarNotFound, "twice")},
        {"call result is not callable", "twice(1)(2)", Err(kErrSyntax)},
        {"unclosed call", "twice(1", Err(kErrSyntax)},
        {"call without parens", "twice 1", Err(kErrSyntax)},
        {"empty argument", "count(1,,2)", Err(kErrSyntax)},
        {"call of 99 items", "count(" + ItemList(99) + ")", Num(99)},

        // --- qualified names
        {"qualified variable", "S1.x", Num(10)},
        {"qualified text", "S1.t", Txt("s1")},
        {"qualified with blanks", "S1 . x", Num(10)},
        {"qualified in arithmetic", "S1.x * 2 + x", Num(23)},
        {"unknown member", "S1.zz", Err(kErrVarNotFound, "zz")},
        {"unknown qualifier", "S2.x", Err(kErrVarNotFound, "x")},
        {"qualified call", "S1.f(1)", Num(101)},
        {"qualified call, no arguments", "S1.n()", Num(7)},
        {"qualified call in arithmetic", "S1.n() * S1.f(x)", Num(721)},
        {"unknown qualified function", "S1.zz(1)", Err(kErrFunctionNotFound, "zz")},
        {"three parts", "S1.x.y", Err(kErrSyntax)},
        {"qualifier alone", "S1.", Err(kErrSyntax)},
        {"number after dot", "S1.5", Err(kErrSyntax)},
        {"index of qualified", "S1.x[0]", Err(kErrVarNotVector, "x")},

        // --- lexer
        {"name of 127 characters", Repeat("a", 127), Num(1)},
        {"name of 128 characters", Repeat("a", 128), Err(kErrTokenTooLong, Repeat("a", 63))},
        {"text of 127 characters", "\"" + Repeat("b", 127) + "\"", Txt(Repeat("b", 127))},
        {"text of 128 characters", "\"" + Repeat("b", 128) + "\"", Err(kErrTokenTooLong)},
        {"text of 127 two-byte characters", "\"" + Repeat("\xC3\xA9", 127) + "\"", Txt(Repeat("\xC3\xA9", 127))},
        {"text of 128 two-byte characters", "\"" + Repeat("\xC3\xA9", 128) + "\"", Err(kErrTokenTooLong)},
        {"byte above 127 after a name", "OD\xC2\xB2", Err(kErrSyntax)},
        {"byte above 127 as blank", "x\xA0+ 1", Err(kErrSyntax)},
        {"byte above 127 alone", "\xFF", Err(kErrSyntax)},
        {"control characters are blanks", "x\t+\ny\r\x01", Num(7)},
        {"names with digits and underscore", "_a1 + 1", Err(kErrVarNotFound, "_a1")},
        {"unknown character", "1 $ 2", Err(kErrSyntax)},
        {"hash", "#", Err(kErrSyntax)},
        {"lone closing paren", ")", Err(kErrSyntax)},
        {"unbalanced paren", "(1+2))", Err(kErrSyntax)},
        {"two operands", "1 2", Err(kErrSyntax)},
        {"name after operand", "x y", Err(kErrSyntax)},
        {"syntax error found before division", "1/0 y", Err(kErrSyntax)},
        {"syntax error found before addition", "nosuch + 1 2", Err(kErrSyntax)},

        // --- limits
        {"101 vector items", "{" + ItemList(101) + "}", Err(kErrStackOverflow)},
        {"100 call items", "count(" + ItemList(100) + ")", Err(kErrStackOverflow)},
        {"90 nested parens", Repeat("(", 90) + "1" + Repeat(")", 90), Num(1)},
        {"100 nested parens", Repeat("(", 100) + "1" + Repeat(")", 100), Err(kErrInternal)},
        {"100000 open parens", Repeat("(", 100000), Err(kErrInternal)},
        {"deep negation", Repeat("-", 200) + "1", Err(kErrInternal)},
        {"deep right operands", Repeat("1+(", 40) + "1" + Repeat(")", 40), Err(kErrInternal)},
        {"long flat sum", "1" + Repeat("+1", 5000), Num(5001)},
        {"long or chain", "0" + Repeat("|0", 3000) + "|1", Num(1)},
    };
}

std::string Describe(int rc, const TEvaluator& ev)
{
    if (rc == 0) {
        const TStackVal& r = ev.Result();
        return "result " + r.Format() + " (flags " + std::to_string(r.Flags()) + ")";
    }
    return "return " + std::to_string(rc) + ", error " + std::to_string(PendingEvalErrorId()) + " context \"" +
           PendingEvalErrorContext() + "\"";
}

TEST(ExpressionTable, EveryRow)
{
    for (const Row& row : Rows()) {
        TestPool pool;
        TEvaluator ev;
        ev.AddVarPool(&pool);
        ev.AddFuncPool(&pool);
        SetEvalErrorContext("");
        int rc = ev.Evaluate(row.expr);
        const std::string got = Describe(rc, ev);
        const std::string where = "row \"" + row.name + "\": " + (row.expr.size() > 80 ? row.expr.substr(0, 80) + "..." : row.expr) + " gave " + got;
        const Expect& w = row.want;
        const TStackVal& r = ev.Result();
        switch (w.what) {
        case Expect::Number:
            EXPECT_TRUE(rc == 0 && r.IsNumber() && r.Number() == w.num) << where << ", expected " << w.num;
            break;
        case Expect::Text:
            EXPECT_TRUE(rc == 0 && r.IsText() && r.Text() == w.text) << where << ", expected text " << w.text;
            break;
        case Expect::Vector:
            EXPECT_TRUE(rc == 0 && r.Kind() == w.kind && r.Format() == w.text)
                << where << ", expected vector " << w.text << " of kind " << w.kind;
            break;
        case Expect::Error:
            EXPECT_TRUE(rc == (w.err == kErrEmptyExpression ? 1 : -1) && PendingEvalErrorId() == w.err &&
                        (!w.checkCtx || PendingEvalErrorContext() == w.ctx))
                << where << ", expected error " << w.err << (w.checkCtx ? " context \"" + w.ctx + "\"" : "");
            // After any error the evaluator is empty and its result is NoValue.
            EXPECT_EQ(ev.Top(), -1) << where;
            EXPECT_TRUE(ev.Result().IsNumber() && IsNoValue(ev.Result().Number())) << where;
            break;
        }
    }
}

}  // namespace
}  // namespace vyn::test
