// The host's small geometry helpers: the angle of a line in the XY plane, the distance of two
// points in space, and the point at an angle and distance from another.
#include <cmath>
#include <numbers>

#include "host/ads.h"

ads_real acutAngle(const ads_point a, const ads_point b) {
  double angle = std::atan2(b[1] - a[1], b[0] - a[0]);
  return angle < 0 ? angle + 2 * std::numbers::pi : angle;
}

ads_real acutDistance(const ads_point a, const ads_point b) {
  return std::sqrt((b[0] - a[0]) * (b[0] - a[0]) + (b[1] - a[1]) * (b[1] - a[1]) + (b[2] - a[2]) * (b[2] - a[2]));
}

void acutPolar(const ads_point from, ads_real angle, ads_real dist, ads_point result) {
  double x = from[0] + dist * std::cos(angle);
  double y = from[1] + dist * std::sin(angle);
  result[2] = from[2];  // result may be from itself
  result[0] = x;
  result[1] = y;
}
