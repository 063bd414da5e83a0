// acutWcMatch: the host's wildcard patterns, as the LISP function wcmatch reads them. "#" a digit,
// "@" a letter, "." a character that is neither, "*" any run, "?" any character, "[...]" one of
// a set ("[~...]" none of it, "a-z" a range), "~" at the start of a pattern negates it, "`"
// quotes the next character, and "," separates patterns of which any may match. Case counts.
#include <unicode/uchar.h>

#include <string_view>
#include <vector>

#include "host/ads.h"

namespace {

using View = std::wstring_view;

// Matches a bracketed set at p (just past "["); advances p past "]". False when c is not in it.
bool inSet(View pat, std::size_t& p, wchar_t c) {
  bool negate = p < pat.size() && pat[p] == L'~';
  if (negate) ++p;
  bool found = false;
  std::size_t start = p;
  while (p < pat.size() && (pat[p] != L']' || p == start)) {
    wchar_t lo = pat[p] == L'`' && p + 1 < pat.size() ? pat[++p] : pat[p];
    wchar_t hi = lo;
    if (p + 2 < pat.size() && pat[p + 1] == L'-' && pat[p + 2] != L']') {
      hi = pat[p + 2];
      p += 2;
    }
    if (c >= lo && c <= hi) found = true;
    ++p;
  }
  if (p < pat.size()) ++p;  // the closing bracket
  return found != negate;
}

bool match(View text, View pat) {
  std::size_t t = 0, p = 0;
  while (p < pat.size()) {
    wchar_t pc = pat[p];
    if (pc == L'*') {
      for (std::size_t rest = t; rest <= text.size(); ++rest)
        if (match(text.substr(rest), pat.substr(p + 1))) return true;
      return false;
    }
    if (t >= text.size()) return false;
    UChar32 c = static_cast<UChar32>(text[t]);
    bool ok;
    ++p;
    switch (pc) {
      case L'#': ok = u_isdigit(c); break;
      case L'@': ok = u_isalpha(c); break;
      case L'.': ok = !u_isalnum(c); break;
      case L'?': ok = true; break;
      case L'[': ok = inSet(pat, p, text[t]); break;
      case L'`': ok = p < pat.size() && pat[p++] == text[t]; break;
      default: ok = pc == text[t]; break;
    }
    if (!ok) return false;
    ++t;
  }
  return t == text.size();
}

// The patterns a comma list holds; commas inside brackets or quoted do not separate.
std::vector<View> alternatives(View pattern) {
  std::vector<View> out;
  std::size_t start = 0;
  bool inBrackets = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    wchar_t c = pattern[i];
    if (c == L'`') ++i;
    else if (c == L'[') inBrackets = true;
    else if (c == L']') inBrackets = false;
    else if (c == L',' && !inBrackets) {
      out.push_back(pattern.substr(start, i - start));
      start = i + 1;
    }
  }
  out.push_back(pattern.substr(start));
  return out;
}

}  // namespace

int acutWcMatch(const ACHAR* text, const ACHAR* pattern) {
  if (!text || !pattern) return RTERROR;
  for (View alt : alternatives(pattern)) {
    bool negate = !alt.empty() && alt[0] == L'~';
    if (match(text, negate ? alt.substr(1) : alt) != negate) return RTNORM;
  }
  return RTERROR;
}
