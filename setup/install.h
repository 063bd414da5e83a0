// Installing the suite into a machine, as its installer does: the local machine's installation
// record, the suite's folders, the version file, the modules, and the start-up LISP file the host
// runs in every drawing, which sets the folder symbols the suite's LISP programs use and loads the
// installed modules.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace setup {

struct InstallOptions {
  std::filesystem::path modulesFrom;  // the folder holding the built modules (*.arx)
  std::wstring root = L"C:\\KORA_CAD\\";  // installation root, with its trailing separator
  std::wstring version = L"2025.01";
  std::wstring oem;  // edition tag
  bool linkModules = false;  // link to the built modules instead of copying them (tests)
};

// The registry record, under the local machine, that the installer writes.
inline constexpr const wchar_t* kMachineKey = L"SOFTWARE\\Wow6432Node\\Vantor\\KORA_CAD";

// The machine folder a program uses without --machine: $KORA_MACHINE, else a folder in the
// user's data directory.
std::filesystem::path defaultMachineFolder();

// True when the open machine has the suite installed.
bool isInstalled();
// Installs into the open machine (plat::openMachine). Throws std::runtime_error on failure.
void install(const InstallOptions& options);
// The modules an installation loads, in loading order (kcCore first).
std::vector<std::wstring> installedModules(const std::filesystem::path& modulesFrom);

}  // namespace setup
