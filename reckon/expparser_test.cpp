// Tests of ExpParser: values and their "%.9f" texts, the tokenizer's quirks, the error codes and
// columns behind the failure marker, variables and Ans across calls, and the limits that keep
// long, huge and deeply nested input safe.
#include "expparser.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstdio>
#include <string>

namespace reckon {
namespace {

std::wstring eval(std::wstring_view text) { return std::wstring(ExpParser().Evaluate(text)); }

// The "%.9f" text of a value as the C library writes it.
std::wstring printed(double value) {
    char text[400];
    std::snprintf(text, sizeof text, "%.9f", value);
    return std::wstring(text, text + std::string_view(text).size());
}

std::wstring repeat(std::wstring_view piece, int times) {
    std::wstring text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(ExpParser, EvaluatesToFixedPointText) {
    const struct {
        std::wstring_view expression, result;
    } cases[] = {
        // precedence and associativity
        {L"2+3*4", L"14.000000000"},
        {L"(2+3)*4", L"20.000000000"},
        {L"7/2", L"3.500000000"},
        {L"1/3", L"0.333333333"},
        {L"2^3^2", L"64.000000000"},
        {L"3+4=7", L"1.000000000"},
        {L"1<2=1", L"1.000000000"},
        {L"2<>2", L"0.000000000"},
        {L"1&3<2", L"0.000000000"},
        {L"1<=2>=1", L"1.000000000"},
        // a minus is its own token and unary minus binds tighter than "^" and "!"
        {L"2*-3", L"-6.000000000"},
        {L"2--3", L"5.000000000"},
        {L"-2^2", L"4.000000000"},
        {L"2^-1", L"0.500000000"},
        {L"-3!", L"-3.000000000"},
        // integer operators
        {L"5|3", L"7.000000000"},
        {L"5&3", L"1.000000000"},
        {L"5||3", L"6.000000000"},
        {L"1<<4", L"16.000000000"},
        {L"1<<33", L"2.000000000"},
        {L"1<<-1", L"-2147483648.000000000"},
        {L"-1>>1", L"-1.000000000"},
        {L"7%3", L"1.000000000"},
        {L"-7%3", L"-1.000000000"},
        {L"7.9%3.9", L"1.000000000"},
        {L"-2147483648%-1", L"0.000000000"},
        // factorial
        {L"3!", L"6.000000000"},
        {L"0!", L"1.000000000"},
        {L"3! !", L"720.000000000"},
        {L"3! +1", L"7.000000000"},
        {L"FACTORIAL(4)", L"24.000000000"},
        {L"171!", L"inf"},
        {L"2147483647!", L"inf"},
        // number syntax: the longest leading number of the token counts
        {L"2E3", L"2000.000000000"},
        {L"2e+3", L"2000.000000000"},
        {L"1e-3", L"0.001000000"},
        {L"2e", L"2.000000000"},
        {L"2E+", L"2.000000000"},
        {L"1.2.3", L"1.200000000"},
        {L".", L"0.000000000"},
        {L".5", L"0.500000000"},
        {L"1e999", L"inf"},
        {L"1e-999", L"0.000000000"},
        // constants, functions, blanks
        {L"e", L"2.718281828"},
        {L"E", L"2.718281828"},
        {L"pi", L"3.141592654"},
        {L"sin(PI/2)", L"1.000000000"},
        {L"log10 (100)", L"2.000000000"},
        {L"\t abs( -2 ) ", L"2.000000000"},
        {L"Sign(-7)+SIGN(0)+sign(3)", L"0.000000000"},
        {L"sqrt(16)+exp(0)+log(e)+cos(0)+tan(0)+asin(0)+acos(1)+atan(0)", L"7.000000000"},
        // arithmetic faults are values, never the failure marker
        {L"1/0", L"inf"},
        {L"-1/0", L"-inf"},
        {L"0/0", L"nan"},
        {L"SQRT(-1)", L"nan"},
        {L"log(0)", L"-inf"},
        {L"sign(0/0)", L"0.000000000"},
        {L"7%0", L"nan"},
        {L"2147483648|0", L"nan"},
        {L"-2147483649&1", L"nan"},
        {L"(0/0)>>1", L"nan"},
        {L"2147483647|0", L"2147483647.000000000"},
        {L"0/0=0/0", L"0.000000000"},
        {L"0/0<>0/0", L"1.000000000"},
        // the text ends at its first NUL
        {std::wstring_view(L"1+2\0+4", 6), L"3.000000000"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(eval(c.expression), c.result) << std::wstring(c.expression);
}

// Failures, each with the error raised behind the marker (code 0: no error, the input was empty
// or something was left over after a whole expression).
TEST(ExpParser, FailuresGiveTheMarkerAndTheirError) {
    const struct {
        std::wstring_view expression;
        int code, column;
    } cases[] = {
        {L"", 0, 0},
        {L"  \t ", 0, 0},
        {L"3!!", 0, 0},  // one operator run that matches no operator
        {L"3!+1", 0, 0},
        {L"1+2)", 0, 0},
        {L"2 3", 0, 0},
        {L"2PI", 0, 0},
        {L"#", 1, 1},
        {L"1 + 2 # 3", 1, 7},
        {L"(1,2)", 1, 3},
        {L"1+\u00b2", 1, 3},
        {L"\u0131", 1, 1},  // upper-cases to I in some locales, yet belongs to no class
        {L"\u017fin(1)", 1, 1},
        {L"(1+2", 3, 5},
        {L"((1)", 3, 5},
        {L"1+", 6, 3},
        {L"a=", 6, 3},
        {L"--3", 7, 2},
        {L"1-*2", 7, 3},
        {L"1+*2", 0, 0},  // "+*" is one run
        {L"()", 7, 2},
        {L"foo(1)", 102, 7},
        {L"abc", 103, 1},
        {L"ans", 103, 1},
        {L"1+a==3", 103, 3},
        {L"2.5!", 400, 4},
        {L"1e10!", 400, 5},
        {L"(0/0)!", 400, 6},
        {L"FACTORIAL(2.5)", 400, 15},
    };
    for (const auto& c : cases) {
        ExpParser parser;
        EXPECT_EQ(parser.Evaluate(c.expression), kFailureMarker) << std::wstring(c.expression);
        if (c.code == 0) {
            EXPECT_FALSE(parser.lastError()) << std::wstring(c.expression);
        } else {
            ASSERT_TRUE(parser.lastError()) << std::wstring(c.expression);
            EXPECT_EQ(parser.lastError()->code, c.code) << std::wstring(c.expression);
            EXPECT_EQ(parser.lastError()->column, c.column) << std::wstring(c.expression);
            EXPECT_EQ(parser.lastError()->message(), L"1.#INF");
        }
    }
}

TEST(ExpParser, VariablesAndAnsLastAcrossCallsOnOneInstance) {
    ExpParser parser;
    const struct {
        std::wstring_view expression, result;
    } session[] = {
        {L"a=3", L"3.000000000"},
        {L"A*2", L"6.000000000"},
        {L"ans", L"6.000000000"},
        {L"a==3", L"1.#INF"},
        {L"(a=5)", L"0.000000000"},  // "=" compares anywhere but at the start
        {L"1+a=4", L"1.000000000"},
        {L"a", L"3.000000000"},
        {L" a = a + 1", L"4.000000000"},
        {L"Ans*10", L"40.000000000"},
        {L"abc", L"1.#INF"},  // a failure leaves Ans as it was
        {L"ANS", L"40.000000000"},
        {L"b=undefined", L"1.#INF"},  // a failed assignment stores nothing
        {L"b", L"1.#INF"},
        {L"e=5", L"5.000000000"},  // stored, but the constant comes first
        {L"e", L"2.718281828"},
        {L"Pi_2=pi*2", L"6.283185307"},
        {L"pI_2", L"6.283185307"},
    };
    for (const auto& step : session)
        EXPECT_EQ(parser.Evaluate(step.expression), step.result) << std::wstring(step.expression);

    EXPECT_EQ(ExpParser().Evaluate(L"a"), kFailureMarker);  // instances share nothing
    EXPECT_EQ(parser.Evaluate(parser.Evaluate(L"6/4")), L"1.500000000");  // its own result as input
}

TEST(ExpParser, LongTokensAreReadWhole) {
    // A digit string is not cut: the value is that of all its digits.
    EXPECT_EQ(eval(L"1" + std::wstring(40, L'0')), printed(1e40));
    EXPECT_EQ(eval(L"0." + std::wstring(1000, L'0') + L"1e1001"), L"1.000000000");

    // Names are compared whole, however long.
    ExpParser parser;
    const std::wstring stem(40, L'x');
    EXPECT_EQ(parser.Evaluate(stem + L"1=1"), L"1.000000000");
    EXPECT_EQ(parser.Evaluate(stem + L"2=2"), L"2.000000000");
    EXPECT_EQ(parser.Evaluate(stem + L"1"), L"1.000000000");
    EXPECT_EQ(parser.Evaluate(stem + L"3"), kFailureMarker);

    // An unclassified character makes the rest of the input one token, of any length.
    EXPECT_EQ(eval(L"1+#" + std::wstring(100000, L'9')), kFailureMarker);
}

TEST(ExpParser, HugeValuesAreWrittenInFull) {
    // The longest fixed-point text a double has: 309 digits, the point and 9 decimals.
    const std::wstring lowest = eval(L"-1.7976931348623157e308");
    EXPECT_EQ(lowest, printed(-DBL_MAX));
    EXPECT_EQ(lowest.size(), 320u);
    EXPECT_EQ(eval(L"1e300*1e300"), L"inf");
    const std::wstring largestFactorial = eval(L"170!");
    EXPECT_TRUE(largestFactorial.starts_with(L"725741561530")) << largestFactorial;
    EXPECT_EQ(largestFactorial.size(), 307u + 10u);
}

TEST(ExpParser, NestingIsCappedAtTheDepthLimit) {
    const int limit = ExpParser::kMaxDepth;
    EXPECT_EQ(eval(repeat(L"(", limit) + L"1" + repeat(L")", limit)), L"1.000000000");
    EXPECT_EQ(eval(repeat(L"-(", limit) + L"1" + repeat(L")", limit)), L"1.000000000");

    ExpParser parser;
    EXPECT_EQ(parser.Evaluate(repeat(L"(", limit + 1) + L"1" + repeat(L")", limit + 1)), kFailureMarker);
    ASSERT_TRUE(parser.lastError());
    EXPECT_EQ(parser.lastError()->code, 500);
    EXPECT_EQ(parser.lastError()->column, limit + 1);

    // Far past the limit it fails the same way instead of exhausting the stack.
    EXPECT_EQ(eval(repeat(L"sin(", 1000000)), kFailureMarker);
    // Long flat expressions do not recurse at all.
    EXPECT_EQ(eval(L"0" + repeat(L"+1", 100000)), L"100000.000000000");
}

}  // namespace
}  // namespace reckon
