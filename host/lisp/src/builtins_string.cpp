// String functions: building, cutting, searching, case, conversion between text and numbers,
// and the wcmatch wildcard test. Positions count wide characters.
#include <unicode/uchar.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cwchar>
#include <cwctype>

#include "lisp/reader.h"
#include "host/wildcard.h"
#include "objects.h"

namespace lisp {

namespace {

using Args = std::span<const Value>;

// A non-negative integer argument, as the string functions require.
std::int32_t countArg(const Value& v) {
  std::int32_t n = intArg(v);
  if (n < 0) throw Error(L"bad argument value: non-negative: " + prin1String(v));
  return n;
}

Value substr(Args a) {
  arity(a, 2, 3);
  const std::wstring& s = strArg(a[0]);
  std::int32_t start = intArg(a[1]);
  if (start < 1) throw Error(L"bad argument value: positive fixnum: " + prin1String(a[1]));
  if (static_cast<std::size_t>(start) > s.size()) return Value::string(L"");
  std::size_t len = a.size() == 3 ? static_cast<std::size_t>(countArg(a[2])) : std::wstring::npos;
  return Value::string(s.substr(start - 1, len));
}

Value strcase(Args a) {
  arity(a, 1, 2);
  std::wstring s = strArg(a[0]);
  bool lower = a.size() == 2 && truthy(a[1]);
  for (auto& c : s) c = static_cast<wchar_t>(lower ? u_tolower(c) : u_toupper(c));
  return Value::string(std::move(s));
}

Value atoi(Args a) {
  arity(a, 1, 1);
  long long n = std::wcstoll(strArg(a[0]).c_str(), nullptr, 10);
  return Value::integer(static_cast<std::int32_t>(static_cast<std::uint32_t>(n)));
}

Value atof(Args a) {
  arity(a, 1, 1);
  return Value::real(std::wcstod(strArg(a[0]).c_str(), nullptr));
}

// distof: the whole text must be a number (blanks around it allowed); nil otherwise.
Value distof(Args a) {
  arity(a, 1, 2);
  const std::wstring& s = strArg(a[0]);
  if (a.size() == 2) intArg(a[1]);
  wchar_t* end = nullptr;
  double d = std::wcstod(s.c_str(), &end);
  if (end == s.c_str()) return {};
  while (*end && std::iswspace(*end)) ++end;
  return *end ? Value() : Value::real(d);
}

Value rtos(Args a) {
  arity(a, 1, 3);
  double v = numArg(a[0]);
  std::optional<int> mode, prec;
  if (a.size() >= 2) mode = intArg(a[1]);
  if (a.size() == 3) prec = intArg(a[2]);
  return Value::string(Interpreter::rtos(v, mode, prec));
}

Value chr(Args a) {
  arity(a, 1, 1);
  std::int32_t c = intArg(a[0]);
  if (c == 0) return Value::string(L"");
  return Value::string(std::wstring(1, static_cast<wchar_t>(c & 0xFFFF)));
}

// An optional 0-based start position argument.
std::size_t startArg(Args a, std::size_t i) { return a.size() > i ? static_cast<std::size_t>(countArg(a[i])) : 0; }

Value search(Args a) {
  arity(a, 2, 3);
  const std::wstring& pattern = strArg(a[0]);
  const std::wstring& s = strArg(a[1]);
  std::size_t at = s.find(pattern, startArg(a, 2));
  return at == std::wstring::npos ? Value() : Value::integer(static_cast<std::int32_t>(at));
}

Value stringSubst(Args a) {
  arity(a, 3, 4);
  const std::wstring& with = strArg(a[0]);
  const std::wstring& pattern = strArg(a[1]);
  std::wstring s = strArg(a[2]);
  std::size_t at = s.find(pattern, startArg(a, 3));
  if (at != std::wstring::npos) s.replace(at, pattern.size(), with);
  return Value::string(std::move(s));
}

// Trims the characters of a[0] from a[1]'s left and/or right end.
Value trim(Args a, bool left, bool right) {
  arity(a, 2, 2);
  const std::wstring& set = strArg(a[0]);
  const std::wstring& s = strArg(a[1]);
  std::size_t b = left ? s.find_first_not_of(set) : 0;
  if (b == std::wstring::npos) return Value::string(L"");
  std::size_t e = right ? s.find_last_not_of(set) + 1 : s.size();
  return Value::string(s.substr(b, e - b));
}

Value translate(Args a) {
  arity(a, 3, 3);
  const std::wstring& from = strArg(a[0]);
  const std::wstring& to = strArg(a[1]);
  std::wstring s = strArg(a[2]);
  for (auto& c : s) {
    std::size_t i = from.find(c);
    if (i != std::wstring::npos && !to.empty()) c = to[std::min(i, to.size() - 1)];
  }
  return Value::string(std::move(s));
}

Value strcat(Args a) {
  std::wstring s;
  for (const Value& v : a) s += strArg(v);
  return Value::string(std::move(s));
}

Value strlen(Args a) {
  std::size_t n = 0;
  for (const Value& v : a) n += strArg(v).size();
  return Value::integer(static_cast<std::int32_t>(n));
}

}  // namespace

std::wstring Interpreter::formatNumber(double value, int mode, int precision) {
  precision = std::clamp(precision, 0, 16);
  wchar_t buf[400];
  std::swprintf(buf, 400, mode == 1 ? L"%.*E" : L"%.*f", precision, value);
  return buf;
}

void registerStrings() {
  auto def = Interpreter::defineBuiltin;
  def(L"strcat", [](Interpreter&, Args a) { return strcat(a); });
  def(L"strlen", [](Interpreter&, Args a) { return strlen(a); });
  def(L"substr", [](Interpreter&, Args a) { return substr(a); });
  def(L"strcase", [](Interpreter&, Args a) { return strcase(a); });
  def(L"atoi", [](Interpreter&, Args a) { return atoi(a); });
  def(L"atof", [](Interpreter&, Args a) { return atof(a); });
  def(L"itoa", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::string(std::to_wstring(intArg(a[0])));
  });
  def(L"rtos", [](Interpreter&, Args a) { return rtos(a); });
  def(L"distof", [](Interpreter&, Args a) { return distof(a); });
  def(L"chr", [](Interpreter&, Args a) { return chr(a); });
  def(L"ascii", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    const std::wstring& s = strArg(a[0]);
    return Value::integer(s.empty() ? 0 : s[0]);
  });
  def(L"vl-string-search", [](Interpreter&, Args a) { return search(a); });
  def(L"vl-string-subst", [](Interpreter&, Args a) { return stringSubst(a); });
  def(L"vl-string-trim", [](Interpreter&, Args a) { return trim(a, true, true); });
  def(L"vl-string-left-trim", [](Interpreter&, Args a) { return trim(a, true, false); });
  def(L"vl-string-right-trim", [](Interpreter&, Args a) { return trim(a, false, true); });
  def(L"vl-string-translate", [](Interpreter&, Args a) { return translate(a); });
  def(L"wcmatch", [](Interpreter&, Args a) {
    arity(a, 2, 2);
    return Value::boolean(host::wildcardMatch(strArg(a[0]), strArg(a[1])));
  });
  def(L"vl-princ-to-string", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::string(princString(a[0]));
  });
  def(L"vl-prin1-to-string", [](Interpreter&, Args a) {
    arity(a, 1, 1);
    return Value::string(prin1String(a[0]));
  });
  def(L"read", [](Interpreter&, Args a) {
    arity(a, 0, 1);
    if (a.empty()) return Value();
    Reader reader(strArg(a[0]));
    return reader.next().value_or(Value());
  });
}

}  // namespace lisp
