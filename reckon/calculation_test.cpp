// The calculator's input normalisation and result reading, and what they make of typed sizes
// together with the evaluator.
#include "calculation.h"

#include <gtest/gtest.h>

#include <cmath>

#include "expparser.h"

namespace {

struct Normalised {
  const wchar_t* typed;
  const wchar_t* text;  // null: unbalanced parentheses
};

class NormaliseTest : public ::testing::TestWithParam<Normalised> {};

TEST_P(NormaliseTest, MakesTheEvaluatorsText) {
  auto text = reckon::normalise(GetParam().typed);
  if (!GetParam().text) {
    EXPECT_FALSE(text);
  } else {
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, GetParam().text);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, NormaliseTest, ::testing::Values(
    Normalised{L"3x4", L"3*4"},
    Normalised{L"3X4", L"3*4"},
    Normalised{L"50%", L"50*1.0*0.01"},
    Normalised{L"8%3", L"8*1.0*0.013"},  // a digit after the sign joins the inserted text
    Normalised{L"10%%", L"10*1.0*0.01*1.0*0.01"},
    Normalised{L"exp(1)", L"e*p(1)"},
    Normalised{L"SQRT(PI)", L"sqrt(pi)"},
    Normalised{L"", L""},
    Normalised{L")(", L")("},  // only the counts are compared
    Normalised{L"(1+2", nullptr},
    Normalised{L"((1)))", nullptr},
    Normalised{L"面積 3x4", L"面積 3*4"}));

TEST(ResultValueTest, ReadsValuesAndRefusesFailuresAndNonNumbers) {
  EXPECT_EQ(reckon::resultValue(L"12.000000000"), 12.0);
  EXPECT_EQ(reckon::resultValue(L"-0.333333333"), -0.333333333);
  EXPECT_FALSE(reckon::resultValue(L"1.#INF"));
  EXPECT_FALSE(reckon::resultValue(L"inf"));
  EXPECT_FALSE(reckon::resultValue(L"-inf"));
  EXPECT_FALSE(reckon::resultValue(L"nan"));
  EXPECT_FALSE(reckon::resultValue(L""));
}

// Typed text through normalisation and a fresh evaluator, as KCAL does it.
std::optional<double> calculate(const wchar_t* typed) {
  auto text = reckon::normalise(typed);
  if (!text) return std::nullopt;
  reckon::ExpParser parser;
  return reckon::resultValue(parser.Evaluate(*text));
}

TEST(CalculateTest, TypedSizesGiveTheirValues) {
  EXPECT_EQ(calculate(L"3x4"), 12.0);
  EXPECT_EQ(calculate(L"50%"), 0.5);
  EXPECT_EQ(calculate(L"8%3"), 0.104);
  EXPECT_EQ(calculate(L"2+3*4"), 14.0);
  EXPECT_EQ(calculate(L"1/3"), 0.333333333);
  EXPECT_EQ(calculate(L"a=2"), 2.0);
  EXPECT_FALSE(calculate(L"(1+2"));
  EXPECT_FALSE(calculate(L"exp(1)"));  // the x became a multiplication sign
  EXPECT_FALSE(calculate(L""));
  EXPECT_FALSE(calculate(L"ans"));  // a fresh evaluator has no last value
  EXPECT_FALSE(calculate(L"1/0"));
  EXPECT_FALSE(calculate(L"-1/0"));
}

}  // namespace
