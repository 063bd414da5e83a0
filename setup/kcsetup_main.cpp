// kcsetup: installs the suite into a machine folder.
//   kcsetup [--machine DIR] [--root C:\KORA_CAD\] [--version 2025.01]
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "install.h"
#include "platform/codepage.h"
#include "platform/machine.h"
#include "platform/process.h"

namespace {

int usage() {
  std::fputs("usage: kcsetup [--machine DIR] [--root C:\\KORA_CAD\\] [--version 2025.01]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path machine = setup::defaultMachineFolder();
  setup::InstallOptions options;
  options.modulesFrom = plat::programFolder();
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (i + 1 >= argc) return usage();
    if (arg == "--machine")
      machine = argv[++i];
    else if (arg == "--root")
      options.root = plat::fromUtf8(argv[++i]);
    else if (arg == "--version")
      options.version = plat::fromUtf8(argv[++i]);
    else
      return usage();
  }
  if (options.root.empty() || options.root.back() != L'\\') options.root += L'\\';
  try {
    plat::openMachine(machine);
    setup::install(options);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kcsetup: %s\n", e.what());
    return 1;
  }
  std::printf("KORA CAD installed in %s\n", machine.c_str());
  return 0;
}
