// k_G2B and k_B2G take a text and, as a second argument, T to strip font codes first; k_sunang
// takes a clock time (real or short), longitude and latitude in degrees and minutes (shorts) and
// an optional switch for solar time. Wrong argument types give nil.
#include "script_sun_handlers.h"

#include "frame/args.h"
#include "script_conversion.h"
#include "sun_angle.h"

namespace core::fn {

namespace {

// Returns the text written in the target script, font codes stripped when the next argument is T.
int convertToScript(resbuf* args, Script target) {
  kc::Args in(args);
  auto text = in.takeString();
  if (!text) return RTERROR;
  const resbuf* option = in.peek();
  if (option && option->restype == RTT) *text = stripFontCodes(*text);
  auto converted = convertScript(*text, target);
  if (!converted) return RTERROR;
  acedRetStr(converted->c_str());
  return RTNORM;
}

// The clock time: a real or a short.
std::optional<double> takeClockHours(kc::Args& in) {
  const resbuf* next = in.peek();
  if (next && next->restype == RTSHORT) return in.takeShort();
  return in.takeReal();
}

}  // namespace

int k_G2B(resbuf* args) { return convertToScript(args, Script::Traditional); }
int k_B2G(resbuf* args) { return convertToScript(args, Script::Simplified); }

int k_sunang(resbuf* args) {
  kc::Args in(args);
  auto hours = takeClockHours(in);
  auto lonDegrees = in.takeShort();
  auto lonMinutes = in.takeShort();
  auto latDegrees = in.takeShort();
  auto latMinutes = in.takeShort();
  if (!hours || !lonDegrees || !lonMinutes || !latDegrees || !latMinutes) return RTERROR;
  const resbuf* solarSwitch = in.peek();
  SunQuery query{*hours, *lonDegrees, *lonMinutes, *latDegrees, *latMinutes,
                 solarSwitch && solarSwitch->restype != RTNIL};
  SunPosition sun = sunPosition(query, currentYear());
  resbuf* result = acutBuildList(RTREAL, sun.altitude, RTREAL, sun.azimuth, 0);
  acedRetList(result);
  acutRelRb(result);
  return RTNORM;
}

}  // namespace core::fn
