// How the host talks to a module: the application messages sent to its entry function, the
// dynamic linker that loads modules, and the system registry of host services.
#pragma once

#include <map>
#include <string>

#include "host/ads.h"

namespace AcRx {
enum AppMsgCode {
  kNullMsg = 0,
  kInitAppMsg = 1,
  kUnloadAppMsg = 2,
  kLoadDwgMsg = 3,
  kUnloadDwgMsg = 4,
  kInvkSubrMsg = 5,
  kCfgMsg = 6,
  kEndMsg = 7,
  kQuitMsg = 8,
  kSaveMsg = 9,
  kDependencyMsg = 10,
  kNoDependencyMsg = 11,
  kOleUnloadAppMsg = 12,
  kPreQuitMsg = 13,
  kInitDialogMsg = 14,
  kEndDialogMsg = 15,
  kSuspendMsg = 16,
};
enum AppRetCode { kRetOK = 0, kRetError = 3 };
}  // namespace AcRx

// The interface version a module reports it was built for, by host release.
constexpr int kHostApiVersion2024 = 0x1800;
constexpr int kHostApiVersion2025 = 0x1900;

// A module's two exports.
using AcRxEntryPointFn = AcRx::AppRetCode (*)(AcRx::AppMsgCode msg, void* appId);
using AcRxGetApiVersionFn = int (*)();

#define KC_MODULE_EXPORT extern "C" __attribute__((visibility("default")))

class AcRxObject {
 public:
  virtual ~AcRxObject() = default;
};

// The host's dictionary of named services ("DynamicLinker", "AcEditor",
// "ACAD_REGISTERED_COMMANDS").
class AcRxDictionary : public AcRxObject {
 public:
  AcRxObject* at(const ACHAR* key) const;
  void atPut(const ACHAR* key, AcRxObject* object);

 private:
  std::map<std::wstring, AcRxObject*> entries_;
};

AcRxDictionary* acrxSysRegistry();

class AcRxDynamicLinker : public AcRxObject {
 public:
  // Declares that the module may be unloaded (it is locked until then).
  virtual bool unlockApplication(void* appId) = 0;
  virtual bool lockApplication(void* appId) = 0;
  virtual bool isApplicationLocked(const ACHAR* name) const = 0;
  // Declares that the module works with several open documents.
  virtual bool registerAppMDIAware(void* appId) = 0;
  virtual bool loadModule(const ACHAR* fileName, bool printIt) = 0;
  virtual bool unloadModule(const ACHAR* fileName, bool printIt) = 0;
};

AcRxDynamicLinker* acrxDynamicLinker();
