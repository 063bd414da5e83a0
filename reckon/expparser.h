// ExpParser: the calculator's evaluator of arithmetic written as wide text, over doubles, with
// variables, the constants E and PI, 18 binary operators, factorial and 13 functions. It needs
// neither host nor dialogs. Evaluate never throws: every failure ends in the single result text
// "1.#INF", and no input, however long or deeply nested, overruns a buffer or the stack.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace reckon {

// The one failure signal: a result whose first six characters are these failed.
inline constexpr std::wstring_view kFailureMarker = L"1.#INF";

// True when a result text of Evaluate is the failure marker.
inline bool isFailure(std::wstring_view result) { return result.starts_with(kFailureMarker); }

class ExpParser {
public:
    enum TokenKind { None = -1, Delimiter = 0, Number = 1, Variable = 2, Function = 3, Invalid = 4 };

    // Parentheses (and function calls) nested deeper than this fail instead of recursing on. No
    // one types 256 levels, and they take under 200 KB of stack (about nine frames a level),
    // a fifth of the smallest main-thread stack a host runs on (1 MB).
    static constexpr int kMaxDepth = 256;

    // Raised inside the evaluator and turned into the failure marker by Evaluate; kept so a
    // caller or test can see why the last evaluation failed.
    struct Error {
        int column;  // 1-based column of the token where it was raised
        int code;    // 1 unclassified character, 3 missing ")", 6 operand missing at the end,
                     // 7 operand expected, 102 unknown function, 103 unknown variable,
                     // 400 factorial of a non-whole value, 500 nesting deeper than kMaxDepth
        std::wstring_view message() const { return kFailureMarker; }
    };

    // Evaluates one expression (it ends at the end of the view or at its first NUL) and returns
    // the value as "%.9f" text, or "1.#INF". Infinities and NaN read "inf", "-inf" and "nan".
    // The text is zero-terminated and stays valid until the next call. Variables assigned here,
    // and Ans, the value of the last successful call, stay for the next calls on this instance.
    std::wstring_view Evaluate(std::wstring_view text) noexcept;

    // The error raised by the last Evaluate; empty when it succeeded, or failed because the
    // input was empty or something was left over after a whole expression.
    const std::optional<Error>& lastError() const { return error_; }

private:
    struct Token {
        TokenKind kind = None;
        std::wstring_view text;  // a piece of the input, so no token length can overrun it
    };
    struct Entry {
        std::wstring name;  // upper case
        double value;
    };

    // "%.9f" text of the largest double: sign, 309 digits, point, 9 decimals and a terminator.
    static constexpr std::size_t kResultSize = 321;

    void next();
    bool isDelimiter(std::wstring_view text) const;
    [[noreturn]] void fail(int code) const;

    double statement();
    double level(int n);
    double unary();
    double callOperand();
    double parenthesised();
    double primary();

    double call(std::wstring_view name, double argument) const;
    double factorial(double value) const;
    double variable(std::wstring_view name) const;
    void assign(std::wstring_view name, double value);
    void writeValue(double value);
    void setResult(auto asciiText);

    std::wstring_view input_;
    std::size_t cursor_ = 0;
    Token token_;
    int depth_ = 0;
    double lastResult_ = 0;
    wchar_t result_[kResultSize] = {};
    std::size_t resultLength_ = 0;
    std::vector<Entry> variables_;
    std::optional<Error> error_;
};

}  // namespace reckon
