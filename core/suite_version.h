// The suite version kcCore keeps in step at load: the installation's version file, the local
// machine's record and the current user's record end up agreeing on the highest version known.
#pragma once

#include <optional>
#include <string>

namespace core {

// What the version step reads: F from the version file, M from the machine's record (nullopt
// when missing), U from the user's record (nullopt when missing).
struct VersionSources {
  double file = 0;
  std::optional<double> machine;
  std::optional<double> user;
};

// What it decides: the version, and which of the three places get it written.
struct VersionDecision {
  double version = 0;
  bool rewriteFile = false;
  bool writeMachine = false;
  bool writeUser = false;
};

VersionDecision decideVersion(const VersionSources& sources);

// The text a version is written as: "%7.2f".
std::wstring versionText(double version);

// Reads the sources for the installation root `kdir`, decides, writes (ignoring write failures)
// and returns the version.
double syncSuiteVersion(const std::wstring& kdir);

}  // namespace core
