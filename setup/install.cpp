// The suite's installer.
#include "install.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <fstream>
#include <stdexcept>

#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace setup {

namespace {

// Installation-record values naming the suite's folders, and the folder each names.
struct FolderEntry {
  const wchar_t* value;
  const wchar_t* folder;
};
constexpr FolderEntry kFolders[] = {
    {L"KCADDEF", L"Def"},   {L"KCADUSR", L"Usr"},  {L"KCADGUSR", L"GUsr"}, {L"KCADHLP", L"Help"},
    {L"KCADLAW", L"Law"},   {L"KCADBLK", L"Blk"},  {L"KCADDTA", L"Data"},
};

// The host's profile key and its support path value.
constexpr const wchar_t* kProfileKey = L"Software\\KcHost\\Profile";

// Builds of a module for an older host release are not loaded by this host.
bool isOlderReleaseBuild(const std::wstring& stem) {
  return stem.size() > 2 && std::iswdigit(stem[stem.size() - 1]) && std::iswdigit(stem[stem.size() - 2]);
}

void makeFolder(const std::wstring& path) {
  if (plat::getAttributes(path) != plat::INVALID_FILE_ATTRIBUTES) return;
  if (!plat::createDirectory(path)) throw std::runtime_error("cannot create folder " + plat::utf8(path));
}

void writeFile(const std::wstring& path, std::string_view bytes) {
  auto file = plat::resolveForCreate(path);
  if (!file || !plat::writeFileAtomically(*file, bytes))
    throw std::runtime_error("cannot write " + plat::utf8(path));
}

std::wstring escapeLisp(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\\' || c == L'"') out += L'\\';
    out += c;
  }
  return out;
}

// The start-up LISP: folder symbols, then each module loaded unless it already is.
std::wstring startupLisp(const InstallOptions& options, const std::vector<std::wstring>& modules) {
  std::wstring root = escapeLisp(options.root);
  std::wstring text =
      L";; KORA CAD start-up: the host runs this file in every drawing it opens.\n"
      L"(setq kdir \"" + root + L"\")\n"
      L"(defun kc:load-module (name / file)\n"
      L"  (setq file (strcat kdir \"Bin\\\\\" name \".arx\"))\n"
      L"  (if (not (member (strcase (strcat name \".arx\")) (mapcar 'strcase (arx))))\n"
      L"    (arxload file nil)))\n";
  for (const std::wstring& m : modules) text += L"(kc:load-module \"" + m + L"\")\n";
  text += L"(princ)\n";
  return text;
}

}  // namespace

std::vector<std::wstring> installedModules(const std::filesystem::path& modulesFrom) {
  std::vector<std::wstring> modules;
  std::error_code ec;
  for (auto& entry : std::filesystem::directory_iterator(modulesFrom, ec)) {
    if (entry.path().extension() != ".arx") continue;
    std::wstring stem = entry.path().stem().wstring();
    if (stem.rfind(L"kc", 0) != 0 || isOlderReleaseBuild(stem)) continue;
    modules.push_back(stem);
  }
  std::sort(modules.begin(), modules.end(), [](const std::wstring& a, const std::wstring& b) {
    if ((a == L"kcCore") != (b == L"kcCore")) return a == L"kcCore";
    return a < b;
  });
  return modules;
}

std::filesystem::path defaultMachineFolder() {
  if (const char* dir = std::getenv("KORA_MACHINE"); dir && *dir) return dir;
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data)
    return std::filesystem::path(data) / "kora-cad" / "machine";
  const char* home = std::getenv("HOME");
  return std::filesystem::path(home ? home : "/tmp") / ".local" / "share" / "kora-cad" / "machine";
}

bool isInstalled() { return plat::reg::Key::open(plat::reg::Root::LocalMachine, kMachineKey).has_value(); }

void install(const InstallOptions& options) {
  const std::wstring& root = options.root;
  std::wstring rootFolder = root.substr(0, root.size() - 1);
  makeFolder(rootFolder);
  for (const wchar_t* sub : {L"Bin", L"Support", L"System"}) makeFolder(root + sub);
  for (const FolderEntry& f : kFolders) makeFolder(root + f.folder);

  auto modules = installedModules(options.modulesFrom);
  for (const std::wstring& m : modules) {
    auto target = plat::resolveForCreate(root + L"Bin\\" + m + L".arx");
    auto source = options.modulesFrom / (m + L".arx");
    std::error_code ec;
    if (target && options.linkModules) {
      std::filesystem::remove(*target, ec);
      std::filesystem::create_symlink(std::filesystem::absolute(source), *target, ec);
    } else if (target) {
      std::filesystem::copy_file(source, *target, std::filesystem::copy_options::overwrite_existing, ec);
    }
    if (!target || ec) throw std::runtime_error("cannot install module " + plat::utf8(m));
  }
  writeFile(root + L"System\\kcad.ver", plat::utf8(options.version) + "\r\n");
  writeFile(root + L"Support\\acaddoc.lsp", plat::utf8(startupLisp(options, modules)));

  auto machine = plat::reg::Key::create(plat::reg::Root::LocalMachine, kMachineKey);
  if (!machine) throw std::runtime_error("cannot create the installation record");
  machine->setString(L"Version", options.version);
  machine->setString(L"KDIR", root);
  for (const FolderEntry& f : kFolders) machine->setString(f.value, root + f.folder + L"\\");
  machine->setString(L"OEM", options.oem);

  auto profile = plat::reg::Key::create(plat::reg::Root::CurrentUser, kProfileKey);
  if (!profile) throw std::runtime_error("cannot create the host profile");
  profile->setString(L"SupportPath", root + L"Support");
}

}  // namespace setup
