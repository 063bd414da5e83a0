// Angles between the user coordinate system and the world: the user system's X axis direction
// (UCSXDIR) turned into an angle in the world XY plane, added or taken away. Angles are radians and
// are not brought into any range.
#pragma once

namespace core {

// The angle from the origin to the direction (x, y), in radians.
double directionAngle(double x, double y);

// An angle measured in the user system as a world angle, and back.
inline double userToWorldAngle(double angle, double ucsXAngle) { return angle + ucsXAngle; }
inline double worldToUserAngle(double angle, double ucsXAngle) { return angle - ucsXAngle; }

}  // namespace core
