// Keeping the suite version in step between the version file and the two registry records.
#include "suite_version.h"

#include <cstdio>
#include <cwchar>

#include "frame/module.h"
#include "frame/registry_text.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace core {

namespace {

constexpr std::size_t kMaxVersionLine = 127;

double parseReal(const std::wstring& text) { return std::wcstod(text.c_str(), nullptr); }

std::wstring versionFile(const std::wstring& kdir) { return kdir + L"\\system\\kcad.ver"; }

// The first line of the version file, as a real; 0 when it cannot be read.
double readVersionFile(const std::wstring& path) {
  std::FILE* file = plat::openFile(path, L"r");
  if (!file) return 0;
  char line[kMaxVersionLine + 1] = {};
  if (!std::fgets(line, sizeof line, file)) line[0] = 0;
  std::fclose(file);
  return parseReal(plat::toWide(plat::CP_ACP, line));
}

// Rewrites the version file whole, so that a crash leaves the old version in place.
void writeVersionFile(const std::wstring& path, double version) {
  auto file = plat::resolveForCreate(path);
  if (!file) return;
  plat::writeFileAtomically(*file, plat::fromWide(plat::CP_ACP, versionText(version)));
}

std::optional<double> readVersionValue(const std::optional<plat::reg::Key>& key) {
  if (!key) return std::nullopt;
  auto text = kc::readRegString(*key, L"Version");
  if (!text) return std::nullopt;
  return parseReal(*text);
}

}  // namespace

VersionDecision decideVersion(const VersionSources& s) {
  VersionDecision d;
  double machine = s.machine.value_or(s.file);
  if (machine > s.file) {
    d.version = machine;
    d.rewriteFile = true;
  } else {
    d.version = s.file;
    d.writeMachine = true;
  }
  // A missing user value counts as the last value read, the machine's.
  double user = s.user.value_or(machine);
  d.writeUser = !(user > d.version);
  return d;
}

std::wstring versionText(double version) {
  wchar_t text[64];
  std::swprintf(text, 64, L"%7.2f", version);
  return text;
}

double syncSuiteVersion(const std::wstring& kdir) {
  std::wstring file = versionFile(kdir);
  plat::setAttributes(file, plat::FILE_ATTRIBUTE_NORMAL);
  auto machineKey = plat::reg::Key::open(plat::reg::Root::LocalMachine, kc::kMachineInstallKey);
  auto userKey = plat::reg::Key::open(plat::reg::Root::CurrentUser, kc::kInstallKey);
  VersionSources sources{readVersionFile(file), readVersionValue(machineKey), readVersionValue(userKey)};
  VersionDecision d = decideVersion(sources);
  if (d.rewriteFile) writeVersionFile(file, d.version);
  if (d.writeMachine && machineKey) kc::writeRegString(*machineKey, L"Version", versionText(d.version));
  if (d.writeUser && userKey) kc::writeRegString(*userKey, L"Version", versionText(d.version));
  return d.version;
}

}  // namespace core
