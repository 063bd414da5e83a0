// kcCore's LISP file and folder functions: each checks its arguments by type and calls the file
// model. A missing or wrongly typed argument gives nil and does nothing. A path longer than the
// function's buffer holds is refused the same way: acting on a cut path would touch another file.
#include "file_handlers.h"

#include "file_functions.h"
#include "frame/args.h"
#include "lisp_results.h"
#include "platform/files.h"

namespace core::fn {

namespace {

constexpr std::size_t kPathBuffer = 255;  // characters a 256-character path buffer holds
constexpr std::size_t kDrawingPathBuffer = 251;  // leaves room for ".DWG" in the same buffer

// The next argument as a path of at most `limit` characters; nothing otherwise.
std::optional<std::wstring> takePath(kc::Args& in, std::size_t limit = kPathBuffer) {
  auto path = in.takeString();
  if (!path || path->size() > limit) return std::nullopt;
  return path;
}

// The result file of flist: "KCAD.OUT" in the defaults folder that the LISP symbol kdef holds;
// nothing when kdef is not a string.
std::optional<std::wstring> resultFile() {
  resbuf* value = nullptr;
  std::optional<std::wstring> file;
  if (acedGetSym(L"kdef", &value) == RTNORM && value && value->restype == RTSTR)
    file = std::wstring(value->resval.rstring) + L"KCAD.OUT";
  acutRelRb(value);
  return file;
}

// Runs a model step on the call's one path argument; the LISP result stays nil.
template <typename Step>
int onPath(resbuf* args, Step step, std::size_t limit = kPathBuffer) {
  kc::Args in(args);
  if (auto path = takePath(in, limit)) step(*path);
  return RTNORM;
}

}  // namespace

int dwg2bak(resbuf* args) { return onPath(args, backUpDrawing, kDrawingPathBuffer); }

int fremove(resbuf* args) {
  return onPath(args, [](const std::wstring& path) { plat::deleteFile(path); });
}

int frename(resbuf* args) {
  kc::Args in(args);
  auto from = takePath(in), to = takePath(in);
  if (from && to) renameReplacing(*from, *to);
  return RTNORM;
}

int fcopy(resbuf* args) {
  kc::Args in(args);
  auto from = takePath(in), to = takePath(in);
  if (from && to) copyBytes(*from, *to);
  return RTNORM;
}

int cwd(resbuf*) {
  if (auto folder = currentFolder()) acedRetStr(folder->c_str());
  return RTNORM;
}

int flist(resbuf* args) {
  kc::Args in(args);
  auto pattern = takePath(in);
  auto file = resultFile();
  if (!pattern || !file) return RTNORM;
  if (auto written = writeFileList(*file, *pattern)) acedRetInt(*written);
  return RTNORM;
}

int dlist(resbuf* args) {
  kc::Args in(args);
  if (auto folder = takePath(in)) returnStringList(subfolders(*folder));
  return RTNORM;
}

int sltpath(resbuf* args) {
  kc::Args in(args);
  auto path = takePath(in);
  if (!path) return RTNORM;
  plat::PathParts parts = plat::splitPath(*path);
  returnStringList({parts.drive, parts.folder, parts.name, parts.extension});
  return RTNORM;
}

int cdd(resbuf* args) { return onPath(args, changeDriveAndFolder); }

int md(resbuf* args) { return onPath(args, makeFolderOnDrive); }

int fhid(resbuf* args) { return onPath(args, hideFile); }

int ftime(resbuf* args) {
  kc::Args in(args);
  if (auto path = takePath(in)) acedRetReal(modificationStamp(*path));
  return RTNORM;
}

int fl_len(resbuf* args) {
  kc::Args in(args);
  if (auto path = takePath(in)) acedRetInt(countLineReads(*path));
  return RTNORM;
}

}  // namespace core::fn
