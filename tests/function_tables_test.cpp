// Nothing a LISP program passes to a module function crashes the host: every function of every
// installed module is called with random argument lists of every type and count.
#include <gtest/gtest.h>

#include <random>

#include "host/modules.h"
#include "platform/codepage.h"
#include "testing.h"

namespace {

class FunctionTablesTest : public kctest::HostTest {};

// A random argument in LISP syntax: numbers at the edges of their types, strings, lists, points,
// entity names, nil and T.
std::wstring randomArgument(std::mt19937& rng, int depth = 0) {
  static const std::wstring atoms[] = {
      L"0", L"1", L"-1", L"32767", L"32768", L"-32769", L"2147483647", L"1.5", L"-0.0", L"1e300",
      L"\"\"", L"\"C:\\\\x.sbm\"", L"\"中文\"", L"nil", L"T", L"(entlast)", L"'(1 2)", L"'(1.0 2.0 3.0)",
      L"'(\"a\" . 1)", L"(strcat (chr 65) \"" + std::wstring(300, L'x') + L"\")", L"'sym",
  };
  std::uniform_int_distribution<int> pick(0, std::size(atoms) + (depth < 2 ? 1 : 0) - 1);
  int i = pick(rng);
  if (i < static_cast<int>(std::size(atoms))) return atoms[i];
  std::wstring list = L"(list";
  for (int n = std::uniform_int_distribution<int>(0, 3)(rng); n > 0; --n) list += L" " + randomArgument(rng, depth + 1);
  return list + L")";
}

TEST_F(FunctionTablesTest, RandomArgumentsNeverCrashAModule) {
  eval(L"(entmake '((0 . \"TEXT\") (10 0.0 0.0 0.0) (40 . 1.0) (1 . \"N1\")))");
  std::mt19937 rng(20261211);
  std::size_t functions = 0;
  for (auto& module : session().modules().loaded()) {
    for (auto& [name, code] : module->functions) {
      ++functions;
      for (int round = 0; round < 40; ++round) {
        std::wstring call = L"(" + name;
        for (int n = std::uniform_int_distribution<int>(0, 12)(rng); n > 0; --n) call += L" " + randomArgument(rng);
        call += L")";
        lisp::TopLevelResult result = session().evaluate(call);
        // A module function answers with a value, never with a LISP error of its own making.
        EXPECT_FALSE(result.failed) << plat::utf8(call) << ": " << plat::utf8(result.message);
      }
    }
  }
  EXPECT_GT(functions, 0u);
  eval(L"(st_close)");
}

}  // namespace
