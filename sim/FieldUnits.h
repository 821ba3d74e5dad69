#ifndef VEKTORLING_SIM_FIELDUNITS_H
#define VEKTORLING_SIM_FIELDUNITS_H

#include <cmath>

// The units the whole practice field works in: one step of the simulation,
// and the factor between the degrees of the messages and the radians of the
// trigonometry.
namespace FieldUnits {

constexpr int kStepMilliseconds = 20;
constexpr double kStepSeconds = kStepMilliseconds / 1000.0;

constexpr double kDegToRad = M_PI / 180.0;
// The reciprocal is the same double as 180 / pi, so either way of writing a
// conversion gives the bits it always gave.
constexpr double kRadToDeg = 1.0 / kDegToRad;
static_assert(kRadToDeg == 180.0 / M_PI, "the reciprocal must round to 180 / pi");

}  // namespace FieldUnits

#endif
