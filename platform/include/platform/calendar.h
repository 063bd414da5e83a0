// The machine's calendar clock, as GetLocalTime reads it: the real time, unless the scripted user
// has set the date, so that date-dependent results can be checked on a fixed day.
#pragma once

#include <ctime>
#include <optional>

namespace plat {

// Seconds since the epoch, as time() gives them.
std::time_t systemTime();
// The local calendar time of systemTime().
std::tm localTime();

namespace scripted {
// Fixes the clock at `time`; nullopt lets it follow the real time again.
void setSystemTime(std::optional<std::time_t> time);
}  // namespace scripted

}  // namespace plat
