// The module loader: loads a module's shared library, sends it the application messages, keeps
// the LISP functions it defines in each document, and runs a LISP call of one of them by sending
// the module its function code. Calls nest: a handler may call another module through acedInvoke.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/ads.h"
#include "host/rxapp.h"
#include "lisp/value.h"

namespace host {

class Document;

struct LoadedModule {
  std::wstring name;  // file name with extension, as loaded: "kcSection.arx"
  std::filesystem::path file;
  void* library = nullptr;
  AcRxEntryPointFn entry = nullptr;
  int apiVersion = 0;
  bool locked = true;  // until the module unlocks itself
  bool mdiAware = false;
  // The LISP functions it defined, in the order it defined them, with their function codes.
  std::vector<std::pair<std::wstring, int>> functions;
};

class ModuleLoader {
 public:
  ModuleLoader();
  ~ModuleLoader();  // unloads every module, in reverse order

  // Loads a library file: init message, then document load in every open document. Returns the
  // module, or null with `error` set.
  LoadedModule* load(const std::filesystem::path& file, std::wstring& error);
  bool unload(LoadedModule* module);
  LoadedModule* find(std::wstring_view name) const;  // by file name, with or without extension
  const std::vector<std::unique_ptr<LoadedModule>>& loaded() const { return modules_; }

  // Sends the document-load message of every module for a new document (which is current).
  void documentLoaded(Document& doc);
  void documentUnloading(Document& doc);

  // Runs a call of a module's function as LISP makes it: the module gets the LISP-call message
  // with this function code and these arguments, and the value it set is returned.
  lisp::Value call(LoadedModule* module, int funcode, std::span<const lisp::Value> args);

  // Sends a message to a module, making it the module whose requests (acedDefun) are served.
  void send(LoadedModule* module, AcRx::AppMsgCode msg);

  // For the bridge functions: the module being messaged, the call being served.
  LoadedModule* messaging() const;
  struct CallFrame {
    LoadedModule* module;
    int funcode;
    const resbuf* args;
    lisp::Value result;
  };
  CallFrame* currentCall();

 private:
  std::vector<std::unique_ptr<LoadedModule>> modules_;
  std::vector<LoadedModule*> messaging_;
  std::vector<CallFrame*> calls_;
};

}  // namespace host
