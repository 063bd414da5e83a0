// LISP values: a cheap-to-copy handle for every kind of AutoLISP datum. Numbers, entity names and
// symbols live inside the handle; strings, cons cells, files and functions are shared, immutable
// objects. Symbols are interned and compare by identity; their names ignore letter case.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace lisp {

class Interpreter;
class Value;

// A function implemented in C++: built-ins, host builtins and module functions.
using BuiltinFn = std::function<Value(Interpreter&, std::span<const Value>)>;

// What a LISP program sees as an error: the message is the AutoLISP text, e.g.
// "bad argument type: numberp: \"a\"".
class Error : public std::runtime_error {
 public:
  explicit Error(const std::wstring& message);
  const std::wstring& message() const { return message_; }
  bool handled = false;  // *error* has already seen it

 private:
  std::wstring message_;
};

enum class Kind : std::uint8_t {
  Nil, Int, Real, String, Symbol, Cons, Ename, File,
  Subr,        // built-in function or special form
  Native,      // function supplied by the host or a module (type EXRXSUBR)
  UserFn,      // defun / lambda (type USUBR)
  CatchError,  // the error object of vl-catch-all-apply
};

struct Symbol;
struct Cons;

class Value {
 public:
  Value() = default;  // nil

  static Value nil() { return {}; }
  static Value t();
  static Value boolean(bool b) { return b ? t() : nil(); }
  static Value integer(std::int32_t i);
  static Value real(double r);
  static Value string(std::wstring s);
  static Value symbol(std::wstring_view name);  // interned; "nil" gives nil
  static Value cons(Value car, Value cdr);
  static Value ename(std::int64_t id);
  static Value native(std::wstring name, BuiltinFn fn);
  static Value makeList(std::span<const Value> items) { return makeList(items, nil()); }
  static Value makeList(std::span<const Value> items, Value tail);  // tail ends a dotted list
  static Value makeList(std::initializer_list<Value> items) {
    return makeList(std::span<const Value>(items.begin(), items.size()));
  }

  Kind kind() const { return kind_; }
  bool isNil() const { return kind_ == Kind::Nil; }
  bool isT() const;
  bool isInt() const { return kind_ == Kind::Int; }
  bool isReal() const { return kind_ == Kind::Real; }
  bool isNumber() const { return isInt() || isReal(); }
  bool isString() const { return kind_ == Kind::String; }
  bool isSymbol() const { return kind_ == Kind::Symbol; }
  bool isCons() const { return kind_ == Kind::Cons; }
  bool isList() const { return isNil() || isCons(); }
  bool isEname() const { return kind_ == Kind::Ename; }
  bool isFile() const { return kind_ == Kind::File; }
  bool isFunction() const {
    return kind_ == Kind::Subr || kind_ == Kind::Native || kind_ == Kind::UserFn;
  }

  std::int32_t asInt() const { return u_.i; }
  double asReal() const { return u_.r; }
  double asNumber() const { return isInt() ? u_.i : u_.r; }  // int or real as a double
  const std::wstring& asString() const;
  const std::wstring& symbolName() const;  // upper-case
  std::int64_t asEname() const { return u_.e; }

  Value car() const;  // nil for nil; throws "bad argument type: consp: x" for other atoms
  Value cdr() const;
  std::vector<Value> listToVector() const;  // the items of a list; a dotted tail is dropped

  // True when both are the same object (eq): same symbol, same cell, same number.
  bool identical(const Value& other) const;

  // Access to the shared object behind the handle, for the engine's own files.
  const Symbol* symbolPtr() const { return u_.s; }
  long useCount() const { return p_.use_count(); }
  template <class T> T& object() const { return *static_cast<T*>(p_.get()); }
  template <class T> static Value fromObject(Kind k, std::shared_ptr<T> p) {
    Value v;
    v.kind_ = k;
    v.p_ = std::move(p);
    return v;
  }

 private:
  Kind kind_ = Kind::Nil;
  union {
    std::int32_t i;
    double r;
    std::int64_t e;
    const Symbol* s;
  } u_{};
  std::shared_ptr<void> p_;
};

// The text prin1 writes: strings quoted and escaped, reals with six significant digits.
std::wstring prin1String(const Value& v);
// The text princ writes: strings raw.
std::wstring princString(const Value& v);
// A real as AutoLISP prints it: 1.0, 3.14159, 1.0e+20.
std::wstring formatReal(double r);

}  // namespace lisp
