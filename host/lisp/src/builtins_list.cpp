// List functions: accessors, construction, search, comparison and sorting. No function here
// modifies a list; each builds what it returns from fresh cells and shares the rest.
#include <cmath>

#include "objects.h"

namespace lisp {

namespace {

using Args = std::span<const Value>;

// A proper list argument as its items; "bad argument type: listp" otherwise.
std::vector<Value> items(const Value& v) {
  listArg(v);
  Value p = v;
  while (p.isCons()) p = p.object<Cons>().cdr;
  if (!p.isNil()) badType(L"listp", v);
  return v.listToVector();
}

// Builds car/cdr accessor chains such as cadr: the letters between c and r, applied right first.
BuiltinFn accessor(std::wstring path) {
  return [path](Interpreter&, Args a) {
    arity(a, 1, 1);
    Value v = a[0];
    for (auto it = path.rbegin(); it != path.rend(); ++it) {
      if (!v.isList()) badType(L"consp", a[0]);
      v = *it == L'a' ? v.car() : v.cdr();
    }
    return v;
  };
}

// Every path of a's and d's of the given length.
void addAccessors(std::wstring path, std::size_t len) {
  if (path.size() == len) {
    Interpreter::defineBuiltin(L"c" + path + L"r", accessor(path));
    return;
  }
  addAccessors(path + L"a", len);
  addAccessors(path + L"d", len);
}

// A copy of the tree with every item equal to `from` replaced by `to`.
Value substitute(Interpreter& in, const Value& to, const Value& from, const Value& tree) {
  if (equalValues(in, tree, from, 0)) return to;
  if (!tree.isCons()) return tree;
  DepthGuard guard(in);
  std::vector<Value> out;
  Value p = tree;
  for (; p.isCons(); p = p.cdr()) out.push_back(substitute(in, to, from, p.car()));
  return Value::makeList(out, p);
}

// A merge sort that stays in bounds whatever the predicate answers; returns the new order.
std::vector<std::size_t> sortOrder(std::size_t n, const std::function<bool(std::size_t, std::size_t)>& less) {
  std::vector<std::size_t> v(n), tmp(n);
  for (std::size_t i = 0; i < n; ++i) v[i] = i;
  for (std::size_t width = 1; width < n; width *= 2) {
    for (std::size_t lo = 0; lo < n; lo += 2 * width) {
      std::size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
      std::size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) tmp[k++] = less(v[j], v[i]) ? v[j++] : v[i++];
      while (i < mid) tmp[k++] = v[i++];
      while (j < hi) tmp[k++] = v[j++];
    }
    v.swap(tmp);
  }
  return v;
}

Value sortedList(const std::vector<Value>& list, const std::function<bool(std::size_t, std::size_t)>& less) {
  std::vector<Value> out;
  for (std::size_t i : sortOrder(list.size(), less)) out.push_back(list[i]);
  return Value::makeList(out);
}

Value append(Args a) {
  std::vector<Value> all;
  for (const Value& v : a)
    for (const Value& x : items(v)) all.push_back(x);
  return Value::makeList(all);
}

Value length(Args a) {
  arity(a, 1, 1);
  return Value::integer(static_cast<std::int32_t>(items(a[0]).size()));
}

Value nth(Args a) {
  arity(a, 2, 2);
  std::int32_t n = intArg(a[0]);
  listArg(a[1]);
  Value p = a[1];
  for (; n > 0 && p.isCons(); --n) p = p.cdr();
  return n < 0 || !p.isCons() ? Value() : p.car();
}

Value last(Args a) {
  arity(a, 1, 1);
  listArg(a[0]);
  Value p = a[0];
  while (p.cdr().isCons()) p = p.cdr();
  return p.isCons() && !p.cdr().isNil() ? p.cdr() : p.car();
}

Value member(Interpreter& in, Args a) {
  arity(a, 2, 2);
  listArg(a[1]);
  for (Value p = a[1]; p.isCons(); p = p.cdr())
    if (equalValues(in, a[0], p.car(), 0)) return p;
  return {};
}

Value assoc(Interpreter& in, Args a) {
  arity(a, 2, 2);
  listArg(a[1]);
  for (Value p = a[1]; p.isCons(); p = p.cdr())
    if (p.car().isCons() && equalValues(in, a[0], p.car().car(), 0)) return p.car();
  return {};
}

Value position(Interpreter& in, Args a) {
  arity(a, 2, 2);
  std::int32_t i = 0;
  for (const Value& x : items(a[1])) {
    if (equalValues(in, a[0], x, 0)) return Value::integer(i);
    ++i;
  }
  return {};
}

Value remove(Interpreter& in, Args a) {
  arity(a, 2, 2);
  std::vector<Value> out;
  for (const Value& x : items(a[1]))
    if (!equalValues(in, a[0], x, 0)) out.push_back(x);
  return Value::makeList(out);
}

Value vlSort(Interpreter& in, Args a) {
  arity(a, 2, 2);
  std::vector<Value> list = items(a[0]);
  return sortedList(list, [&](std::size_t x, std::size_t y) {
    Value pair[] = {list[x], list[y]};
    return truthy(in.apply(a[1], pair));
  });
}

Value strlsort(Args a) {
  arity(a, 1, 1);
  std::vector<Value> list = items(a[0]);
  for (const Value& s : list) strArg(s);
  return sortedList(list, [&](std::size_t x, std::size_t y) { return list[x].asString() < list[y].asString(); });
}

}  // namespace

bool equalValues(Interpreter& in, const Value& a, const Value& b, double fuzz) {
  if (a.isNumber() && b.isNumber()) return std::fabs(a.asNumber() - b.asNumber()) <= fuzz;
  if (a.isString() && b.isString()) return a.asString() == b.asString();
  if (!a.isCons() || !b.isCons()) return a.identical(b);
  DepthGuard guard(in);
  Value x = a, y = b;
  for (; x.isCons() && y.isCons(); x = x.cdr(), y = y.cdr())
    if (!equalValues(in, x.car(), y.car(), fuzz)) return false;
  return equalValues(in, x, y, fuzz);
}

void registerLists() {
  auto def = Interpreter::defineBuiltin;
  for (std::size_t len = 1; len <= 4; ++len) addAccessors(L"", len);
  def(L"cons", [](Interpreter&, Args a) {
    arity(a, 2, 2);
    return Value::cons(a[0], a[1]);
  });
  def(L"list", [](Interpreter&, Args a) { return Value::makeList(a); });
  def(L"append", [](Interpreter&, Args a) { return append(a); });
  def(L"length", [](Interpreter&, Args a) { return length(a); });
  def(L"nth", [](Interpreter&, Args a) { return nth(a); });
  def(L"last", [](Interpreter&, Args a) { return last(a); });
  def(L"reverse", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    std::vector<Value> v = items(a[0]);
    return Value::makeList(std::vector<Value>(v.rbegin(), v.rend()));
  });
  def(L"member", member);
  def(L"assoc", assoc);
  def(L"subst", [](Interpreter& in, Args a) {
    arity(a, 3, 3);
    return substitute(in, a[0], a[1], a[2]);
  });
  def(L"vl-position", position);
  def(L"vl-remove", remove);
  def(L"vl-sort", vlSort);
  def(L"acad_strlsort", [](Interpreter&, Args a) { return strlsort(a); });
  def(L"atom", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::boolean(!a[0].isCons());
  });
  def(L"listp", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::boolean(a[0].isList());
  });
  def(L"vl-consp", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::boolean(a[0].isCons());
  });
  def(L"eq", [](Interpreter&, Args a) {
    arity(a, 2, 2);
    return Value::boolean(a[0].identical(a[1]));
  });
  def(L"equal", [](Interpreter& in, Args a) {
    arity(a, 2, 3);
    return Value::boolean(equalValues(in, a[0], a[1], a.size() == 3 ? numArg(a[2]) : 0));
  });
}

}  // namespace lisp
