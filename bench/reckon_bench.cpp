// One-shot evaluation speed of the calculator's ExpParser against muparser: each expression of a
// corpus of calculator-style lines is evaluated once from its text (our Evaluate; muparser's
// SetExpr then Eval). The corpus keeps to what both grammars read alike (no chained "^", no unary
// minus before "^", no comparisons, lower-case names, pi defined in muparser), and the program
// checks that both give the same values before timing. It prints expressions per second for
// both and the ratio.
#include "expparser.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <cmath>
#include <cstdio>
#include <cwchar>
#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kCorpus = {
    "3.6*4.2",
    "1.2+3.45+0.6+2.75",
    "(3.6+0.15*2)*(4.2-0.3)",
    "120*240/10000",
    "sqrt(3^2+4^2)",
    "2*(1.5+2.25)*3.0",
    "sin(0.5)^2+cos(0.5)^2",
    "abs(-12.5)*0.3025",
    "((1+2)*(3+4))/((5-6)*(7-8))",
    "exp(1.5)-log10(250)",
    "atan(1)*4",
    "-3.5*-2+10/4",
    "1/3+1/6+1/9",
    "100*(1+0.05)^10",
    "2*pi*0.75",
    "2.54*12*3+0.5",
    "tan(0.3)*15.5-2e3/1e2",
    "1.236+2.004+3.5+4.25+5.125+6.0625+7.03125+8.5+9.75+10.875",
};

std::wstring widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

mu::Parser makeMuParser() {
    mu::Parser parser;
    parser.DefineConst("pi", std::numbers::pi);
    return parser;
}

void BM_ReckonEvaluate(benchmark::State& state) {
    std::vector<std::wstring> corpus;
    for (const auto& text : kCorpus)
        corpus.push_back(widen(text));
    reckon::ExpParser parser;
    for (auto _ : state)
        for (const auto& text : corpus)
            benchmark::DoNotOptimize(parser.Evaluate(text).data());
    state.SetItemsProcessed(state.iterations() * corpus.size());
}
BENCHMARK(BM_ReckonEvaluate);

void BM_MuParserSetExprEval(benchmark::State& state) {
    mu::Parser parser = makeMuParser();
    for (auto _ : state)
        for (const auto& text : kCorpus) {
            parser.SetExpr(text);
            benchmark::DoNotOptimize(parser.Eval());
        }
    state.SetItemsProcessed(state.iterations() * kCorpus.size());
}
BENCHMARK(BM_MuParserSetExprEval);

// True when both evaluators give the same value (to the nine decimals of our text) for the corpus.
bool corpusMeansTheSame() {
    reckon::ExpParser ours;
    mu::Parser theirs = makeMuParser();
    bool same = true;
    for (const auto& text : kCorpus) {
        const double a = std::wcstod(ours.Evaluate(widen(text)).data(), nullptr);
        theirs.SetExpr(text);
        const double b = theirs.Eval();
        if (!(std::fabs(a - b) <= 1e-9 * std::fmax(1.0, std::fabs(b)))) {
            std::fprintf(stderr, "differs: %s gives %.12g here, %.12g in muparser\n", text.c_str(), a, b);
            same = false;
        }
    }
    return same;
}

// The console report, keeping each benchmark's rate for the closing ratio.
class RateReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> rates;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.counters.count("items_per_second"))
                rates[run.benchmark_name()] = run.counters.at("items_per_second");
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (!corpusMeansTheSame())
        return 1;
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double ours = reporter.rates["BM_ReckonEvaluate"];
    const double theirs = reporter.rates["BM_MuParserSetExprEval"];
    if (ours > 0 && theirs > 0)
        std::printf("expressions per second: ExpParser %.0f, muparser %.0f, ratio %.2f\n", ours, theirs,
                    ours / theirs);
    return 0;
}
