// The calculator's input normalisation and the reading of result texts.
#include "calculation.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "expparser.h"

namespace reckon {

namespace {

// What a per-cent sign stands for: the sign becomes "*" and this text follows it.
constexpr std::wstring_view kPerCent = L"*1.0*0.01";

// True when the text opens as many parentheses as it closes.
bool parenthesesBalance(std::wstring_view text) {
  return std::count(text.begin(), text.end(), L'(') == std::count(text.begin(), text.end(), L')');
}

}  // namespace

std::optional<std::wstring> normalise(std::wstring_view typed) {
  if (!parenthesesBalance(typed)) return std::nullopt;
  std::wstring text;
  text.reserve(typed.size());
  for (wchar_t c : typed) {
    c = static_cast<wchar_t>(u_tolower(static_cast<UChar32>(c)));
    if (c == L'x')
      text += L'*';
    else if (c == L'%')
      text += kPerCent;
    else
      text += c;
  }
  return text;
}

std::optional<double> resultValue(std::wstring_view result) {
  if (isFailure(result)) return std::nullopt;
  // The text is ASCII; from_chars reads it the same whatever the process locale.
  std::string text(result.begin(), result.end());
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace reckon
