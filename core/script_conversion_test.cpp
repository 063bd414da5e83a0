// Traditional/Simplified conversion: font-code stripping, the mapping through code page 936, and
// k_G2B / k_B2G as the suite's LISP programs call them.
#include "script_conversion.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "testing.h"

namespace {

using core::Script;

struct Stripped {
  const wchar_t* text;
  const wchar_t* stripped;
};

class StripFontCodesTest : public ::testing::TestWithParam<Stripped> {};

TEST_P(StripFontCodesTest, RemovesWholeCodes) {
  EXPECT_EQ(core::stripFontCodes(GetParam().text), GetParam().stripped);
}

INSTANTIATE_TEST_SUITE_P(Cases, StripFontCodesTest, ::testing::Values(
    Stripped{L"\\Fsimsun|b0|i0|c134;汉字", L"汉字"},
    Stripped{L"{\\fArial;A}{\\Fkaiu.ttf;B}", L"{A}{B}"},
    Stripped{L"\\P\\H2.5;第一行", L"\\P\\H2.5;第一行"},  // other codes stay
    Stripped{L"C:\\\\Fonts;x", L"C:\\\\Fonts;x"},  // an escaped backslash is text
    Stripped{L"abc\\Fnever-closed", L"abc\\Fnever-closed"},
    Stripped{L"trailing\\", L"trailing\\"},
    Stripped{L"", L""}));

TEST(ConvertScriptTest, TaiwanToSimplifiedAndBack) {
  auto simplified = core::convertScript(L"臺灣", Script::Simplified);
  ASSERT_TRUE(simplified);
  EXPECT_EQ(*simplified, L"台湾");
  auto traditional = core::convertScript(*simplified, Script::Traditional);
  ASSERT_TRUE(traditional);
  EXPECT_EQ(traditional->size(), 2u);
  EXPECT_EQ((*traditional)[1], L'灣');
  EXPECT_EQ(core::convertScript(*traditional, Script::Simplified), L"台湾");
}

TEST(ConvertScriptTest, MapsWordsAndKeepsWhatHasNoCounterpart) {
  EXPECT_EQ(core::convertScript(L"建築設計圖說 A-101", Script::Simplified), L"建筑设计图说 A-101");
  EXPECT_EQ(core::convertScript(L"建筑设计图说 A-101", Script::Traditional), L"建築設計圖說 A-101");
  EXPECT_EQ(core::convertScript(L"", Script::Traditional), L"");
}

TEST(ConvertScriptTest, CharactersOutsideCodePage936AreLost) {
  EXPECT_EQ(core::convertScript(L"樓梯한", Script::Simplified), L"楼梯?");
  EXPECT_EQ(core::convertScript(L"a\U0001F600b", Script::Traditional), L"a?b");
}

class ScriptFunctionsTest : public kctest::HostTest {
 protected:
  ScriptFunctionsTest() : HostTest(false) {}
  void SetUp() override {
    HostTest::SetUp();
    ASSERT_TRUE(session().loadModule(L"kcCore"));
  }
};

TEST_F(ScriptFunctionsTest, ConvertsWithAndWithoutFontCodes) {
  EXPECT_EQ(show(L"(k_B2G \"臺灣\")"), L"\"台湾\"");
  EXPECT_EQ(show(L"(k_B2G (k_G2B (k_B2G \"臺灣\")))"), L"\"台湾\"");
  EXPECT_EQ(show(L"(k_G2B \"\\\\Fsimsun;汉字\" T)"), L"\"漢字\"");
  EXPECT_EQ(show(L"(k_G2B \"\\\\Fsimsun;汉字\")"), show(L"\"\\\\Fsimsun;漢字\""));
  EXPECT_EQ(show(L"(k_G2B \"\\\\Fsimsun;汉字\" nil)"), show(L"\"\\\\Fsimsun;漢字\""));
}

TEST_F(ScriptFunctionsTest, WrongArgumentsGiveNil) {
  EXPECT_EQ(show(L"(k_G2B)"), L"nil");
  EXPECT_EQ(show(L"(k_G2B 12)"), L"nil");
  EXPECT_EQ(show(L"(k_B2G '(\"臺灣\"))"), L"nil");
}

}  // namespace
