// acutAngle, acutDistance and acutPolar.
#include <gtest/gtest.h>

#include <numbers>

#include "host/ads.h"

namespace {

constexpr double pi = std::numbers::pi;

TEST(Geometry, AngleRunsCounterClockwiseFromXInOneTurn) {
  ads_point o{1, 1, 0};
  struct Case {
    ads_point to;
    double angle;
  } cases[] = {{{2, 1, 0}, 0}, {{1, 2, 5}, pi / 2}, {{0, 1, 0}, pi}, {{1, 0, 0}, 3 * pi / 2}, {{2, 0, 0}, 7 * pi / 4}};
  for (const Case& c : cases) EXPECT_NEAR(acutAngle(o, c.to), c.angle, 1e-12);
}

TEST(Geometry, DistanceIsInSpaceAndPolarKeepsZ) {
  ads_point a{0, 0, 0}, b{3, 4, 12};
  EXPECT_DOUBLE_EQ(acutDistance(a, b), 13);
  ads_point p{1, 1, 7};
  acutPolar(p, pi / 2, 2, p);  // the result may be the start point itself
  EXPECT_NEAR(p[0], 1, 1e-12);
  EXPECT_NEAR(p[1], 3, 1e-12);
  EXPECT_EQ(p[2], 7);
}

}  // namespace
