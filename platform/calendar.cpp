// The calendar clock, real or fixed by the scripted user.
#include "platform/calendar.h"

namespace plat {

namespace {
std::optional<std::time_t> fixedTime;
}  // namespace

std::time_t systemTime() { return fixedTime ? *fixedTime : std::time(nullptr); }

std::tm localTime() {
  std::time_t now = systemTime();
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

namespace scripted {
void setSystemTime(std::optional<std::time_t> time) { fixedTime = time; }
}  // namespace scripted

}  // namespace plat
