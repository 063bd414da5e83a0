// The AutoLISP reader. Nesting is bounded so that hostile input ends in an error, not a crash.
#include "lisp/reader.h"

#include <cerrno>
#include <cstdlib>
#include <cwctype>

#include "objects.h"

namespace lisp {

namespace {

constexpr int kMaxNesting = 1000;

// True for the characters that end an atom.
bool isDelimiter(wchar_t c) {
  return std::iswspace(c) || c == L'(' || c == L')' || c == L'\'' || c == L'"' || c == L';';
}

// True when the token is an optionally signed run of digits.
bool isIntegerToken(std::wstring_view t) {
  std::size_t i = (!t.empty() && (t[0] == L'+' || t[0] == L'-')) ? 1 : 0;
  if (i == t.size()) return false;
  for (; i < t.size(); ++i)
    if (!std::iswdigit(t[i])) return false;
  return true;
}

// True when the token is a real: digits with a point and/or an exponent (1.5 .5 -2. 1e3).
bool isRealToken(std::wstring_view t) {
  std::size_t i = (!t.empty() && (t[0] == L'+' || t[0] == L'-')) ? 1 : 0;
  std::size_t digits = 0;
  while (i < t.size() && std::iswdigit(t[i])) ++i, ++digits;
  if (i < t.size() && t[i] == L'.') {
    ++i;
    while (i < t.size() && std::iswdigit(t[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < t.size() && (t[i] == L'e' || t[i] == L'E')) {
    ++i;
    if (i < t.size() && (t[i] == L'+' || t[i] == L'-')) ++i;
    std::size_t expDigits = 0;
    while (i < t.size() && std::iswdigit(t[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == t.size();
}

}  // namespace

std::optional<Value> Reader::next() {
  skipBlank();
  if (atEnd()) return std::nullopt;
  return readForm(0);
}

void Reader::skipBlank() {
  while (!atEnd()) {
    wchar_t c = src_[pos_];
    if (std::iswspace(c)) {
      ++pos_;
    } else if (c == L';' && pos_ + 1 < src_.size() && src_[pos_ + 1] == L'|') {
      std::size_t end = src_.find(L"|;", pos_ + 2);
      pos_ = end == std::wstring_view::npos ? src_.size() : end + 2;
    } else if (c == L';') {
      while (!atEnd() && src_[pos_] != L'\n') ++pos_;
    } else {
      return;
    }
  }
}

Value Reader::readForm(int depth) {
  if (depth > kMaxNesting) throw Error(L"malformed list on input");
  skipBlank();
  if (atEnd()) throw Error(L"malformed list on input");
  wchar_t c = src_[pos_];
  if (c == L'(') {
    ++pos_;
    return readList(depth + 1);
  }
  if (c == L')') {
    ++pos_;
    throw Error(L"extra right paren on input");
  }
  if (c == L'\'') {
    ++pos_;
    return Value::makeList({sym::quote(), readForm(depth + 1)});
  }
  if (c == L'"') {
    ++pos_;
    return readString();
  }
  return readAtom();
}

Value Reader::readList(int depth) {
  std::vector<Value> items;
  Value tail;
  for (;;) {
    skipBlank();
    if (atEnd()) throw Error(L"malformed list on input");
    if (src_[pos_] == L')') {
      ++pos_;
      return Value::makeList(items, tail);
    }
    // A lone "." before the last item makes a dotted pair.
    if (src_[pos_] == L'.' && pos_ + 1 < src_.size() && isDelimiter(src_[pos_ + 1])) {
      if (items.empty()) throw Error(L"invalid dotted pair");
      ++pos_;
      tail = readForm(depth);
      skipBlank();
      if (atEnd()) throw Error(L"malformed list on input");
      if (src_[pos_] != L')') throw Error(L"invalid dotted pair");
      ++pos_;
      return Value::makeList(items, tail);
    }
    items.push_back(readForm(depth));
  }
}

Value Reader::readString() {
  std::wstring s;
  while (!atEnd()) {
    wchar_t c = src_[pos_++];
    if (c == L'"') return Value::string(std::move(s));
    if (c != L'\\' || atEnd()) {
      s += c;
      continue;
    }
    wchar_t e = src_[pos_++];
    switch (e) {
      case L'n': s += L'\n'; break;
      case L'r': s += L'\r'; break;
      case L't': s += L'\t'; break;
      case L'e': s += L'\x1b'; break;
      default:
        if (e >= L'0' && e <= L'7') {  // up to three octal digits
          int code = e - L'0';
          for (int k = 0; k < 2 && !atEnd() && src_[pos_] >= L'0' && src_[pos_] <= L'7'; ++k)
            code = code * 8 + (src_[pos_++] - L'0');
          s += static_cast<wchar_t>(code);
        } else {
          s += e;  // \\ \" and any other escaped character stand for themselves
        }
    }
  }
  throw Error(L"malformed string on input");
}

Value Reader::readAtom() {
  std::size_t start = pos_;
  while (!atEnd() && !isDelimiter(src_[pos_])) ++pos_;
  std::wstring token(src_.substr(start, pos_ - start));
  if (isIntegerToken(token)) {
    errno = 0;
    long long n = std::wcstoll(token.c_str(), nullptr, 10);
    if (errno == 0 && n >= INT32_MIN && n <= INT32_MAX) return Value::integer(static_cast<std::int32_t>(n));
    return Value::real(std::wcstod(token.c_str(), nullptr));
  }
  if (isRealToken(token)) return Value::real(std::wcstod(token.c_str(), nullptr));
  return Value::symbol(token);
}

}  // namespace lisp
