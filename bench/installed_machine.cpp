// The benchmarks' installed machine.
#include "installed_machine.h"

#include <cstdlib>
#include <string>

#include "host/session.h"
#include "platform/process.h"
#include "install.h"
#include "platform/machine.h"

namespace kcbench {

const std::filesystem::path& installedMachine() {
  static const std::filesystem::path root = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "kora-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    plat::openMachine(pattern);
    setup::InstallOptions options;
    options.modulesFrom = plat::programFolder();
    options.linkModules = true;
    setup::install(options);
    std::atexit([] { std::filesystem::remove_all(installedMachine()); });
    return std::filesystem::path(pattern);
  }();
  return root;
}

}  // namespace kcbench
