// libFuzzer target for ExpParser::Evaluate. The input bytes are UTF-16LE code units, one line per
// expression, evaluated in order on one parser as the calculator's lines are, so variables and Ans
// carry over. Besides crashes, hangs and sanitizer reports it traps on a result that is neither
// the failure marker nor a number that reads back whole. The test suite runs it for 20 seconds;
// the long run, from the build folder (new inputs go to the first folder):
//   bin/reckon_fuzz -timeout=5 -max_len=20000 -max_total_time=3600 reckon/reckon_fuzz_work <source>/reckon/fuzz_corpus
#include "expparser.h"

#include <cstddef>
#include <cstdint>
#include <cwchar>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));

    reckon::ExpParser parser;
    std::wstring_view rest = text;
    for (;;) {
        const std::size_t end = rest.find(L'\n');
        const std::wstring_view result = parser.Evaluate(rest.substr(0, end));
        if (result.data()[result.size()] != 0)
            __builtin_trap();
        if (reckon::isFailure(result)) {
            if (result != reckon::kFailureMarker)
                __builtin_trap();
        } else {
            wchar_t* stop = nullptr;
            std::wcstod(result.data(), &stop);
            if (result.empty() || stop != result.data() + result.size())
                __builtin_trap();
        }
        if (end == std::wstring_view::npos)
            return 0;
        rest.remove_prefix(end + 1);
    }
}
