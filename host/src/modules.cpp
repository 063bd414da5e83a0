// Loading modules and serving their requests: the dynamic linker, acedDefun and the other LISP
// bridge functions, and acedInvoke between modules and LISP.
#include "host/modules.h"

#include <dlfcn.h>

#include <algorithm>
#include <cwctype>

#include "host/bridge.h"
#include "host/document.h"
#include "host/session.h"
#include "platform/codepage.h"

namespace host {

namespace {

bool sameFileName(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}

std::wstring stem(std::wstring_view name) {
  auto dot = name.rfind(L'.');
  return std::wstring(dot == std::wstring_view::npos ? name : name.substr(0, dot));
}

ModuleLoader& loader() { return Session::active()->modules(); }

// The function a module defined: a native LISP function that sends the module its code.
lisp::Value moduleFunction(LoadedModule* module, const std::wstring& name, int funcode) {
  return lisp::Value::native(name, [module, funcode](lisp::Interpreter&, std::span<const lisp::Value> args) {
    return loader().call(module, funcode, args);
  });
}

// Removes the functions of a module from every document.
void undefineAll(LoadedModule* module) {
  Session* session = Session::active();
  for (Document* doc : session->documents())
    for (auto& [name, code] : module->functions) doc->lispNamespace().set(lisp::Value::symbol(name), {});
}

class DynamicLinker : public AcRxDynamicLinker {
 public:
  bool unlockApplication(void* appId) override { return setLocked(appId, false); }
  bool lockApplication(void* appId) override { return setLocked(appId, true); }
  bool isApplicationLocked(const ACHAR* name) const override {
    LoadedModule* m = loader().find(name);
    return m && m->locked;
  }
  bool registerAppMDIAware(void* appId) override {
    auto* m = static_cast<LoadedModule*>(appId);
    if (!m) return false;
    m->mdiAware = true;
    return true;
  }
  bool loadModule(const ACHAR* fileName, bool) override { return Session::active()->loadModule(fileName); }
  bool unloadModule(const ACHAR* fileName, bool) override {
    return Session::active()->unloadModule(fileName);
  }

 private:
  static bool setLocked(void* appId, bool locked) {
    auto* m = static_cast<LoadedModule*>(appId);
    if (!m) return false;
    m->locked = locked;
    return true;
  }
};

DynamicLinker theLinker;

}  // namespace

AcRxDynamicLinker* acrxDynamicLinker_impl() { return &theLinker; }

ModuleLoader::ModuleLoader() = default;

ModuleLoader::~ModuleLoader() {
  while (!modules_.empty()) unload(modules_.back().get());
}

LoadedModule* ModuleLoader::load(const std::filesystem::path& file, std::wstring& error) {
  std::wstring name = file.filename().wstring();
  if (find(name)) {
    error = L"已載入: " + name;
    return nullptr;
  }
  void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    const char* why = dlerror();
    error = plat::fromUtf8(why ? why : "cannot load");
    return nullptr;
  }
  auto entry = reinterpret_cast<AcRxEntryPointFn>(dlsym(library, "acrxEntryPoint"));
  auto version = reinterpret_cast<AcRxGetApiVersionFn>(dlsym(library, "acrxGetApiVersion"));
  if (!entry || !version) {
    dlclose(library);
    error = name + L" is not a host module: it lacks acrxEntryPoint or acrxGetApiVersion";
    return nullptr;
  }
  auto module = std::make_unique<LoadedModule>();
  module->name = name;
  module->file = file;
  module->library = library;
  module->entry = entry;
  module->apiVersion = version();
  LoadedModule* m = module.get();
  modules_.push_back(std::move(module));

  send(m, AcRx::kInitAppMsg);
  Session* session = Session::active();
  Document* current = &session->current();
  for (Document* doc : session->documents()) {
    session->makeCurrent(*doc);
    send(m, AcRx::kLoadDwgMsg);
  }
  session->makeCurrent(*current);
  return m;
}

bool ModuleLoader::unload(LoadedModule* module) {
  auto it = std::find_if(modules_.begin(), modules_.end(), [&](auto& m) { return m.get() == module; });
  if (it == modules_.end()) return false;
  send(module, AcRx::kUnloadAppMsg);
  undefineAll(module);
  std::unique_ptr<LoadedModule> owned = std::move(*it);
  modules_.erase(it);
  dlclose(owned->library);
  return true;
}

LoadedModule* ModuleLoader::find(std::wstring_view name) const {
  for (auto& m : modules_)
    if (sameFileName(m->name, name) || sameFileName(stem(m->name), name)) return m.get();
  return nullptr;
}

void ModuleLoader::documentLoaded(Document&) {
  for (auto& m : modules_) send(m.get(), AcRx::kLoadDwgMsg);
}

void ModuleLoader::documentUnloading(Document&) {
  for (auto& m : modules_) send(m.get(), AcRx::kUnloadDwgMsg);
}

void ModuleLoader::send(LoadedModule* module, AcRx::AppMsgCode msg) {
  messaging_.push_back(module);
  try {
    module->entry(msg, module);
  } catch (...) {
    // A module's failure must not take the host down.
    Session::active()->print(L"\n" + module->name + L": unhandled exception");
  }
  messaging_.pop_back();
}

LoadedModule* ModuleLoader::messaging() const { return messaging_.empty() ? nullptr : messaging_.back(); }

ModuleLoader::CallFrame* ModuleLoader::currentCall() { return calls_.empty() ? nullptr : calls_.back(); }

lisp::Value ModuleLoader::call(LoadedModule* module, int funcode, std::span<const lisp::Value> args) {
  auto it = std::find_if(modules_.begin(), modules_.end(), [&](auto& m) { return m.get() == module; });
  if (it == modules_.end()) throw lisp::Error(L"no function definition: module unloaded");
  resbuf* chain = bridge::argumentsToChain(args);
  CallFrame frame{module, funcode, chain, {}};
  calls_.push_back(&frame);
  send(module, AcRx::kInvkSubrMsg);
  calls_.pop_back();
  acutRelRb(chain);
  return frame.result;
}

}  // namespace host

// ---- the bridge functions the modules call

using host::ModuleLoader;

namespace {

ModuleLoader::CallFrame* call() {
  host::Session* s = host::Session::active();
  return s ? s->modules().currentCall() : nullptr;
}

int setResult(lisp::Value value) {
  ModuleLoader::CallFrame* frame = call();
  if (!frame) return RTERROR;
  frame->result = std::move(value);
  return RTNORM;
}

}  // namespace

AcRxDynamicLinker* acrxDynamicLinker() { return host::acrxDynamicLinker_impl(); }

int acedDefun(const ACHAR* name, int funcode) {
  host::Session* s = host::Session::active();
  host::LoadedModule* module = s ? s->modules().messaging() : nullptr;
  if (!module || !name || !*name) return RTERROR;
  std::wstring fn(name);
  s->current().lispNamespace().set(lisp::Value::symbol(fn), host::moduleFunction(module, fn, funcode));
  auto& list = module->functions;
  if (std::none_of(list.begin(), list.end(), [&](auto& f) { return f.second == funcode && f.first == fn; }))
    list.emplace_back(fn, funcode);
  return RTNORM;
}

int acedUndef(const ACHAR* name, int) {
  host::Session* s = host::Session::active();
  if (!s || !name) return RTERROR;
  s->current().lispNamespace().set(lisp::Value::symbol(name), {});
  return RTNORM;
}

int acedGetFunCode() {
  ModuleLoader::CallFrame* frame = call();
  return frame ? frame->funcode : RTERROR;
}

resbuf* acedGetArgs() {
  ModuleLoader::CallFrame* frame = call();
  return frame ? acutDuplicateChain(frame->args) : nullptr;
}

int acedRetStr(const ACHAR* text) { return setResult(lisp::Value::string(text ? text : L"")); }
int acedRetReal(ads_real value) { return setResult(lisp::Value::real(value)); }
int acedRetInt(int value) { return setResult(lisp::Value::integer(value)); }
int acedRetPoint(const ads_point pt) {
  return setResult(lisp::Value::makeList({lisp::Value::real(pt[0]), lisp::Value::real(pt[1]), lisp::Value::real(pt[2])}));
}
int acedRetName(const ads_name name, int) { return setResult(lisp::Value::ename(name[0])); }
int acedRetList(const resbuf* list) { return setResult(host::bridge::chainToList(list)); }
int acedRetT() { return setResult(lisp::Value::t()); }
int acedRetNil() { return setResult(lisp::Value::nil()); }
int acedRetVoid() { return setResult(lisp::Value::nil()); }
int acedRetVal(const resbuf* value) { return setResult(host::bridge::chainToValue(value)); }

int acedGetSym(const ACHAR* name, resbuf** value) {
  host::Session* s = host::Session::active();
  if (!s || !name || !value) return RTERROR;
  *value = host::bridge::valueToChain(s->interpreter().getGlobal(name));
  return RTNORM;
}

int acedPutSym(const ACHAR* name, resbuf* value) {
  host::Session* s = host::Session::active();
  if (!s || !name) return RTERROR;
  s->interpreter().setGlobal(name, host::bridge::chainToValue(value));
  return RTNORM;
}

int acedInvoke(const resbuf* args, resbuf** result) {
  if (result) *result = nullptr;
  host::Session* s = host::Session::active();
  if (!s || !args || args->restype != RTSTR || !args->resval.rstring) return RTERROR;
  lisp::Interpreter& in = s->interpreter();
  lisp::Value fn = in.boundFunction(args->resval.rstring);
  if (fn.isNil()) return RTERROR;  // no loaded module or LISP function has the name
  try {
    auto values = host::bridge::chainToValues(args->rbnext);
    lisp::Value value = in.apply(fn, values);
    if (result) *result = host::bridge::valueToChain(value);
    return RTNORM;
  } catch (const lisp::Error&) {
    return RTERROR;
  }
}
