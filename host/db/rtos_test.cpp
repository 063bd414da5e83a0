// acdbRToS: each linear unit format, precision, DIMZIN's trailing zeros, the current drawing's
// units for -1, and the buffer size.
#include "test_support.h"

namespace host::test {
namespace {

std::wstring rtos(double value, int unit, int prec) {
  ACHAR buf[64];
  return acdbRToS(value, unit, prec, buf) == RTNORM ? buf : L"<error>";
}

struct RtosCase {
  double value;
  int unit, prec, dimzin;
  const wchar_t* text;
};

void PrintTo(const RtosCase& c, std::ostream* os) {
  *os << c.value << " unit " << c.unit << " prec " << c.prec << " dimzin " << c.dimzin;
}

class RtosTest : public DrawingTest, public ::testing::WithParamInterface<RtosCase> {};

TEST_P(RtosTest, Formats) {
  const RtosCase& c = GetParam();
  ASSERT_EQ(db.vars().set(L"DIMZIN", short(c.dimzin)), RTNORM);
  EXPECT_EQ(rtos(c.value, c.unit, c.prec), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Units, RtosTest,
    ::testing::Values(RtosCase{15, 1, 4, 0, L"1.5000E+01"}, RtosCase{-0.00125, 1, 2, 0, L"-1.25E-03"},
                      RtosCase{15.5, 2, 4, 0, L"15.5000"}, RtosCase{15.5, 2, 4, 8, L"15.5"},
                      RtosCase{15, 2, 4, 8, L"15"}, RtosCase{15, 2, 0, 8, L"15"},
                      RtosCase{1234.5678, 2, 0, 0, L"1235"}, RtosCase{0.5, 2, 2, 0, L"0.50"},
                      RtosCase{-2.26, 2, 1, 0, L"-2.3"}, RtosCase{-0.001, 2, 2, 0, L"0.00"},
                      RtosCase{-0.001, 2, 2, 8, L"0"}, RtosCase{100, 2, 3, 8, L"100"},
                      RtosCase{17.5, 3, 2, 0, L"1'-5.50\""}, RtosCase{11.999, 3, 2, 0, L"1'-0.00\""},
                      RtosCase{-30, 3, 1, 0, L"-2'-6.0\""}, RtosCase{17.5, 4, 4, 0, L"1'-5 1/2\""},
                      RtosCase{12.5, 4, 4, 0, L"1'-0 1/2\""}, RtosCase{6, 4, 4, 0, L"0'-6\""},
                      RtosCase{0.1, 4, 3, 0, L"0'-0 1/8\""}, RtosCase{15.5, 5, 4, 0, L"15 1/2"},
                      RtosCase{0.25, 5, 2, 0, L"1/4"}, RtosCase{3, 5, 4, 0, L"3"},
                      RtosCase{-15.5, 5, 4, 0, L"-15 1/2"}, RtosCase{2.99, 5, 2, 0, L"3"}));

using RtosDrawingTest = DrawingTest;

TEST_F(RtosDrawingTest, MinusOneTakesTheDrawingsUnits) {
  EXPECT_EQ(rtos(4.5, -1, -1), L"4.5");  // LUNITS 2, LUPREC 4, DIMZIN 8
  db.vars().set(L"DIMZIN", short(0));
  EXPECT_EQ(rtos(4.5, -1, -1), L"4.5000");
  db.vars().set(L"LUPREC", short(2));
  db.vars().set(L"LUNITS", short(5));
  EXPECT_EQ(rtos(4.5, -1, -1), L"4 1/2");
  EXPECT_EQ(rtos(4.5, 2, -1), L"4.50");
  setCurrentDatabase(nullptr);
  EXPECT_EQ(rtos(4.5, -1, -1), L"4.5000");
}

TEST_F(RtosDrawingTest, RefusesBadArgumentsAndShortBuffers) {
  ACHAR buf[8];
  EXPECT_EQ(acdbRToS(15.25, 2, 2, buf, 6), RTNORM);  // "15.25" and its terminator
  EXPECT_EQ(acdbRToS(15.25, 2, 2, buf, 5), RTERROR);
  EXPECT_EQ(acdbRToS(15.5, 2, 2, nullptr, 5), RTERROR);
  for (auto [unit, prec] : {std::pair{0, 2}, {6, 2}, {2, 9}, {2, -2}})
    EXPECT_EQ(rtos(1, unit, prec), L"<error>") << unit << " " << prec;
  EXPECT_EQ(rtos(1.0 / 0.0, 2, 2), L"<error>");
}

}  // namespace
}  // namespace host::test
