// The LISP functions the host itself adds to the engine: system variables, entity access, module
// loading, commands, and the host's own rtos formatting and file search path.
#include <cwchar>
#include <optional>

#include "host/acdb.h"
#include "host/bridge.h"
#include "host/modules.h"
#include "host/session.h"
#include "host_commands.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace host {

void defineCoordinateBuiltins();

// The host's profile: its support path, where start-up files and modules are found.
constexpr const wchar_t* kProfileKey = L"Software\\KcHost\\Profile";

std::vector<std::wstring> supportPath() {
  std::vector<std::wstring> folders;
  auto key = plat::reg::Key::open(plat::reg::Root::CurrentUser, kProfileKey);
  if (!key) return folders;
  auto value = key->query(L"SupportPath");
  if (!value || !value->text()) return folders;
  std::wstring text = *value->text();
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(L';', start);
    if (end == std::wstring::npos) end = text.size();
    std::wstring folder = text.substr(start, end - start);
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    if (!folder.empty()) folders.push_back(folder);
    start = end + 1;
  }
  return folders;
}

namespace {

using lisp::Error;
using lisp::Value;
using Args = std::span<const Value>;

void needCount(Args args, std::size_t min, std::size_t max) {
  if (args.size() < min) throw Error(L"too few arguments");
  if (args.size() > max) throw Error(L"too many arguments");
}

const std::wstring& stringArg(Args args, std::size_t i) {
  if (!args[i].isString()) throw Error(L"bad argument type: stringp " + lisp::prin1String(args[i]));
  return args[i].asString();
}

std::int64_t enameArg(Args args, std::size_t i) {
  if (!args[i].isEname()) throw Error(L"bad argument type: lentityp " + lisp::prin1String(args[i]));
  return args[i].asEname();
}

// Turns an entity chain the database handed over into LISP, freeing it.
Value takeGroups(resbuf* chain) {
  if (!chain) return Value::nil();
  Value list = bridge::groupsToList(chain);
  acutRelRb(chain);
  return list;
}

Value nameOrNil(int status, const ads_name name) {
  return status == RTNORM ? Value::ename(name[0]) : Value::nil();
}

// One node as a LISP value, freeing its string.
Value takeVar(resbuf& rb) {
  rb.rbnext = nullptr;
  const resbuf* node = &rb;
  Value v = bridge::chainToValue(node);
  if (acutRbValueKind(rb.restype) == RbValueKind::String) std::free(rb.resval.rstring);
  return v;
}

Value getvar(lisp::Interpreter&, Args args) {
  needCount(args, 1, 1);
  resbuf rb{};
  if (acedGetVar(stringArg(args, 0).c_str(), &rb) != RTNORM) return Value::nil();
  return takeVar(rb);
}

Value setvar(lisp::Interpreter&, Args args) {
  needCount(args, 2, 2);
  const std::wstring& name = stringArg(args, 0);
  resbuf* chain = bridge::valueToChain(args[1]);
  int status = acedSetVar(name.c_str(), chain);
  acutRelRb(chain);
  if (status != RTNORM)
    throw Error(L"AutoCAD variable setting rejected: " + lisp::prin1String(args[0]) + L" " +
                lisp::prin1String(args[1]));
  return args[1];
}

Value entget(lisp::Interpreter&, Args args) {
  needCount(args, 1, 2);
  ads_name ent{enameArg(args, 0), 0};
  if (args.size() == 1) return takeGroups(acdbEntGet(ent));
  resbuf* apps = bridge::argumentsToChain(args[1].listToVector());
  Value list = takeGroups(acdbEntGetX(ent, apps));
  acutRelRb(apps);
  return list;
}

// entmod and entmake: the list as an entity chain, handed to the database.
Value withGroups(Args args, int (*apply)(const resbuf*)) {
  needCount(args, 1, 1);
  if (!args[0].isCons()) throw Error(L"bad argument type: listp " + lisp::prin1String(args[0]));
  resbuf* chain = bridge::listToGroups(args[0]);
  int status = apply(chain);
  acutRelRb(chain);
  return status == RTNORM ? args[0] : Value::nil();
}

Value entnext(lisp::Interpreter&, Args args) {
  needCount(args, 0, 1);
  ads_name next;
  if (args.empty()) return nameOrNil(acdbEntNext(nullptr, next), next);
  ads_name ent{enameArg(args, 0), 0};
  return nameOrNil(acdbEntNext(ent, next), next);
}

Value entlast(lisp::Interpreter&, Args args) {
  needCount(args, 0, 0);
  ads_name last;
  return nameOrNil(acdbEntLast(last), last);
}

Value entdel(lisp::Interpreter&, Args args) {
  needCount(args, 1, 1);
  ads_name ent{enameArg(args, 0), 0};
  return acdbEntDel(ent) == RTNORM ? args[0] : Value::nil();
}

Value handent(lisp::Interpreter&, Args args) {
  needCount(args, 1, 1);
  ads_name ent;
  return nameOrNil(acdbHandEnt(stringArg(args, 0).c_str(), ent), ent);
}

Value tblsearch(lisp::Interpreter&, Args args) {
  needCount(args, 2, 3);
  bool setnext = args.size() == 3 && !args[2].isNil();
  return takeGroups(acdbTblSearch(stringArg(args, 0).c_str(), stringArg(args, 1).c_str(), setnext));
}

Value tblnext(lisp::Interpreter&, Args args) {
  needCount(args, 1, 2);
  bool rewind = args.size() == 2 && !args[1].isNil();
  return takeGroups(acdbTblNext(stringArg(args, 0).c_str(), rewind));
}

Value arxload(lisp::Interpreter&, Args args) {
  needCount(args, 1, 2);
  const std::wstring& name = stringArg(args, 0);
  if (Session::active()->loadModule(name)) return args[0];
  if (args.size() == 2) return args[1];
  throw Error(L"ARXLOAD failed");
}

Value arxunload(lisp::Interpreter&, Args args) {
  needCount(args, 1, 2);
  const std::wstring& name = stringArg(args, 0);
  if (Session::active()->unloadModule(name)) return args[0];
  if (args.size() == 2) return args[1];
  throw Error(L"ARXUNLOAD failed");
}

Value arx(lisp::Interpreter&, Args args) {
  needCount(args, 0, 0);
  std::vector<Value> names;
  for (auto& m : Session::active()->modules().loaded()) names.push_back(Value::string(m->name));
  return Value::makeList(names);
}

// (command "NAME" answers... ["NAME" answers...]): host commands, module commands and c:
// functions, as typed at the Command prompt.
Value command(lisp::Interpreter& in, Args args) {
  runCommands(in, args);
  return Value::nil();
}

std::wstring hostRtos(double value, std::optional<int> mode, std::optional<int> precision) {
  ACHAR text[128];
  if (acdbRToS(value, mode.value_or(-1), precision.value_or(-1), text) != RTNORM)
    return lisp::Interpreter::formatNumber(value, 2, precision.value_or(4));
  return text;
}

std::optional<std::wstring> findOnSupportPath(std::wstring_view name) {
  if (plat::resolve(name)) return plat::fullPath(name);
  bool hasPath = name.find_first_of(L"\\/:") != std::wstring_view::npos;
  if (hasPath) return std::nullopt;
  for (const std::wstring& folder : supportPath()) {
    std::wstring candidate = folder + L"\\" + std::wstring(name);
    if (plat::resolve(candidate)) return plat::fullPath(candidate);
  }
  return std::nullopt;
}

}  // namespace

void defineHostBuiltins() {
  using I = lisp::Interpreter;
  I::defineBuiltin(L"getvar", getvar);
  I::defineBuiltin(L"setvar", setvar);
  I::defineBuiltin(L"entget", entget);
  I::defineBuiltin(L"entmod", [](I&, Args a) { return withGroups(a, acdbEntMod); });
  I::defineBuiltin(L"entmake", [](I&, Args a) { return withGroups(a, acdbEntMake); });
  I::defineBuiltin(L"entnext", entnext);
  I::defineBuiltin(L"entlast", entlast);
  I::defineBuiltin(L"entdel", entdel);
  I::defineBuiltin(L"handent", handent);
  I::defineBuiltin(L"tblsearch", tblsearch);
  I::defineBuiltin(L"tblnext", tblnext);
  I::defineBuiltin(L"arxload", arxload);
  I::defineBuiltin(L"arxunload", arxunload);
  I::defineBuiltin(L"arx", arx);
  I::defineBuiltin(L"command", command);
  defineCoordinateBuiltins();
  I::setRtos(hostRtos);
  I::setFileFinder(findOnSupportPath);
}

}  // namespace host
