// The frame every module of the suite is built on: one entry function switching over the host's
// application messages, the installation check at load time with its load-error text, the table of
// LISP functions registered in every document, and dispatch of LISP calls by function code.
// A module describes what varies (its table, thresholds, folder values, load message, hooks) and
// the frame does the rest the same way for all of them.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "host/ads.h"
#include "host/rxapp.h"
#include "platform/resources.h"

namespace kc {

// A LISP handler: receives the argument chain (null for none) and returns RTNORM or RTERROR,
// which nobody reads; what LISP gets is only what it set through the acedRet* functions.
using Handler = int (*)(resbuf* args);

struct FunctionRow {
  const ACHAR* name;
  Handler handler;
};

// An installation-record value a module keeps, and the fixed subfolder it appends, if any.
struct FolderValue {
  const ACHAR* registryName;
  std::wstring* target;
  const ACHAR* subfolder = L"";
};

// String ids of the frame's load-error texts, which every module's string table has.
constexpr int IDS_VERSION_MISMATCH = 61001;  // "版本不符無法載入。"
constexpr int IDS_NOT_INSTALLED = 61002;  // "程式未正常安裝，請重新安裝。"

// The registry key of the installation record, under the current user.
inline constexpr const ACHAR* kInstallKey = L"Software\\Vantor\\KORA_CAD";
// Where the installer keeps the machine's record, under the local machine.
inline constexpr const ACHAR* kMachineInstallKey = L"SOFTWARE\\Wow6432Node\\Vantor\\KORA_CAD";

class Module {
 public:
  struct Traits {
    const ACHAR* name;  // the module's file name without extension, e.g. L"kcSection"
    std::span<const FunctionRow> functions;
    bool checksInstallation = true;  // read the installation record and gate calls on it
    double versionThreshold = 2007.01;
    std::vector<FolderValue> folders;  // read in this order
    std::wstring loadMessage;  // printed at init; empty for none
    bool guardedDispatch = false;  // catch what a step of a call throws
    // The string ids of the two load-error texts in the module's own table; the frame's texts
    // (resources/frame.rc) serve modules that have none of their own.
    int versionTextId = IDS_VERSION_MISMATCH;
    int installTextId = IDS_NOT_INSTALLED;
  };

  explicit Module(Traits traits);
  virtual ~Module();
  Module(const Module&) = delete;
  Module& operator=(const Module&) = delete;

  // The module's entry function; answers 0 (kRetOK) for every message.
  AcRx::AppRetCode onMessage(AcRx::AppMsgCode msg, void* appId);

  const std::wstring& loadError() const { return loadError_; }
  const Traits& traits() const { return traits_; }
  plat::ResourceHandle resources() const { return &resources_; }
  // The module's string table, filled by the module before it is loaded (the frame adds the
  // two load-error texts).
  plat::ResourceSet& resourceSet() { return resources_; }

 protected:
  // Hooks for what a module adds to the frame's steps.
  virtual void onInit(void* appId) {}  // after the installation check and the load message
  virtual void beforeRegister() {}  // at document load, before the table is registered
  virtual void onUnload() {}

 private:
  void initApplication(void* appId);
  void checkInstallation();
  void registerFunctions();
  void dispatch();
  void dispatchGuarded();

  Traits traits_;
  std::wstring loadError_;
  plat::ResourceSet resources_;
};

// The module object of this library; defined once per module with KC_DEFINE_MODULE.
Module& thisModule();

}  // namespace kc

// Defines the module's object and its two exports. `Type` derives from kc::Module.
#define KC_DEFINE_MODULE(Type)                                                              \
  namespace kc {                                                                            \
  Module& thisModule() {                                                                    \
    static Type instance;                                                                   \
    return instance;                                                                        \
  }                                                                                         \
  }                                                                                         \
  KC_MODULE_EXPORT AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {     \
    return kc::thisModule().onMessage(msg, appId);                                          \
  }                                                                                         \
  KC_MODULE_EXPORT int acrxGetApiVersion() {                                                \
    return KC_HOST_RELEASE >= 2025 ? kHostApiVersion2025 : kHostApiVersion2024;             \
  }                                                                                         \
  /* Join the resource chain when the library is attached, leave it when detached. */       \
  namespace {                                                                               \
  struct ResourceChainMembership {                                                          \
    ResourceChainMembership() { plat::joinResourceChain(kc::thisModule().resources()); }    \
    ~ResourceChainMembership() { plat::leaveResourceChain(kc::thisModule().resources()); }  \
  } resourceChainMembership;                                                                \
  }
