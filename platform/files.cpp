// File operations on Windows paths, with the Windows rules kept: DOS attributes in the
// user.DOSATTRIB extended attribute (as Wine and Samba keep them) and read-only mirrored in the
// write bits; read-only files refuse writing and deletion; enumeration with DOS wildcard semantics
// in NTFS order, "." and ".." first for every folder but a drive's root.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "internal.h"
#include "platform/codepage.h"
#include "platform/files.h"

namespace plat {

namespace fs = std::filesystem;

namespace {

constexpr char dosAttribXattr[] = "user.DOSATTRIB";
constexpr std::uint32_t storedAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
constexpr mode_t writeBits = S_IWUSR | S_IWGRP | S_IWOTH;

std::time_t seconds(const struct statx_timestamp& t) { return static_cast<std::time_t>(t.tv_sec); }

// The attributes Windows reports for a host file: the stored DOS bits (ARCHIVE for a file that
// has none stored), READONLY when the write bits are gone, DIRECTORY for folders, NORMAL for none.
std::uint32_t attributesOf(const fs::path& host, bool isFolder, mode_t mode) {
  std::uint32_t attributes = isFolder ? 0 : FILE_ATTRIBUTE_ARCHIVE;
  char text[256];
  ssize_t n = ::getxattr(host.c_str(), dosAttribXattr, text, sizeof text - 1);
  if (n > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text[n] = 0;
    attributes = static_cast<std::uint32_t>(std::strtoul(text + 2, nullptr, 16)) & storedAttributes;
  }
  if (!isFolder && !(mode & S_IWUSR)) attributes |= FILE_ATTRIBUTE_READONLY;
  if (isFolder) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

std::optional<FindData> describe(const fs::path& host, std::wstring name) {
  struct statx st {};
  if (::statx(AT_FDCWD, host.c_str(), 0, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
    return std::nullopt;
  bool isFolder = S_ISDIR(st.stx_mode);
  FindData data;
  data.name = std::move(name);
  data.attributes = attributesOf(host, isFolder, st.stx_mode);
  data.size = isFolder ? 0 : st.stx_size;
  data.lastWrite = seconds(st.stx_mtime);
  data.lastAccess = seconds(st.stx_atime);
  data.created = seconds((st.stx_mask & STATX_BTIME) ? st.stx_btime : st.stx_mtime);
  return data;
}

bool isFolder(const fs::path& host) {
  std::error_code ec;
  return fs::is_directory(host, ec);
}

bool isReadOnly(const fs::path& host) {
  struct stat st {};
  return ::stat(host.c_str(), &st) == 0 &&
         (attributesOf(host, S_ISDIR(st.st_mode), st.st_mode) & FILE_ATTRIBUTE_READONLY);
}

// Stores DOS attributes on a host file; read-only also clears the write bits of a file (folders
// keep theirs: Windows ignores read-only on folders for their contents).
bool storeAttributes(const fs::path& host, std::uint32_t attributes) {
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0) return false;
  attributes &= storedAttributes;
  bool folder = S_ISDIR(st.st_mode);
  mode_t writable = st.st_mode | S_IWUSR;
  // Changing a user attribute needs write permission, so the file is writable meanwhile.
  if (!folder && ::chmod(host.c_str(), writable & 07777) != 0) return false;
  char text[16];
  int length = std::snprintf(text, sizeof text, "0x%x", attributes);
  bool stored = ::setxattr(host.c_str(), dosAttribXattr, text, static_cast<std::size_t>(length), 0) == 0 ||
                errno == ENOTSUP;  // a file system without extended attributes keeps the write bits
  if (!folder) {
    mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) ? writable & ~writeBits : writable;
    if (::chmod(host.c_str(), mode & 07777) != 0) return false;
  }
  return stored;
}

// ---- wildcards ----

// A pattern character after Windows' DOS translation.
enum class Wild { Literal, Star, DosStar, DosQm, DosDot };
struct PatternChar {
  Wild kind;
  wchar_t c;
};

// Translates a pattern as FindFirstFile does: "?" matches one character but none at a dot or the
// end; "*" before a dot stops at the name's last dot; a dot before a wildcard or at the end also
// matches the end of the name. Thus "*.*" matches every name and "*." names without extension.
std::vector<PatternChar> translate(std::wstring_view pattern) {
  std::wstring upper = upperCase(pattern);
  std::vector<PatternChar> out;
  for (std::size_t i = 0; i < upper.size(); ++i) {
    wchar_t c = upper[i], next = i + 1 < upper.size() ? upper[i + 1] : 0;
    if (c == L'?') out.push_back({Wild::DosQm, c});
    else if (c == L'*') out.push_back({next == L'.' ? Wild::DosStar : Wild::Star, c});
    else if (c == L'.' && (next == 0 || next == L'?' || next == L'*')) out.push_back({Wild::DosDot, c});
    else out.push_back({Wild::Literal, c});
  }
  return out;
}

bool matches(const std::vector<PatternChar>& pattern, std::wstring_view nameIn) {
  std::wstring name = upperCase(nameIn);
  const std::size_t P = pattern.size(), N = name.size();
  const std::size_t lastDot = name.rfind(L'.');
  // memo[p * (N + 1) + n]: 0 unknown, 1 no, 2 yes.
  std::vector<char> memo((P + 1) * (N + 1), 0);
  auto match = [&](auto& self, std::size_t p, std::size_t n) -> bool {
    if (p == P) return n == N;
    char& known = memo[p * (N + 1) + n];
    if (known) return known == 2;
    const PatternChar& pc = pattern[p];
    bool result = false;
    switch (pc.kind) {
      case Wild::Star:
        result = self(self, p + 1, n) || (n < N && self(self, p, n + 1));
        break;
      case Wild::DosStar:
        result = self(self, p + 1, n) || (n < N && n != lastDot && self(self, p, n + 1));
        break;
      case Wild::DosQm:
        result = (n == N || name[n] == L'.') ? self(self, p + 1, n) : self(self, p + 1, n + 1);
        break;
      case Wild::DosDot:
        result = n == N ? self(self, p + 1, n) : (name[n] == L'.' && self(self, p + 1, n + 1));
        break;
      case Wild::Literal:
        result = n < N && name[n] == pc.c && self(self, p + 1, n + 1);
        break;
    }
    known = result ? 2 : 1;
    return result;
  };
  return match(match, 0, 0);
}

}  // namespace

std::vector<FindData> findFiles(std::wstring_view patternPath) {
  std::wstring path(patternPath);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  std::size_t split = path.rfind(L'\\');
  if (split == std::wstring::npos && path.size() >= 2 && path[1] == L':') split = 1;
  std::wstring folder = split == std::wstring::npos ? L"" : path.substr(0, split + 1);
  std::wstring pattern = split == std::wstring::npos ? path : path.substr(split + 1);
  auto host = resolve(fullPath(folder));
  if (pattern.empty() || !host || !isFolder(*host)) return {};
  auto wild = translate(pattern);

  std::vector<FindData> found;
  if (fullPath(folder).size() > 3) {  // a drive's root has no "." and ".."
    for (auto [name, dir] : {std::pair{L".", *host}, std::pair{L"..", host->parent_path()}})
      if (matches(wild, name))
        if (auto data = describe(dir, name)) found.push_back(*data);
  }
  std::size_t dots = found.size();
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(*host, ec)) {
    std::wstring name = fromUtf8(entry.path().filename().string());
    if (matches(wild, name))
      if (auto data = describe(entry.path(), name)) found.push_back(std::move(*data));
  }
  std::sort(found.begin() + static_cast<std::ptrdiff_t>(dots), found.end(),
            [](const FindData& a, const FindData& b) {
              int c = compareNoCase(a.name, b.name);
              return c != 0 ? c < 0 : a.name < b.name;
            });
  return found;
}

std::optional<FindData> fileInfo(std::wstring_view path) {
  auto host = resolve(path);
  if (!host) return std::nullopt;
  return describe(*host, fromUtf8(host->filename().string()));
}

std::uint32_t getAttributes(std::wstring_view path) {
  auto info = fileInfo(path);
  return info ? info->attributes : INVALID_FILE_ATTRIBUTES;
}

bool setAttributes(std::wstring_view path, std::uint32_t attributes) {
  auto host = resolve(path);
  return host && storeAttributes(*host, attributes);
}

std::FILE* openFile(std::wstring_view path, std::wstring_view mode) {
  if (mode.empty() || std::wstring_view(L"rwa").find(mode[0]) == std::wstring_view::npos ||
      path.empty() || path.back() == L'\\' || path.back() == L'/') {
    errno = EINVAL;
    return nullptr;
  }
  bool update = mode.substr(0, mode.find(L',')).find(L'+') != std::wstring_view::npos;
  bool reading = mode[0] == L'r';
  auto host = reading ? resolve(path) : resolveForCreate(path);
  if (!host) {
    errno = ENOENT;
    return nullptr;
  }
  struct stat st {};
  if (::stat(host->c_str(), &st) == 0) {
    bool folder = S_ISDIR(st.st_mode);
    if (folder || ((!reading || update) && (attributesOf(*host, folder, st.st_mode) & FILE_ATTRIBUTE_READONLY))) {
      errno = EACCES;
      return nullptr;
    }
  }
  std::string hostMode(1, static_cast<char>(mode[0]));
  if (update) hostMode += '+';
  return std::fopen(host->c_str(), (hostMode + "e").c_str());  // e: close on exec
}

bool createDirectory(std::wstring_view path) {
  auto host = resolveForCreate(path);
  std::error_code ec;
  return host && !fs::exists(fs::symlink_status(*host, ec)) && ::mkdir(host->c_str(), 0777) == 0;
}

bool removeDirectory(std::wstring_view path) {
  if (fullPath(path).size() <= 3) return false;  // a drive's root stays
  auto host = resolve(path);
  return host && isFolder(*host) && !isReadOnly(*host) && ::rmdir(host->c_str()) == 0;
}

bool deleteFile(std::wstring_view path) {
  auto host = resolve(path);
  return host && !isFolder(*host) && !isReadOnly(*host) && ::unlink(host->c_str()) == 0;
}

bool moveFile(std::wstring_view from, std::wstring_view to) {
  auto source = resolve(from);
  auto target = resolveForCreate(to);
  if (!source || !target) return false;
  std::error_code ec;
  if (fs::exists(fs::symlink_status(*target, ec))) {
    if (!fs::equivalent(*source, *target, ec)) return false;
    // The same file under another case: a rename to the name as written.
    std::wstring full = fullPath(to);
    if (full.back() == L'\\') full.pop_back();
    target = target->parent_path() / utf8(full.substr(full.rfind(L'\\') + 1));
  }
  return ::rename(source->c_str(), target->c_str()) == 0;
}

bool copyFile(std::wstring_view from, std::wstring_view to, bool failIfExists) {
  auto source = resolve(from);
  auto target = resolveForCreate(to);
  if (!source || !target || isFolder(*source)) return false;
  std::error_code ec;
  if (fs::exists(fs::symlink_status(*target, ec))) {
    if (failIfExists || isFolder(*target) || isReadOnly(*target) || fs::equivalent(*source, *target, ec))
      return false;
  }
  std::uint32_t attributes = getAttributes(from);
  struct stat st {};
  if (::stat(source->c_str(), &st) != 0) return false;
  if (fs::exists(*target, ec)) ::chmod(target->c_str(), (st.st_mode | S_IWUSR) & 07777);
  if (!fs::copy_file(*source, *target, fs::copy_options::overwrite_existing, ec)) return false;
  // As CopyFile: the copy keeps the attributes (gaining ARCHIVE) and the last write time.
  struct timespec times[2] = {st.st_atim, st.st_mtim};
  ::utimensat(AT_FDCWD, target->c_str(), times, 0);
  return storeAttributes(*target, attributes | FILE_ATTRIBUTE_ARCHIVE);
}

}  // namespace plat
