// Calls per second of kcCore's string and length-code functions as a LISP program makes them
// through kchost's engine: strlist over a 255-character text full of delimiters, d236 and 362d,
// beside the plain module call (k_ver) and a built-in of the engine (strcat). Each benchmark
// reports items_per_second, one item being one evaluated call.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "host/session.h"
#include "installed_machine.h"

namespace {


// A session with only kcCore loaded, in a millimetre drawing (insunits 4).
host::Session& session() {
  kcbench::installedMachine();
  static host::Session* s = [] {
    auto* created = new host::Session(host::SessionOptions{[](std::wstring_view) {}, false});
    if (!created->loadModule(L"kcCore")) std::abort();
    created->eval(L"(setvar \"insunits\" 4)");
    return created;
  }();
  return *s;
}

// (strlist TEXT ",; ") where TEXT is 255 characters of two-letter tokens between delimiter runs.
std::wstring strlistCall() {
  std::wstring text;
  for (const wchar_t* piece = L"ab,; "; text.size() < 255;) text += piece[text.size() % 5];
  return L"(strlist \"" + text + L"\" \",; \")";
}

void timeCalls(benchmark::State& state, const std::wstring& source) {
  host::Session& s = session();
  for (auto _ : state) benchmark::DoNotOptimize(s.eval(source));
  state.SetItemsProcessed(state.iterations());
}

void BM_ModuleCall_k_ver(benchmark::State& state) { timeCalls(state, L"(k_ver)"); }
BENCHMARK(BM_ModuleCall_k_ver);

void BM_BuiltinCall_strcat(benchmark::State& state) { timeCalls(state, L"(strcat \"a\" \"b\")"); }
BENCHMARK(BM_BuiltinCall_strcat);

void BM_strlist_255Characters(benchmark::State& state) { timeCalls(state, strlistCall()); }
BENCHMARK(BM_strlist_255Characters);

void BM_d236(benchmark::State& state) { timeCalls(state, L"(d236 1234.5 6)"); }
BENCHMARK(BM_d236);

void BM_362d(benchmark::State& state) { timeCalls(state, L"(362d \"009IXR\")"); }
BENCHMARK(BM_362d);

// d236 then 362d on its code: two module calls per item.
void BM_d236Then362d(benchmark::State& state) { timeCalls(state, L"(362d (d236 1234.5 6))"); }
BENCHMARK(BM_d236Then362d);

}  // namespace

BENCHMARK_MAIN();
