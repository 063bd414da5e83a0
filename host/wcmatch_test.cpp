// acutWcMatch: the wildcard characters, pattern lists, negation and quoting.
#include <gtest/gtest.h>

#include "host/ads.h"

namespace {

struct WcCase {
  const wchar_t* text;
  const wchar_t* pattern;
  bool matches;
};

void PrintTo(const WcCase& c, std::ostream* os) {
  *os << testing::PrintToString(std::wstring(c.text)) << " ~ " << testing::PrintToString(std::wstring(c.pattern));
}

class WcMatchTest : public ::testing::TestWithParam<WcCase> {};

TEST_P(WcMatchTest, Matches) {
  const WcCase& c = GetParam();
  EXPECT_EQ(acutWcMatch(c.text, c.pattern), c.matches ? RTNORM : RTERROR);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, WcMatchTest,
    ::testing::Values(WcCase{L"D12", L"@##", true}, WcCase{L"12D", L"@##", false},
                      WcCase{L"D1", L"D#,W#", true}, WcCase{L"W2", L"D#,W#", true},
                      WcCase{L"X2", L"D#,W#", false}, WcCase{L"", L"*", true},
                      WcCase{L"$PCB001-A", L"$PCB###-*", true}, WcCase{L"$PCB01-A", L"$PCB###-*", false},
                      WcCase{L"abc", L"a?c", true}, WcCase{L"ac", L"a?c", false},
                      WcCase{L"abc", L"~a*", false}, WcCase{L"xbc", L"~a*", true},
                      WcCase{L"b", L"[abc]", true}, WcCase{L"d", L"[abc]", false},
                      WcCase{L"d", L"[~abc]", true}, WcCase{L"m", L"[a-z]", true},
                      WcCase{L"M", L"[a-z]", false}, WcCase{L"abc", L"ABC", false},
                      WcCase{L"a,b", L"a`,b", true}, WcCase{L"a*", L"a`*", true},
                      WcCase{L"ab", L"a`*", false}, WcCase{L"a-b", L"a.b", true},
                      WcCase{L"a1b", L"a.b", false}, WcCase{L"面積", L"@@", true},
                      WcCase{L"abc", L"*c,*d", true}, WcCase{L"abc", L"", false}));

TEST(WcMatch, NullArgumentsFail) {
  EXPECT_EQ(acutWcMatch(nullptr, L"*"), RTERROR);
  EXPECT_EQ(acutWcMatch(L"a", nullptr), RTERROR);
}

}  // namespace
