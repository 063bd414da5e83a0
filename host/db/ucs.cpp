// User coordinate systems over the drawing's UCSORG, UCSXDIR and UCSYDIR variables, the list of
// earlier systems for Previous, and the vector arithmetic of the conversions.
#include "db/ucs.h"

#include <cmath>

#include "db/database.h"

namespace host {
namespace {

Point add(const Point& a, const Point& b) { return {a[0] + b[0], a[1] + b[1], a[2] + b[2]}; }
Point sub(const Point& a, const Point& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Point scale(const Point& a, double k) { return {a[0] * k, a[1] * k, a[2] * k}; }
double dot(const Point& a, const Point& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Point cross(const Point& a, const Point& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The vector scaled to length 1; nullopt for a vector too short to give a direction.
std::optional<Point> unit(const Point& v) {
  double length = std::sqrt(dot(v, v));
  if (length < 1e-12) return std::nullopt;
  return scale(v, 1 / length);
}

Point zAxisOf(const Ucs& ucs) { return cross(ucs.xAxis, ucs.yAxis); }

Point pointVar(const SysVars& vars, const wchar_t* name) {
  Value v;
  const Point* p = vars.get(name, v) == RTNORM ? std::get_if<Point>(&v) : nullptr;
  return p ? *p : Point{0, 0, 0};
}

// Writes the system into the drawing's variables; WORLDUCS tells whether it is the world.
void store(Database& db, const Ucs& ucs) {
  SysVars& vars = db.vars();
  vars.setReadOnly(L"UCSORG", ucs.origin);
  vars.setReadOnly(L"UCSXDIR", ucs.xAxis);
  vars.setReadOnly(L"UCSYDIR", ucs.yAxis);
  vars.setReadOnly(L"WORLDUCS", short(ucs == Ucs{} ? 1 : 0));
}

}  // namespace

Ucs currentUcs(const SysVars& vars) {
  return {pointVar(vars, L"UCSORG"), pointVar(vars, L"UCSXDIR"), pointVar(vars, L"UCSYDIR")};
}

void setCurrentUcs(Database& db, const Ucs& ucs) {
  auto& previous = db.previousUcs();
  previous.push_back(currentUcs(db.vars()));
  if (previous.size() > kUcsHistory) previous.erase(previous.begin());
  store(db, ucs);
}

bool restorePreviousUcs(Database& db) {
  auto& previous = db.previousUcs();
  if (previous.empty()) return false;
  Ucs ucs = previous.back();
  previous.pop_back();
  store(db, ucs);
  return true;
}

Point ucsToWorld(const Ucs& ucs, const Point& p, bool displacement) {
  Point v = add(add(scale(ucs.xAxis, p[0]), scale(ucs.yAxis, p[1])), scale(zAxisOf(ucs), p[2]));
  return displacement ? v : add(ucs.origin, v);
}

Point worldToUcs(const Ucs& ucs, const Point& p, bool displacement) {
  Point v = displacement ? p : sub(p, ucs.origin);
  return {dot(v, ucs.xAxis), dot(v, ucs.yAxis), dot(v, zAxisOf(ucs))};
}

Ucs rotatedAboutZ(const Ucs& ucs, double radians) {
  double c = std::cos(radians), s = std::sin(radians);
  return {ucs.origin, add(scale(ucs.xAxis, c), scale(ucs.yAxis, s)),
          add(scale(ucs.yAxis, c), scale(ucs.xAxis, -s))};
}

std::optional<Ucs> ucsThrough(const Point& origin, const Point& onX, const Point& inPlane) {
  auto x = unit(sub(onX, origin));
  if (!x) return std::nullopt;
  Point toPlane = sub(inPlane, origin);
  auto y = unit(sub(toPlane, scale(*x, dot(toPlane, *x))));
  if (!y) return std::nullopt;
  return Ucs{origin, *x, *y};
}

std::optional<Ucs> ucsWithXTowards(const Ucs& ucs, const Point& origin, const Point& onX) {
  Point z = zAxisOf(ucs);
  Point toX = sub(onX, origin);
  auto x = unit(sub(toX, scale(z, dot(toX, z))));
  if (!x) return std::nullopt;
  return Ucs{origin, *x, cross(z, *x)};
}

std::optional<Ucs> objectCoordinateSystem(const Point& normal) {
  auto z = unit(normal);
  if (!z) return std::nullopt;
  // near the world Z axis the X axis comes from the world Y axis, elsewhere from the world Z axis
  constexpr double kArbitraryBound = 1.0 / 64;
  bool nearZ = std::fabs((*z)[0]) < kArbitraryBound && std::fabs((*z)[1]) < kArbitraryBound;
  Point x = *unit(cross(nearZ ? Point{0, 1, 0} : Point{0, 0, 1}, *z));
  return Ucs{{0, 0, 0}, x, cross(*z, x)};
}

}  // namespace host
