// Host commands added through the command stack of the service registry.
#include "frame/commands.h"

#include "frame/module.h"

namespace kc {

namespace {

AcEdCommandStack* commandStack() {
  return dynamic_cast<AcEdCommandStack*>(acrxSysRegistry()->at(L"ACAD_REGISTERED_COMMANDS"));
}

// Local names loaded from a string table are cut to the host's 64 characters.
constexpr std::size_t kMaxLocalName = 64;

}  // namespace

int addCommand(const ACHAR* group, const ACHAR* globalName, const ACHAR* localName, int flags,
               AcRxFunctionPtr function) {
  AcEdCommandStack* stack = commandStack();
  return stack ? stack->addCommand(group, globalName, localName, flags, function) : eKeyNotFound;
}

int addCommand(const ACHAR* group, const ACHAR* globalName, int localNameId, int flags,
               AcRxFunctionPtr function) {
  plat::ResourceOverride useOwnResources(thisModule().resources());
  std::wstring localName = plat::loadString(localNameId).substr(0, kMaxLocalName);
  return addCommand(group, globalName, localName.c_str(), flags, function);
}

int removeCommandGroup(const ACHAR* group) {
  AcEdCommandStack* stack = commandStack();
  return stack ? stack->removeGroup(group) : eKeyNotFound;
}

}  // namespace kc
