// The frame's handling of the host's application messages: init with the installation check,
// registration of the function table at every document load, and gated dispatch of LISP calls.
#include "frame/module.h"

#include <cstdlib>
#include <exception>

#include "frame/registry_text.h"
#include "platform/msgbox.h"

// The frame's resource tables, compiled from resources/frame.rc.
void kcFrameResources(plat::ResourceSet& set);

namespace kc {

namespace {

// Parses a registry text as a decimal real the way the C library's atof does.
double decimalValue(const std::wstring& text) { return std::wcstod(text.c_str(), nullptr); }

}  // namespace

Module::Module(Traits traits) : traits_(std::move(traits)) {
  resources_.moduleName = traits_.name;
  kcFrameResources(resources_);  // the texts of resources/frame.rc, in every module
}

Module::~Module() = default;

AcRx::AppRetCode Module::onMessage(AcRx::AppMsgCode msg, void* appId) {
  switch (msg) {
    case AcRx::kInitAppMsg:
      initApplication(appId);
      break;
    case AcRx::kUnloadAppMsg:
      onUnload();
      break;
    case AcRx::kLoadDwgMsg:
      beforeRegister();
      registerFunctions();
      break;
    case AcRx::kInvkSubrMsg:
      if (traits_.guardedDispatch)
        dispatchGuarded();
      else
        dispatch();
      break;
    default:
      break;
  }
  return AcRx::kRetOK;
}

void Module::initApplication(void* appId) {
  if (auto* linker = acrxDynamicLinker()) {
    linker->unlockApplication(appId);
    linker->registerAppMDIAware(appId);
  }
  if (traits_.checksInstallation) checkInstallation();
  if (!traits_.loadMessage.empty()) acutPrintf(L"%ls", traits_.loadMessage.c_str());
  onInit(appId);
}

void Module::checkInstallation() {
  plat::ResourceOverride useOwnResources(resources());
  loadError_.clear();
  auto key = plat::reg::Key::open(plat::reg::Root::CurrentUser, kInstallKey);
  if (!key) {
    loadError_ = plat::loadString(traits_.installTextId);
    return;
  }
  auto version = readRegString(*key, L"Version");
  if (!version || decimalValue(*version) < traits_.versionThreshold)
    loadError_ = plat::loadString(traits_.versionTextId);
  for (const FolderValue& folder : traits_.folders) {
    auto value = readRegString(*key, folder.registryName);
    if (!value)
      loadError_ = plat::loadString(traits_.installTextId);
    else
      *folder.target = *value + folder.subfolder;
  }
}

void Module::registerFunctions() {
  for (std::size_t code = 0; code < traits_.functions.size(); ++code)
    if (acedDefun(traits_.functions[code].name, static_cast<int>(code)) != RTNORM) break;
}

// Finds the handler of the current call; null (after the host's error report) for a bad code.
static Handler handlerFor(std::span<const FunctionRow> table) {
  int code = acedGetFunCode();
  if (code < 0 || static_cast<std::size_t>(code) >= table.size()) {
    acdbFail(L"Received nonexistent function code.");
    return nullptr;
  }
  return table[code].handler;
}

void Module::dispatch() {
  if (!loadError_.empty()) {
    plat::messageBox(nullptr, loadError_, L"KORA CAD", plat::MB_OK | plat::MB_ICONWARNING);
    return;
  }
  Handler handler = handlerFor(traits_.functions);
  if (!handler) return;
  resbuf* args = acedGetArgs();
  handler(args);
  acutRelRb(args);
}

// Each step runs on its own: what one throws is dropped, and the next step still runs, so a
// failing handler never takes the host down and never leaks its arguments.
void Module::dispatchGuarded() {
  Handler handler = handlerFor(traits_.functions);
  if (!handler) return;
  resbuf* args = nullptr;
  try {
    args = acedGetArgs();
  } catch (...) {
    args = nullptr;
  }
  try {
    handler(args);
  } catch (...) {
  }
  try {
    acutRelRb(args);
  } catch (...) {
  }
}

}  // namespace kc
