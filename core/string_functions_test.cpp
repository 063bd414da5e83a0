// String helpers: word splitting, character replacement, tokens and character search, each on the
// 255 characters a LISP function's buffer holds.
#include "string_functions.h"

#include <gtest/gtest.h>

namespace {

using Words = std::array<std::wstring, 4>;
using Tokens = std::vector<std::wstring>;

TEST(StringFunctions, FirstFourWords) {
  EXPECT_EQ(core::firstFourWords(L"  wall  300\t"), (Words{L"wall", L"300", L"", L""}));
  EXPECT_EQ(core::firstFourWords(L"a b c d e f"), (Words{L"a", L"b", L"c", L"d"}));
  EXPECT_EQ(core::firstFourWords(L"牆\n厚度"), (Words{L"牆", L"厚度", L"", L""}));
  EXPECT_EQ(core::firstFourWords(L""), (Words{}));
  std::wstring longWord = std::wstring(253, L'x') + L" yz";  // "z" lies past the buffer
  EXPECT_EQ(core::firstFourWords(longWord), (Words{std::wstring(253, L'x'), L"y", L"", L""}));
}

TEST(StringFunctions, ReplaceCharacter) {
  struct Case {
    const wchar_t *text, *from, *to, *result;
  } cases[] = {
      {L"a-b-c", L"-", L"_", L"a_b_c"},
      {L"a-b-c", L"-x", L"_y", L"a_b_c"},  // only the first characters count
      {L"a-b-c", L"-", L"", L"a"},  // an empty replacement cuts the text
      {L"a-b-c", L"", L"_", L"a-b-c"},
      {L"1F樓", L"樓", L"层", L"1F层"},
  };
  for (const auto& c : cases) EXPECT_EQ(core::replaceCharacter(c.text, c.from, c.to), c.result) << c.text;
  EXPECT_EQ(core::replaceCharacter(std::wstring(300, L'a'), L"a", L"b"), std::wstring(255, L'b'));
}

TEST(StringFunctions, SplitTokens) {
  EXPECT_EQ(core::splitTokens(L",,a,;b;;c,", L",;"), (Tokens{L"a", L"b", L"c"}));
  EXPECT_EQ(core::splitTokens(L"a b", L""), (Tokens{L"a b"}));
  EXPECT_TRUE(core::splitTokens(L",;,;", L",;").empty());
  EXPECT_TRUE(core::splitTokens(L"", L",").empty());
  std::wstring text = std::wstring(250, L'x') + L",abcdef";  // cut after "abcd"
  EXPECT_EQ(core::splitTokens(text, L","), (Tokens{std::wstring(250, L'x'), L"abcd"}));
}

TEST(StringFunctions, FindFirstOf) {
  EXPECT_EQ(core::findFirstOf(L"A12-3", L"-0123456789"), 1u);
  EXPECT_EQ(core::findFirstOf(L"abc", L"xyz"), std::nullopt);
  EXPECT_EQ(core::findFirstOf(L"abc", L""), std::nullopt);
  EXPECT_EQ(core::findFirstOf(std::wstring(255, L'a') + L"b", L"b"), std::nullopt);  // past the buffer
  EXPECT_EQ(core::findFirstOf(std::wstring(254, L'a') + L"b", L"b"), 254u);
}

}  // namespace
