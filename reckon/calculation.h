// What the calculator's two callers (the KCAL function and the calculator dialog) share around the
// evaluator: the normalisation of typed input before evaluation, and reading a value back from a
// result text. Both are plain functions on text; neither needs the host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace reckon {

// What the calculator shows instead of a value when the parentheses do not pair up.
inline constexpr std::wstring_view kUnbalancedParentheses = L"括號不對稱";

// The typed text made ready for ExpParser: lower case, the letter x as a multiplication sign, and
// "n%" as n times 1.0*0.01. Nothing when the text holds unequal numbers of "(" and ")" (only the
// counts are compared, so ")(" passes).
std::optional<std::wstring> normalise(std::wstring_view typed);

// The value of an ExpParser result text; nothing when the evaluation failed or its value is not a
// finite number (a division by zero, an overflow, a NaN).
std::optional<double> resultValue(std::wstring_view result);

}  // namespace reckon
