// The printer: prin1 and princ text exactly as AutoLISP writes it. Lists are walked with an
// explicit stack, so any length or depth of list prints without recursion.
#include <cmath>
#include <cstdio>
#include <cwchar>

#include "objects.h"

namespace lisp {

std::wstring formatReal(double r) {
  if (std::isnan(r)) return L"-1.#IND";
  if (std::isinf(r)) return r > 0 ? L"1.#INF" : L"-1.#INF";
  wchar_t buf[40];
  std::swprintf(buf, 40, L"%.6g", r);
  std::wstring s = buf;
  if (s.find(L'.') == std::wstring::npos) {
    auto e = s.find(L'e');
    s.insert(e == std::wstring::npos ? s.size() : e, L".0");
  }
  return s;
}

namespace {

// The quoted form of a string: backslash escapes, other control characters in octal.
std::wstring quoted(const std::wstring& s) {
  std::wstring out = L"\"";
  for (wchar_t c : s) {
    switch (c) {
      case L'\\': out += L"\\\\"; break;
      case L'"': out += L"\\\""; break;
      case L'\n': out += L"\\n"; break;
      case L'\r': out += L"\\r"; break;
      case L'\t': out += L"\\t"; break;
      case L'\x1b': out += L"\\e"; break;
      default:
        if (c < 32) {
          wchar_t buf[8];
          std::swprintf(buf, 8, L"\\%03o", static_cast<unsigned>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + L"\"";
}

// "@" and the object's address as a Windows build prints it.
std::wstring address(const void* p) {
  wchar_t buf[32];
  std::swprintf(buf, 32, L"@%016llx", static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(p)));
  return buf;
}

// The text of an atom.
std::wstring atomText(const Value& v, bool escape) {
  switch (v.kind()) {
    case Kind::Nil: return L"nil";
    case Kind::Int: return std::to_wstring(v.asInt());
    case Kind::Real: return formatReal(v.asReal());
    case Kind::String: return escape ? quoted(v.asString()) : v.asString();
    case Kind::Symbol: return v.symbolName();
    case Kind::Ename: {
      wchar_t buf[48];
      std::swprintf(buf, 48, L"<Entity name: %llx>", static_cast<unsigned long long>(v.asEname()));
      return buf;
    }
    case Kind::File: return L"#<file " + quoted(v.object<File>().path) + L">";
    case Kind::Subr: return L"#<SUBR " + address(&v.object<Function>()) + L" " + v.object<Function>().name + L">";
    case Kind::Native:
      return L"#<EXRXSUBR " + address(&v.object<Function>()) + L" " + v.object<Function>().name + L">";
    case Kind::UserFn: {
      const auto& f = v.object<UserFunction>();
      return L"#<USUBR " + address(&f) + L" " + (f.name.empty() ? L"-lambda-" : f.name) + L">";
    }
    case Kind::CatchError: return L"#<%catch-all-apply-error%>";
    case Kind::Cons: break;
  }
  return {};
}

std::wstring print(const Value& root, bool escape) {
  struct Item {
    Value value;
    const wchar_t* literal = nullptr;
  };
  std::wstring out;
  std::vector<Item> stack{{root}};
  while (!stack.empty()) {
    Item item = std::move(stack.back());
    stack.pop_back();
    if (item.literal) {
      out += item.literal;
      continue;
    }
    if (!item.value.isCons()) {
      out += atomText(item.value, escape);
      continue;
    }
    // Push the list's pieces in reverse: "(" a " " b " . " tail ")".
    std::vector<Value> items = item.value.listToVector();
    Value tail = item.value;
    while (tail.isCons()) tail = tail.object<Cons>().cdr;
    stack.push_back({{}, L")"});
    if (!tail.isNil()) {
      stack.push_back({tail});
      stack.push_back({{}, L" . "});
    }
    for (std::size_t i = items.size(); i-- > 0;) {
      stack.push_back({items[i]});
      if (i > 0) stack.push_back({{}, L" "});
    }
    out += L'(';
  }
  return out;
}

}  // namespace

std::wstring prin1String(const Value& v) { return print(v, true); }
std::wstring princString(const Value& v) { return print(v, false); }

}  // namespace lisp
