// The sun's position at the winter solstice for a clock time and a place, as k_sunang gives it for
// daylight checks of building designs. Pure functions of their arguments; the year comes from the
// caller, and currentYear reads it from the local clock.
#pragma once

namespace core {

struct SunQuery {
  double clockHours = 12;  // clock time in hours, 0 to 24
  int longitudeDegrees = 120;
  int longitudeMinutes = 0;
  int latitudeDegrees = 0;
  int latitudeMinutes = 0;
  bool solarTime = false;  // correct the clock time for the longitude and the equation of time
};

// Degrees above the horizon, and degrees from the south (negative east of it, in the morning).
struct SunPosition {
  double altitude = 0;
  double azimuth = 0;
};

// The sun's declination at the winter solstice of the year, in degrees.
double solsticeDeclination(int year);

// The sun's position at the winter solstice of the year.
SunPosition sunPosition(const SunQuery& query, int year);

// The calendar year of the local clock.
int currentYear();

}  // namespace core
