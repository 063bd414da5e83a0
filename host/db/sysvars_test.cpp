// System variables through acedGetVar / acedSetVar: the values of a new metric drawing, types,
// ranges, read-only variables and the host's own setter, and where each value lives.
#include "test_support.h"

namespace host::test {
namespace {

using SysVarsTest = DrawingTest;

// The variable's value as acedGetVar gives it.
Value var(const wchar_t* name, int* restype = nullptr) {
  resbuf rb{};
  if (acedGetVar(name, &rb) != RTNORM) return {};
  if (restype) *restype = rb.restype;
  Value v;
  valueFromResbuf(&rb, v);
  if (rb.restype == RTSTR) std::free(rb.resval.rstring);
  return v;
}

int setVar(const wchar_t* name, Chain value) { return acedSetVar(name, value.get()); }

TEST_F(SysVarsTest, ANewDrawingHasTheMetricTemplatesValues) {
  struct Case {
    const wchar_t* name;
    int restype;
    Value value;
  };
  const Case cases[] = {
      {L"insunits", RTSHORT, short(4)},      {L"LUNITS", RTSHORT, short(2)},
      {L"luprec", RTSHORT, short(4)},        {L"DIMZIN", RTSHORT, short(8)},
      {L"TileMode", RTSHORT, short(1)},      {L"CVPORT", RTSHORT, short(2)},
      {L"MEASUREMENT", RTSHORT, short(1)},   {L"useri2", RTSHORT, short(0)},
      {L"USERR5", RTREAL, 0.0},              {L"users1", RTSTR, std::wstring(L"")},
      {L"CLAYER", RTSTR, std::wstring(L"0")}, {L"TEXTSTYLE", RTSTR, std::wstring(L"Standard")},
      {L"TEXTSIZE", RTREAL, 2.5},            {L"DWGTITLED", RTSHORT, short(0)},
      {L"LIMMAX", RTPOINT, Point{420, 297, 0}}, {L"UCSXDIR", RT3DPOINT, Point{1, 0, 0}},
      {L"MILLISECS", RTLONG, {}},            {L"DATE", RTREAL, {}},
  };
  for (const Case& c : cases) {
    int restype = 0;
    Value v = var(c.name, &restype);
    EXPECT_EQ(restype, c.restype) << c.name;
    if (!std::holds_alternative<std::monostate>(c.value)) {
      EXPECT_EQ(v, c.value) << c.name;
    }
  }
  // every variable in the table can be read, in the type the table gives
  for (const VarDef& def : varDefs()) EXPECT_NE(var(def.name).index(), 0u) << def.name;
  resbuf rb{};
  EXPECT_EQ(acedGetVar(L"NOSUCHVAR", &rb), RTERROR);
  EXPECT_EQ(acedGetVar(L"LUNITS", nullptr), RTERROR);
}

TEST_F(SysVarsTest, SetvarChecksTypeRangeAndReadOnly) {
  struct Case {
    const wchar_t* name;
    Chain value;
    int status;
  };
  Point p{1, 2, 3};
  Case cases[] = {
      {L"USERI1", Chain(acutBuildList(RTSHORT, 5, 0)), RTNORM},
      {L"USERI1", Chain(acutBuildList(RTREAL, 5.0, 0)), RTERROR},
      {L"USERI1", Chain(acutBuildList(RTSTR, L"5", 0)), RTERROR},
      {L"USERR1", Chain(acutBuildList(RTSHORT, 3, 0)), RTNORM},
      {L"USERS1", Chain(acutBuildList(RTSTR, L"abc", 0)), RTNORM},
      {L"LUNITS", Chain(acutBuildList(RTSHORT, 6, 0)), RTERROR},
      {L"LUNITS", Chain(acutBuildList(RTSHORT, 0, 0)), RTERROR},
      {L"LUPREC", Chain(acutBuildList(RTSHORT, 8, 0)), RTNORM},
      {L"LUPREC", Chain(acutBuildList(RTSHORT, 9, 0)), RTERROR},
      {L"INSUNITS", Chain(acutBuildList(RTLONG, std::int32_t(5), 0)), RTNORM},
      {L"TEXTSIZE", Chain(acutBuildList(RTREAL, 0.0, 0)), RTERROR},
      {L"LIMMAX", Chain(acutBuildList(RT3DPOINT, p.data(), 0)), RTNORM},
      {L"LIMMAX", Chain(acutBuildList(RTREAL, 1.0, 0)), RTERROR},
      {L"CLAYER", Chain(acutBuildList(RTSTR, L"NoSuchLayer", 0)), RTERROR},
      {L"TEXTSTYLE", Chain(acutBuildList(RTSTR, L"standard", 0)), RTNORM},
      {L"DWGNAME", Chain(acutBuildList(RTSTR, L"a.dwg", 0)), RTERROR},
      {L"DWGPREFIX", Chain(acutBuildList(RTSTR, L"D:\\Plans\\", 0)), RTNORM},
      {L"DWGTITLED", Chain(acutBuildList(RTSHORT, 1, 0)), RTNORM},
      {L"DWGTITLED", Chain(acutBuildList(RTSHORT, 2, 0)), RTERROR},
      {L"UNDOCTL", Chain(acutBuildList(RTSHORT, 5, 0)), RTNORM},
      {L"UNDOCTL", Chain(acutBuildList(RTSHORT, 64, 0)), RTERROR},
      {L"DATE", Chain(acutBuildList(RTREAL, 1.0, 0)), RTERROR},
      {L"NOSUCHVAR", Chain(acutBuildList(RTSHORT, 1, 0)), RTERROR},
      {L"USERI1", Chain(acutBuildList(RTNIL, 0)), RTERROR},
  };
  for (Case& c : cases) EXPECT_EQ(setVar(c.name, std::move(c.value)), c.status) << c.name;
  EXPECT_EQ(var(L"useri1"), Value(short(5)));
  EXPECT_EQ(var(L"USERR1"), Value(3.0));
  EXPECT_EQ(var(L"USERS1"), Value(std::wstring(L"abc")));
  EXPECT_EQ(var(L"LUNITS"), Value(short(2)));
  EXPECT_EQ(var(L"INSUNITS"), Value(short(5)));
  EXPECT_EQ(var(L"LIMMAX"), Value(Point{1, 2, 0}));  // a 2D variable drops Z
}

TEST_F(SysVarsTest, TheHostSetsReadOnlyVariables) {
  EXPECT_EQ(db.vars().setReadOnly(L"DWGPREFIX", std::wstring(L"C:\\Work\\")), RTNORM);
  EXPECT_EQ(db.vars().setReadOnly(L"dwgname", std::wstring(L"Plan.dwg")), RTNORM);
  EXPECT_EQ(db.vars().setReadOnly(L"DWGTITLED", short(1)), RTNORM);
  EXPECT_EQ(db.vars().setReadOnly(L"DWGTITLED", std::wstring(L"1")), RTERROR);
  EXPECT_EQ(db.vars().setReadOnly(L"MILLISECS", std::int32_t(1)), RTERROR);  // worked out when read
  EXPECT_EQ(var(L"DWGPREFIX"), Value(std::wstring(L"C:\\Work\\")));
  EXPECT_EQ(var(L"DWGNAME"), Value(std::wstring(L"Plan.dwg")));
  EXPECT_EQ(var(L"DWGTITLED"), Value(short(1)));
}

TEST_F(SysVarsTest, DrawingValuesAreKeptPerDrawingAndSessionValuesShared) {
  Database other;
  ASSERT_EQ(setVar(L"USERI2", Chain(acutBuildList(RTSHORT, 30, 0))), RTNORM);
  ASSERT_EQ(setVar(L"CMDECHO", Chain(acutBuildList(RTSHORT, 0, 0))), RTNORM);
  setCurrentDatabase(&other);
  EXPECT_EQ(var(L"USERI2"), Value(short(0)));
  EXPECT_EQ(var(L"CMDECHO"), Value(short(0)));
  EXPECT_EQ(setVar(L"CMDECHO", Chain(acutBuildList(RTSHORT, 1, 0))), RTNORM);
  setCurrentDatabase(&db);
  EXPECT_EQ(var(L"USERI2"), Value(short(30)));
  EXPECT_EQ(var(L"CMDECHO"), Value(short(1)));
}

TEST_F(SysVarsTest, ClockVariablesMove) {
  double cdate = std::get<double>(var(L"CDATE"));
  EXPECT_GT(cdate, 20240101.0);
  EXPECT_LT(cdate, 30000101.0);
  EXPECT_GT(std::get<double>(var(L"DATE")), 2460000.0);
  EXPECT_GE(std::get<std::int32_t>(var(L"MILLISECS")), 0);
}

}  // namespace
}  // namespace host::test
