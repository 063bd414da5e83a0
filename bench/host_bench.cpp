// The cost of crossing the LISP bridge: a module's LISP function called from a LISP expression,
// against a built-in function of similar work, with their ratio; and the start-up of kchost with
// every module loaded, up to its first evaluation.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "host/session.h"
#include "platform/process.h"
#include "installed_machine.h"

extern char** environ;

namespace {


host::Session& session() {
  kcbench::installedMachine();
  static host::Session s(host::SessionOptions{[](std::wstring_view) {}, true});
  return s;
}

// (k_ver) crosses into kcCore and back; (float 2025) does the same work inside the engine.
constexpr const wchar_t* kModuleCall = L"(k_ver)";
constexpr const wchar_t* kBuiltinCall = L"(float 2025)";

void BM_ModuleFunctionCall(benchmark::State& state) {
  host::Session& s = session();
  for (auto _ : state) benchmark::DoNotOptimize(s.eval(kModuleCall));
}
BENCHMARK(BM_ModuleFunctionCall);

void BM_BuiltinFunctionCall(benchmark::State& state) {
  host::Session& s = session();
  for (auto _ : state) benchmark::DoNotOptimize(s.eval(kBuiltinCall));
}
BENCHMARK(BM_BuiltinFunctionCall);

// Both calls timed in turn in one loop; the counter "module/builtin" is their time ratio.
void BM_ModuleToBuiltinRatio(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  host::Session& s = session();
  Clock::duration module{}, builtin{};
  for (auto _ : state) {
    auto t0 = Clock::now();
    benchmark::DoNotOptimize(s.eval(kModuleCall));
    auto t1 = Clock::now();
    benchmark::DoNotOptimize(s.eval(kBuiltinCall));
    auto t2 = Clock::now();
    module += t1 - t0;
    builtin += t2 - t1;
  }
  state.counters["module/builtin"] = static_cast<double>(module.count()) / static_cast<double>(builtin.count());
}
BENCHMARK(BM_ModuleToBuiltinRatio);

// kchost from process start to the value of its first expression, every module loaded.
void BM_KchostStartup(benchmark::State& state) {
  std::string program = (plat::programFolder() / "kchost").string();
  std::string machine = kcbench::installedMachine().string();
  for (auto _ : state) {
    std::vector<char*> argv{program.data(), const_cast<char*>("--machine"), machine.data(),
                            const_cast<char*>("-e"), const_cast<char*>("(k_ver)"), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("cannot start kchost");
      break;
    }
    int status;
    waitpid(pid, &status, 0);
    posix_spawn_file_actions_destroy(&actions);
  }
}
BENCHMARK(BM_KchostStartup)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
