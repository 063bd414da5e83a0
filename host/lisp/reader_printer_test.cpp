// The reader and printer: AutoLISP's number and string syntax in both directions.
#include <gtest/gtest.h>

#include "lisp/reader.h"

namespace lisp {
namespace {

std::wstring readPrint(std::wstring_view text) {
  Reader reader(text);
  return prin1String(reader.next().value());
}

TEST(Printer, RealsAsAutoLispPrintsThem) {
  const std::pair<double, const wchar_t*> cases[] = {
      {1.0, L"1.0"},          {3.14159265, L"3.14159"}, {1.0 / 3, L"0.333333"},
      {1e20, L"1.0e+20"},     {123456789.0, L"1.23457e+08"}, {-0.5, L"-0.5"},
      {100000.0, L"100000.0"}, {1e-7, L"1.0e-07"},      {0.0, L"0.0"},
      {2.5e-5, L"2.5e-05"},
  };
  for (auto [value, text] : cases) EXPECT_EQ(prin1String(Value::real(value)), text) << value;
}

TEST(Printer, StringsQuotedUnderPrin1AndRawUnderPrinc) {
  Value s = Value::string(L"a\"b\\c\n\t\r\x1b\x01中");
  EXPECT_EQ(prin1String(s), LR"("a\"b\\c\n\t\r\e\001中")");
  EXPECT_EQ(princString(s), L"a\"b\\c\n\t\r\x1b\x01中");
}

TEST(Printer, Atoms) {
  EXPECT_EQ(prin1String(Value()), L"nil");
  EXPECT_EQ(prin1String(Value::t()), L"T");
  EXPECT_EQ(prin1String(Value::symbol(L"k_DwgMan")), L"K_DWGMAN");
  EXPECT_EQ(prin1String(Value::ename(0x7ff5a2b0)), L"<Entity name: 7ff5a2b0>");
  EXPECT_EQ(prin1String(Value::integer(-42)), L"-42");
  EXPECT_EQ(princString(Value::makeList(std::vector{Value::string(L"a"), Value::integer(1)}, Value::real(2))), L"(a 1 . 2.0)");
}

TEST(Reader, Syntax) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"42", L"42"},
      {L"-2147483648", L"-2147483648"},
      {L"3000000000", L"3.0e+09"},
      {L"1.5", L"1.5"},
      {L".5", L"0.5"},
      {L"-2.", L"-2.0"},
      {L"1e3", L"1000.0"},
      {L"1+", L"1+"},
      {L"-", L"-"},
      {L"abc", L"ABC"},
      {L"nil", L"nil"},
      {L"NIL", L"nil"},
      {L"'a", L"(QUOTE A)"},
      {L"(1 . 2)", L"(1 . 2)"},
      {L"(1 2 . (3))", L"(1 2 3)"},
      {L"(a .5)", L"(A 0.5)"},
      {L"()", L"nil"},
      {L"; comment\n 7", L"7"},
      {L";| block\n comment |; 8", L"8"},
      {L"(1 ;| inside |; 2)", L"(1 2)"},
      {LR"("\101\n\\\"x")", LR"("A\n\\\"x")"},
      {LR"("\q")", LR"("q")"},
      {L"(\"中文\" 樓)", L"(\"中文\" 樓)"},
  };
  for (auto [text, printed] : cases) EXPECT_EQ(readPrint(text), printed) << text;
}

TEST(Reader, ReadsFormAfterForm) {
  Reader reader(L"1 (a) \"s\"  ; end");
  EXPECT_EQ(prin1String(*reader.next()), L"1");
  EXPECT_EQ(prin1String(*reader.next()), L"(A)");
  EXPECT_EQ(prin1String(*reader.next()), L"\"s\"");
  EXPECT_FALSE(reader.next());
}

}  // namespace
}  // namespace lisp
