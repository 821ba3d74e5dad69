#ifndef VEKTORLING_TOOL_TOOL_H
#define VEKTORLING_TOOL_TOOL_H

#include <string>

#include <Eigen/Dense>

// Stateless plane, space and angle operations shared by every subsystem.
// Angles cross these interfaces in degrees unless a name says radians.
// A plane bearing is measured from +x towards +y (counter-clockwise).
class Tool {
 public:
  Tool() = default;

  // Inline, so that the sine and cosine of one angle can share one call.
  static double ToRadians(double degree) { return degree * 3.141592653589793 / 180.0; }
  static double ToDegree(double radian) { return radian * 180.0 / 3.141592653589793; }

  static double DistanceForTwoPoints(double x1, double y1, double x2, double y2);
  static double DistanceForTwoPoints(const Eigen::Vector2d& p1, const Eigen::Vector2d& p2);

  // Bearing of point 2 as seen from point 1, in degrees, range (-180, 180].
  static double DegreeForTwoPoints(double x1, double y1, double x2, double y2);
  static double DegreeForTwoPoints(const Eigen::Vector2d& p1, const Eigen::Vector2d& p2);

  static double DistanceForTwoPoints3D(double x1, double y1, double z1,
                                       double x2, double y2, double z2);
  // Angle between the two position vectors, degrees in [0, 180]. A zero
  // vector has no direction: the result is then 0.
  static double DegreeForTwoPoints3D(double x1, double y1, double z1,
                                     double x2, double y2, double z2);

  // Angle opposite side a of the triangle with sides a, b, c, in degrees.
  // A cosine above 1 (degenerate triangle, rounding) gives 0, one below -1
  // gives 180, an undefined one (all sides zero) gives 0.
  static double TheoremOfCosines(double a, double b, double c);

  // Point at the given distance and bearing (degrees) from the offset.
  static Eigen::Vector2d CulculatePoint(double distance, double degree,
                                        double offset_x, double offset_y);

  // Wraps into a half turn. Non-negative inputs land in [-180, 180),
  // negative ones in (-180, 180]: +180 -> -180, -180 -> +180.
  static double Limited180(double param);
  // Limited180, then shifted into [0, 360).
  static double Limited360(double param);

  // offset minus the wrapped bearing (+90) of point 2 from point 1, brought
  // back into [-180, 180] by one turn at most.
  static double AbyssForTwoPoints(double x1, double y1, double x2, double y2, double offset);

  // Clamps to at most max, then to at least min (so min wins if min > max).
  static double LimitParam(double param, double min, double max);

  // n * x^(n-1) where the power has ceil(n) - 1 factors; n below 2 gives n * x.
  static double Differentiation(double x, double n);

  // tgt minus the area under a quantity moving linearly from bef_param to
  // param over a step of length sa. direction is accepted and ignored.
  static double TrapezoidIntegration(double tgt, double param, double bef_param,
                                     double sa, int direction = 0);

  // Rotation about a principal axis ('X', 'Y', 'Z', either case) by
  // d_angle degrees, followed by the translation v: maps a point p of the
  // child frame to R * p + v. Any other letter gives the pure translation.
  static Eigen::Matrix4d HomogeneousTransformationMatrix(char mat_type, double d_angle,
                                                         const Eigen::Vector3d& v);
  // Same with the axis given as a one-letter string ("X", "y", ...); any
  // other string gives the pure translation.
  static Eigen::Matrix4d HomogeneousTransformationMatrix(const std::string& mat_type,
                                                         double d_angle,
                                                         const Eigen::Vector3d& v);
};

#endif  // VEKTORLING_TOOL_TOOL_H
