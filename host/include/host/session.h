// The running host: its main window, documents, loaded modules and command line, for the kchost program, the
// tests and the benchmarks. One session exists at a time in a process; the module-facing API
// (ads.h, acdb.h, docman.h, rxapp.h) works on it.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lisp/interpreter.h"

class AcApDocument;

namespace plat {
class Window;
}

namespace host {

class Document;
class MainWindow;
class ModuleLoader;
struct LoadedModule;

struct SessionOptions {
  // The command line: everything acutPrintf, princ and unanswered message boxes print.
  std::function<void(std::wstring_view)> output;
  // Run the installation's start-up LISP ("acaddoc.lsp" on the support path) in every new drawing.
  bool runStartup = true;
};

class Session {
 public:
  // The platform's machine must be open (plat::openMachine) before a session starts. The session
  // opens one new drawing.
  explicit Session(SessionOptions options = {});
  ~Session();  // unloads every module, closes every document
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  static Session* active();

  // Documents.
  Document& newDocument();
  void closeDocument(Document& doc);
  void makeCurrent(Document& doc);
  Document& current();
  std::vector<Document*> documents();

  // LISP in the current document. `evaluate` is the command line: errors go to *error* and come
  // back as a failed result; `eval` throws lisp::Error.
  lisp::TopLevelResult evaluate(std::wstring_view source);
  lisp::Value eval(std::wstring_view source);
  lisp::Interpreter& interpreter();

  // Modules: a name with a path, or a bare name looked up on the support path and beside the
  // host program. Errors come back as false with a message on the command line.
  bool loadModule(std::wstring_view name);
  bool unloadModule(std::wstring_view name);
  ModuleLoader& modules();

  // The host's main window, titled with the current drawing; it owns the dialogs modules open.
  plat::Window* mainWindow();

  // The command line.
  void print(std::wstring_view text);
  // The host error reports acdbFail made, for tests.
  const std::vector<std::wstring>& failures() const { return failures_; }
  void addFailure(std::wstring message) { failures_.push_back(std::move(message)); }

 private:
  void runStartup(Document& doc);

  SessionOptions options_;
  std::unique_ptr<MainWindow> mainWindow_;
  std::vector<std::unique_ptr<Document>> documents_;
  Document* current_ = nullptr;
  std::unique_ptr<ModuleLoader> modules_;
  std::unique_ptr<lisp::Interpreter> interpreter_;
  std::vector<std::wstring> failures_;
  int untitledCount_ = 0;
};


}  // namespace host
