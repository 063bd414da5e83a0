// Windows paths over the machine's drive folders: full-path completion from the current drive and
// its current folder, and case-insensitive resolution of every component to a host file, the way
// NTFS matches names (an exact match wins when several host entries differ only in case).
#include <algorithm>
#include <cwctype>
#include <map>

#include "internal.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/machine.h"

namespace plat {

namespace fs = std::filesystem;

namespace {

struct PathState {
  wchar_t drive = L'C';
  std::map<wchar_t, std::wstring> current;  // full paths, no trailing separator except at a root
};

PathState& state() {
  static PathState s;
  return s;
}

bool isDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
wchar_t upperDrive(wchar_t c) { return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c))); }

bool hasDrive(std::wstring_view p) { return p.size() >= 2 && p[1] == L':' && isDriveLetter(p[0]); }
bool isUnc(std::wstring_view p) { return p.size() >= 2 && p[0] == L'\\' && p[1] == L'\\'; }

// A component as Windows keeps it: trailing dots and spaces dropped ("name." is "name").
std::wstring_view trimComponent(std::wstring_view c) {
  if (c == L"." || c == L"..") return c;
  while (!c.empty() && (c.back() == L'.' || c.back() == L' ')) c.remove_suffix(1);
  return c;
}

// The components after "X:\" of a full path.
std::vector<std::wstring> components(std::wstring_view full) {
  std::vector<std::wstring> parts;
  std::wstring_view rest = full.substr(3);
  for (std::size_t start = 0; start < rest.size();) {
    std::size_t end = rest.find(L'\\', start);
    if (end == std::wstring_view::npos) end = rest.size();
    if (end > start) parts.emplace_back(rest.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// True when a name can be created on NTFS.
bool validName(std::wstring_view name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  for (wchar_t c : name)
    if (c < 32 || std::wstring_view(L"<>:\"|?*").find(c) != std::wstring_view::npos) return false;
  return true;
}

bool isFolder(const fs::path& p) {
  std::error_code ec;
  return fs::is_directory(p, ec);
}

}  // namespace

void detail::resetPaths() { state() = PathState{}; }

std::optional<fs::path> detail::findEntry(const fs::path& folder, std::wstring_view name) {
  std::error_code ec;
  fs::path exact = folder / utf8(name);
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  std::wstring wanted = upperCase(name);
  std::optional<fs::path> best;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    fs::path file = entry.path().filename();
    if (upperCase(fromUtf8(file.string())) != wanted) continue;
    if (!best || file.string() < best->filename().string()) best = entry.path();
  }
  return best;
}

std::wstring fullPath(std::wstring_view path) {
  std::wstring p(path);
  std::replace(p.begin(), p.end(), L'/', L'\\');
  if (isUnc(p)) return p;  // network paths are not resolved on this machine
  if (p.empty()) return currentDirectory();
  wchar_t drive = state().drive;
  std::wstring rest;
  if (hasDrive(p)) {
    drive = upperDrive(p[0]);
    rest = p.substr(2);
    if (rest.empty() || rest[0] != L'\\') rest = currentDirectoryOf(drive).substr(2) + L"\\" + rest;
  } else if (p[0] == L'\\') {
    rest = p;
  } else {
    rest = currentDirectoryOf(drive).substr(2) + L"\\" + p;
  }
  std::vector<std::wstring> parts;
  for (std::size_t start = 0; start <= rest.size();) {
    std::size_t end = rest.find(L'\\', start);
    if (end == std::wstring::npos) end = rest.size();
    std::wstring_view part = trimComponent(std::wstring_view(rest).substr(start, end - start));
    if (part == L"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != L".") {
      parts.emplace_back(part);
    }
    start = end + 1;
  }
  std::wstring full{drive, L':', L'\\'};
  for (std::size_t i = 0; i < parts.size(); ++i) full += (i ? L"\\" : L"") + parts[i];
  if (!parts.empty() && p.back() == L'\\') full += L'\\';
  return full;
}

std::optional<fs::path> resolve(std::wstring_view path) {
  if (path.empty() || !machineOpen()) return std::nullopt;
  std::wstring full = fullPath(path);
  if (isUnc(full)) return std::nullopt;
  fs::path host = driveFolder(full[0]);
  if (!isFolder(host)) return std::nullopt;
  for (const auto& part : components(full)) {
    if (!isFolder(host)) return std::nullopt;
    auto entry = detail::findEntry(host, part);
    if (!entry) return std::nullopt;
    host = *entry;
  }
  if (full.back() == L'\\' && !isFolder(host)) return std::nullopt;
  return host;
}

std::optional<fs::path> resolveForCreate(std::wstring_view path) {
  if (path.empty() || !machineOpen()) return std::nullopt;
  std::wstring full = fullPath(path);
  if (isUnc(full)) return std::nullopt;
  auto parts = components(full);
  if (parts.empty()) return resolve(full);
  std::wstring parentPath = full.substr(0, 3);
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) parentPath += parts[i] + L"\\";
  auto parent = resolve(parentPath);
  if (!parent || !validName(parts.back())) return std::nullopt;
  if (auto existing = detail::findEntry(*parent, parts.back())) return existing;
  return *parent / utf8(parts.back());
}

std::optional<std::wstring> windowsPath(const fs::path& hostFile) {
  if (!machineOpen()) return std::nullopt;
  std::error_code ec;
  fs::path rel = fs::absolute(hostFile, ec).lexically_normal().lexically_relative(machineRoot());
  if (rel.empty() || *rel.begin() == "..")
    rel = fs::weakly_canonical(hostFile, ec).lexically_relative(fs::weakly_canonical(machineRoot(), ec));
  auto it = rel.begin();
  if (rel.empty() || it == rel.end()) return std::nullopt;
  std::string drive = it->string();
  if (drive.size() != 7 || drive.rfind("drive_", 0) != 0 || drive[6] < 'a' || drive[6] > 'z')
    return std::nullopt;
  std::wstring out{static_cast<wchar_t>(drive[6] - 'a' + 'A'), L':', L'\\'};
  bool first = true;
  for (++it; it != rel.end(); ++it) {
    if (it->empty() || *it == ".") continue;
    out += (first ? L"" : L"\\") + fromUtf8(it->string());
    first = false;
  }
  return out;
}

wchar_t currentDrive() { return state().drive; }

std::wstring currentDirectory() { return currentDirectoryOf(state().drive); }

std::wstring currentDirectoryOf(wchar_t drive) {
  drive = upperDrive(drive);
  auto it = state().current.find(drive);
  return it != state().current.end() ? it->second : std::wstring{drive, L':', L'\\'};
}

bool setCurrentDrive(wchar_t drive) {
  if (!isDriveLetter(drive) || !machineOpen() || !isFolder(driveFolder(upperDrive(drive)))) return false;
  state().drive = upperDrive(drive);
  return true;
}

PathParts splitPath(std::wstring_view path) {
  PathParts parts;
  if (path.size() >= 2 && path[1] == L':') {
    parts.drive = path.substr(0, 2);
    path.remove_prefix(2);
  }
  if (std::size_t slash = path.find_last_of(L"\\/"); slash != std::wstring_view::npos) {
    parts.folder = path.substr(0, slash + 1);
    path.remove_prefix(slash + 1);
  }
  if (std::size_t dot = path.rfind(L'.'); dot != std::wstring_view::npos) {
    parts.extension = path.substr(dot);
    path.remove_suffix(path.size() - dot);
  }
  parts.name = path;
  return parts;
}

bool setCurrentDirectory(std::wstring_view path) {
  std::wstring full = fullPath(path);
  if (isUnc(full)) return false;
  auto host = resolve(full);
  if (!host || !isFolder(*host)) return false;
  if (full.size() > 3 && full.back() == L'\\') full.pop_back();
  state().drive = full[0];
  state().current[full[0]] = full;
  return true;
}

}  // namespace plat
