// The running program's own folder.
#include "platform/process.h"

namespace plat {

std::filesystem::path programFolder() {
  std::error_code ec;
  auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path() : self.parent_path();
}

}  // namespace plat
