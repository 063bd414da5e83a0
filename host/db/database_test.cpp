// The drawing database through the host's entity functions: entmake / entget / entmod / entnext /
// entlast / entdel / handent, the checks that refuse bad chains, symbol tables, extended data,
// dictionaries and reactors.
#include <algorithm>

#include "test_support.h"

namespace host::test {
namespace {

std::wstring S(const wchar_t* s) { return s; }
const Point kP{1, 2, 0};
const Point kQ{5, 6, 0};

struct Name {
  ads_name n{0, 0};
};

// Makes an entity from groups; the name is nil when entmake refused it.
Name make(const Groups& groups) {
  Name out;
  if (acdbEntMakeX(chainOf(groups).get(), out.n) != RTNORM) acdbNameClear(out.n);
  return out;
}

Groups get(const Name& e, const std::vector<std::wstring>* apps = nullptr) {
  Chain chain;
  if (apps) {
    Groups list;
    for (const auto& a : *apps) list.push_back({RTSTR, a});
    Chain appChain(chainFromGroups(list));
    chain.reset(acdbEntGetX(e.n, appChain.get()));
  } else {
    chain.reset(acdbEntGet(e.n));
  }
  Groups groups;
  if (chain) {
    EXPECT_TRUE(groupsFromChain(chain.get(), groups));
  }
  return groups;
}

std::vector<short> codes(const Groups& groups) {
  std::vector<short> out;
  for (const Group& g : groups) out.push_back(g.code);
  return out;
}

const Value* value(const Groups& groups, short code) {
  auto it = std::find_if(groups.begin(), groups.end(), [&](const Group& g) { return g.code == code; });
  return it == groups.end() ? nullptr : &it->value;
}

std::wstring text(const Groups& groups, short code) {
  const Value* v = value(groups, code);
  return v && std::holds_alternative<std::wstring>(*v) ? std::get<std::wstring>(*v) : L"<none>";
}

Groups with(Groups groups, const Group& change) {
  for (Group& g : groups)
    if (g.code == change.code) {
      g = change;
      return groups;
    }
  groups.push_back(change);
  return groups;
}

Groups without(Groups groups, short code) {
  groups.erase(std::remove_if(groups.begin(), groups.end(), [&](const Group& g) { return g.code == code; }),
               groups.end());
  return groups;
}

// The types entnext visits from the first entity on.
std::vector<std::wstring> walk() {
  std::vector<std::wstring> types;
  Name e;
  for (int status = acdbEntNext(nullptr, e.n); status == RTNORM; status = acdbEntNext(e.n, e.n))
    types.push_back(text(get(e), 0));
  return types;
}

using DatabaseTest = DrawingTest;

TEST_F(DatabaseTest, TextShowsTheHostsGroupsWithDefaultsFilled) {
  Name e = make({{0, S(L"TEXT")}, {1, S(L"N3")}, {40, 2.5}, {10, kP}});
  ASSERT_FALSE(acdbNameNil(e.n));
  Groups g = get(e);
  EXPECT_EQ(codes(g), (std::vector<short>{-1, 0, 330, 5, 100, 67, 410, 8, 100, 10, 40, 1, 50, 41, 51, 7,
                                          71, 72, 11, 210, 100, 73}));
  EXPECT_EQ(std::get<Ref>(*value(g, -1)).id, e.n[0]);
  EXPECT_EQ(std::get<Ref>(*value(g, 330)).id, db.modelSpace());
  EXPECT_EQ(text(g, 8), L"0");
  EXPECT_EQ(text(g, 7), L"Standard");
  EXPECT_EQ(text(g, 410), L"Model");
  EXPECT_EQ(std::get<double>(*value(g, 41)), 1.0);
  EXPECT_EQ(std::get<Point>(*value(g, 210)), (Point{0, 0, 1}));
  EXPECT_EQ(std::get<Point>(*value(g, 10)), kP);
  EXPECT_EQ(std::get<short>(*value(g, 67)), 0);
}

struct KindCase {
  const wchar_t* kind;
  Groups groups;  // a complete chain without group 0
  std::vector<short> required;
  std::vector<short> body;  // the codes after the layer
};

void PrintTo(const KindCase& c, std::ostream* os) { *os << testing::PrintToString(std::wstring(c.kind)); }

class KindsTest : public DrawingTest, public ::testing::WithParamInterface<KindCase> {};

TEST_P(KindsTest, MakesWithItsGroupsAndRefusesAMissingRequiredOne) {
  const KindCase& c = GetParam();
  Groups full{{0, S(c.kind)}};
  full.insert(full.end(), c.groups.begin(), c.groups.end());
  Name e = make(full);
  ASSERT_FALSE(acdbNameNil(e.n));
  Groups g = get(e);
  auto layer = std::find_if(g.begin(), g.end(), [](const Group& x) { return x.code == 8; });
  std::vector<short> body;
  for (auto it = layer + 1; it != g.end(); ++it) body.push_back(it->code);
  EXPECT_EQ(body, c.body);
  for (short code : c.required) EXPECT_TRUE(acdbNameNil(make(without(full, code)).n)) << code;
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, KindsTest,
    ::testing::Values(
        KindCase{L"LINE", {{10, kP}, {11, kQ}}, {10, 11}, {100, 10, 11, 210}},
        KindCase{L"CIRCLE", {{10, kP}, {40, 3.0}}, {10, 40}, {100, 10, 40, 210}},
        KindCase{L"ARC", {{10, kP}, {40, 3.0}, {50, 0.0}, {51, 1.0}}, {10, 40, 50, 51},
                 {100, 10, 40, 210, 100, 50, 51}},
        KindCase{L"POINT", {{10, kP}}, {10}, {100, 10, 210, 50}},
        KindCase{L"TEXT", {{10, kP}, {40, 2.5}, {1, S(L"x")}, {39, 1.0}}, {10, 40, 1},
                 {100, 39, 10, 40, 1, 50, 41, 51, 7, 71, 72, 11, 210, 100, 73}},
        KindCase{L"LWPOLYLINE", {{90, std::int32_t(2)}, {10, kP}, {10, kQ}, {42, 0.5}}, {10},
                 {100, 90, 70, 43, 10, 40, 41, 42, 91, 10, 40, 41, 42, 91, 210}},
        KindCase{L"MLINE", {{11, kP}, {11, kQ}}, {},
                 {100, 2, 340, 40, 70, 71, 72, 73, 10, 210, 11, 12, 13, 11, 12, 13}},
        KindCase{L"REGION", {}, {}, {100, 70}},
        KindCase{L"INSERT", {{2, S(L"*Model_Space")}, {10, kP}}, {2, 10},
                 {100, 2, 10, 41, 42, 43, 50, 70, 71, 44, 45, 210}}));

TEST_F(DatabaseTest, RefusesBadChains) {
  Groups line{{0, S(L"LINE")}, {10, kP}, {11, kQ}};
  const Groups bad[] = {
      with(line, {0, S(L"NOSUCHKIND")}),
      without(line, 0),
      with(line, {40, 1.0}),  // no radius on a line
      with(line, {7, S(L"NoSuchStyle")}),  // a style on a line
      {{0, S(L"TEXT")}, {10, kP}, {40, 1.0}, {1, S(L"x")}, {7, S(L"NoSuchStyle")}},
      {{0, S(L"INSERT")}, {2, S(L"NoSuchBlock")}, {10, kP}},
      with(line, {8, S(L"")}),
      {{0, S(L"VERTEX")}, {10, kP}},  // no polyline open
      {{0, S(L"SEQEND")}},
  };
  for (const Groups& g : bad) EXPECT_TRUE(acdbNameNil(make(g).n)) << codes(g).size();
  EXPECT_EQ(walk(), std::vector<std::wstring>{});

  // a layer node without its text, and a node whose code is no group code
  for (int restype : {8, int(RTSHORT)}) {
    Chain chain = chainOf({{0, S(L"LINE")}, {10, kP}, {11, kQ}});
    chain->rbnext->rbnext->rbnext = acutNewRb(restype);
    EXPECT_EQ(acdbEntMake(chain.get()), RTERROR) << restype;
  }
  EXPECT_EQ(acdbEntMake(nullptr), RTERROR);
}

TEST_F(DatabaseTest, BuiltListsUseRtdxf0ForGroupZero) {
  Chain chain = chainOf({{0, S(L"LINE")}, {10, kP}, {11, kQ}});
  chain->restype = RTDXF0;
  EXPECT_EQ(acdbEntMake(chain.get()), RTNORM);
  chain->restype = 0;  // released as the string group it is
  EXPECT_EQ(walk(), std::vector<std::wstring>{L"LINE"});
}

TEST_F(DatabaseTest, UnknownLayersAreCreated) {
  make({{0, S(L"LINE")}, {8, S(L"Wall")}, {10, kP}, {11, kQ}});
  Chain wall(acdbTblSearch(L"layer", L"WALL", 0));
  ASSERT_TRUE(wall);
  Groups g;
  ASSERT_TRUE(groupsFromChain(wall.get(), g));
  EXPECT_EQ(g, (Groups{{0, S(L"LAYER")}, {2, S(L"Wall")}, {70, short(0)}, {62, short(7)},
                       {6, S(L"Continuous")}}));

  Name t = make({{0, S(L"TEXT")}, {10, kP}, {40, 1.0}, {1, S(L"a")}});
  EXPECT_EQ(acdbEntMod(chainOf(with(get(t), {8, S(L"Beam")})).get()), RTNORM);
  EXPECT_TRUE(Chain(acdbTblSearch(L"LAYER", L"beam", 0)));

  // a new entity goes on the current layer
  Chain clayer(acutBuildList(RTSTR, L"Wall", 0));
  ASSERT_EQ(acedSetVar(L"clayer", clayer.get()), RTNORM);
  EXPECT_EQ(text(get(make({{0, S(L"POINT")}, {10, kP}})), 8), L"Wall");
}

TEST_F(DatabaseTest, EntmodChangesGroupsAndKeepsTheRest) {
  Name t = make({{0, S(L"TEXT")}, {10, kP}, {40, 30.0}, {1, S(L"NAME")}, {8, S(L"A")}});
  Groups before = get(t);
  ASSERT_EQ(acdbEntMod(chainOf(with(with(before, {1, S(L"Slab  T=15CM")}), {40, 10.0})).get()), RTNORM);
  Groups after = get(t);
  EXPECT_EQ(text(after, 1), L"Slab  T=15CM");
  EXPECT_EQ(std::get<double>(*value(after, 40)), 10.0);
  EXPECT_EQ(codes(after), codes(before));
  EXPECT_EQ(text(after, 5), text(before, 5));

  // only the name and the groups to change need to be given
  EXPECT_EQ(acdbEntMod(chainOf({{-1, Ref{t.n[0]}}, {1, S(L"short")}}).get()), RTNORM);
  EXPECT_EQ(text(get(t), 1), L"short");
  EXPECT_EQ(std::get<double>(*value(get(t), 40)), 10.0);
}

TEST_F(DatabaseTest, EntmodRefusesWhatCannotChange) {
  Name t = make({{0, S(L"TEXT")}, {10, kP}, {40, 1.0}, {1, S(L"a")}});
  Groups g = get(t);
  Name other = make({{0, S(L"LINE")}, {10, kP}, {11, kQ}});
  const Groups bad[] = {
      with(g, {0, S(L"LINE")}),
      with(g, {5, S(L"FFFF")}),
      with(g, {7, S(L"NoSuchStyle")}),
      with(g, {90, std::int32_t(3)}),  // no such group on a text
      without(g, -1),
      with(g, {-1, Ref{0}}),
      with(g, {-1, Ref{other.n[0] + 1000}}),
  };
  for (const Groups& b : bad) EXPECT_EQ(acdbEntMod(chainOf(b).get()), RTERROR);
  // a value of another type than the code holds (a chain cannot carry one)
  EXPECT_EQ(db.modify(with(g, {11, S(L"x")})), RTERROR);
  EXPECT_EQ(db.modify(with(g, {62, 3.0})), RTERROR);
  EXPECT_EQ(db.make(with(without(g, -1), {40, short(1)})), RTERROR);
  EXPECT_EQ(get(t), g);  // unchanged by every refused change
}

TEST_F(DatabaseTest, EntnextWalksComplexEntitiesInOrder) {
  Name none;
  EXPECT_EQ(acdbEntNext(nullptr, none.n), RTERROR);  // an empty drawing
  make({{0, S(L"BLOCK")}, {2, S(L"Label")}, {10, kP}});
  make({{0, S(L"LINE")}, {10, kP}, {11, kQ}});
  make({{0, S(L"ENDBLK")}});

  make({{0, S(L"LINE")}, {10, kP}, {11, kQ}});
  Name pl = make({{0, S(L"POLYLINE")}, {66, short(1)}});
  make({{0, S(L"VERTEX")}, {10, kP}});
  Name lastBefore;
  acdbEntLast(lastBefore.n);
  make({{0, S(L"VERTEX")}, {10, kQ}});
  make({{0, S(L"SEQEND")}});
  Name ins = make({{0, S(L"INSERT")}, {2, S(L"label")}, {10, kP}, {66, short(1)}});
  Name att = make({{0, S(L"ATTRIB")}, {10, kP}, {40, 1.0}, {1, S(L"12.00")}, {2, S(L"AREA")}});
  make({{0, S(L"SEQEND")}});
  Name txt = make({{0, S(L"TEXT")}, {10, kP}, {40, 1.0}, {1, S(L"t")}});

  EXPECT_EQ(walk(), (std::vector<std::wstring>{L"LINE", L"POLYLINE", L"VERTEX", L"VERTEX", L"SEQEND",
                                                L"INSERT", L"ATTRIB", L"SEQEND", L"TEXT"}));
  EXPECT_EQ(text(get(lastBefore), 0), L"LINE");  // the polyline appears at its SEQEND
  EXPECT_EQ(std::get<Ref>(*value(get(att), 330)).id, ins.n[0]);

  Name last;
  ASSERT_EQ(acdbEntLast(last.n), RTNORM);
  EXPECT_EQ(last.n[0], txt.n[0]);
  ASSERT_EQ(acdbEntDel(txt.n), RTNORM);
  ASSERT_EQ(acdbEntLast(last.n), RTNORM);
  EXPECT_EQ(last.n[0], ins.n[0]);  // the last main entity, not its SEQEND

  // entdel of a polyline takes its vertices; sub-entities cannot be deleted alone
  EXPECT_EQ(acdbEntDel(att.n), RTERROR);
  ASSERT_EQ(acdbEntDel(pl.n), RTNORM);
  EXPECT_EQ(walk(), (std::vector<std::wstring>{L"LINE", L"INSERT", L"ATTRIB", L"SEQEND"}));
  ASSERT_EQ(acdbEntDel(pl.n), RTNORM);
  EXPECT_EQ(walk().size(), 8u);
}

TEST_F(DatabaseTest, AnUnfinishedComplexEntityIsDropped) {
  make({{0, S(L"POLYLINE")}});
  make({{0, S(L"VERTEX")}, {10, kP}});
  EXPECT_TRUE(acdbNameNil(make({{0, S(L"ATTRIB")}, {10, kP}, {40, 1.0}, {1, S(L"x")}, {2, S(L"T")}}).n));
  EXPECT_TRUE(acdbNameNil(make({{0, S(L"SEQEND")}}).n));  // the polyline went with the wrong sub-entity
  make({{0, S(L"POLYLINE")}});
  make({{0, S(L"LINE")}, {10, kP}, {11, kQ}});  // leaves the open polyline behind
  EXPECT_EQ(walk(), std::vector<std::wstring>{L"LINE"});
}

TEST_F(DatabaseTest, EntdelTogglesAndHandentFindsByHandle) {
  Name a = make({{0, S(L"LINE")}, {10, kP}, {11, kQ}});
  Name b = make({{0, S(L"CIRCLE")}, {10, kP}, {40, 1.0}});
  std::wstring handle = text(get(a), 5);
  ASSERT_EQ(acdbEntDel(a.n), RTNORM);
  EXPECT_TRUE(get(a).empty());
  EXPECT_EQ(acdbEntMod(chainOf({{-1, Ref{a.n[0]}}, {10, kQ}}).get()), RTERROR);
  Name first;
  ASSERT_EQ(acdbEntNext(nullptr, first.n), RTNORM);
  EXPECT_EQ(first.n[0], b.n[0]);
  Name found;
  ASSERT_EQ(acdbHandEnt(handle.c_str(), found.n), RTNORM);  // an erased entity keeps its handle
  EXPECT_EQ(found.n[0], a.n[0]);
  ASSERT_EQ(acdbEntDel(a.n), RTNORM);
  EXPECT_EQ(text(get(a), 5), handle);
  EXPECT_EQ(acdbHandEnt(L"ZZ", found.n), RTERROR);
  EXPECT_EQ(acdbHandEnt(L"FFFFFF", found.n), RTERROR);
}

TEST_F(DatabaseTest, IdsAreUniqueAcrossDrawingsAndHandlesIncrease) {
  Name a = make({{0, S(L"LINE")}, {10, kP}, {11, kQ}});
  Name b = make({{0, S(L"LINE")}, {10, kP}, {11, kQ}});
  EXPECT_LT(std::stoul(text(get(a), 5), nullptr, 16), std::stoul(text(get(b), 5), nullptr, 16));
  Database other;
  setCurrentDatabase(&other);
  Name c = make({{0, S(L"LINE")}, {10, kP}, {11, kQ}});
  EXPECT_NE(c.n[0], 0);
  EXPECT_NE(c.n[0], a.n[0]);
  EXPECT_NE(c.n[0], b.n[0]);
  // a name of the other drawing is dead here
  Name out;
  EXPECT_TRUE(get(a).empty());
  EXPECT_EQ(acdbEntDel(a.n), RTERROR);
  EXPECT_EQ(acdbEntNext(a.n, out.n), RTERROR);
  EXPECT_EQ(acdbEntUpd(a.n), RTERROR);
  setCurrentDatabase(&db);
}

TEST_F(DatabaseTest, NoCurrentDrawingFailsEveryCall) {
  Name a = make({{0, S(L"LINE")}, {10, kP}, {11, kQ}});
  setCurrentDatabase(nullptr);
  Name out;
  EXPECT_EQ(acdbEntGet(a.n), nullptr);
  EXPECT_EQ(acdbEntNext(nullptr, out.n), RTERROR);
  EXPECT_EQ(acdbEntLast(out.n), RTERROR);
  EXPECT_EQ(acdbEntDel(a.n), RTERROR);
  EXPECT_EQ(acdbTblNext(L"LAYER", 1), nullptr);
  EXPECT_TRUE(acdbNameNil(make({{0, S(L"LINE")}, {10, kP}, {11, kQ}}).n));
  resbuf rb{};
  EXPECT_EQ(acedGetVar(L"LUNITS", &rb), RTERROR);
}

TEST_F(DatabaseTest, ExtendedDataByApplication) {
  const Groups link{{-3, {}}, {1001, S(L"K_Area")}, {1005, S(L"1A")}, {1000, S(L"x")}};
  Groups tagged{{0, S(L"LINE")}, {10, kP}, {11, kQ}};
  tagged.insert(tagged.end(), link.begin(), link.end());
  EXPECT_TRUE(acdbNameNil(make(tagged).n));  // not registered yet
  ASSERT_EQ(acdbRegApp(L"K_Area"), RTNORM);
  EXPECT_EQ(acdbRegApp(L"k_area"), RTERROR);  // already registered
  ASSERT_EQ(acdbRegApp(L"OTHER"), RTNORM);
  Name e = make(tagged);
  ASSERT_FALSE(acdbNameNil(e.n));

  EXPECT_EQ(value(get(e), -3), nullptr);
  struct Case {
    std::vector<std::wstring> apps;
    bool shown;
  };
  for (const Case& c : {Case{{L"K_Area"}, true}, Case{{L"k_area"}, true}, Case{{L"*"}, true},
                        Case{{L"K_*"}, true}, Case{{L"OTHER"}, false}, Case{{}, false}}) {
    Groups g = get(e, &c.apps);
    auto xd = std::find_if(g.begin(), g.end(), [](const Group& x) { return x.code == -3; });
    EXPECT_EQ(xd != g.end(), c.shown);
    if (c.shown) {
      EXPECT_EQ(Groups(xd, g.end()), link);
    }
  }

  // entmod replaces one application's data, keeps the others, and an empty one removes it
  ASSERT_EQ(acdbEntMod(chainOf({{-1, Ref{e.n[0]}}, {-3, {}}, {1001, S(L"OTHER")}, {1070, short(7)}}).get()),
            RTNORM);
  std::vector<std::wstring> all{L"*"};
  EXPECT_EQ(get(e, &all).size(), get(e).size() + 6);
  ASSERT_EQ(acdbEntMod(chainOf({{-1, Ref{e.n[0]}}, {-3, {}}, {1001, S(L"K_Area")}}).get()), RTNORM);
  Groups g = get(e, &all);
  EXPECT_EQ(Groups(g.end() - 3, g.end()), (Groups{{-3, {}}, {1001, S(L"OTHER")}, {1070, short(7)}}));

  // unbalanced braces, codes that are no extended data and items without an application
  for (const Groups& bad : {Groups{{-1, Ref{e.n[0]}}, {-3, {}}, {1001, S(L"OTHER")}, {1002, S(L"{")}},
                            Groups{{-1, Ref{e.n[0]}}, {-3, {}}, {1001, S(L"OTHER")}, {40, 1.0}},
                            Groups{{-1, Ref{e.n[0]}}, {-3, {}}, {1000, S(L"no app")}}})
    EXPECT_EQ(acdbEntMod(chainOf(bad).get()), RTERROR);
}

TEST_F(DatabaseTest, TblnextAndTblsearch) {
  auto names = [](const wchar_t* table) {
    std::vector<std::wstring> out;
    for (Chain r(acdbTblNext(table, 1)); r; r.reset(acdbTblNext(table, 0))) {
      Groups g;
      groupsFromChain(r.get(), g);
      out.push_back(text(g, 2));
    }
    return out;
  };
  EXPECT_EQ(names(L"LTYPE"), (std::vector<std::wstring>{L"ByBlock", L"ByLayer", L"Continuous"}));
  EXPECT_EQ(names(L"Layer"), std::vector<std::wstring>{L"0"});
  EXPECT_EQ(names(L"style"), std::vector<std::wstring>{L"Standard"});
  EXPECT_EQ(names(L"APPID"), std::vector<std::wstring>{L"ACAD"});
  EXPECT_EQ(names(L"BLOCK"), std::vector<std::wstring>{});  // model and paper space are not listed
  EXPECT_EQ(names(L"NOSUCH"), std::vector<std::wstring>{});
  EXPECT_EQ(Chain(acdbTblSearch(L"BLOCK", L"*Model_Space", 0)), nullptr);

  // setnext: tblnext goes on after the record found
  Chain found(acdbTblSearch(L"LTYPE", L"bylayer", 1));
  ASSERT_TRUE(found);
  Chain next(acdbTblNext(L"LTYPE", 0));
  Groups g;
  groupsFromChain(next.get(), g);
  EXPECT_EQ(text(g, 2), L"Continuous");

  // a block defined by entmake shows its first entity, and entnext walks the definition
  make({{0, S(L"BLOCK")}, {2, S(L"Door")}, {10, kP}});
  Name l = make({{0, S(L"LINE")}, {10, kP}, {11, kQ}});
  make({{0, S(L"CIRCLE")}, {10, kP}, {40, 2.0}});
  EXPECT_EQ(Chain(acdbTblSearch(L"BLOCK", L"Door", 0)), nullptr);  // not until ENDBLK
  make({{0, S(L"ENDBLK")}});
  Chain door(acdbTblSearch(L"BLOCK", L"DOOR", 0));
  ASSERT_TRUE(door);
  groupsFromChain(door.get(), g);
  EXPECT_EQ(codes(g), (std::vector<short>{0, 2, 70, 10, -2}));
  EXPECT_EQ(std::get<Ref>(*value(g, -2)).id, l.n[0]);
  Name second;
  ASSERT_EQ(acdbEntNext(l.n, second.n), RTNORM);
  EXPECT_EQ(text(get(second), 0), L"CIRCLE");
  EXPECT_EQ(walk(), std::vector<std::wstring>{});  // model space holds none of them
  EXPECT_TRUE(acdbNameNil(make({{0, S(L"BLOCK")}, {2, S(L"door")}}).n));  // the name is taken

  // table records by entmake
  EXPECT_FALSE(acdbNameNil(make({{0, S(L"LAYER")}, {2, S(L"Dim")}, {62, short(3)}}).n));
  EXPECT_TRUE(acdbNameNil(make({{0, S(L"LAYER")}, {2, S(L"dim")}}).n));
  EXPECT_TRUE(acdbNameNil(make({{0, S(L"LAYER")}, {2, S(L"Bad")}, {6, S(L"NoSuchLinetype")}}).n));
  EXPECT_EQ(names(L"LAYER"), (std::vector<std::wstring>{L"0", L"Dim"}));
}

TEST_F(DatabaseTest, DictionariesHoldTheMultilineStylesAndLayouts) {
  ObjectId styles = db.dictionaryEntry(db.namedObjects(), L"ACAD_MLINESTYLE");
  ObjectId standard = db.dictionaryEntry(styles, L"standard");
  ASSERT_NE(standard, 0);
  ObjectId layouts = db.dictionaryEntry(db.namedObjects(), L"ACAD_LAYOUT");
  EXPECT_NE(db.dictionaryEntry(layouts, L"Model"), 0);
  EXPECT_NE(db.dictionaryEntry(layouts, L"Layout1"), 0);

  Name ml = make({{0, S(L"MLINE")}, {11, kP}, {11, kQ}});
  EXPECT_EQ(std::get<Ref>(*value(get(ml), 340)).id, standard);
  EXPECT_TRUE(acdbNameNil(make({{0, S(L"MLINE")}, {2, S(L"kc_Temp_MLStyle")}, {11, kP}}).n));
  ObjectId temp = db.addObject(styles, L"kc_Temp_MLStyle",
                               {{0, S(L"MLINESTYLE")}, {2, S(L"kc_Temp_MLStyle")}, {49, 1.0}, {49, -1.0}});
  ASSERT_NE(temp, 0);
  Name ml2 = make({{0, S(L"MLINE")}, {2, S(L"kc_Temp_MLStyle")}, {11, kP}});
  EXPECT_EQ(std::get<Ref>(*value(get(ml2), 340)).id, temp);

  Groups dict;
  ASSERT_TRUE(db.view(styles, nullptr, dict));
  EXPECT_EQ(codes(dict), (std::vector<short>{-1, 0, 5, 330, 100, 280, 281, 3, 350, 3, 350}));
}

TEST_F(DatabaseTest, PolylineVerticesAreReplacedAsAWhole) {
  Name lw = make({{0, S(L"LWPOLYLINE")}, {70, short(1)}, {10, kP}, {10, kQ}, {42, 1.0}, {10, Point{9, 9, 0}}});
  Groups g = get(lw);
  EXPECT_EQ(std::get<std::int32_t>(*value(g, 90)), 3);
  EXPECT_EQ(std::count_if(g.begin(), g.end(), [](const Group& x) { return x.code == 42; }), 3);
  ASSERT_EQ(acdbEntMod(chainOf({{-1, Ref{lw.n[0]}}, {10, kQ}, {10, kP}}).get()), RTNORM);
  g = get(lw);
  EXPECT_EQ(std::get<std::int32_t>(*value(g, 90)), 2);
  EXPECT_EQ(std::get<Point>(*value(g, 10)), kQ);
  EXPECT_EQ(std::get<short>(*value(g, 70)), 1);  // kept
}

struct Recorder : DatabaseReactor {
  std::vector<std::wstring> events;
  void objectAppended(Database& db, ObjectId id) override { events.push_back(L"appended " + db.object(id)->type); }
  void objectModified(Database& db, ObjectId id) override { events.push_back(L"modified " + db.object(id)->type); }
  void objectErased(Database& db, ObjectId id, bool erased) override {
    events.push_back((erased ? L"erased " : L"unerased ") + db.object(id)->type);
  }
  void sysVarChanged(Database&, const std::wstring& name) override { events.push_back(L"var " + name); }
};

TEST_F(DatabaseTest, ReactorsHearEveryChange) {
  Recorder r;
  db.addReactor(&r);
  Name a = make({{0, S(L"CIRCLE")}, {10, kP}, {40, 1.0}});
  acdbEntMod(chainOf({{-1, Ref{a.n[0]}}, {40, 2.0}}).get());
  acdbEntMod(chainOf({{-1, Ref{a.n[0]}}, {0, S(L"LINE")}}).get());  // refused: no notification
  acdbEntDel(a.n);
  acdbEntDel(a.n);
  make({{0, S(L"POLYLINE")}});
  make({{0, S(L"VERTEX")}, {10, kP}});
  make({{0, S(L"SEQEND")}});
  Chain v(acutBuildList(RTSHORT, 3, 0));
  acedSetVar(L"useri2", v.get());
  acedSetVar(L"useri2", v.get());  // no change: no notification
  db.removeReactor(&r);
  make({{0, S(L"POINT")}, {10, kP}});
  EXPECT_EQ(r.events, (std::vector<std::wstring>{L"appended CIRCLE", L"modified CIRCLE", L"erased CIRCLE",
                                                 L"unerased CIRCLE", L"appended POLYLINE", L"appended VERTEX",
                                                 L"appended SEQEND", L"var USERI2"}));
}

}  // namespace
}  // namespace host::test
