// The shared objects behind lisp::Value handles, and the argument checks every built-in uses.
// Internal to the engine.
#pragma once

#include <cstdio>
#include <string>

#include "lisp/interpreter.h"
#include "lisp/value.h"

namespace lisp {

struct Symbol {
  std::wstring name;  // upper-case
};

struct Cons {
  Value car, cdr;
  Cons(Value a, Value d) : car(std::move(a)), cdr(std::move(d)) {}
  ~Cons();  // frees long and deep lists without recursion
};

// A special form receives its argument list unevaluated.
using SpecialFn = Value (*)(Interpreter&, const Value& args);

struct Function {
  std::wstring name;  // upper-case for built-ins, as given for natives
  BuiltinFn fn;
  SpecialFn form = nullptr;
};

// defun and lambda: parameters, locals (after "/") and the body forms.
struct UserFunction {
  std::wstring name;  // empty for lambda
  std::vector<Value> params, locals;
  Value body;
};

struct File {
  std::FILE* fp = nullptr;
  std::wstring path;
  bool writing = false;
  ~File() {
    if (fp) std::fclose(fp);
  }
};

struct CatchError {
  std::wstring message;
};

// Interned symbols used by the engine.
namespace sym {
const Value& quote();
const Value& lambda();
const Value& slash();
const Value& error();  // *error*
}  // namespace sym

// The shared table of built-ins and special forms.
std::unordered_map<const Symbol*, Value>& builtinTable();
void defineSpecial(const std::wstring& name, SpecialFn fn);

// Argument checks: each throws the AutoLISP error for a wrong count or type.
void arity(std::span<const Value> a, std::size_t min, std::size_t max = SIZE_MAX);
[[noreturn]] void badType(const wchar_t* predicate, const Value& v);
std::int32_t intArg(const Value& v);
double numArg(const Value& v);
const std::wstring& strArg(const Value& v);
void listArg(const Value& v);
void symArg(const Value& v);
File& fileArg(const Value& v);
// True for any value but nil.
inline bool truthy(const Value& v) { return !v.isNil(); }

// Builds a function object from (params / locals) and body.
Value makeUserFunction(std::wstring name, const Value& spec, const Value& body);
// Counts a nested recursion in a C++ helper (equal, subst...) against the eval depth limit.
class DepthGuard {
 public:
  explicit DepthGuard(Interpreter& in);
  ~DepthGuard() { --in_.depth; }

 private:
  Interpreter& in_;
};

// The equal test: numbers within fuzz of each other (an integer may equal a real), strings by
// text, lists item by item, other atoms by identity.
bool equalValues(Interpreter& in, const Value& a, const Value& b, double fuzz);

void registerSpecialForms();
void registerMath();
void registerLists();
void registerStrings();
void registerIo();
void registerCore();

}  // namespace lisp
