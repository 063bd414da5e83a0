// Base-36 length codes: the digits kept from the right, the unit factors, and decoding without
// validation.
#include "length_codes.h"

#include <gtest/gtest.h>

namespace {

TEST(LengthCodes, EncodingKeepsTheLastDigitsOfTheWholePart) {
  struct Case {
    double tenths;
    int width;
    const wchar_t* code;
  } cases[] = {
      {1500.001, 4, L"015O"},  // 1 * 1296 + 5 * 36 + 24
      {1500.001, 2, L"5O"},  // digits that do not fit are dropped from the front
      {1500.999, 4, L"015O"},
      {35, 1, L"Z"},
      {36, 1, L"0"},
      {0.5, 3, L"000"},
      {0, 3, L"000"},
      {-1500, 3, L"000"},
      {1500, 0, L""},
      {2147483648.0, 7, L"0ZIK0ZK"},  // beyond 32 bits the digits stay right
      {1e300, 2, L"E7"},  // saturates rather than overflowing
  };
  for (const auto& c : cases) EXPECT_EQ(core::encodeLength(c.tenths, c.width), c.code) << c.tenths;
  EXPECT_EQ(core::encodeLength(100, core::kMaxCodeWidth).size(), 259u);
}

TEST(LengthCodes, DecodingTakesEveryCharacterAsADigit) {
  struct Case {
    const wchar_t* code;
    double value;
  } cases[] = {
      {L"015O", 1500}, {L"", 0}, {L"Z", 35}, {L"z", 67}, {L"0ZIK0ZK", 2147483648.0},
  };
  for (const auto& c : cases) EXPECT_EQ(core::decodeLength(c.code), c.value);
  for (double tenths : {1.0, 37.0, 1295.0, 1296.0, 987654.0})
    EXPECT_EQ(core::decodeLength(core::encodeLength(tenths, 6)), tenths);
}

TEST(LengthCodes, UnitFactorsTakeEachDrawingUnitToTenthsOfAMillimetre) {
  EXPECT_EQ(core::unitFactor(4), 10);
  EXPECT_EQ(core::unitFactor(5), 100);
  EXPECT_EQ(core::unitFactor(6), 10000);
  for (int other : {0, 1, 3, 7, 24}) EXPECT_EQ(core::unitFactor(other), 1);
  EXPECT_DOUBLE_EQ(core::tenthsOfReal(150.0, 10), 1500.001);
  EXPECT_EQ(core::encodeLength(core::tenthsOfReal(0.29999999, 10000), 3), L"2BC");  // 3000
  EXPECT_EQ(core::tenthsOfShort(15, 100), 1500.0);  // a short gets nothing added
}

}  // namespace
