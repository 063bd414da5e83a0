// Evaluation speed of the LISP engine on the work host programs do most: user function calls
// (recursive fib), list building and sorting, and string assembly with printing.
#include <benchmark/benchmark.h>

#include "lisp/interpreter.h"

namespace {

// Defines the programs once per benchmark and evaluates `call` on every iteration.
void run(benchmark::State& state, const wchar_t* program, const wchar_t* call) {
  lisp::Namespace ns;
  lisp::Interpreter in(ns);
  in.evalString(program);
  for (auto _ : state) benchmark::DoNotOptimize(in.evalString(call));
}

void BM_Fib(benchmark::State& state) {
  run(state, L"(defun fib (n) (if (< n 2) n (+ (fib (- n 1)) (fib (- n 2)))))", L"(fib 20)");
}

void BM_ListSort(benchmark::State& state) {
  run(state,
      L"(defun build (n / l) (repeat n (setq l (cons (rem (* n 7919) 1000) l) n (1- n))) l)",
      L"(vl-sort (mapcar '1+ (build 5000)) '<)");
}

void BM_Strings(benchmark::State& state) {
  run(state,
      L"(defun row (i) (strcat (itoa i) \",\" (rtos (/ i 3.0) 2 2) \",\" (vl-prin1-to-string (list i \"x\"))))",
      L"(setq i 0) (while (< i 2000) (row i) (setq i (1+ i)))");
}

BENCHMARK(BM_Fib);
BENCHMARK(BM_ListSort);
BENCHMARK(BM_Strings);

}  // namespace

BENCHMARK_MAIN();
