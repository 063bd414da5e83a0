// Special forms: the functions that receive their arguments unevaluated (quote, setq, defun,
// lambda, if, cond, loops, and, or...).
#include "objects.h"

namespace lisp {

namespace {

// The items of an argument list, checking its count.
std::vector<Value> formArgs(const Value& args, std::size_t min, std::size_t max = SIZE_MAX) {
  std::vector<Value> v = args.listToVector();
  arity(v, min, max);
  return v;
}

// Evaluates each form of a list; the value of the last one.
Value progn(Interpreter& in, const Value& body) {
  Value result;
  for (Value b = body; b.isCons(); b = b.cdr()) result = in.eval(b.car());
  return result;
}

Value quoteForm(Interpreter&, const Value& args) { return formArgs(args, 1, 1)[0]; }

Value functionForm(Interpreter& in, const Value& args) {
  Value f = formArgs(args, 1, 1)[0];
  return f.isCons() && f.car().identical(sym::lambda()) ? in.eval(f) : f;
}

Value setqForm(Interpreter& in, const Value& args) {
  std::vector<Value> a = args.listToVector();
  if (a.empty() || a.size() % 2) throw Error(L"too few arguments");
  Value result;
  for (std::size_t i = 0; i < a.size(); i += 2) {
    symArg(a[i]);
    result = in.eval(a[i + 1]);
    in.setSymbol(a[i], result);
  }
  return result;
}

Value defunForm(Interpreter& in, const Value& args) {
  std::vector<Value> a = formArgs(args, 2);
  symArg(a[0]);
  in.setSymbol(a[0], makeUserFunction(a[0].symbolName(), a[1], args.cdr().cdr()));
  return a[0];
}

// defun-q keeps the function as the list ((args / locals) body...).
Value defunQForm(Interpreter& in, const Value& args) {
  std::vector<Value> a = formArgs(args, 2);
  symArg(a[0]);
  listArg(a[1]);
  in.setSymbol(a[0], args.cdr());
  return a[0];
}

Value lambdaForm(Interpreter&, const Value& args) {
  formArgs(args, 1);
  return makeUserFunction(L"", args.car(), args.cdr());
}

Value prognForm(Interpreter& in, const Value& args) { return progn(in, args); }

Value ifForm(Interpreter& in, const Value& args) {
  std::vector<Value> a = formArgs(args, 2, 3);
  if (truthy(in.eval(a[0]))) return in.eval(a[1]);
  return a.size() == 3 ? in.eval(a[2]) : Value();
}

Value condForm(Interpreter& in, const Value& args) {
  for (const Value& clause : args.listToVector()) {
    if (!clause.isCons()) badType(L"consp", clause);
    Value test = in.eval(clause.car());
    if (truthy(test)) return clause.cdr().isNil() ? test : progn(in, clause.cdr());
  }
  return {};
}

Value whileForm(Interpreter& in, const Value& args) {
  formArgs(args, 1);
  Value result;
  while (truthy(in.eval(args.car()))) result = progn(in, args.cdr());
  return result;
}

Value repeatForm(Interpreter& in, const Value& args) {
  formArgs(args, 1);
  std::int32_t n = intArg(in.eval(args.car()));
  Value result;
  for (std::int32_t i = 0; i < n; ++i) result = progn(in, args.cdr());
  return result;
}

Value foreachForm(Interpreter& in, const Value& args) {
  std::vector<Value> a = formArgs(args, 2);
  symArg(a[0]);
  Value list = in.eval(a[1]);
  listArg(list);
  Value saved = in.ns().get(a[0]);
  Value result;
  try {
    for (; list.isCons(); list = list.cdr()) {
      in.setSymbol(a[0], list.car());
      result = progn(in, args.cdr().cdr());
    }
  } catch (...) {
    in.setSymbol(a[0], saved);
    throw;
  }
  in.setSymbol(a[0], saved);
  return result;
}

Value andForm(Interpreter& in, const Value& args) {
  for (Value a = args; a.isCons(); a = a.cdr())
    if (!truthy(in.eval(a.car()))) return {};
  return Value::t();
}

Value orForm(Interpreter& in, const Value& args) {
  for (Value a = args; a.isCons(); a = a.cdr())
    if (truthy(in.eval(a.car()))) return Value::t();
  return {};
}

}  // namespace

void registerSpecialForms() {
  defineSpecial(L"quote", quoteForm);
  defineSpecial(L"function", functionForm);
  defineSpecial(L"setq", setqForm);
  defineSpecial(L"defun", defunForm);
  defineSpecial(L"defun-q", defunQForm);
  defineSpecial(L"lambda", lambdaForm);
  defineSpecial(L"progn", prognForm);
  defineSpecial(L"if", ifForm);
  defineSpecial(L"cond", condForm);
  defineSpecial(L"while", whileForm);
  defineSpecial(L"repeat", repeatForm);
  defineSpecial(L"foreach", foreachForm);
  defineSpecial(L"and", andForm);
  defineSpecial(L"or", orForm);
}

}  // namespace lisp
