// kcCore's file and folder operations over the platform's Windows paths. Every failure is silent;
// files are replaced whole through the platform's atomic write.
#include "file_functions.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/codepage.h"
#include "platform/files.h"

namespace core {

namespace {

constexpr std::size_t kMaxCurrentFolder = 259;  // a 260-character buffer with its terminator
constexpr std::size_t kReadLength = 255;  // fl_len reads into a 256-character buffer

// The whole content of a file opened for reading; nothing when it cannot be opened.
std::optional<std::string> readBytes(std::wstring_view path) {
  std::FILE* file = plat::openFile(path, L"rb");
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return std::nullopt;
  return bytes;
}

// True when `path` names something that may be replaced by a new file: nothing yet, or a file
// that is neither a folder nor read-only.
bool replaceable(std::wstring_view path) {
  std::uint32_t attributes = plat::getAttributes(path);
  return attributes == plat::INVALID_FILE_ATTRIBUTES ||
         !(attributes & (plat::FILE_ATTRIBUTE_DIRECTORY | plat::FILE_ATTRIBUTE_READONLY));
}

// Replaces (or creates) the file at a Windows path with `bytes`, keeping the old file's DOS
// attributes; false when it cannot be written.
bool replaceFile(std::wstring_view path, std::string_view bytes) {
  auto host = plat::resolveForCreate(path);
  if (!host || !replaceable(path)) return false;
  std::uint32_t attributes = plat::getAttributes(path);
  if (!plat::writeFileAtomically(*host, bytes)) return false;
  if (attributes != plat::INVALID_FILE_ATTRIBUTES) plat::setAttributes(path, attributes);
  return true;
}

// True when both paths name one existing file (the same name in another case, say).
bool sameFile(std::wstring_view a, std::wstring_view b) {
  auto first = plat::resolve(a), second = plat::resolve(b);
  std::error_code ec;
  return first && second && std::filesystem::equivalent(*first, *second, ec);
}

bool isDots(const std::wstring& name) { return name == L"." || name == L".."; }

}  // namespace

void backUpDrawing(std::wstring_view path) {
  std::wstring base(path);
  if (base.find(L'.') != std::wstring::npos) {
    if (base.size() < 4) return;  // nothing is left to name a drawing
    base.resize(base.size() - 4);
  }
  std::wstring drawing = base + L".DWG", backup = base + L".BAK";
  std::FILE* file = plat::openFile(drawing, L"r");
  if (!file) return;
  std::fclose(file);
  plat::deleteFile(backup);
  plat::moveFile(drawing, backup);
}

void renameReplacing(std::wstring_view from, std::wstring_view to) {
  // A missing source would only cost the target; the same file under another name is a rename.
  if (!plat::resolve(from)) return;
  if (!sameFile(from, to)) plat::deleteFile(to);
  plat::moveFile(from, to);
}

void copyBytes(std::wstring_view from, std::wstring_view to) {
  if (auto bytes = readBytes(from)) replaceFile(to, *bytes);
}

std::optional<std::wstring> currentFolder() {
  std::wstring folder = plat::currentDirectory();
  if (folder.size() > kMaxCurrentFolder) return std::nullopt;
  return folder;
}

std::wstring fileListText(const std::vector<std::wstring>& names) {
  std::wstring text = L"(";
  for (const auto& name : names) text += L"\"" + name + L"\"";
  return text + L")";
}

std::vector<std::wstring> matchingNames(std::wstring_view pattern) {
  std::vector<std::wstring> names;
  for (auto& entry : plat::findFiles(pattern)) names.push_back(std::move(entry.name));
  return names;
}

std::optional<int> writeFileList(std::wstring_view resultFile, std::wstring_view pattern) {
  std::vector<std::wstring> names = matchingNames(pattern);
  if (!replaceFile(resultFile, plat::fromWide(plat::CP_ACP, fileListText(names)))) return std::nullopt;
  return static_cast<int>(names.size());
}

std::vector<std::wstring> subfolders(std::wstring_view folder) {
  std::wstring pattern(folder);
  if (pattern.empty() || pattern.back() != L'\\') pattern += L'\\';
  pattern += L"*.*";
  std::vector<std::wstring> names;
  for (auto& entry : plat::findFiles(pattern))
    if ((entry.attributes & plat::FILE_ATTRIBUTE_DIRECTORY) && !isDots(entry.name))
      names.push_back(std::move(entry.name));
  return names;
}

void changeDriveAndFolder(std::wstring_view path) {
  if (path.empty() || !plat::setCurrentDrive(path[0])) return;
  if (path.size() > 2) plat::setCurrentDirectory(path.substr(2));
}

void makeFolderOnDrive(std::wstring_view path) {
  wchar_t previous = plat::currentDrive();
  if (path.empty() || !plat::setCurrentDrive(path[0])) return;
  if (path.size() > 2) plat::createDirectory(path.substr(2));
  plat::setCurrentDrive(previous);
}

void hideFile(std::wstring_view path) {
  std::uint32_t attributes = plat::getAttributes(path);
  if (attributes != plat::INVALID_FILE_ATTRIBUTES)
    plat::setAttributes(path, attributes | plat::FILE_ATTRIBUTE_HIDDEN);
}

double modificationStamp(std::wstring_view path) {
  auto info = plat::fileInfo(path);
  std::tm local{};
  if (!info || !localtime_r(&info->lastWrite, &local)) return 0.0;
  char text[32];
  std::size_t length = std::strftime(text, sizeof text, "%y%m%d.%H%M%S", &local);
  double stamp = 0.0;
  std::from_chars(text, text + length, stamp);
  return stamp;
}

int countLineReads(std::wstring_view path) {
  auto bytes = readBytes(path);
  if (!bytes) return 0;
  std::wstring text = plat::toWide(plat::CP_ACP, *bytes);
  // Text mode reads a carriage return before a line feed as nothing.
  std::wstring lines;
  lines.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i)
    if (text[i] != L'\r' || i + 1 == text.size() || text[i + 1] != L'\n') lines += text[i];
  int reads = 0;
  for (std::size_t at = 0; at < lines.size(); ++reads) {
    std::size_t end = std::min(at + kReadLength, lines.size());
    std::size_t feed = lines.find(L'\n', at);
    at = feed != std::wstring::npos && feed < end ? feed + 1 : end;
  }
  return reads;
}

}  // namespace core
