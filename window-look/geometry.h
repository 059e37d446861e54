// Plane geometry for the pictures drawn at run time and for the icon drawn
// at build time: header-only, the standard library alone.
#ifndef WINDOW_LOOK_GEOMETRY_H_
#define WINDOW_LOOK_GEOMETRY_H_

#include <algorithm>
#include <cmath>

namespace look {

// Distance from the point (px, py) to the segment from (ax, ay) to (bx, by).
inline double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
  const double vx = bx - ax, vy = by - ay;
  double t = ((px - ax) * vx + (py - ay) * vy) / (vx * vx + vy * vy);
  t = std::clamp(t, 0.0, 1.0);
  const double dx = px - (ax + t * vx), dy = py - (ay + t * vy);
  return std::sqrt(dx * dx + dy * dy);
}

}  // namespace look

#endif  // WINDOW_LOOK_GEOMETRY_H_
