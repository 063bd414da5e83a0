// Code pages: Big5 and GBK round trips, the default character for what a code page lacks, the
// machine's ANSI code page from the registry, and the name order NTFS and the registry share.
#include "platform/codepage.h"

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "platform/temp_machine.h"

using namespace plat;

TEST(CodePage, Big5RoundTripOfChineseText) {
  const std::wstring text = L"中文 KORA CAD訊息";
  bool usedDefault = true;
  std::string big5 = fromWide(950, text, &usedDefault);
  EXPECT_FALSE(usedDefault);
  EXPECT_EQ(big5.substr(0, 4), "\xA4\xA4\xA4\xE5");  // 中文
  EXPECT_EQ(toWide(950, big5), text);
}

TEST(CodePage, CharacterMissingFromTheCodePageBecomesQuestionMark) {
  bool usedDefault = false;
  EXPECT_EQ(fromWide(950, L"A\uAC00B", &usedDefault), "A?B");  // a Hangul syllable
  EXPECT_TRUE(usedDefault);
  EXPECT_EQ(fromWide(936, L"\uAC00"), "?");
}

TEST(CodePage, UndefinedBytesBecomeQuestionMark) {
  EXPECT_EQ(toWide(950, "a\xA4 b"), L"a? b");  // a lead byte without its trail byte
  EXPECT_EQ(toWide(950, "a\xA4"), L"a?");
}

TEST(CodePage, Gbk) {
  std::string gbk = fromWide(936, L"中国");
  EXPECT_EQ(gbk, "\xD6\xD0\xB9\xFA");
  EXPECT_EQ(toWide(936, gbk), L"中国");
  // A Traditional character GBK also holds.
  EXPECT_EQ(toWide(936, fromWide(936, L"國")), L"國");
}

TEST(CodePage, AnsiCodePageIsBig5UnlessTheMachineSaysOtherwise) {
  TempMachine machine;
  EXPECT_EQ(ansiCodePage(), 950u);
  EXPECT_EQ(fromWide(CP_ACP, L"中"), "\xA4\xA4");
  auto key = reg::Key::create(reg::Root::LocalMachine,
                              L"SYSTEM\\CurrentControlSet\\Control\\Nls\\CodePage");
  ASSERT_TRUE(key);
  ASSERT_TRUE(key->setString(L"ACP", L"936"));
  EXPECT_EQ(ansiCodePage(), 936u);
  EXPECT_EQ(fromWide(CP_ACP, L"中"), "\xD6\xD0");
  ASSERT_TRUE(key->setString(L"ACP", L"not a number"));
  EXPECT_EQ(ansiCodePage(), 950u);
}

TEST(CodePage, UnknownCodePageIsAnError) {
  EXPECT_THROW(toWide(12345, "x"), std::invalid_argument);
}

TEST(CodePage, UnicodeFormsRoundTrip) {
  const std::wstring text = L"a中\U00020000z";  // one character outside the BMP
  EXPECT_EQ(utf8(text), "a\xE4\xB8\xAD\xF0\xA0\x80\x80z");
  EXPECT_EQ(fromUtf8(utf8(text)), text);
  EXPECT_EQ(utf16(text).size(), 5u);
  EXPECT_EQ(fromUtf16(utf16(text)), text);
  EXPECT_EQ(fromUtf8("a\xFF" "b"), L"a\uFFFD" L"b");
}

TEST(CodePage, NamesCompareByUpperCasedUtf16) {
  struct Case {
    const wchar_t *a, *b;
    int sign;
  } cases[] = {
      {L"abc", L"ABC", 0},
      {L"B", L"_a", -1},             // 'B' < '_' once both are upper case
      {L"b", L"_a", -1},
      {L"\uFF21", L"\U00010000", 1},  // U+FF21 sorts after a surrogate pair in UTF-16
      {L"ä", L"Ä", 0},
      {L"a", L"ab", -1},
  };
  for (const auto& c : cases) {
    int r = compareNoCase(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << utf8(c.a) << " vs " << utf8(c.b);
    EXPECT_EQ(equalNoCase(c.a, c.b), c.sign == 0);
  }
}
