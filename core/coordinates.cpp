// Angles of the user coordinate system.
#include "coordinates.h"

#include <cmath>

namespace core {

double directionAngle(double x, double y) { return std::atan2(y, x); }

}  // namespace core
