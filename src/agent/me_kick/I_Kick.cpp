#include "agent/me_kick/I_Kick.h"

#include <cmath>

#include "object/Ball.h"
#include "tool/Tool.h"

namespace velk {

double I_Kick::ChooseLeg(const Ball& ball, const Eigen::Vector2d& neck) const {
  if (!ball.visible) return NOT_TRY_;
  const double h = std::cos(Tool::ToRadians(ball.v_angle + neck.y())) * ball.distance;
  return std::sin(Tool::ToRadians(ball.h_angle + neck.x())) * h;
}

}  // namespace velk
