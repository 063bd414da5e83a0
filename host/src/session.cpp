// The running host: its main window, documents with their namespaces and drawings, the module
// loader, the command line, and the installation's start-up LISP run in every new drawing.
#include "host/session.h"

#include <unistd.h>

#include <cstdio>
#include <stdexcept>

#include "db/undo.h"
#include "host/document.h"
#include "host/modules.h"
#include "main_window.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/msgbox.h"
#include "platform/process.h"
#include "platform/registry.h"

namespace host {

void notifyDocumentCreated(Document& doc);
void notifyDocumentToBeDestroyed(Document& doc);
void notifyDocumentBecameCurrent(Document& doc);
void defineHostBuiltins();
std::vector<std::wstring> supportPath();

namespace {

Session* activeSession = nullptr;

// The start-up file the host runs in every drawing it opens, found on the support path.
constexpr const wchar_t* kStartupFile = L"acaddoc.lsp";

void printToStdout(std::wstring_view text) {
  std::string bytes = plat::utf8(text);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

Session::Session(SessionOptions options) : options_(std::move(options)) {
  if (activeSession) throw std::logic_error("a host session is already running");
  if (!options_.output) options_.output = printToStdout;
  activeSession = this;
  plat::setConsoleSink([this](std::wstring_view text) { print(text); });
  lisp::Interpreter::setOutput([this](std::wstring_view text) { print(text); });
  defineHostBuiltins();
  modules_ = std::make_unique<ModuleLoader>();
  mainWindow_ = std::make_unique<MainWindow>();
  newDocument();
}

Session::~Session() {
  modules_.reset();
  while (!documents_.empty()) {
    Document& doc = *documents_.back();
    notifyDocumentToBeDestroyed(doc);
    documents_.pop_back();
  }
  setCurrentDatabase(nullptr);
  interpreter_.reset();
  mainWindow_.reset();
  lisp::Interpreter::setOutput({});
  plat::setConsoleSink({});
  activeSession = nullptr;
}

Session* Session::active() { return activeSession; }

Document& Session::newDocument() {
  std::wstring folder = plat::currentDirectory();
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  wchar_t name[32];
  std::swprintf(name, 32, L"Drawing%d.dwg", ++untitledCount_);
  documents_.push_back(std::make_unique<Document>(folder + name));
  Document& doc = *documents_.back();
  SysVars& vars = doc.database().vars();
  vars.setReadOnly(L"DWGNAME", std::wstring(name));
  vars.setReadOnly(L"DWGPREFIX", folder);
  vars.setReadOnly(L"DWGTITLED", short(0));
  if (!interpreter_)
    interpreter_ = std::make_unique<lisp::Interpreter>(doc.lispNamespace());
  makeCurrent(doc);
  notifyDocumentCreated(doc);
  modules_->documentLoaded(doc);
  if (options_.runStartup) runStartup(doc);
  return doc;
}

void Session::closeDocument(Document& doc) {
  modules_->documentUnloading(doc);
  notifyDocumentToBeDestroyed(doc);
  Document* closing = &doc;
  std::erase_if(documents_, [&](auto& d) { return d.get() == closing; });
  if (documents_.empty()) {
    newDocument();
  } else if (current_ == closing) {
    current_ = nullptr;
    makeCurrent(*documents_.back());
  }
}

void Session::makeCurrent(Document& doc) {
  if (current_ == &doc) return;
  current_ = &doc;
  interpreter_->setNamespace(doc.lispNamespace());
  setCurrentDatabase(&doc.database());
  plat::PathParts parts = plat::splitPath(doc.fileName());
  mainWindow_->showDrawing(parts.name + parts.extension);
  notifyDocumentBecameCurrent(doc);
}

Document& Session::current() { return *current_; }

std::vector<Document*> Session::documents() {
  std::vector<Document*> docs;
  for (auto& d : documents_) docs.push_back(d.get());
  return docs;
}

// What one entry on the command line changed is one undo step of the drawing it leaves current.
static void endUndoStep() {
  if (Database* db = currentDatabase()) db->undo().endStep();
}

lisp::TopLevelResult Session::evaluate(std::wstring_view source) {
  lisp::TopLevelResult result = interpreter_->runTopLevel(source);
  endUndoStep();
  return result;
}

lisp::Value Session::eval(std::wstring_view source) {
  struct StepEnd {
    ~StepEnd() { endUndoStep(); }
  } stepEnd;
  return interpreter_->evalString(source);
}

lisp::Interpreter& Session::interpreter() { return *interpreter_; }

ModuleLoader& Session::modules() { return *modules_; }

plat::Window* Session::mainWindow() { return mainWindow_.get(); }

void Session::print(std::wstring_view text) { options_.output(text); }

// Finds a module file: a name with a path as given, a bare name on the support path, then beside
// the host program; ".arx" is added when the name has no extension.
static std::optional<std::filesystem::path> findModule(std::wstring name) {
  std::filesystem::path asGiven(name);
  if (!asGiven.has_extension()) name += L".arx";
  bool hasPath = name.find_first_of(L"\\/:") != std::wstring::npos;
  if (hasPath) return plat::resolve(name);
  for (const std::wstring& folder : supportPath())
    if (auto file = plat::resolve(folder + L"\\" + name)) return file;
  auto beside = plat::programFolder() / name;
  if (std::filesystem::exists(beside)) return beside;
  return std::nullopt;
}

bool Session::loadModule(std::wstring_view name) {
  auto file = findModule(std::wstring(name));
  if (!file) {
    print(L"\n找不到模組: " + std::wstring(name));
    return false;
  }
  std::wstring error;
  if (!modules_->load(*file, error)) {
    print(L"\n" + error);
    return false;
  }
  return true;
}

bool Session::unloadModule(std::wstring_view name) {
  LoadedModule* m = modules_->find(std::filesystem::path(name).filename().wstring());
  return m && modules_->unload(m);
}

void Session::runStartup(Document& doc) {
  for (const std::wstring& folder : supportPath()) {
    std::wstring file = folder + L"\\" + kStartupFile;
    if (!plat::resolve(file)) continue;
    lisp::TopLevelResult result = interpreter_->runTopLevel(L"(load \"" + [&] {
      std::wstring escaped;
      for (wchar_t c : file) escaped += c == L'\\' ? std::wstring(L"\\\\") : std::wstring(1, c);
      return escaped;
    }() + L"\")");
    if (result.failed) print(L"\n; error: " + result.message);
    return;
  }
}

}  // namespace host
