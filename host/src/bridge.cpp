// Conversion of LISP values to result-buffer chains and back.
#include "host/bridge.h"

#include "chain_build.h"

#include <cstdlib>
#include <cwchar>

namespace host::bridge {

namespace {

using lisp::Value;

// Appends a node holding a copy of the text.
void addString(ChainBuilder& out, int type, const std::wstring& text) {
  out.add(type)->resval.rstring = wcsdup(text.c_str());
}

// True when a list is two or three numbers, which the bridge passes as a point.
bool isPointList(const Value& v) {
  if (!v.isCons()) return false;
  auto items = v.listToVector();
  if (items.size() < 2 || items.size() > 3) return false;
  Value tail = v;
  for (std::size_t i = 0; i < items.size(); ++i) tail = tail.cdr();
  if (!tail.isNil()) return false;  // dotted
  for (const Value& item : items)
    if (!item.isNumber()) return false;
  return true;
}

void addValue(ChainBuilder& out, const Value& v) {
  switch (v.kind()) {
    case lisp::Kind::Nil:
      out.add(RTNIL);
      return;
    case lisp::Kind::Int: {
      std::int32_t i = v.asInt();
      if (i >= -32768 && i <= 32767)
        out.add(RTSHORT)->resval.rint = static_cast<short>(i);
      else
        out.add(RTLONG)->resval.rlong = i;
      return;
    }
    case lisp::Kind::Real:
      out.add(RTREAL)->resval.rreal = v.asReal();
      return;
    case lisp::Kind::String:
      addString(out, RTSTR, v.asString());
      return;
    case lisp::Kind::Ename: {
      resbuf* rb = out.add(RTENAME);
      rb->resval.rlname[0] = v.asEname();
      rb->resval.rlname[1] = 0;
      return;
    }
    case lisp::Kind::Symbol:
      if (v.isT())
        out.add(RTT);
      else
        addString(out, RTSTR, v.symbolName());
      return;
    case lisp::Kind::Cons: {
      if (isPointList(v)) {
        auto items = v.listToVector();
        resbuf* rb = out.add(items.size() == 2 ? RTPOINT : RT3DPOINT);
        for (std::size_t i = 0; i < items.size(); ++i) rb->resval.rpoint[i] = items[i].asNumber();
        return;
      }
      out.add(RTLB);
      Value cell = v;
      for (; cell.isCons(); cell = cell.cdr()) addValue(out, cell.car());
      if (!cell.isNil()) {
        out.add(RTDOTE);
        addValue(out, cell);
      }
      out.add(RTLE);
      return;
    }
    default:
      // Files and functions have no result-buffer form; they arrive as their printed text.
      addString(out, RTSTR, lisp::prin1String(v));
      return;
  }
}

// Reads one item at `rb`, advancing it past the item; nested lists end at their RTLE.
Value readItem(const resbuf*& rb);

Value readList(const resbuf*& rb) {
  std::vector<Value> items;
  Value tail;
  while (rb && rb->restype != RTLE) {
    if (rb->restype == RTDOTE) {
      rb = rb->rbnext;
      if (rb && rb->restype != RTLE) tail = readItem(rb);
      continue;
    }
    items.push_back(readItem(rb));
  }
  if (rb) rb = rb->rbnext;  // past RTLE
  return Value::makeList(items, tail);
}

Value readItem(const resbuf*& rb) {
  const resbuf* node = rb;
  rb = rb->rbnext;
  switch (node->restype) {
    case RTSHORT:
      return Value::integer(node->resval.rint);
    case RTLONG:
      return Value::integer(node->resval.rlong);
    case RTREAL:
    case RTANG:
    case RTORINT:
      return Value::real(node->resval.rreal);
    case RTPOINT:
      return Value::makeList({Value::real(node->resval.rpoint[0]), Value::real(node->resval.rpoint[1])});
    case RT3DPOINT:
      return Value::makeList({Value::real(node->resval.rpoint[0]), Value::real(node->resval.rpoint[1]),
                              Value::real(node->resval.rpoint[2])});
    case RTSTR:
      return Value::string(node->resval.rstring ? node->resval.rstring : L"");
    case RTENAME:
    case RTPICKS:
      return Value::ename(node->resval.rlname[0]);
    case RTT:
      return Value::t();
    case RTLB:
      return readList(rb);
    default:  // RTNIL, RTVOID, RTNONE and codes without a LISP form
      return Value::nil();
  }
}

}  // namespace

resbuf* argumentsToChain(std::span<const lisp::Value> args) {
  ChainBuilder out;
  for (const Value& v : args) addValue(out, v);
  return out.head;
}

resbuf* valueToChain(const lisp::Value& value) {
  ChainBuilder out;
  addValue(out, value);
  return out.head;
}

std::vector<lisp::Value> chainToValues(const resbuf* chain) {
  std::vector<Value> items;
  while (chain) {
    if (chain->restype == RTNONE || chain->restype == RTLE || chain->restype == RTDOTE) {
      chain = chain->rbnext;
      continue;
    }
    items.push_back(readItem(chain));
  }
  return items;
}

// True when the chain is exactly one RTLB ... RTLE group.
static bool isSingleList(const resbuf* chain) {
  if (!chain || chain->restype != RTLB) return false;
  int depth = 0;
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
    if (rb->restype == RTLB) ++depth;
    if (rb->restype == RTLE && --depth == 0) return rb->rbnext == nullptr;
  }
  return false;
}

lisp::Value chainToList(const resbuf* chain) {
  if (isSingleList(chain)) {
    const resbuf* rb = chain;
    return readItem(rb);
  }
  return Value::makeList(chainToValues(chain));
}

lisp::Value chainToValue(const resbuf* chain) {
  if (chain && !chain->rbnext) {
    const resbuf* rb = chain;
    return readItem(rb);
  }
  return chainToList(chain);
}

// ---- entity chains

namespace {

Value groupValue(const resbuf* rb) {
  switch (acutRbValueKind(rb->restype)) {
    case RbValueKind::Real:
      return Value::real(rb->resval.rreal);
    case RbValueKind::Point:
      return Value::makeList({Value::real(rb->resval.rpoint[0]), Value::real(rb->resval.rpoint[1]),
                              Value::real(rb->resval.rpoint[2])});
    case RbValueKind::Short:
      return Value::integer(rb->resval.rint);
    case RbValueKind::Long:
      return Value::integer(rb->resval.rlong);
    case RbValueKind::Int64:
      return Value::real(static_cast<double>(rb->resval.mnInt64));
    case RbValueKind::String:
      return Value::string(rb->resval.rstring ? rb->resval.rstring : L"");
    case RbValueKind::Name:
      return Value::ename(rb->resval.rlname[0]);
    case RbValueKind::Binary: {
      std::wstring hex;
      for (short i = 0; i < rb->resval.rbinary.clen; ++i) {
        wchar_t digits[3];
        std::swprintf(digits, 3, L"%02X", static_cast<unsigned char>(rb->resval.rbinary.buf[i]));
        hex += digits;
      }
      return Value::string(hex);
    }
    case RbValueKind::None:
      break;
  }
  return Value::nil();
}

Value pair(int code, const Value& value) {
  // Points are lists, so (10 . (1 2 3)) prints as (10 1.0 2.0 3.0).
  return Value::cons(Value::integer(code), value);
}

lisp::Error groupError(const Value& item) {
  return lisp::Error(L"bad DXF group: " + lisp::prin1String(item));
}

void addGroup(ChainBuilder& out, int code, const Value& value, const Value& item) {
  resbuf* rb = out.add(code);
  switch (acutRbValueKind(code)) {
    case RbValueKind::Real:
      if (!value.isNumber()) throw groupError(item);
      rb->resval.rreal = value.asNumber();
      return;
    case RbValueKind::Point: {
      auto xyz = value.listToVector();
      if (!value.isCons() || xyz.size() < 2 || xyz.size() > 3) throw groupError(item);
      for (std::size_t i = 0; i < xyz.size(); ++i) {
        if (!xyz[i].isNumber()) throw groupError(item);
        rb->resval.rpoint[i] = xyz[i].asNumber();
      }
      return;
    }
    case RbValueKind::Short:
      if (!value.isInt()) throw groupError(item);
      rb->resval.rint = static_cast<short>(value.asInt());
      return;
    case RbValueKind::Long:
      if (!value.isInt()) throw groupError(item);
      rb->resval.rlong = value.asInt();
      return;
    case RbValueKind::Int64:
      if (!value.isNumber()) throw groupError(item);
      rb->resval.mnInt64 = static_cast<std::int64_t>(value.asNumber());
      return;
    case RbValueKind::String:
      if (!value.isString()) throw groupError(item);
      rb->resval.rstring = wcsdup(value.asString().c_str());
      return;
    case RbValueKind::Name:
      if (!value.isEname()) throw groupError(item);
      rb->resval.rlname[0] = value.asEname();
      return;
    case RbValueKind::Binary:
    case RbValueKind::None:
      return;
  }
}

}  // namespace

lisp::Value groupsToList(const resbuf* chain) {
  std::vector<Value> groups;
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) {
    if (rb->restype != -3) {
      groups.push_back(pair(rb->restype, groupValue(rb)));
      continue;
    }
    // Extended data: (-3 ("APP" (1000 . "x") ...) ...)
    std::vector<Value> apps;
    std::vector<Value> current;
    Value appName;
    auto closeApp = [&] {
      if (!appName.isNil()) {
        current.insert(current.begin(), appName);
        apps.push_back(Value::makeList(current));
      }
      current.clear();
    };
    for (rb = rb->rbnext; rb; rb = rb->rbnext) {
      if (rb->restype == 1001) {
        closeApp();
        appName = Value::string(rb->resval.rstring ? rb->resval.rstring : L"");
      } else {
        current.push_back(pair(rb->restype, groupValue(rb)));
      }
      if (!rb->rbnext) break;
    }
    closeApp();
    apps.insert(apps.begin(), Value::integer(-3));
    groups.push_back(Value::makeList(apps));
    if (!rb) break;
  }
  return Value::makeList(groups);
}

resbuf* listToGroups(const lisp::Value& list) {
  ChainBuilder out;
  try {
    if (!list.isList()) throw groupError(list);
    for (const Value& item : list.listToVector()) {
      if (!item.isCons() || !item.car().isInt()) throw groupError(item);
      int code = item.car().asInt();
      if (code == -3) {
        out.add(-3);
        for (const Value& app : item.cdr().listToVector()) {
          if (!app.isCons() || !app.car().isString()) throw groupError(app);
          addString(out, 1001, app.car().asString());
          for (const Value& group : app.cdr().listToVector()) {
            if (!group.isCons() || !group.car().isInt()) throw groupError(group);
            addGroup(out, group.car().asInt(), group.cdr(), group);
          }
        }
        continue;
      }
      addGroup(out, code, item.cdr(), item);
    }
  } catch (...) {
    acutRelRb(out.head);
    throw;
  }
  return out.head;
}

}  // namespace host::bridge
