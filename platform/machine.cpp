// The open machine folder. Opening another machine resets everything that belonged to the old
// one: the current drive and folders, the cached registry hives and a fixed calendar date.
#include "platform/machine.h"

#include <cwctype>
#include <stdexcept>

#include "internal.h"
#include "platform/calendar.h"

namespace plat {

namespace {
std::filesystem::path& root() {
  static std::filesystem::path dir;
  return dir;
}
}  // namespace

void openMachine(const std::filesystem::path& dir) {
  auto absolute = std::filesystem::absolute(dir).lexically_normal();
  if (absolute.filename().empty()) absolute = absolute.parent_path();  // no trailing separator
  std::filesystem::create_directories(absolute / "drive_c");
  root() = absolute;
  detail::resetPaths();
  detail::resetRegistry();
  scripted::setSystemTime(std::nullopt);  // a machine starts on the real date
}

bool machineOpen() { return !root().empty(); }

const std::filesystem::path& machineRoot() {
  if (!machineOpen()) throw std::logic_error("no machine is open");
  return root();
}

std::filesystem::path driveFolder(wchar_t drive) {
  if (drive > 0x7F || !std::iswalpha(static_cast<wint_t>(drive)))
    throw std::invalid_argument("not a drive letter");
  return machineRoot() / (std::string("drive_") + static_cast<char>(std::towlower(drive)));
}

}  // namespace plat
