// The wildcard language of wcmatch and acutWcMatch: # digit, @ letter, . non-alphanumeric, * any run, ? any
// character, [...] and [~...] character sets with ranges, ` escaping the next character, commas
// between alternative patterns, and a leading ~ negating one. Case-sensitive. Matching is
// linear backtracking over the last *, so no pattern takes exponential time.
#include <unicode/uchar.h>

#include <vector>

#include "host/ads.h"
#include "host/wildcard.h"

namespace host {

namespace {

struct Element {
  enum Type { Literal, Digit, Letter, NonAlnum, Any, Set, Star } type = Literal;
  wchar_t ch = 0;
  std::vector<std::pair<wchar_t, wchar_t>> ranges;  // for Set
  bool negated = false;                              // for Set
};

// True when the element accepts the character.
bool accepts(const Element& e, wchar_t c) {
  switch (e.type) {
    case Element::Literal: return c == e.ch;
    case Element::Digit: return c >= L'0' && c <= L'9';
    case Element::Letter: return u_isalpha(c);
    case Element::NonAlnum: return !u_isalnum(c);
    case Element::Any: return true;
    case Element::Set: {
      bool in = false;
      for (auto [lo, hi] : e.ranges) in |= c >= lo && c <= hi;
      return in != e.negated;
    }
    case Element::Star: return false;
  }
  return false;
}

// Parses a bracket set starting after "["; false when it has no closing "]".
bool parseSet(std::wstring_view p, std::size_t& i, Element& e) {
  std::size_t j = i;
  e.type = Element::Set;
  if (j < p.size() && p[j] == L'~') e.negated = true, ++j;
  bool first = true;
  for (; j < p.size(); first = false) {
    wchar_t c = p[j];
    if (c == L']' && !first) {
      i = j + 1;
      return true;
    }
    if (c == L'`' && j + 1 < p.size()) c = p[++j];
    ++j;
    if (j + 1 < p.size() && p[j] == L'-' && p[j + 1] != L']') {
      e.ranges.emplace_back(c, p[j + 1]);
      j += 2;
    } else {
      e.ranges.emplace_back(c, c);
    }
  }
  return false;
}

std::vector<Element> compile(std::wstring_view p) {
  std::vector<Element> out;
  for (std::size_t i = 0; i < p.size();) {
    Element e;
    wchar_t c = p[i++];
    switch (c) {
      case L'#': e.type = Element::Digit; break;
      case L'@': e.type = Element::Letter; break;
      case L'.': e.type = Element::NonAlnum; break;
      case L'?': e.type = Element::Any; break;
      case L'*': e.type = Element::Star; break;
      case L'`':
        e.ch = i < p.size() ? p[i++] : L'`';
        break;
      case L'[': {
        std::size_t j = i;
        if (parseSet(p, j, e)) {
          i = j;
        } else {  // no closing bracket: a literal "["
          e = Element();
          e.ch = L'[';
        }
        break;
      }
      default: e.ch = c;
    }
    out.push_back(std::move(e));
  }
  return out;
}

bool matchElements(std::wstring_view s, const std::vector<Element>& p) {
  std::size_t si = 0, pi = 0, starP = SIZE_MAX, starS = 0;
  while (si < s.size()) {
    if (pi < p.size() && p[pi].type == Element::Star) {
      starP = pi++;
      starS = si;
    } else if (pi < p.size() && accepts(p[pi], s[si])) {
      ++pi, ++si;
    } else if (starP != SIZE_MAX) {
      pi = starP + 1;
      si = ++starS;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi].type == Element::Star) ++pi;
  return pi == p.size();
}

// The comma-separated alternatives of a pattern; commas escaped by ` or inside [...] stay.
std::vector<std::wstring_view> alternatives(std::wstring_view p) {
  std::vector<std::wstring_view> out;
  std::size_t start = 0;
  bool inSet = false;
  for (std::size_t i = 0; i < p.size(); ++i) {
    if (p[i] == L'`') ++i;
    else if (p[i] == L'[') inSet = true;
    else if (p[i] == L']') inSet = false;
    else if (p[i] == L',' && !inSet) {
      out.push_back(p.substr(start, i - start));
      start = i + 1;
    }
  }
  out.push_back(p.substr(std::min(start, p.size())));
  return out;
}

}  // namespace

bool wildcardMatch(std::wstring_view text, std::wstring_view pattern) {
  for (std::wstring_view alt : alternatives(pattern)) {
    bool negate = !alt.empty() && alt[0] == L'~';
    if (negate) alt.remove_prefix(1);
    if (matchElements(text, compile(alt)) != negate) return true;
  }
  return false;
}

}  // namespace host

int acutWcMatch(const ACHAR* text, const ACHAR* pattern) {
  if (!text || !pattern) return RTERROR;
  return host::wildcardMatch(text, pattern) ? RTNORM : RTERROR;
}
