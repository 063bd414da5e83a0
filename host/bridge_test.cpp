// Values crossing the LISP bridge: the result-buffer form of every kind of LISP value, and back.
#include "host/bridge.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "lisp/interpreter.h"
#include "platform/codepage.h"

namespace {

using lisp::Value;

// The type codes of a chain, in order.
std::vector<int> types(const resbuf* chain) {
  std::vector<int> codes;
  for (; chain; chain = chain->rbnext) codes.push_back(chain->restype);
  return codes;
}

Value read(const wchar_t* source) {
  lisp::Namespace ns;
  lisp::Interpreter in(ns);
  return in.evalString(source);
}

TEST(Bridge, ValuesTakeTheHostsResultBufferTypes) {
  struct Case {
    const wchar_t* value;
    std::vector<int> chain;
  } cases[] = {
      {L"5", {RTSHORT}},
      {L"-32768", {RTSHORT}},
      {L"70000", {RTLONG}},
      {L"1.5", {RTREAL}},
      {L"\"字\"", {RTSTR}},
      {L"nil", {RTNIL}},
      {L"T", {RTT}},
      {L"'(1 2)", {RTPOINT}},
      {L"'(1 2.0 3)", {RT3DPOINT}},
      {L"'(1 2 3 4)", {RTLB, RTSHORT, RTSHORT, RTSHORT, RTSHORT, RTLE}},
      {L"'(\"a\" 2)", {RTLB, RTSTR, RTSHORT, RTLE}},
      {L"'(1 . 2)", {RTLB, RTSHORT, RTDOTE, RTSHORT, RTLE}},
      {L"'((1 2) (\"x\"))", {RTLB, RTPOINT, RTLB, RTSTR, RTLE, RTLE}},
  };
  for (const Case& c : cases) {
    resbuf* chain = host::bridge::valueToChain(read(c.value));
    EXPECT_EQ(types(chain), c.chain) << plat::utf8(c.value);
    bool hasPoint = std::ranges::count(c.chain, RTPOINT) + std::ranges::count(c.chain, RT3DPOINT) > 0;
    if (!hasPoint)  // points come back as reals

      EXPECT_EQ(lisp::prin1String(host::bridge::chainToValue(chain)), lisp::prin1String(read(c.value)))
          << plat::utf8(c.value);
    acutRelRb(chain);
  }
}

TEST(Bridge, PointsComeBackAsListsOfReals) {
  resbuf* chain = host::bridge::valueToChain(read(L"'(1 2 3)"));
  EXPECT_EQ(lisp::prin1String(host::bridge::chainToValue(chain)), L"(1.0 2.0 3.0)");
  acutRelRb(chain);
}

TEST(Bridge, AReturnedListIsOneGroupOrTheItemsOfTheChain) {
  resbuf* group = acutBuildList(RTLB, RTSTR, L"a", RTDOTE, RTSHORT, 1, RTLE, 0);
  EXPECT_EQ(lisp::prin1String(host::bridge::chainToList(group)), L"(\"a\" . 1)");
  resbuf* items = acutBuildList(RTSTR, L"a", RTSHORT, 1, RTLB, RTT, RTLE, 0);
  EXPECT_EQ(lisp::prin1String(host::bridge::chainToList(items)), L"(\"a\" 1 (T))");
  resbuf* twoGroups = acutBuildList(RTLB, RTSHORT, 1, RTLE, RTLB, RTSHORT, 2, RTLE, 0);
  EXPECT_EQ(lisp::prin1String(host::bridge::chainToList(twoGroups)), L"((1) (2))");
  EXPECT_EQ(lisp::prin1String(host::bridge::chainToList(nullptr)), L"nil");
  acutRelRb(group);
  acutRelRb(items);
  acutRelRb(twoGroups);
}

TEST(Bridge, EntityChainsAreListsOfGroupPairs) {
  const wchar_t* text =
      L"'((0 . \"TEXT\") (8 . \"層\") (10 1.0 2.0 0.0) (40 . 2.5) (62 . 3) (-3 (\"KORA\" (1000 . \"x\") (1070 . 7))))";
  resbuf* chain = host::bridge::listToGroups(read(text));
  EXPECT_EQ(types(chain), (std::vector<int>{0, 8, 10, 40, 62, -3, 1001, 1000, 1070}));
  EXPECT_EQ(lisp::prin1String(host::bridge::groupsToList(chain)), lisp::prin1String(read(text)));
  acutRelRb(chain);
}

TEST(Bridge, MalformedEntityListsAreLispErrors) {
  for (const wchar_t* text : {L"'((10 . \"x\"))", L"'((\"a\" . 1))", L"'(5)", L"'((40 . \"2.5\"))", L"'((-3 (5)))"})
    EXPECT_THROW(host::bridge::listToGroups(read(text)), lisp::Error) << plat::utf8(text);
}

}  // namespace
