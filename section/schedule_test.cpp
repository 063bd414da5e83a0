// Placeholder texts of schedule templates and what they become.
#include "schedule.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace section {
namespace {

std::wstring inUnits(double v) { return L"<" + std::to_wstring(v).substr(0, 3) + L">"; }

TEST(ScheduleText, PlaceholdersTakeTheirValues) {
  ScheduleValues values{L"S1", 15, 4, 200, 5, 150, {1.0, 2.0, 3.0, 4.5}, false};
  struct Case {
    const wchar_t* text;
    const wchar_t* filled;  // null: stays
  } cases[] = {
      {L"NAME", L"S1  T=15CM"}, {L"name", L"S1  T=15CM"}, {L"L1.5", L"#4@300"}, {L"l2", L"#4@400"},
      {L"S2", L"#5@300"},       {L"N3", L"<4.5>"},        {L"n0", L"<1.0>"},    {L"N25", nullptr},
      {L"N4", nullptr},  // fewer reals than the placeholder needs
      {L"L", nullptr},          {L"N", nullptr},          {L"L0", nullptr},     {L"S-1", nullptr},
      {L"LEVEL", nullptr},      {L"NOTE", nullptr},       {L"X1", nullptr},     {L"", nullptr},
  };
  for (const Case& c : cases) {
    auto filled = filledText(c.text, values, inUnits);
    if (c.filled)
      EXPECT_EQ(filled.value_or(L"(stays)"), c.filled) << plat::utf8(c.text);
    else
      EXPECT_FALSE(filled) << plat::utf8(c.text);
  }
}

TEST(ScheduleText, TitleShowsMillimetresUnderTheUnitSwitch) {
  ScheduleValues values{L"樓板", 150, 4, 200, 5, 150, {}, true};
  EXPECT_EQ(*filledText(L"NAME", values, inUnits), L"樓板  T=150MM");
}

TEST(ScheduleText, HeightsFollowTheDrawingScale) {
  EXPECT_DOUBLE_EQ(scaledHeight(3.0, 30), 3.0);
  EXPECT_DOUBLE_EQ(scaledHeight(3.0, 60), 6.0);
  EXPECT_DOUBLE_EQ(scaledHeight(3.0, 100), 10.0);
}

}  // namespace
}  // namespace section
