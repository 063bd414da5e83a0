// The running total of the calculator's lines, with a plain decimal formatter in place of the
// host's.
#include "running_total.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

std::wstring fixed(double value, int decimals) {
  wchar_t text[64];
  std::swprintf(text, 64, L"%.*f", decimals, value);
  return text;
}

struct TotalCase {
  const wchar_t* text;
  bool single;
  int subtotal, total;
  const wchar_t* shown;
};

class RunningTotal : public ::testing::TestWithParam<TotalCase> {};

TEST_P(RunningTotal, ShowsWhatTheLinesAddUpTo) {
  const TotalCase& c = GetParam();
  EXPECT_EQ(reckon::runningTotal(c.text, c.single, c.subtotal, c.total, fixed), c.shown) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RunningTotal,
    ::testing::Values(TotalCase{L"1.236\r\n2.004", false, 2, 2, L"3.24"},  // 1.24 + 2.00
                      TotalCase{L"w=3\r\nw*2", false, 2, 0, L"9"},
                      TotalCase{L"2\r\nans*10", false, 2, 0, L"22"},
                      TotalCase{L"1\r\n\r\n2", false, 2, 2, L"3.00"},  // an empty line is skipped
                      TotalCase{L"1\r\n  \r\n2", false, 2, 2, L"?"},  // a blank one fails
                      TotalCase{L"", false, 2, 2, L"0.00"},
                      TotalCase{L"(1+2", false, 2, 2, L"括號不對稱"},
                      TotalCase{L"1/0", false, 2, 2, L"?"},
                      TotalCase{L"3x4\r\n50%", false, 2, 1, L"12.5"},
                      TotalCase{L"1+\r\n2", true, 2, 2, L"3.00"},
                      TotalCase{L"1.2\r\n3", true, 2, 2, L"1.23"},
                      TotalCase{L"1+", true, 2, 2, L"?"}));

TEST(ReturnedLines, DropEmptyLinesButKeepTheLast) {
  using V = std::vector<std::wstring>;
  EXPECT_EQ(reckon::returnedLines(L"1+1\r\n\r\n2\r\n"), (V{L"1+1", L"2", L""}));
  EXPECT_EQ(reckon::returnedLines(L"a"), (V{L"a"}));
  EXPECT_EQ(reckon::returnedLines(L""), (V{L""}));
}

TEST(JoinedLines, MakeOneSum) { EXPECT_EQ(reckon::joinedLines(L"1\r\n2\r\n3"), L"1+2+3"); }

}  // namespace
