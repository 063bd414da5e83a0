// The command line as the modules reach it: printing, the host's error report, the service
// registry and the command stack of module commands.
#include <cstdarg>
#include <cwchar>
#include <map>
#include <vector>

#include "host/edcmd.h"
#include "host/session.h"

namespace {

// Formats like the host's acutPrintf (wide printf: %ls for wide strings).
std::wstring vformat(const ACHAR* format, va_list args) {
  std::vector<wchar_t> buf(256);
  for (;;) {
    va_list copy;
    va_copy(copy, args);
    int n = std::vswprintf(buf.data(), buf.size(), format, copy);
    va_end(copy);
    if (n >= 0) return std::wstring(buf.data(), n);
    if (buf.size() > (1u << 20)) return format;  // a format that never fits: print it raw
    buf.resize(buf.size() * 4);
  }
}

struct CommandEntry {
  std::wstring group;
  std::wstring globalName;
  std::wstring localName;
  int flags;
  AcRxFunctionPtr function;
};

bool sameName(const std::wstring& a, const std::wstring& b) { return wcscasecmp(a.c_str(), b.c_str()) == 0; }

class CommandStack : public AcEdCommandStack {
 public:
  int addCommand(const ACHAR* group, const ACHAR* globalName, const ACHAR* localName, int flags,
                 AcRxFunctionPtr function) override {
    if (!group || !globalName || !function) return eKeyNotFound;
    if (lookup(globalName)) return eDuplicateKey;
    commands_.push_back({group, globalName, localName ? localName : globalName, flags, function});
    return eOk;
  }
  int removeCmd(const ACHAR* group, const ACHAR* globalName) override {
    auto n = std::erase_if(commands_, [&](auto& c) { return sameName(c.group, group) && sameName(c.globalName, globalName); });
    return n ? eOk : eKeyNotFound;
  }
  int removeGroup(const ACHAR* group) override {
    auto n = std::erase_if(commands_, [&](auto& c) { return sameName(c.group, group); });
    return n ? eOk : eKeyNotFound;
  }
  // A command by global name, local name, or global name with the "_" prefix.
  const CommandEntry* lookup(std::wstring name) const {
    if (!name.empty() && name[0] == L'_') name.erase(0, 1);
    for (auto& c : commands_)
      if (sameName(c.globalName, name) || sameName(c.localName, name)) return &c;
    return nullptr;
  }

 private:
  std::vector<CommandEntry> commands_;
};

CommandStack theCommands;

}  // namespace

namespace host {

// Runs a module command by name; false when no module offers it.
bool runModuleCommand(const std::wstring& name) {
  const CommandEntry* c = theCommands.lookup(name);
  if (!c) return false;
  c->function();
  return true;
}

}  // namespace host

AcRxObject* AcRxDictionary::at(const ACHAR* key) const {
  auto it = entries_.find(key ? key : L"");
  return it == entries_.end() ? nullptr : it->second;
}

void AcRxDictionary::atPut(const ACHAR* key, AcRxObject* object) { entries_[key ? key : L""] = object; }

AcRxDictionary* acrxSysRegistry() {
  static AcRxDictionary registry = [] {
    AcRxDictionary d;
    d.atPut(L"DynamicLinker", dynamic_cast<AcRxObject*>(acrxDynamicLinker()));
    d.atPut(L"ACAD_REGISTERED_COMMANDS", &theCommands);
    return d;
  }();
  return &registry;
}

int acutPrintf(const ACHAR* format, ...) {
  if (!format) return 0;
  va_list args;
  va_start(args, format);
  std::wstring text = vformat(format, args);
  va_end(args);
  if (host::Session* s = host::Session::active()) s->print(text);
  return static_cast<int>(text.size());
}

int acedPrompt(const ACHAR* text) {
  if (host::Session* s = host::Session::active(); s && text) s->print(text);
  return RTNORM;
}

int acdbFail(const ACHAR* message) {
  host::Session* s = host::Session::active();
  if (!s) return RTERROR;
  std::wstring text = message ? message : L"";
  s->addFailure(text);
  s->print(L"\n" + text);
  return RTNORM;
}
