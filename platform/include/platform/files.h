// Windows paths on the machine's drive folders. "C:\KORA_CAD\Pop\rtmain.POP" and
// "c:/kora_cad/pop/RTMAIN.pop" name the same file: every component is resolved without regard to
// case, as on NTFS. The process has a current drive and a current folder per drive; relative paths
// start there. Folder enumeration applies Windows wildcards and returns NTFS order (ordinal order
// of the upper-cased names). DOS attributes live in the user.DOSATTRIB extended attribute, with
// read-only also reflected in the write bits.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

constexpr std::uint32_t FILE_ATTRIBUTE_READONLY = 0x01;
constexpr std::uint32_t FILE_ATTRIBUTE_HIDDEN = 0x02;
constexpr std::uint32_t FILE_ATTRIBUTE_SYSTEM = 0x04;
constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr std::uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr std::uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// The absolute Windows form of a path: drive letter upper-cased, "/" turned into "\", "." and ".."
// collapsed, relative paths completed from the current drive and its current folder.
std::wstring fullPath(std::wstring_view path);

// The host file of an existing file or folder; nullopt when a component is missing.
std::optional<std::filesystem::path> resolve(std::wstring_view path);
// The host file a new file or folder of this path gets: existing components resolved without
// regard to case, the last one kept as written. nullopt when the parent folder is missing.
std::optional<std::filesystem::path> resolveForCreate(std::wstring_view path);
// The Windows path of a host file inside a drive folder; nullopt for a file outside the drives.
std::optional<std::wstring> windowsPath(const std::filesystem::path& hostFile);

// _wfopen: modes as the C library's ("r", "w+b", "ab", ...). Creating modes resolve for create.
// Opening a read-only file for writing fails.
std::FILE* openFile(std::wstring_view path, std::wstring_view mode);

wchar_t currentDrive();
std::wstring currentDirectory();  // of the current drive, e.g. L"C:\\KORA_CAD"
std::wstring currentDirectoryOf(wchar_t drive);
bool setCurrentDirectory(std::wstring_view path);  // also makes its drive current; false if missing
// _chdrive: makes a drive current, with the current folder it last had; false for a drive the
// machine lacks (no drive folder).
bool setCurrentDrive(wchar_t drive);

// _wsplitpath: drive ("C:"), folder up to its last separator (separators as written), name, and
// extension from the name's last dot; a missing part is empty. Nothing is resolved.
struct PathParts {
  std::wstring drive, folder, name, extension;
};
PathParts splitPath(std::wstring_view path);

struct FindData {
  std::wstring name;
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
  std::time_t lastWrite = 0;
  std::time_t created = 0;
  std::time_t lastAccess = 0;
};
// FindFirstFile/FindNextFile: the last component may hold the wildcards * and ?, with Windows rules
// ("*.*" matches every name, also names without a dot). "." and ".." are listed for a folder's
// contents as on Windows. NTFS order.
std::vector<FindData> findFiles(std::wstring_view pattern);

std::uint32_t getAttributes(std::wstring_view path);  // INVALID_FILE_ATTRIBUTES when missing
bool setAttributes(std::wstring_view path, std::uint32_t attributes);
bool createDirectory(std::wstring_view path);  // the parent must exist
bool removeDirectory(std::wstring_view path);  // empty folders only
bool deleteFile(std::wstring_view path);  // fails on read-only files
bool moveFile(std::wstring_view from, std::wstring_view to);  // fails when `to` exists
bool copyFile(std::wstring_view from, std::wstring_view to, bool failIfExists);
std::optional<FindData> fileInfo(std::wstring_view path);

// Writes a whole file so that a crash mid-write leaves the old file intact (temporary file, then
// rename). For host paths, used by the platform itself and by tools.
bool writeFileAtomically(const std::filesystem::path& hostFile, std::string_view bytes);

}  // namespace plat
