// Converting points between coordinate systems: acedTrans for the modules and the LISP function
// trans. A system is named by a code (0 world, 1 the current user system, 2 display and 3 paper
// space display, both the user system here, as the host has no views), by an entity name (its
// entity coordinate system) or by an extrusion direction.
#include <optional>

#include "db/database.h"
#include "host/bridge.h"
#include "lisp/interpreter.h"

namespace host {
namespace {

using lisp::Error;
using lisp::Value;

// The coordinate system a result buffer names in the current drawing; nullopt for none.
std::optional<Ucs> systemOf(const resbuf* rb) {
  Database* db = currentDatabase();
  if (!rb || !db) return std::nullopt;
  switch (rb->restype) {
    case RTSHORT:
      if (rb->resval.rint == 0) return Ucs{};
      if (rb->resval.rint >= 1 && rb->resval.rint <= 3) return currentUcs(db->vars());
      return std::nullopt;
    case RTENAME: {
      const Object* obj = db->object(rb->resval.rlname[0]);
      if (!obj || obj->erased || !obj->isEntity()) return std::nullopt;
      const host::Value* normal = obj->find(210);
      const Point* n = normal ? std::get_if<Point>(normal) : nullptr;
      return n ? objectCoordinateSystem(*n) : Ucs{};
    }
    case RTPOINT:
    case RT3DPOINT:
      return objectCoordinateSystem({rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]});
    default:
      return std::nullopt;
  }
}

// The resbuf a LISP system argument stands for: an integer code, an entity name or a vector.
// RTNONE when it is none of these.
resbuf systemArg(const lisp::Value& v) {
  resbuf rb{};
  rb.restype = RTNONE;
  if (v.isInt()) {
    bool fits = v.asInt() >= -32768 && v.asInt() <= 32767;
    rb.restype = RTSHORT;
    rb.resval.rint = static_cast<short>(fits ? v.asInt() : -1);
  } else if (v.isEname()) {
    rb.restype = RTENAME;
    rb.resval.rlname[0] = v.asEname();
  } else if (v.isCons()) {
    auto items = v.listToVector();
    if (items.size() != 3) return rb;
    for (int i = 0; i < 3; ++i) {
      if (!items[i].isNumber()) return rb;
      rb.resval.rpoint[i] = items[i].asNumber();
    }
    rb.restype = RT3DPOINT;
  }
  return rb;
}

// (trans point from to [displacement])
Value trans(lisp::Interpreter&, std::span<const Value> args) {
  if (args.size() < 3) throw Error(L"too few arguments");
  if (args.size() > 4) throw Error(L"too many arguments");
  auto items = args[0].isCons() ? args[0].listToVector() : std::vector<Value>{};
  bool isPoint = items.size() == 2 || items.size() == 3;
  for (const Value& item : items) isPoint = isPoint && item.isNumber();
  if (!isPoint) throw Error(L"bad argument type: 2D/3D point: " + lisp::prin1String(args[0]));
  ads_point pt = {items[0].asNumber(), items[1].asNumber(), items.size() == 3 ? items[2].asNumber() : 0.0};
  resbuf from = systemArg(args[1]), to = systemArg(args[2]);
  for (int i : {1, 2})
    if ((i == 1 ? from : to).restype == RTNONE) throw Error(L"bad argument type: " + lisp::prin1String(args[i]));
  bool displacement = args.size() == 4 && !args[3].isNil();
  ads_point result;
  if (acedTrans(pt, &from, &to, displacement, result) != RTNORM)
    throw Error(L"bad argument value: " + lisp::prin1String(args[1]) + L" " + lisp::prin1String(args[2]));
  return Value::makeList({Value::real(result[0]), Value::real(result[1]), Value::real(result[2])});
}

}  // namespace

void defineCoordinateBuiltins() { lisp::Interpreter::defineBuiltin(L"trans", trans); }

}  // namespace host

int acedTrans(const ads_point pt, const resbuf* from, const resbuf* to, int disp, ads_point result) {
  auto source = host::systemOf(from), target = host::systemOf(to);
  if (!pt || !result || !source || !target) return RTERROR;
  host::Point world = host::ucsToWorld(*source, {pt[0], pt[1], pt[2]}, disp != 0);
  host::Point p = host::worldToUcs(*target, world, disp != 0);
  for (int i = 0; i < 3; ++i) result[i] = p[i];
  return RTNORM;
}
