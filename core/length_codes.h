// The suite's base-36 length codes (d236, 362d): a fixed-width text of the digits 0-9 and A-Z,
// most significant first, holding a length in tenths of a millimetre, so that sizes pack into
// short block and layer names. The drawing's unit (insunits) gives the factor to tenths.
#pragma once

#include <string>
#include <string_view>

namespace core {

// Tenths of a millimetre per drawing unit: insunits 4 (mm) 10, 5 (cm) 100, 6 (m) 10000, others 1.
int unitFactor(int insunits);

// A length in tenths of a millimetre. A real gets 0.001 added, so that a length a little below a
// whole tenth through rounding still codes that tenth; a short integer is exact.
double tenthsOfReal(double length, int factor);
double tenthsOfShort(short length, int factor);

// The `width` least significant base-36 digits of the whole part of `tenths`, zero-padded; all
// zeros for a value of 0 or less. `width` is at most kMaxCodeWidth.
constexpr int kMaxCodeWidth = 259;
std::wstring encodeLength(double tenths, int width);

// The value of a code. Characters are not checked: a character below 'A' counts as c - '0', any
// other as c - 'A' + 10, so lower-case letters count above 35.
double decodeLength(std::wstring_view code);

}  // namespace core
