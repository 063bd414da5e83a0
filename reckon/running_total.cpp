// The running total and the line handling of the calculator dialog.
#include "running_total.h"

#include <cwchar>
#include <vector>

#include "calculation.h"
#include "expparser.h"

namespace reckon {

namespace {

std::wstring without(std::wstring_view text, std::wstring_view drop) {
  std::wstring out;
  for (wchar_t c : text)
    if (drop.find(c) == std::wstring_view::npos) out += c;
  return out;
}

}  // namespace

std::wstring runningTotal(std::wstring_view editorText, bool single, int subtotalDecimals,
                          int totalDecimals, const DecimalFormat& format) {
  auto text = normalise(editorText);
  if (!text) return std::wstring(kUnbalancedParentheses);
  if (single) {
    // Line breaks do not separate numbers here: lines 1.2 and 3 read 1.23.
    ExpParser parser;
    auto value = resultValue(parser.Evaluate(without(*text, L"\r\n ")));
    return value ? format(*value, totalDecimals) : L"?";
  }
  // One evaluator for all lines, so a variable set on one line serves the next and Ans holds
  // the previous line's value.
  ExpParser parser;
  std::wstring lines = without(*text, L"\r") + L"\n";
  double sum = 0;
  std::size_t start = 0;
  for (std::size_t end; (end = lines.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
    std::wstring_view line(lines.data() + start, end - start);
    if (line.empty()) continue;
    auto value = resultValue(parser.Evaluate(line));
    if (!value) return L"?";
    // Each line counts with the value it shows at the subtotal precision.
    sum += std::wcstod(format(*value, subtotalDecimals).c_str(), nullptr);
  }
  return format(sum, totalDecimals);
}

std::vector<std::wstring> returnedLines(std::wstring_view editorText) {
  std::wstring text = without(editorText, L"\r");
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find(L'\n', start)) != std::wstring::npos; start = end + 1)
    if (end > start) lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

std::wstring joinedLines(std::wstring_view selection) {
  std::wstring out;
  for (wchar_t c : selection) {
    if (c == L'\n') out += L'+';
    else if (c != L'\r') out += c;
  }
  return out;
}

}  // namespace reckon
