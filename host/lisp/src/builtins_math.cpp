// Arithmetic and numeric predicates. Integers are 32 bits and wrap around on overflow; an
// operation with any real argument gives a real.
#include <cmath>
#include <numeric>

#include "objects.h"

namespace lisp {

namespace {

using Args = std::span<const Value>;

// The 32-bit result of integer arithmetic done in 64 bits, wrapped as the machine does.
Value wrap(std::int64_t n) { return Value::integer(static_cast<std::int32_t>(static_cast<std::uint32_t>(n))); }

// True when any argument is a real, after checking that all are numbers.
bool anyReal(Args a) {
  bool real = false;
  for (const Value& v : a) real |= (numArg(v), v.isReal());
  return real;
}

enum class Op { Add, Sub, Mul, Div };

// + - * / over all arguments, left to right.
Value arith(Args a, Op op) {
  if (a.empty()) return Value::integer(op == Op::Mul ? 1 : 0);
  bool real = anyReal(a);
  if (a.size() == 1) {
    if (op != Op::Sub) return a[0];
    return real ? Value::real(-a[0].asReal()) : wrap(-std::int64_t(a[0].asInt()));
  }
  if (real) {
    double r = a[0].asNumber();
    for (std::size_t i = 1; i < a.size(); ++i) {
      double x = a[i].asNumber();
      switch (op) {
        case Op::Add: r += x; break;
        case Op::Sub: r -= x; break;
        case Op::Mul: r *= x; break;
        case Op::Div:
          if (x == 0) throw Error(L"divide by zero");
          r /= x;
      }
    }
    return Value::real(r);
  }
  std::int32_t r = a[0].asInt();
  for (std::size_t i = 1; i < a.size(); ++i) {
    std::int64_t x = a[i].asInt();
    switch (op) {
      case Op::Add: r = wrap(std::int64_t(r) + x).asInt(); break;
      case Op::Sub: r = wrap(std::int64_t(r) - x).asInt(); break;
      case Op::Mul: r = wrap(std::int64_t(r) * x).asInt(); break;
      case Op::Div:
        if (x == 0) throw Error(L"divide by zero");
        r = wrap(std::int64_t(r) / x).asInt();
    }
  }
  return Value::integer(r);
}

// A real result that has to lie in a function's domain.
double checkedDomain(bool ok, const Value& arg, double result) {
  if (!ok) throw Error(std::wstring(L"function undefined for argument: ") + prin1String(arg));
  return result;
}

// Compares adjacent arguments (numbers with numbers, strings with strings): -1, 0 or 1.
int compare(const Value& a, const Value& b) {
  if (a.isString() || b.isString()) {
    const std::wstring& x = strArg(a);
    const std::wstring& y = strArg(b);
    return x < y ? -1 : x > y ? 1 : 0;
  }
  double x = numArg(a), y = numArg(b);
  return x < y ? -1 : x > y ? 1 : 0;
}

// A comparison chain over adjacent pairs: T when each pair satisfies `ok`.
template <class Ok>
BuiltinFn chain(Ok ok) {
  return [ok](Interpreter&, Args a) {
    arity(a, 1);
    for (std::size_t i = 0; i + 1 < a.size(); ++i)
      if (!ok(compare(a[i], a[i + 1]))) return Value();
    if (a.size() == 1) compare(a[0], a[0]);
    return Value::t();
  };
}

// A one-argument real function.
template <class F>
BuiltinFn unary(F f) {
  return [f](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::real(f(numArg(a[0]), a[0]));
  };
}

// Folds integer arguments with a bitwise operation.
template <class F>
BuiltinFn bitwise(std::int32_t start, F f) {
  return [start, f](Interpreter&, Args a) {
    std::int32_t r = start;
    for (std::size_t i = 0; i < a.size(); ++i) r = i == 0 ? intArg(a[0]) : f(r, intArg(a[i]));
    return Value::integer(r);
  };
}

Value minMax(Args a, bool max) {
  if (a.empty()) return Value::integer(0);
  bool real = anyReal(a);
  std::size_t best = 0;
  for (std::size_t i = 1; i < a.size(); ++i)
    if (max ? a[i].asNumber() > a[best].asNumber() : a[i].asNumber() < a[best].asNumber()) best = i;
  return real ? Value::real(a[best].asNumber()) : a[best];
}

Value fix(Args a) {
  arity(a, 1, 1);
  if (numArg(a[0]), a[0].isInt()) return a[0];
  double t = std::trunc(a[0].asReal());
  // Beyond 32 bits fix gives the truncated real.
  if (!(t >= INT32_MIN && t <= INT32_MAX)) return Value::real(t);
  return Value::integer(static_cast<std::int32_t>(t));
}

Value expt(Args a) {
  arity(a, 2, 2);
  if (anyReal(a)) return Value::real(std::pow(a[0].asNumber(), a[1].asNumber()));
  std::int32_t base = a[0].asInt(), e = a[1].asInt();
  if (e < 0) return Value::integer(base == 1 ? 1 : base == -1 ? (e % 2 ? -1 : 1) : 0);
  std::uint32_t r = 1, b = static_cast<std::uint32_t>(base);
  for (; e > 0; e >>= 1, b *= b)
    if (e & 1) r *= b;
  return Value::integer(static_cast<std::int32_t>(r));
}

Value rem(Args a) {
  arity(a, 1);
  bool real = anyReal(a);
  Value r = a[0];
  for (std::size_t i = 1; i < a.size(); ++i) {
    if (a[i].asNumber() == 0) throw Error(L"divide by zero");
    if (real)
      r = Value::real(std::fmod(r.asNumber(), a[i].asNumber()));
    else
      r = wrap(std::int64_t(r.asInt()) % a[i].asInt());
  }
  return real ? Value::real(r.asNumber()) : r;
}

Value atan(Args a) {
  arity(a, 1, 2);
  double y = numArg(a[0]);
  return Value::real(a.size() == 2 ? std::atan2(y, numArg(a[1])) : std::atan(y));
}

Value lsh(Args a) {
  arity(a, 0, 2);
  if (a.empty()) return Value::integer(0);
  auto n = static_cast<std::uint32_t>(intArg(a[0]));
  std::int32_t bits = a.size() == 2 ? intArg(a[1]) : 0;
  if (bits >= 32 || bits <= -32) return Value::integer(0);
  return Value::integer(static_cast<std::int32_t>(bits >= 0 ? n << bits : n >> -bits));
}

// (boole op i1 i2 ...): op's four bits give the result for each pair of input bits.
Value boole(Args a) {
  arity(a, 2);
  std::int32_t op = intArg(a[0]);
  std::uint32_t r = static_cast<std::uint32_t>(intArg(a[1]));
  for (std::size_t i = 2; i < a.size(); ++i) {
    auto x = static_cast<std::uint32_t>(intArg(a[i]));
    std::uint32_t out = 0;
    if (op & 1) out |= ~r & ~x;
    if (op & 2) out |= ~r & x;
    if (op & 4) out |= r & ~x;
    if (op & 8) out |= r & x;
    r = out;
  }
  return Value::integer(static_cast<std::int32_t>(r));
}

Value gcd(Args a) {
  arity(a, 1);
  std::int64_t r = 0;
  for (const Value& v : a) {
    std::int32_t n = intArg(v);
    if (n <= 0) throw Error(L"bad argument value: positive fixnum: " + prin1String(v));
    r = std::gcd(r, std::int64_t(n));
  }
  return wrap(r);
}

}  // namespace

void registerMath() {
  // PI is a constant every namespace sees, as a built-in value rather than a function.
  builtinTable()[Value::symbol(L"pi").symbolPtr()] = Value::real(3.14159265358979323846);
  auto def = Interpreter::defineBuiltin;
  def(L"+", [](Interpreter&, Args a) { return arith(a, Op::Add); });
  def(L"-", [](Interpreter&, Args a) { return arith(a, Op::Sub); });
  def(L"*", [](Interpreter&, Args a) { return arith(a, Op::Mul); });
  def(L"/", [](Interpreter&, Args a) { return arith(a, Op::Div); });
  def(L"rem", [](Interpreter&, Args a) { return rem(a); });
  def(L"1+", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    numArg(a[0]);
    return a[0].isInt() ? wrap(std::int64_t(a[0].asInt()) + 1) : Value::real(a[0].asReal() + 1);
  });
  def(L"1-", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    numArg(a[0]);
    return a[0].isInt() ? wrap(std::int64_t(a[0].asInt()) - 1) : Value::real(a[0].asReal() - 1);
  });
  def(L"abs", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    numArg(a[0]);
    return a[0].isInt() ? wrap(std::llabs(a[0].asInt())) : Value::real(std::fabs(a[0].asReal()));
  });
  def(L"min", [](Interpreter&, Args a) { return minMax(a, false); });
  def(L"max", [](Interpreter&, Args a) { return minMax(a, true); });
  def(L"fix", [](Interpreter&, Args a) { return fix(a); });
  def(L"float", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::real(numArg(a[0]));
  });
  def(L"sqrt", unary([](double x, const Value& v) { return checkedDomain(x >= 0, v, std::sqrt(x)); }));
  def(L"log", unary([](double x, const Value& v) { return checkedDomain(x > 0, v, std::log(x)); }));
  def(L"exp", unary([](double x, const Value&) { return std::exp(x); }));
  def(L"sin", unary([](double x, const Value&) { return std::sin(x); }));
  def(L"cos", unary([](double x, const Value&) { return std::cos(x); }));
  def(L"atan", [](Interpreter&, Args a) { return atan(a); });
  def(L"expt", [](Interpreter&, Args a) { return expt(a); });
  def(L"gcd", [](Interpreter&, Args a) { return gcd(a); });
  def(L"logand", bitwise(-1, [](std::int32_t x, std::int32_t y) { return x & y; }));
  def(L"logior", bitwise(0, [](std::int32_t x, std::int32_t y) { return x | y; }));
  def(L"lsh", [](Interpreter&, Args a) { return lsh(a); });
  def(L"boole", [](Interpreter&, Args a) { return boole(a); });
  def(L"~", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::integer(~intArg(a[0]));
  });
  def(L"minusp", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::boolean(numArg(a[0]) < 0);
  });
  def(L"zerop", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::boolean(numArg(a[0]) == 0);
  });
  def(L"numberp", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::boolean(a[0].isNumber());
  });
  def(L"=", chain([](int c) { return c == 0; }));
  def(L"/=", chain([](int c) { return c != 0; }));
  def(L"<", chain([](int c) { return c < 0; }));
  def(L">", chain([](int c) { return c > 0; }));
  def(L"<=", chain([](int c) { return c <= 0; }));
  def(L">=", chain([](int c) { return c >= 0; }));
}

}  // namespace lisp
