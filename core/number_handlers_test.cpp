// kcCore's number functions through the host: length codes in every drawing unit, the angle and
// trigonometric functions, the midpoint, and their argument checks.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/codepage.h"
#include "testing.h"

namespace {

class NumberHandlers : public kctest::HostTest {
 protected:
  NumberHandlers() : HostTest(false) {}
  void SetUp() override {
    HostTest::SetUp();
    ASSERT_TRUE(session().loadModule(L"kcCore"));
  }
};

TEST_F(NumberHandlers, LengthCodesFollowTheDrawingUnit) {
  struct Case {
    int insunits;
    const wchar_t *call, *result;
  } cases[] = {
      {4, L"(d236 150.0 4)", L"\"015O\""},  // 1500 tenths of a millimetre
      {4, L"(d236 150.0 2)", L"\"5O\""},
      {4, L"(d236 150 4)", L"\"015O\""},
      {4, L"(362d \"015O\")", L"150.0"},
      {5, L"(d236 15 4)", L"\"015O\""},  // a short length: exactly 1500, nothing added
      {5, L"(d236 15.0 4)", L"\"015O\""},
      {5, L"(362d \"015O\")", L"15.0"},
      {6, L"(d236 1.5 4)", L"\"0BKO\""},  // 15000
      {6, L"(362d \"0BKO\")", L"1.5"},
      {0, L"(d236 150.0 4)", L"\"0046\""},  // no unit: the length as it is
      {0, L"(362d \"0046\")", L"150.0"},
      {1, L"(d236 150.0 4)", L"\"0046\""},
      {4, L"(d236 -3.0 3)", L"\"000\""},
      {4, L"(d236 150.0 0)", L"\"\""},
      {4, L"(362d \"\")", L"0.0"},
  };
  for (const auto& c : cases) {
    eval(L"(setvar \"insunits\" " + std::to_wstring(c.insunits) + L")");
    EXPECT_EQ(show(c.call), c.result) << c.insunits << " " << plat::utf8(c.call);
  }
}

TEST_F(NumberHandlers, LengthCodesRefuseWhatTheyCannotHold) {
  for (const wchar_t* call : {L"(d236 150.0 260)", L"(d236 150.0 -1)", L"(d236 150.0 4.0)",
                              L"(d236 \"150\" 4)", L"(d236 100000 4)", L"(d236 150.0)", L"(d236)",
                              L"(362d 15)", L"(362d)"})
    EXPECT_EQ(show(call), L"nil") << plat::utf8(call);
  EXPECT_EQ(eval(L"(strlen (d236 1 259))").asInt(), 259);
}

TEST_F(NumberHandlers, AnglesAndTrigonometry) {
  struct Case {
    const wchar_t* call;
    double value;
  } cases[] = {
      {L"(rtod 3.141592653589793)", 180}, {L"(rtod 1)", 57.29577951308232}, {L"(dtor 180)", M_PI},
      {L"(dtor 90.0)", M_PI / 2}, {L"(tan (/ 3.141592653589793 4))", 1}, {L"(tan 0)", 0}, {L"(asin 1)", M_PI / 2},
      {L"(asin -0.5)", -M_PI / 6},
  };
  for (const auto& c : cases) EXPECT_NEAR(eval(c.call).asReal(), c.value, 1e-12) << plat::utf8(c.call);
  EXPECT_TRUE(std::isnan(eval(L"(asin 2)").asReal()));
  for (const wchar_t* call : {L"(rtod)", L"(dtor \"1\")", L"(tan 100000)", L"(asin nil)"})
    EXPECT_EQ(show(call), L"nil") << plat::utf8(call);
}

TEST_F(NumberHandlers, MidpointTakesEachPointsOwnHeight) {
  EXPECT_EQ(show(L"(mid '(0 0) '(2 4 6))"), L"(1.0 2.0 3.0)");
  EXPECT_EQ(show(L"(mid '(1 1 1) '(3 3 3))"), L"(2.0 2.0 2.0)");
  EXPECT_EQ(show(L"(mid '(0 0) '(2 4))"), L"(1.0 2.0 0.0)");
  for (const wchar_t* call : {L"(mid '(0 0))", L"(mid '(0 0) 5)", L"(mid '(0 0) '(1 2 3 4))"})
    EXPECT_EQ(show(call), L"nil") << plat::utf8(call);
}

}  // namespace
