// User coordinate systems: the current one of a drawing is kept in its system variables UCSORG,
// UCSXDIR and UCSYDIR (world coordinates), and the drawing remembers the ones it had before for
// the UCS command's Previous option. Points convert through the system's unit axes, so a
// conversion followed by its reverse gives the point back, to rounding.
#pragma once

#include <optional>

#include "db/values.h"

namespace host {

class Database;
class SysVars;

struct Ucs {
  Point origin{0, 0, 0};  // in world coordinates
  Point xAxis{1, 0, 0};  // unit vectors in world coordinates, at right angles
  Point yAxis{0, 1, 0};
  bool operator==(const Ucs&) const = default;
};

// How many earlier systems the Previous option can step back through.
constexpr std::size_t kUcsHistory = 10;

Ucs currentUcs(const SysVars& vars);
// Makes `ucs` current in the drawing, remembering the one it replaces.
void setCurrentUcs(Database& db, const Ucs& ucs);
// Makes the last remembered system current again; false when none is left.
bool restorePreviousUcs(Database& db);

// A point (or, with `displacement`, a vector) given in the system, in world coordinates; and back.
Point ucsToWorld(const Ucs& ucs, const Point& p, bool displacement = false);
Point worldToUcs(const Ucs& ucs, const Point& p, bool displacement = false);

// The system turned about its own Z axis by an angle in radians, origin kept.
Ucs rotatedAboutZ(const Ucs& ucs, double radians);
// The system through three world points: origin, a point on the positive X axis and a point in
// the XY plane on the positive Y side; nullopt when they do not span a plane.
std::optional<Ucs> ucsThrough(const Point& origin, const Point& onX, const Point& inPlane);
// The system at a world origin whose X axis runs towards `onX`, turned about the Z axis of `ucs`
// (the point is taken into that system's XY plane); nullopt when it gives no direction.
std::optional<Ucs> ucsWithXTowards(const Ucs& ucs, const Point& origin, const Point& onX);
// The entity (object) coordinate system of an extrusion direction, by the arbitrary axis rule;
// nullopt for a zero vector.
std::optional<Ucs> objectCoordinateSystem(const Point& normal);

}  // namespace host
