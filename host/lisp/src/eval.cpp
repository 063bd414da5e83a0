// The evaluator: symbol lookup through the namespace and the shared built-in table, function
// calls with dynamic binding of parameters and locals (restored on every exit), the eval depth
// limit, and the *error* protocol of the command line.
#include <pthread.h>

#include <algorithm>

#include "lisp/reader.h"
#include "objects.h"
#include "platform/codepage.h"

namespace lisp {

namespace {

std::function<void(std::wstring_view)>& outputSink() {
  static std::function<void(std::wstring_view)> sink;
  return sink;
}

bool inHandler = false;  // *error* is running: its own faults are swallowed

// Restores the values a call bound, in reverse order, however the call ends.
class Bindings {
 public:
  explicit Bindings(Namespace& ns) : ns_(ns) {}
  ~Bindings() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) ns_.set(it->first, std::move(it->second));
  }
  void bind(const Value& symbol, Value value) {
    saved_.emplace_back(symbol, ns_.get(symbol));
    ns_.set(symbol, std::move(value));
  }

 private:
  Namespace& ns_;
  std::vector<std::pair<Value, Value>> saved_;
};

// The function a list stands for when used as one: (lambda args body...) or the defun-q form
// ((args / locals) body...); nil when it is neither.
Value listFunction(const Value& list) {
  Value head = list.car();
  if (head.identical(sym::lambda())) return makeUserFunction(L"", list.cdr().car(), list.cdr().cdr());
  if (head.isList()) return makeUserFunction(L"", head, list.cdr());
  return {};
}

}  // namespace

// ---- shared tables --------------------------------------------------------------------------

std::unordered_map<const Symbol*, Value>& builtinTable() {
  static std::unordered_map<const Symbol*, Value> table;
  static bool filled = false;
  if (!filled) {  // the registrations below come back here: fill once, without a lock
    filled = true;
    registerSpecialForms();
    registerMath();
    registerLists();
    registerStrings();
    registerIo();
    registerCore();
  }
  return table;
}

void Interpreter::defineBuiltin(std::wstring name, BuiltinFn fn) {
  Value s = Value::symbol(name);
  auto f = std::make_shared<Function>(Function{s.symbolName(), std::move(fn)});
  builtinTable()[s.symbolPtr()] = Value::fromObject(Kind::Subr, std::move(f));
}

void defineSpecial(const std::wstring& name, SpecialFn fn) {
  Value s = Value::symbol(name);
  auto f = std::make_shared<Function>(Function{s.symbolName(), nullptr, fn});
  builtinTable()[s.symbolPtr()] = Value::fromObject(Kind::Subr, std::move(f));
}

namespace sym {
const Value& quote() { static const Value v = Value::symbol(L"QUOTE"); return v; }
const Value& lambda() { static const Value v = Value::symbol(L"LAMBDA"); return v; }
const Value& slash() { static const Value v = Value::symbol(L"/"); return v; }
const Value& error() { static const Value v = Value::symbol(L"*ERROR*"); return v; }
}  // namespace sym

void Interpreter::setOutput(std::function<void(std::wstring_view)> sink) { outputSink() = std::move(sink); }

void Interpreter::write(std::wstring_view text) {
  if (outputSink()) outputSink()(text);
}

// ---- argument checks ------------------------------------------------------------------------

void arity(std::span<const Value> a, std::size_t min, std::size_t max) {
  if (a.size() < min) throw Error(L"too few arguments");
  if (a.size() > max) throw Error(L"too many arguments");
}

void badType(const wchar_t* predicate, const Value& v) {
  throw Error(std::wstring(L"bad argument type: ") + predicate + L": " + prin1String(v));
}

std::int32_t intArg(const Value& v) {
  if (!v.isInt()) badType(L"fixnump", v);
  return v.asInt();
}

double numArg(const Value& v) {
  if (!v.isNumber()) badType(L"numberp", v);
  return v.asNumber();
}

const std::wstring& strArg(const Value& v) {
  if (!v.isString()) badType(L"stringp", v);
  return v.asString();
}

void listArg(const Value& v) {
  if (!v.isList()) badType(L"listp", v);
}

void symArg(const Value& v) {
  if (!v.isSymbol()) badType(L"symbolp", v);
}

File& fileArg(const Value& v) {
  if (!v.isFile() || !v.object<File>().fp) badType(L"streamp", v);
  return v.object<File>();
}

// The lowest stack address evaluation may reach on this thread: a margin above the real end of
// the stack, so that whatever the build's frame sizes, nesting ends in an error. The *error*
// handler may use half of the margin.
const char* stackFloor(bool handler) {
  struct Bounds {
    const char* low = nullptr;
    std::size_t margin = 0;
  };
  thread_local const Bounds bounds = [] {
    Bounds b;
    pthread_attr_t attr;
    void* low = nullptr;
    std::size_t size = 0;
    if (pthread_getattr_np(pthread_self(), &attr) == 0) {
      pthread_attr_getstack(&attr, &low, &size);
      pthread_attr_destroy(&attr);
    }
    b.low = static_cast<const char*>(low);
    b.margin = std::min<std::size_t>(size / 4, 512 * 1024);
    return b;
  }();
  return bounds.low + (handler ? bounds.margin / 2 : bounds.margin);
}

DepthGuard::DepthGuard(Interpreter& in) : in_(in) {
  char here;
  // The *error* handler gets some room beyond the limits that stopped the failing code.
  int limit = Interpreter::kMaxDepth + (inHandler ? 200 : 0);
  if (in_.depth >= limit || &here < stackFloor(inHandler)) throw Error(L"internal stack limit reached (simulated)");
  ++in_.depth;
}

Value makeUserFunction(std::wstring name, const Value& spec, const Value& body) {
  listArg(spec);
  auto f = std::make_shared<UserFunction>();
  f->name = std::move(name);
  bool locals = false;
  for (const Value& s : spec.listToVector()) {
    if (s.identical(sym::slash())) {
      locals = true;
      continue;
    }
    symArg(s);
    (locals ? f->locals : f->params).push_back(s);
  }
  f->body = body;
  return Value::fromObject(Kind::UserFn, std::move(f));
}

// ---- Namespace ------------------------------------------------------------------------------

Value Namespace::get(const Value& symbol) const {
  auto it = values_.find(symbol.symbolPtr());
  return it == values_.end() ? Value() : it->second;
}

void Namespace::set(const Value& symbol, Value value) {
  if (value.isNil())
    values_.erase(symbol.symbolPtr());
  else
    values_[symbol.symbolPtr()] = std::move(value);
}

bool Namespace::bound(const Value& symbol) const { return values_.count(symbol.symbolPtr()) != 0; }

// ---- Interpreter ----------------------------------------------------------------------------

Interpreter::Interpreter(Namespace& ns) : ns_(&ns) { builtinTable(); }

Value Interpreter::symbolValue(const Value& symbol) const {
  if (!symbol.isSymbol()) return {};
  if (Value v = ns_->get(symbol); !v.isNil()) return v;
  auto& table = builtinTable();
  if (auto it = table.find(symbol.symbolPtr()); it != table.end()) return it->second;
  return symbol.isT() ? symbol : Value();
}

void Interpreter::setGlobal(std::wstring_view name, Value value) { ns_->set(Value::symbol(name), std::move(value)); }

Value Interpreter::getGlobal(std::wstring_view name) const { return symbolValue(Value::symbol(name)); }

Value Interpreter::boundFunction(std::wstring_view name) const {
  Value v = getGlobal(name);
  if (v.isFunction()) return v;
  if (v.isCons()) return listFunction(v);
  return {};
}

Value Interpreter::evalString(std::wstring_view source) {
  Reader reader(source);
  Value last;
  while (auto form = reader.next()) last = eval(*form);
  return last;
}

Value Interpreter::eval(const Value& form) {
  if (form.isSymbol()) return symbolValue(form);
  if (!form.isCons()) return form;
  DepthGuard guard(*this);
  Value head = form.car();
  Value fn;
  if (head.isSymbol()) {
    fn = symbolValue(head);
    if (fn.isNil()) throw Error(L"no function definition: " + head.symbolName());
  } else if (head.isCons() && head.car().identical(sym::lambda())) {
    fn = listFunction(head);
  } else {
    fn = eval(head);
  }
  if (fn.kind() == Kind::Subr && fn.object<Function>().form) return fn.object<Function>().form(*this, form.cdr());
  if (fn.isCons()) fn = listFunction(fn);
  if (!fn.isFunction()) throw Error(L"bad function: " + prin1String(fn));
  std::vector<Value> args;
  Value rest = form.cdr();
  for (; rest.isCons(); rest = rest.cdr()) args.push_back(eval(rest.car()));
  if (!rest.isNil()) throw Error(L"bad argument type: listp: " + prin1String(form));
  return callFunction(fn, args);
}

Value Interpreter::apply(const Value& fnOrName, std::span<const Value> args) {
  Value fn = fnOrName;
  if (fn.isSymbol()) {
    fn = symbolValue(fnOrName);
    if (fn.isNil()) throw Error(L"no function definition: " + fnOrName.symbolName());
  }
  if (fn.isCons()) fn = listFunction(fn);
  if (!fn.isFunction()) throw Error(L"bad function: " + prin1String(fnOrName));
  DepthGuard guard(*this);
  if (fn.kind() == Kind::Subr && fn.object<Function>().form) {
    // A special form given evaluated arguments sees them quoted.
    std::vector<Value> quoted;
    for (const Value& a : args) quoted.push_back(Value::makeList({sym::quote(), a}));
    return fn.object<Function>().form(*this, Value::makeList(quoted));
  }
  return callFunction(fn, args);
}

Value Interpreter::call(std::wstring_view name, std::span<const Value> args) {
  Value fn = boundFunction(name);
  if (fn.isNil()) throw Error(L"no function definition: " + Value::symbol(name).symbolName());
  return apply(fn, args);
}

Value Interpreter::callFunction(const Value& fn, std::span<const Value> args) {
  if (fn.kind() == Kind::UserFn) return applyUser(fn, args);
  try {
    return fn.object<Function>().fn(*this, args);
  } catch (const Error&) {
    throw;
  } catch (const std::exception& e) {  // a host builtin's C++ fault becomes a LISP error
    throw Error(plat::fromUtf8(e.what()));
  }
}

Value Interpreter::applyUser(const Value& fn, std::span<const Value> args) {
  const UserFunction& f = fn.object<UserFunction>();
  if (args.size() < f.params.size()) throw Error(L"too few arguments");
  if (args.size() > f.params.size()) throw Error(L"too many arguments");
  Bindings bindings(*ns_);
  for (std::size_t i = 0; i < args.size(); ++i) bindings.bind(f.params[i], args[i]);
  for (const Value& local : f.locals) bindings.bind(local, {});
  try {
    Value result;
    for (Value body = f.body; body.isCons(); body = body.cdr()) result = eval(body.car());
    return result;
  } catch (Error& e) {
    reportError(e);  // while this call's locals are still bound
    throw;
  }
}

void Interpreter::reportError(Error& e) {
  if (!topLevel || catchDepth > 0 || e.handled || inHandler) return;
  e.handled = true;
  Value handler = symbolValue(sym::error());
  if (handler.isCons()) handler = listFunction(handler);
  if (!handler.isFunction()) return;
  inHandler = true;
  try {
    Value msg = Value::string(e.message());
    apply(handler, std::span<const Value>(&msg, 1));
  } catch (...) {
  }
  inHandler = false;
}

TopLevelResult Interpreter::runTopLevel(std::wstring_view source) {
  bool wasTopLevel = topLevel;
  topLevel = true;
  TopLevelResult result;
  try {
    result.value = evalString(source);
  } catch (Error& e) {
    reportError(e);
    result.failed = true;
    result.message = e.message();
  }
  topLevel = wasTopLevel;
  return result;
}

}  // namespace lisp
