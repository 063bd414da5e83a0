// kcCore's string functions through the host, from LISP and through acedInvoke as the area-table
// module calls strlist.
#include <gtest/gtest.h>

#include "host/ads.h"
#include "platform/codepage.h"
#include "testing.h"

namespace {

class StringHandlers : public kctest::HostTest {
 protected:
  StringHandlers() : HostTest(false) {}
  void SetUp() override {
    HostTest::SetUp();
    ASSERT_TRUE(session().loadModule(L"kcCore"));
  }
};

TEST_F(StringHandlers, FromLisp) {
  struct Case {
    const wchar_t *call, *result;
  } cases[] = {
      {L"(srtstr \"wall 300\")", L"(\"wall\" \"300\" \"\" \"\")"},
      {L"(srtstr \"a b c d e\")", L"(\"a\" \"b\" \"c\" \"d\")"},
      {L"(strrep \"A-1-2\" \"-\" \"_\")", L"\"A_1_2\""},
      {L"(strrep \"A-1-2\" \"-\" \"\")", L"\"A\""},
      {L"(strlist \"1F,2F;;3F\" \",;\")", L"(\"1F\" \"2F\" \"3F\")"},
      {L"(strlist \"12\" \",\")", L"(\"12\")"},
      {L"(strlist \",;,\" \",;\")", L"nil"},
      {L"(strfind \"B12\" \"0123456789\")", L"1"},
      {L"(strfind \"abc\" \"x\")", L"nil"},
  };
  for (const auto& c : cases) EXPECT_EQ(show(c.call), c.result) << plat::utf8(c.call);
}

TEST_F(StringHandlers, WrongArgumentsGiveNil) {
  for (const wchar_t* call : {L"(srtstr)", L"(srtstr 1)", L"(strrep \"a\" \"a\")",
                              L"(strrep \"a\" \"a\" 1)", L"(strlist \"a,b\")", L"(strlist 1 \",\")",
                              L"(strfind \"a\")", L"(strfind 1 \"1\")"})
    EXPECT_EQ(show(call), L"nil") << plat::utf8(call);
}

TEST_F(StringHandlers, TextsAreCutTo255Characters) {
  EXPECT_EQ(eval(L"(strlen (strrep (strcat (substr (d236 0 255) 1 250) \"xxxxxxxxxx\") \"0\" \"1\"))").asInt(),
            255);
  EXPECT_EQ(show(L"(strfind (strcat (d236 0 255) \"x\") \"x\")"), L"nil");
}

TEST_F(StringHandlers, StrlistThroughInvoke) {
  resbuf* call = acutBuildList(RTSTR, L"strlist", RTSTR, L"坪,m2", RTSTR, L",", 0);
  resbuf* result = nullptr;
  ASSERT_EQ(acedInvoke(call, &result), RTNORM);
  std::vector<std::wstring> items;
  for (resbuf* rb = result; rb; rb = rb->rbnext)
    if (rb->restype == RTSTR) items.emplace_back(rb->resval.rstring);
  EXPECT_EQ(items, (std::vector<std::wstring>{L"坪", L"m2"}));
  acutRelRb(result);
  acutRelRb(call);
}

}  // namespace
