// The UCS command: World (also Enter), Previous, Origin, Z (turn about the Z axis by an angle in
// degrees, 90 on Enter), New (an origin or Z), and a point given at the first prompt: the new
// origin, then optionally a point on the positive X axis and a point in the XY plane. Points are
// given in the current user coordinate system, as at any prompt.
#include <numbers>

#include "host/session.h"
#include "host_commands.h"

namespace host {
namespace {

// The answers after a new origin: a point on the X axis and a point in the XY plane, each
// accepted as they are by Enter.
CommandEnd originAndAxes(CommandInput& input, Database& db, const Point& given) {
  Ucs now = currentUcs(db.vars());
  Ucs next = now;
  next.origin = ucsToWorld(now, given);
  Reply onX = input.ask({}, kPoint);
  if (onX.kind == Reply::Missing) return CommandEnd::Cancelled;
  if (onX.kind == Reply::Point) {
    Point x = ucsToWorld(now, onX.point);
    Reply inPlane = input.ask({}, kPoint);
    if (inPlane.kind == Reply::Missing) return CommandEnd::Cancelled;
    auto axes = inPlane.kind == Reply::Point ? ucsThrough(next.origin, x, ucsToWorld(now, inPlane.point))
                                             : ucsWithXTowards(now, next.origin, x);
    if (!axes) {
      Session::active()->print(L"\nThe points do not define a coordinate system.");
      return CommandEnd::Cancelled;
    }
    next = *axes;
  }
  setCurrentUcs(db, next);
  return CommandEnd::Done;
}

CommandEnd turnAboutZ(CommandInput& input, Database& db) {
  Reply angle = input.ask({}, kReal);
  if (angle.kind == Reply::Missing) return CommandEnd::Cancelled;
  double degrees = angle.kind == Reply::Number ? angle.number : 90;
  setCurrentUcs(db, rotatedAboutZ(currentUcs(db.vars()), degrees * std::numbers::pi / 180));
  return CommandEnd::Done;
}

// New: [Z] or an origin, <0,0,0> on Enter.
CommandEnd newUcs(CommandInput& input, Database& db) {
  Reply r = input.ask({L"Z"}, kPoint);
  if (r.kind == Reply::Missing) return CommandEnd::Cancelled;
  if (r.kind == Reply::Keyword) return turnAboutZ(input, db);
  return originAndAxes(input, db, r.kind == Reply::Point ? r.point : Point{0, 0, 0});
}

}  // namespace

CommandEnd ucsCommand(CommandInput& input, Database& db) {
  enum { World, Previous, Origin, Z, New };
  Reply r = input.ask({L"World", L"Previous", L"Origin", L"Z", L"New"}, kPoint);
  switch (r.kind) {
    case Reply::Missing:
      return CommandEnd::Cancelled;
    case Reply::Point:
      return originAndAxes(input, db, r.point);
    case Reply::Keyword:
      break;
    default:  // Enter: the world
      setCurrentUcs(db, Ucs{});
      return CommandEnd::Done;
  }
  switch (r.keyword) {
    case World:
      setCurrentUcs(db, Ucs{});
      return CommandEnd::Done;
    case Previous:
      if (!restorePreviousUcs(db)) Session::active()->print(L"\nNo previous UCS.");
      return CommandEnd::Done;
    case Origin: {
      Reply at = input.ask({}, kPoint);
      if (at.kind == Reply::Missing) return CommandEnd::Cancelled;
      Ucs now = currentUcs(db.vars());
      now.origin = ucsToWorld(now, at.kind == Reply::Point ? at.point : Point{0, 0, 0});
      setCurrentUcs(db, now);
      return CommandEnd::Done;
    }
    case Z:
      return turnAboutZ(input, db);
    default:
      return newUcs(input, db);
  }
}

}  // namespace host
