// Whole-file replacement that survives a crash: the bytes go to a temporary file beside the target,
// are flushed to disk, and the temporary file is renamed over the target. A reader sees either the
// old file or the new one, never a mixture.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/files.h"

namespace plat {

namespace {

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Flushes a folder so the rename that replaced one of its entries is durable.
void syncFolder(const std::filesystem::path& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& hostFile, std::string_view bytes) {
  std::filesystem::path folder = hostFile.parent_path();
  if (folder.empty()) folder = ".";
  std::string temp = hostFile.string() + ".tmp-XXXXXX";
  int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  struct stat old {};
  mode_t mode = ::stat(hostFile.c_str(), &old) == 0 ? old.st_mode & 07777 : 0644;
  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok || ::rename(temp.c_str(), hostFile.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  syncFolder(folder);
  return true;
}

}  // namespace plat
