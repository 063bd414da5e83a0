// Base-36 length codes: encoding from the least significant digit, decoding without validation.
#include "length_codes.h"

#include <cstdint>
#include <limits>

namespace core {

namespace {

constexpr wchar_t kDigits[] = L"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// The whole part of a positive value as an integer; values beyond the integer's range saturate
// (only their last digits are kept anyway).
std::int64_t wholePart(double value) {
  constexpr double limit = 9.2e18;
  return value >= limit ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(value);
}

}  // namespace

int unitFactor(int insunits) {
  switch (insunits) {
    case 4: return 10;
    case 5: return 100;
    case 6: return 10000;
    default: return 1;
  }
}

double tenthsOfReal(double length, int factor) { return factor * length + 0.001; }
double tenthsOfShort(short length, int factor) { return static_cast<double>(factor) * length; }

std::wstring encodeLength(double tenths, int width) {
  if (width <= 0) return L"";
  std::wstring code(static_cast<std::size_t>(width), L'0');
  if (!(tenths > 0)) return code;  // also not-a-number
  std::int64_t value = wholePart(tenths);
  for (std::size_t at = code.size(); at > 0 && value > 0; value /= 36) code[--at] = kDigits[value % 36];
  return code;
}

double decodeLength(std::wstring_view code) {
  double value = 0;
  for (wchar_t c : code) value = value * 36 + (c < L'A' ? c - 48 : c - 55);
  return value;
}

}  // namespace core
