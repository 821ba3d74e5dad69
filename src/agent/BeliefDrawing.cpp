#include "agent/BeliefDrawing.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace draw {

namespace {

constexpr Colour kPoseColour{0, 255, 255};
constexpr Colour kBallColour{255, 140, 0};
constexpr Colour kTargetColour{255, 0, 255};
constexpr Colour kMateColour{255, 255, 0};
constexpr Colour kTextColour{255, 255, 255};

constexpr double kPoseRadius = 0.25;
constexpr double kHeadingLength = 0.5;
// The ball's own radius: it is drawn lying on the ground.
constexpr double kBallRadius = 0.042;
constexpr double kMateRadius = 0.4;
constexpr double kThick = 3.0;
constexpr double kThin = 1.5;
constexpr double kPointSize = 6.0;
// Lines and points on the ground are drawn this high, above the grass.
constexpr double kGroundHeight = 0.02;

Eigen::Vector3d OnGround(const Eigen::Vector2d& p) { return Eigen::Vector3d(p.x(), p.y(), kGroundHeight); }

// printf into a fixed buffer: too long a text is cut, never spilled.
template <std::size_t N, typename... T>
std::string_view Format(char (&buf)[N], const char* format, T... values) {
  const int n = std::snprintf(buf, N, format, values...);
  return std::string_view(buf, n < 0 ? 0 : std::min<std::size_t>(static_cast<std::size_t>(n), N - 1));
}

// A view's length and characters for printf's "%.*s" (an empty view may
// have no characters at all).
int Length(std::string_view s) { return static_cast<int>(s.size()); }
const char* Chars(std::string_view s) { return s.empty() ? "" : s.data(); }

}  // namespace

std::optional<std::uint8_t> TeamAndNumber(Side side, int number) {
  if (number < 1 || number > 128) return std::nullopt;
  return static_cast<std::uint8_t>(number - 1 + (side == Side::kRight ? 128 : 0));
}

void DrawBeliefs(const Beliefs& b, RoboVizCommands* out) {
  out->Clear();
  // A prefix longer than a datagram fits no command; cutting it changes nothing.
  char prefix_buf[RoboVizCommands::kMaxDatagram];
  const std::string_view prefix =
      Format(prefix_buf, "vektorling.%.*s.%d.", Length(b.team), Chars(b.team), b.number);

  const SetName pose{prefix, "pose"};
  out->Circle(b.position, kPoseRadius, kThick, kPoseColour, pose);
  out->Line(OnGround(b.position), OnGround(b.position + kHeadingLength * b.heading), kThick, kPoseColour, pose);
  out->Sphere(Eigen::Vector3d(b.ball.x(), b.ball.y(), kBallRadius), kBallRadius, kBallColour, {prefix, "ball"});
  if (b.target) {
    const SetName target{prefix, "target"};
    out->Point(OnGround(*b.target), kPointSize, kTargetColour, target);
    out->Line(OnGround(b.position), OnGround(*b.target), kThin, kTargetColour, target);
  }
  if (b.mate) out->Circle(*b.mate, kMateRadius, kThick, kMateColour, {prefix, "mate"});
  if (const std::optional<std::uint8_t> robot = TeamAndNumber(b.side, b.number)) {
    char text_buf[RoboVizCommands::kMaxDatagram];
    out->AgentAnnotation(*robot, kTextColour,
                         Format(text_buf, "%.*s %.*s", Length(b.behavior), Chars(b.behavior),
                                Length(b.play_mode), Chars(b.play_mode)));
  }
  out->SwapBuffers(prefix);
}

}  // namespace draw
