// Construction and access of LISP values, the symbol table, and list helpers. Lists are freed
// iteratively so that a list of any length or depth never overflows the stack when it dies.
#include <unicode/uchar.h>

#include <unordered_map>

#include "objects.h"
#include "platform/codepage.h"

namespace lisp {

Error::Error(const std::wstring& message)
    : std::runtime_error(plat::utf8(message)), message_(message) {}

namespace {

// The upper-case form under which a symbol name is interned.
std::wstring upper(std::wstring_view s) {
  std::wstring r(s);
  for (auto& c : r) c = static_cast<wchar_t>(u_toupper(static_cast<UChar32>(c)));
  return r;
}

std::unordered_map<std::wstring, std::unique_ptr<Symbol>>& symbolTable() {
  static std::unordered_map<std::wstring, std::unique_ptr<Symbol>> table;
  return table;
}

// Moves a cons that only v holds out of v, to be taken apart by the caller's loop instead of
// freed recursively; a shared cell just loses one owner.
void detach(Value& v, std::vector<Value>& pending) {
  if (v.isCons() && v.useCount() == 1) pending.push_back(std::move(v));
  v = Value();
}

}  // namespace

Cons::~Cons() {
  std::vector<Value> pending;
  detach(car, pending);
  detach(cdr, pending);
  while (!pending.empty()) {
    Value v = std::move(pending.back());
    pending.pop_back();
    Cons& c = v.object<Cons>();
    detach(c.car, pending);
    detach(c.cdr, pending);
  }
}

Value Value::t() {
  static const Value t = symbol(L"T");
  return t;
}

bool Value::isT() const { return identical(t()); }

Value Value::integer(std::int32_t i) {
  Value v;
  v.kind_ = Kind::Int;
  v.u_.i = i;
  return v;
}

Value Value::real(double r) {
  Value v;
  v.kind_ = Kind::Real;
  v.u_.r = r;
  return v;
}

Value Value::string(std::wstring s) {
  return fromObject(Kind::String, std::make_shared<std::wstring>(std::move(s)));
}

Value Value::symbol(std::wstring_view name) {
  std::wstring key = upper(name);
  if (key == L"NIL") return {};
  auto& slot = symbolTable()[key];
  if (!slot) slot = std::make_unique<Symbol>(Symbol{key});
  Value v;
  v.kind_ = Kind::Symbol;
  v.u_.s = slot.get();
  return v;
}

Value Value::cons(Value car, Value cdr) {
  return fromObject(Kind::Cons, std::make_shared<Cons>(std::move(car), std::move(cdr)));
}

Value Value::ename(std::int64_t id) {
  Value v;
  v.kind_ = Kind::Ename;
  v.u_.e = id;
  return v;
}

Value Value::native(std::wstring name, BuiltinFn fn) {
  return fromObject(Kind::Native, std::make_shared<Function>(Function{std::move(name), std::move(fn)}));
}

Value Value::makeList(std::span<const Value> items, Value tail) {
  Value list = std::move(tail);
  for (auto it = items.rbegin(); it != items.rend(); ++it) list = cons(*it, std::move(list));
  return list;
}

const std::wstring& Value::asString() const { return object<std::wstring>(); }
const std::wstring& Value::symbolName() const { return u_.s->name; }

Value Value::car() const {
  if (isNil()) return {};
  if (!isCons()) badType(L"consp", *this);
  return object<Cons>().car;
}

Value Value::cdr() const {
  if (isNil()) return {};
  if (!isCons()) badType(L"consp", *this);
  return object<Cons>().cdr;
}

std::vector<Value> Value::listToVector() const {
  std::vector<Value> out;
  for (const Value* p = this; p->isCons(); p = &p->object<Cons>().cdr) out.push_back(p->object<Cons>().car);
  return out;
}

bool Value::identical(const Value& o) const {
  if (kind_ != o.kind_) return false;
  switch (kind_) {
    case Kind::Nil: return true;
    case Kind::Int: return u_.i == o.u_.i;
    case Kind::Real: return u_.r == o.u_.r;
    case Kind::Ename: return u_.e == o.u_.e;
    case Kind::Symbol: return u_.s == o.u_.s;
    default: return p_ == o.p_;
  }
}

}  // namespace lisp
