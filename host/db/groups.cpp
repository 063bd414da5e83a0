// DXF groups to and from result-buffer chains, and the case-blind comparison of names. A chain
// node is read by its group code's storage type; a node with a code that is no DXF group, or a
// string group without its text, makes the whole chain unreadable.
#include <unicode/uchar.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

#include "db/database.h"
#include "kinds.h"

namespace host {

static_assert(sizeof(wchar_t) == 4, "names are upper-cased by code point");

std::wstring upper(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) c = static_cast<wchar_t>(u_toupper(static_cast<UChar32>(c)));
  return out;
}

bool sameName(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && upper(a) == upper(b);
}

namespace {

// The group code a node carries: RTDXF0 stands for group 0, which cannot end a built list.
int codeOf(const resbuf* rb) { return rb->restype == RTDXF0 ? 0 : rb->restype; }

// True when the code is a DXF group code (entity data or extended data).
bool isGroupCode(int code) { return code >= -5 && code <= 1071; }

ACHAR* copyText(const std::wstring& text) {
  auto* out = static_cast<ACHAR*>(std::malloc((text.size() + 1) * sizeof(ACHAR)));
  std::wmemcpy(out, text.c_str(), text.size() + 1);
  return out;
}

}  // namespace

bool valueFromResbuf(const resbuf* rb, Value& out) {
  const ads_u_val& v = rb->resval;
  switch (groupValueKind(codeOf(rb))) {
    case RbValueKind::None: out = std::monostate{}; return true;
    case RbValueKind::Real: out = v.rreal; return true;
    case RbValueKind::Point: out = Point{v.rpoint[0], v.rpoint[1], v.rpoint[2]}; return true;
    case RbValueKind::Short: out = v.rint; return true;
    case RbValueKind::Long: out = v.rlong; return true;
    case RbValueKind::Int64: out = v.mnInt64; return true;
    case RbValueKind::String:
      if (!v.rstring) return false;
      out = std::wstring(v.rstring);
      return true;
    case RbValueKind::Name: out = Ref{v.rlname[0]}; return true;
    case RbValueKind::Binary:
      if (v.rbinary.clen < 0 || (v.rbinary.clen > 0 && !v.rbinary.buf)) return false;
      out = std::string(v.rbinary.buf ? v.rbinary.buf : "", v.rbinary.clen);
      return true;
  }
  return false;
}

void valueToResbuf(const Value& value, resbuf* rb) {
  ads_u_val& v = rb->resval;
  if (const auto* d = std::get_if<double>(&value)) v.rreal = *d;
  else if (const auto* p = std::get_if<Point>(&value)) std::memcpy(v.rpoint, p->data(), sizeof v.rpoint);
  else if (const auto* s = std::get_if<short>(&value)) v.rint = *s;
  else if (const auto* l = std::get_if<std::int32_t>(&value)) v.rlong = *l;
  else if (const auto* w = std::get_if<std::int64_t>(&value)) v.mnInt64 = *w;
  else if (const auto* t = std::get_if<std::wstring>(&value)) v.rstring = copyText(*t);
  else if (const auto* r = std::get_if<Ref>(&value)) v.rlname[0] = r->id, v.rlname[1] = 0;
  else if (const auto* b = std::get_if<std::string>(&value)) {
    v.rbinary.clen = static_cast<short>(b->size());
    v.rbinary.buf = static_cast<char*>(std::malloc(b->size() ? b->size() : 1));
    std::memcpy(v.rbinary.buf, b->data(), b->size());
  }
}

bool groupsFromChain(const resbuf* chain, Groups& out) {
  out.clear();
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
    int code = codeOf(rb);
    Group g{static_cast<short>(code), {}};
    if (!isGroupCode(code) || !valueFromResbuf(rb, g.value)) return false;
    if (std::holds_alternative<std::monostate>(g.value) && code != -3) return false;
    out.push_back(std::move(g));
  }
  return true;
}

resbuf* chainFromGroups(const Groups& groups) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (const Group& g : groups) {
    resbuf* rb = acutNewRb(g.code);
    valueToResbuf(g.value, rb);
    *tail = rb;
    tail = &rb->rbnext;
  }
  return head;
}

}  // namespace host
