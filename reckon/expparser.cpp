// The expression evaluator: a tokenizer over the caller's text and a recursive-descent parser of
// six operator levels. Tokens are views of the input and the result field holds the longest value
// text, so no input length can overrun a field; nesting is capped at kMaxDepth levels.
#include "expparser.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <numbers>
#include <string>

namespace reckon {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }
bool isOperatorChar(wchar_t c) {
    return std::wstring_view(L"&|<>=+/*%^!").find(c) != std::wstring_view::npos;
}
bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool isNumberChar(wchar_t c) { return isDigit(c) || c == L'.'; }
// Upper case for ASCII letters only: no other character may turn into an identifier letter.
wchar_t asciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? c - (L'a' - L'A') : c; }
bool isIdentifierLetter(wchar_t c) {
    return (asciiUpper(c) >= L'A' && asciiUpper(c) <= L'Z') || c == L'_';
}
bool isIdentifierChar(wchar_t c) { return isIdentifierLetter(c) || isDigit(c); }

// True when name, upper-cased, is exactly upper.
bool equalsUpper(std::wstring_view name, std::wstring_view upper) {
    if (name.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i)
        if (asciiUpper(name[i]) != upper[i])
            return false;
    return true;
}

// The longest leading decimal number of a number token (0 when there is none), read the same
// way whatever the process locale: overflow gives infinity, underflow zero or a denormal.
double numberValue(std::wstring_view text) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string narrow(text.begin(), text.end());  // number tokens are ASCII
    return strtod_l(narrow.c_str(), nullptr, cLocale);
}

// The operand truncated toward zero to a signed 32-bit integer; empty for NaN and for values
// outside that range, which have no integer part to work on.
std::optional<std::int32_t> integerPart(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0))
        return std::nullopt;
    return static_cast<std::int32_t>(v);
}

using IntegerOp = double (*)(std::int32_t, std::int32_t);

// Applies an operator to the integer parts; NaN when either operand has none.
template <IntegerOp op>
double onIntegers(double a, double b) {
    const auto x = integerPart(a), y = integerPart(b);
    return x && y ? op(*x, *y) : kNaN;
}

double bitAnd(std::int32_t x, std::int32_t y) { return x & y; }
double bitOr(std::int32_t x, std::int32_t y) { return x | y; }
double bitXor(std::int32_t x, std::int32_t y) { return x ^ y; }
double shiftLeft(std::int32_t x, std::int32_t y) { return std::int32_t(std::uint32_t(x) << (y & 31)); }
double shiftRight(std::int32_t x, std::int32_t y) { return x >> (y & 31); }
// A zero divisor gives NaN like other arithmetic faults; x % -1 is 0 (INT_MIN % -1 would trap).
double integerRemainder(std::int32_t x, std::int32_t y) { return y == 0 ? kNaN : y == -1 ? 0 : x % y; }

struct Operator {
    std::wstring_view text;
    int level;  // 1 binds loosest
    double (*apply)(double, double);
};

// The binary operators in code order (0 to 16); the postfix "!" (code 17) is handled by level 6.
constexpr Operator kOperators[] = {
    {L"&", 1, onIntegers<bitAnd>},
    {L"|", 1, onIntegers<bitOr>},
    {L"<<", 1, onIntegers<shiftLeft>},
    {L">>", 1, onIntegers<shiftRight>},
    {L"=", 2, [](double a, double b) { return double(a == b); }},
    {L"<>", 2, [](double a, double b) { return double(a != b); }},
    {L"<", 2, [](double a, double b) { return double(a < b); }},
    {L">", 2, [](double a, double b) { return double(a > b); }},
    {L"<=", 2, [](double a, double b) { return double(a <= b); }},
    {L">=", 2, [](double a, double b) { return double(a >= b); }},
    {L"+", 3, [](double a, double b) { return a + b; }},
    {L"-", 3, [](double a, double b) { return a - b; }},
    {L"*", 4, [](double a, double b) { return a * b; }},
    {L"/", 4, [](double a, double b) { return a / b; }},
    {L"%", 4, onIntegers<integerRemainder>},
    {L"||", 4, onIntegers<bitXor>},
    {L"^", 5, [](double a, double b) { return std::pow(a, b); }},
};

struct Func {
    std::wstring_view name;  // upper case
    double (*apply)(double);
};

// The one-argument functions other than FACTORIAL, which can fail and is handled by the parser.
constexpr Func kFunctions[] = {
    {L"ABS", [](double x) { return std::fabs(x); }},
    {L"EXP", [](double x) { return std::exp(x); }},
    {L"SIGN", [](double x) { return x > 0 ? 1.0 : x < 0 ? -1.0 : 0.0; }},
    {L"SQRT", [](double x) { return std::sqrt(x); }},
    {L"LOG", [](double x) { return std::log(x); }},
    {L"LOG10", [](double x) { return std::log10(x); }},
    {L"SIN", [](double x) { return std::sin(x); }},
    {L"COS", [](double x) { return std::cos(x); }},
    {L"TAN", [](double x) { return std::tan(x); }},
    {L"ASIN", [](double x) { return std::asin(x); }},
    {L"ACOS", [](double x) { return std::acos(x); }},
    {L"ATAN", [](double x) { return std::atan(x); }},
};

}  // namespace

std::wstring_view ExpParser::Evaluate(std::wstring_view text) noexcept {
    input_ = text.substr(0, text.find(L'\0'));
    cursor_ = 0;
    depth_ = 0;
    lastResult_ = 0;
    error_.reset();
    bool evaluated = false;
    try {
        next();
        if (!isDelimiter(L"")) {  // an empty expression fails
            lastResult_ = statement();
            if (isDelimiter(L"")) {  // so does anything left over
                assign(L"ANS", lastResult_);
                evaluated = true;
            }
        }
    } catch (const Error& e) {
        error_ = e;
    } catch (...) {
        // no memory for a new variable
    }
    // The input may be the previous result text, so that is overwritten only now.
    input_ = {};
    if (evaluated)
        writeValue(lastResult_);
    else
        setResult(kFailureMarker);
    return {result_, resultLength_};
}

// "%.9f" whatever the process locale; "inf", "-inf", and "nan" whatever the NaN's sign bit.
void ExpParser::writeValue(double value) {
    if (std::isnan(value))
        return setResult(std::string_view("nan"));
    char text[kResultSize];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 9);
    if (ec != std::errc{})
        return setResult(kFailureMarker);  // cannot happen: the field fits every double
    setResult(std::string_view(text, end));
}

// Copies ASCII text into the result field and terminates it.
void ExpParser::setResult(auto asciiText) {
    std::size_t n = 0;
    for (auto c : asciiText)
        result_[n++] = static_cast<wchar_t>(c);
    result_[n] = 0;
    resultLength_ = n;
}

// Reads the next token into token_; raises code 1 at a character of no class.
void ExpParser::next() {
    const auto at = [this](auto is) { return cursor_ < input_.size() && is(input_[cursor_]); };
    const auto skip = [&](auto is) {
        while (at(is))
            ++cursor_;
    };
    skip(isBlank);
    const std::size_t start = cursor_;
    const auto take = [&](TokenKind kind) {
        token_ = {kind, input_.substr(start, cursor_ - start)};
    };

    if (cursor_ == input_.size())
        return take(Delimiter);
    const wchar_t c = input_[cursor_];
    if (c == L'(' || c == L')' || c == L'-') {
        ++cursor_;
        return take(Delimiter);
    }
    if (isOperatorChar(c)) {
        skip(isOperatorChar);
        return take(Delimiter);
    }
    if (isNumberChar(c)) {
        skip(isNumberChar);
        if (at([](wchar_t e) { return e == L'E' || e == L'e'; })) {
            ++cursor_;
            if (at([](wchar_t s) { return s == L'+' || s == L'-'; }))
                ++cursor_;
            skip(isDigit);
        }
        return take(Number);
    }
    if (isIdentifierLetter(c)) {
        skip(isIdentifierChar);
        std::size_t ahead = cursor_;
        while (ahead < input_.size() && isBlank(input_[ahead]))
            ++ahead;
        return take(ahead < input_.size() && input_[ahead] == L'(' ? Function : Variable);
    }
    cursor_ = input_.size();
    take(Invalid);
    fail(1);
}

// True when the current token is the delimiter or operator run with this text ("" at the end).
bool ExpParser::isDelimiter(std::wstring_view text) const {
    return token_.kind == Delimiter && token_.text == text;
}

// Raises an error at the current token, whose column is where its text starts.
void ExpParser::fail(int code) const {
    throw Error{static_cast<int>(cursor_ - token_.text.size()) + 1, code};
}

// An assignment "name = expression" is recognised only here, at the start of the whole text.
double ExpParser::statement() {
    if (token_.kind == Variable) {
        const Token name = token_;
        const std::size_t after = cursor_;
        next();
        if (isDelimiter(L"=")) {
            next();
            const double value = level(1);
            assign(name.text, value);
            return value;
        }
        token_ = name;
        cursor_ = after;
    }
    return level(1);
}

// Levels 1 to 5: left-associative chains of their binary operators; level 6: postfix "!".
double ExpParser::level(int n) {
    if (n == 6) {
        double value = unary();
        while (isDelimiter(L"!")) {
            value = factorial(value);
            next();
        }
        return value;
    }
    double value = level(n + 1);
    for (;;) {
        const Operator* op = nullptr;
        for (const Operator& candidate : kOperators)
            if (candidate.level == n && isDelimiter(candidate.text))
                op = &candidate;
        if (!op)
            return value;
        next();
        value = op->apply(value, level(n + 1));
    }
}

// One minus only, binding tighter than "^" and "!": -2^2 is 4, --3 fails.
double ExpParser::unary() {
    if (!isDelimiter(L"-"))
        return callOperand();
    next();
    return -callOperand();
}

double ExpParser::callOperand() {
    if (token_.kind != Function)
        return parenthesised();
    const std::wstring_view name = token_.text;
    next();  // the "(" that made it a function
    const double argument = parenthesised();
    return call(name, argument);
}

double ExpParser::parenthesised() {
    if (!isDelimiter(L"("))
        return primary();
    if (++depth_ > kMaxDepth)
        fail(500);
    next();
    const double value = level(1);
    if (!isDelimiter(L")"))
        fail(3);
    next();
    --depth_;
    return value;
}

double ExpParser::primary() {
    double value;
    if (token_.kind == Number)
        value = numberValue(token_.text);
    else if (token_.kind == Variable)
        value = variable(token_.text);
    else
        fail(token_.text.empty() ? 6 : 7);
    next();
    return value;
}

double ExpParser::call(std::wstring_view name, double argument) const {
    if (equalsUpper(name, L"FACTORIAL"))
        return factorial(argument);
    for (const Func& f : kFunctions)
        if (equalsUpper(name, f.name))
            return f.apply(argument);
    fail(102);
}

// n * (n-1) * ... * 2 in doubles for a whole n in the 32-bit range (code 400 otherwise); 0 gives
// 1 and a negative n itself. The product stops once it is infinite, where it would stay.
double ExpParser::factorial(double value) const {
    const auto n = integerPart(value);
    if (!n || *n != value)
        fail(400);
    double result = *n;
    for (std::int32_t k = *n - 1; k >= 2 && !std::isinf(result); --k)
        result *= k;
    return result == 0 ? 1 : result;
}

// E and PI come before the table, so entries of those names are stored but never read.
double ExpParser::variable(std::wstring_view name) const {
    if (equalsUpper(name, L"E"))
        return std::numbers::e;
    if (equalsUpper(name, L"PI"))
        return std::numbers::pi;
    for (const Entry& entry : variables_)
        if (equalsUpper(name, entry.name))
            return entry.value;
    fail(103);
}

void ExpParser::assign(std::wstring_view name, double value) {
    for (Entry& entry : variables_)
        if (equalsUpper(name, entry.name)) {
            entry.value = value;
            return;
        }
    std::wstring upper(name);
    for (wchar_t& c : upper)
        c = asciiUpper(c);
    variables_.push_back({std::move(upper), value});
}

}  // namespace reckon
