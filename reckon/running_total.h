// The calculator dialog's running total of its lines: one expression per line summed at the
// subtotal precision, or all lines run together as one expression. Plain text work over
// ExpParser; the number formatting (the host's decimal mode) is passed in.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace reckon {

// A value as text with a number of decimals (the host's acdbRToS in decimal mode).
using DecimalFormat = std::function<std::wstring(double value, int decimals)>;

// What the result label shows for an editor text: the total, "?" when a line (or the single
// expression) fails, or the parentheses message when they do not pair up.
std::wstring runningTotal(std::wstring_view editorText, bool singleExpression, int subtotalDecimals,
                          int totalDecimals, const DecimalFormat& format);

// The editor's lines for the return list: carriage returns removed, cut at line feeds; empty
// lines are left out except the text after the last line feed, which is always kept.
std::vector<std::wstring> returnedLines(std::wstring_view editorText);

// The selected text made one sum: each line feed becomes "+", carriage returns go.
std::wstring joinedLines(std::wstring_view selection);

}  // namespace reckon
