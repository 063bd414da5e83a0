// The evaluator's own functions: eval, apply, mapcar, set, type, boundp, the vl-catch-all
// family, exit and quit.
#include "objects.h"

namespace lisp {

namespace {

using Args = std::span<const Value>;

Value typeOf(const Value& v) {
  switch (v.kind()) {
    case Kind::Nil: return {};
    case Kind::Int: return Value::symbol(L"INT");
    case Kind::Real: return Value::symbol(L"REAL");
    case Kind::String: return Value::symbol(L"STR");
    case Kind::Symbol: return Value::symbol(L"SYM");
    case Kind::Cons: return Value::symbol(L"LIST");
    case Kind::Ename: return Value::symbol(L"ENAME");
    case Kind::File: return Value::symbol(L"FILE");
    case Kind::Subr: return Value::symbol(L"SUBR");
    case Kind::Native: return Value::symbol(L"EXRXSUBR");
    case Kind::UserFn: return Value::symbol(L"USUBR");
    case Kind::CatchError: return Value::symbol(L"VL-CATCH-ALL-APPLY-ERROR");
  }
  return {};
}

Value mapcar(Interpreter& in, Args a) {
  arity(a, 2);
  std::vector<Value> lists(a.begin() + 1, a.end());
  for (const Value& l : lists) listArg(l);
  std::vector<Value> out, args(lists.size());
  for (;;) {
    for (std::size_t i = 0; i < lists.size(); ++i) {
      if (!lists[i].isCons()) return Value::makeList(out);
      args[i] = lists[i].car();
      lists[i] = lists[i].cdr();
    }
    out.push_back(in.apply(a[0], args));
  }
}

Value applyFn(Interpreter& in, Args a) {
  arity(a, 2, 2);
  listArg(a[1]);
  std::vector<Value> args = a[1].listToVector();
  return in.apply(a[0], args);
}

// Calls a function, turning a LISP error into an error object instead of raising it.
Value catchAllApply(Interpreter& in, Args a) {
  arity(a, 2, 2);
  listArg(a[1]);
  std::vector<Value> args = a[1].listToVector();
  ++in.catchDepth;
  try {
    Value r = in.apply(a[0], args);
    --in.catchDepth;
    return r;
  } catch (const Error& e) {
    --in.catchDepth;
    return Value::fromObject(Kind::CatchError, std::make_shared<CatchError>(CatchError{e.message()}));
  }
}

}  // namespace

void registerCore() {
  auto def = Interpreter::defineBuiltin;
  auto notFn = [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::boolean(a[0].isNil());
  };
  def(L"not", notFn);
  def(L"null", notFn);
  def(L"type", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return typeOf(a[0]);
  });
  def(L"boundp", [](Interpreter& in, Args a) {
    arity(a, 1, 1);
    symArg(a[0]);
    return Value::boolean(!in.symbolValue(a[0]).isNil());
  });
  def(L"set", [](Interpreter& in, Args a) {
    arity(a, 2, 2);
    symArg(a[0]);
    in.setSymbol(a[0], a[1]);
    return a[1];
  });
  def(L"eval", [](Interpreter& in, Args a) {
    arity(a, 1, 1);
    return in.eval(a[0]);
  });
  def(L"apply", applyFn);
  def(L"mapcar", mapcar);
  def(L"vl-catch-all-apply", catchAllApply);
  def(L"vl-catch-all-error-p", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::boolean(a[0].kind() == Kind::CatchError);
  });
  def(L"vl-catch-all-error-message", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    if (a[0].kind() != Kind::CatchError) badType(L"vl-catch-all-apply-error-p", a[0]);
    return Value::string(a[0].object<CatchError>().message);
  });
  auto quit = [](Interpreter&, Args a) -> Value {
    arity(a, 0, 0);
    throw Error(L"quit / exit abort");
  };
  def(L"exit", quit);
  def(L"quit", quit);
  def(L"ver", [](Interpreter&, Args a) {
    arity(a, 0, 0);
    return Value::string(L"Visual LISP 2025 (en)");
  });
  def(L"vl-symbol-name", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    symArg(a[0]);
    return Value::string(a[0].symbolName());
  });
  def(L"vl-symbol-value", [](Interpreter& in, Args a) {
    arity(a, 1, 1);
    symArg(a[0]);
    return in.symbolValue(a[0]);
  });
}

}  // namespace lisp
