// The sun's position at the winter solstice (day 356) from the day angle of the year, with the
// reference meridian at 120 degrees east. Rounding never turns a position into NaN: the altitude's
// sine is kept within [-1, 1], the azimuth comes from atan2 (the sun at the zenith has 0), and its
// sign follows the hour angle, so the sun east of the meridian is negative whatever the clock says.
#include "sun_angle.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <numbers>

#include "platform/calendar.h"

namespace core {

namespace {

constexpr double kSolsticeDay = 356;
constexpr double kTropicalYear = 365.2422;
constexpr double kReferenceMeridian = 120;  // degrees east
constexpr double kMinutesPerDegree = 4;

double radians(double degrees) { return degrees * std::numbers::pi / 180; }
double degrees(double radians) { return radians * 180 / std::numbers::pi; }

// The day angle of the solstice in the year, in radians.
double dayAngle(int year) {
  int y = year - 1985;
  return 2 * std::numbers::pi * (kSolsticeDay - (0.2422 * y + 79.6764 - y / 4)) / kTropicalYear;
}

// The equation of time at the day angle, in minutes.
double equationOfTime(double d) {
  return 0.0028 - 1.9857 * std::sin(d) + 9.9059 * std::sin(2 * d) - 7.0924 * std::cos(d) -
         0.6882 * std::cos(2 * d);
}

// The value a rounding error pushed just outside [-1, 1] brought back to its edge.
double unitClamped(double value) { return std::clamp(value, -1.0, 1.0); }

}  // namespace

double solsticeDeclination(int year) {
  double d = dayAngle(year);
  return 0.3723 + 23.2567 * std::sin(d) + 0.1149 * std::sin(2 * d) - 0.1712 * std::sin(3 * d) -
         0.758 * std::cos(d) + 0.3656 * std::cos(2 * d) + 0.0201 * std::cos(3 * d);
}

SunPosition sunPosition(const SunQuery& query, int year) {
  double solarHours = query.clockHours;
  if (query.solarTime) {
    double longitude = query.longitudeDegrees + query.longitudeMinutes / 60.0;
    solarHours += (longitude - kReferenceMeridian) * kMinutesPerDegree / 60 + equationOfTime(dayAngle(year)) / 60;
  }
  double hourAngle = radians((solarHours - 12) * 15);
  double p = radians(query.latitudeDegrees + query.latitudeMinutes / 60.0);
  double d = radians(solsticeDeclination(year));

  double h = std::asin(unitClamped(std::sin(p) * std::sin(d) + std::cos(p) * std::cos(d) * std::cos(hourAngle)));
  // The angle whose cosine is (sin h sin p - sin d) / (cos h cos p), taken from its sine and
  // cosine parts: exact at noon, defined at the zenith, and negative east of the meridian.
  double a = std::atan2(std::sin(hourAngle) * std::cos(d),
                        std::sin(p) * std::cos(d) * std::cos(hourAngle) - std::cos(p) * std::sin(d));
  return {degrees(h), degrees(a)};
}

int currentYear() { return plat::localTime().tm_year + 1900; }

}  // namespace core
