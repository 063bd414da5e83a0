// The sun's position at the winter solstice, and k_sunang as the suite's LISP programs call it.
#include "sun_angle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "platform/calendar.h"
#include "platform/codepage.h"
#include "testing.h"

namespace {

using core::SunQuery;

constexpr int kYear = 2024;

double latitude(const SunQuery& q) { return q.latitudeDegrees + q.latitudeMinutes / 60.0; }

TEST(SunAngleTest, TheSolsticeDeclinationIsTheTropicOfCapricorn) {
  for (int year : {1985, 1988, 2000, 2024, 2025, 2050})
    EXPECT_NEAR(core::solsticeDeclination(year), -23.44, 0.05) << year;
}

TEST(SunAngleTest, AtNoonTheSunStandsDueSouth) {
  double d = core::solsticeDeclination(kYear);
  for (SunQuery q : {SunQuery{12, 121, 30, 25, 2}, SunQuery{12, 120, 0, 22, 0}, SunQuery{12, 100, 0, 66, 33},
                     SunQuery{12, 121, 0, 0, 0}}) {
    auto sun = core::sunPosition(q, kYear);
    EXPECT_EQ(sun.azimuth, 0) << latitude(q);
    EXPECT_NEAR(sun.altitude, 90 - latitude(q) + d, 1e-9) << latitude(q);
  }
}

TEST(SunAngleTest, MorningIsEastAndAfternoonWestAlike) {
  auto morning = core::sunPosition({9, 121, 30, 25, 2}, kYear);
  auto afternoon = core::sunPosition({15, 121, 30, 25, 2}, kYear);
  EXPECT_LT(morning.azimuth, 0);
  EXPECT_GT(afternoon.azimuth, 0);
  EXPECT_NEAR(morning.azimuth, -afternoon.azimuth, 1e-9);
  EXPECT_NEAR(morning.altitude, afternoon.altitude, 1e-9);
  EXPECT_NEAR(morning.altitude, 24.8, 0.05);  // Taipei, three hours before noon in December
}

// The azimuth as the cosine rule gives it, from the south, negative before noon.
double cosineRuleAzimuth(double hours, double latitude, double declination) {
  auto rad = [](double deg) { return deg * std::numbers::pi / 180; };
  double p = rad(latitude), d = rad(declination), w = rad((hours - 12) * 15);
  double h = std::asin(std::sin(p) * std::sin(d) + std::cos(p) * std::cos(d) * std::cos(w));
  double a = std::acos((std::sin(h) * std::sin(p) - std::sin(d)) / (std::cos(h) * std::cos(p))) * 180 / std::numbers::pi;
  return hours < 12 ? -a : a;
}

TEST(SunAngleTest, TheAzimuthAgreesWithTheCosineRule) {
  double d = core::solsticeDeclination(kYear);
  for (int lat : {-40, 0, 22, 25, 35, 60})
    for (double hours : {7.0, 9.0, 11.5, 12.5, 15.0, 17.0}) {
      auto sun = core::sunPosition({hours, 120, 0, lat, 0}, kYear);
      EXPECT_NEAR(sun.azimuth, cosineRuleAzimuth(hours, lat, d), 1e-6) << lat << " " << hours;
    }
}

TEST(SunAngleTest, SolarTimeMovesNoonAndTheAzimuthFollowsTheSun) {
  // At 122 degrees east solar noon comes about eight minutes before noon by the clock: at 11:54
  // the sun has passed south already.
  auto clock = core::sunPosition({11.9, 122, 0, 25, 0, false}, kYear);
  auto solar = core::sunPosition({11.9, 122, 0, 25, 0, true}, kYear);
  EXPECT_LT(clock.azimuth, 0);
  EXPECT_GT(solar.azimuth, 0);
  EXPECT_LT(solar.azimuth, 2);
}

TEST(SunAngleTest, EveryLatitudeAndHourGivesNumbers) {
  for (int lat = -90; lat <= 90; ++lat)
    for (double hour = 0; hour <= 24; hour += 0.5) {
      auto sun = core::sunPosition({hour, 121, 0, lat, 0}, kYear);
      EXPECT_TRUE(std::isfinite(sun.altitude) && std::isfinite(sun.azimuth)) << lat << " " << hour;
    }
  auto zenith = core::sunPosition({12, 120, 0, -23, -26}, 1985);  // p within a minute of d
  EXPECT_NEAR(zenith.altitude, 90, 0.05);
  EXPECT_EQ(zenith.azimuth, 0);
}

class SunFunctionTest : public kctest::HostTest {
 protected:
  SunFunctionTest() : HostTest(false) {}
  void SetUp() override {
    HostTest::SetUp();
    ASSERT_TRUE(session().loadModule(L"kcCore"));
  }
  // The real a LISP expression gives, written by rtos with nine decimals.
  double number(const std::wstring& source) {
    return std::stod(plat::utf8(eval(L"(rtos " + source + L" 2 9)").asString()));
  }
};

TEST_F(SunFunctionTest, AnswersAltitudeAndAzimuthForTheClocksYear) {
  std::tm day{};
  day.tm_year = 2031 - 1900;
  day.tm_mon = 5;
  day.tm_mday = 1;
  day.tm_hour = 12;
  plat::scripted::setSystemTime(std::mktime(&day));
  ASSERT_EQ(core::currentYear(), 2031);
  double d = core::solsticeDeclination(2031);
  eval(L"(setq noon (k_sunang 12 121 30 25 2))");
  EXPECT_EQ(show(L"(length noon)"), L"2");
  EXPECT_NEAR(number(L"(car noon)"), 90 - (25 + 2 / 60.0) + d, 1e-8);
  EXPECT_EQ(show(L"(cadr noon)"), L"0.0");
  EXPECT_LT(number(L"(cadr (k_sunang 9.0 121 30 25 2 nil))"), 0);
  EXPECT_GT(number(L"(cadr (k_sunang 15 121 30 25 2 T))"), 0);
}

TEST_F(SunFunctionTest, WrongArgumentsGiveNil) {
  for (const wchar_t* call : {L"(k_sunang)", L"(k_sunang 12 121 30 25)", L"(k_sunang \"12\" 121 30 25 2)",
                              L"(k_sunang 12 121.0 30 25 2)", L"(k_sunang 12 121 30 25 70000)"})
    EXPECT_EQ(show(call), L"nil") << plat::utf8(call);
}

}  // namespace
