#include "SvgPlot.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

// Field measures (metres, server frame: x along the length, y to the left).
constexpr double kHalfLength = 15.0;
constexpr double kHalfWidth = 10.0;
constexpr double kCentreCircle = 2.0;
constexpr double kGoalHalfWidth = 1.05;
constexpr double kGoalDepth = 0.6;
constexpr double kPenaltyDepth = 1.8;
constexpr double kPenaltyHalfWidth = 1.95;

// Drawing: pixels per metre, the margin around the field, the legend below.
constexpr double kScale = 30.0;
constexpr double kMargin = 1.5;
constexpr double kLegendHeight = 100.0;
constexpr double kWidth = (2 * kHalfLength + 2 * kMargin) * kScale;
constexpr double kFieldHeight = (2 * kHalfWidth + 2 * kMargin) * kScale;

const char* const kLeftColour = "#1f5bff";
const char* const kRightColour = "#e3262f";
const char* const kOtherColour = "#8a2be2";
const char* const kBallColour = "#ffd21f";

double Px(double x) { return (x + kHalfLength + kMargin) * kScale; }
double Py(double y) { return (kHalfWidth + kMargin - y) * kScale; }

const char* SideColour(char side) {
  return side == 'L' ? kLeftColour : side == 'R' ? kRightColour : kOtherColour;
}

std::string Xml(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      default:
        // XML 1.0 forbids most control characters; anything outside
        // printable ASCII is shown as '?'.
        out += (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e) ? '?' : c;
    }
  }
  return out;
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  const int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return std::string();
  return std::string(buffer, std::min<std::size_t>(static_cast<std::size_t>(n), sizeof buffer - 1));
}

std::string Line(double x1, double y1, double x2, double y2) {
  return Format("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\"/>\n", Px(x1), Py(y1), Px(x2), Py(y2));
}

std::string Rect(double x1, double y1, double x2, double y2, const char* extra = "") {
  return Format("<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\"%s/>\n", Px(std::min(x1, x2)),
                Py(std::max(y1, y2)), std::fabs(x2 - x1) * kScale, std::fabs(y2 - y1) * kScale, extra);
}

std::string Points(const std::vector<Eigen::Vector2d>& piece) {
  std::string out;
  for (const Eigen::Vector2d& p : piece) out += Format("%.1f,%.1f ", Px(p.x()), Py(p.y()));
  if (!out.empty()) out.pop_back();
  return out;
}

std::string Cross(double px, double py, const char* colour) {
  const double d = 5.0;
  std::string out;
  for (const auto& stroke : {std::make_pair("#111111", 4.5), std::make_pair(colour, 2.0)}) {
    out += Format("<path d=\"M%.1f %.1fL%.1f %.1fM%.1f %.1fL%.1f %.1f\" stroke=\"%s\" stroke-width=\"%.1f\"/>\n",
                  px - d, py - d, px + d, py + d, px - d, py + d, px + d, py - d, stroke.first, stroke.second);
  }
  return out;
}

}  // namespace

void SvgPlot::Path::Add(const Eigen::Vector2d& p, double jump) {
  if (!std::isfinite(p.x()) || !std::isfinite(p.y())) return;
  if (!seen || (p - last).norm() > jump) {
    pieces.emplace_back();
    pieces.back().push_back(p);
  } else if ((p - pieces.back().back()).norm() >= kMinStep) {
    pieces.back().push_back(p);
  }
  last = p;
  seen = true;
}

void SvgPlot::Add(const WorldSnapshot& snapshot) {
  ++snapshots_;
  now_ = snapshot.now;
  game_time_ = snapshot.game_time;
  score_left_ = snapshot.score_left;
  score_right_ = snapshot.score_right;
  ball_.Add(snapshot.ball_pos.head<2>(), kBallJump);
  for (const RobotSnapshot& robot : snapshot.robots) {
    Track* track = nullptr;
    for (Track& t : tracks_) {
      if (t.team == robot.team && t.unum == robot.unum) track = &t;
    }
    if (track == nullptr) {
      tracks_.emplace_back();
      track = &tracks_.back();
      track->team = robot.team;
      track->unum = robot.unum;
    }
    track->side = robot.side;
    const Eigen::Vector2d position(robot.x, robot.y);
    track->path.Add(position, kRobotJump);
    if (robot.fallen && !track->fallen) track->falls.push_back(position);
    track->fallen = robot.fallen;
  }
}

std::string SvgPlot::Render() const {
  const double height = kFieldHeight + kLegendHeight;
  std::string svg;
  svg += Format(
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" viewBox=\"0 0 %.0f %.0f\" "
      "font-family=\"DejaVu Sans, Arial, sans-serif\">\n",
      kWidth, height, kWidth, height);

  // The field: grass, lines, goals.
  svg += "<g id=\"field\">\n";
  svg += Format("<rect x=\"0\" y=\"0\" width=\"%.0f\" height=\"%.0f\" fill=\"#1f6e2c\"/>\n", kWidth, kFieldHeight);
  svg += Rect(-kHalfLength, -kHalfWidth, kHalfLength, kHalfWidth, " fill=\"#2e8b3e\"");
  svg += "<g stroke=\"#ffffff\" stroke-width=\"2\" fill=\"none\">\n";
  svg += Rect(-kHalfLength, -kHalfWidth, kHalfLength, kHalfWidth);
  svg += Line(0, -kHalfWidth, 0, kHalfWidth);
  svg += Format("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"%.1f\"/>\n", Px(0), Py(0), kCentreCircle * kScale);
  svg += Rect(-kHalfLength, -kPenaltyHalfWidth, -kHalfLength + kPenaltyDepth, kPenaltyHalfWidth);
  svg += Rect(kHalfLength - kPenaltyDepth, -kPenaltyHalfWidth, kHalfLength, kPenaltyHalfWidth);
  svg += Rect(-kHalfLength - kGoalDepth, -kGoalHalfWidth, -kHalfLength, kGoalHalfWidth,
              " fill=\"#d9d9d9\" fill-opacity=\"0.45\"");
  svg += Rect(kHalfLength, -kGoalHalfWidth, kHalfLength + kGoalDepth, kGoalHalfWidth,
              " fill=\"#d9d9d9\" fill-opacity=\"0.45\"");
  svg += "</g>\n";
  svg += Format("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3\" fill=\"#ffffff\"/>\n", Px(0), Py(0));
  svg += "</g>\n";

  // The ball's path, dashed, and where it ended.
  svg += "<g id=\"ball\">\n";
  for (const Piece& piece : ball_.pieces) {
    if (piece.size() < 2) continue;
    svg += Format("<polyline fill=\"none\" stroke=\"%s\" stroke-width=\"2\" stroke-dasharray=\"7 5\" points=\"",
                  kBallColour);
    svg += Points(piece) + "\"/>\n";
  }
  if (ball_.seen) {
    svg += Format("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"5\" fill=\"#ffffff\" stroke=\"#111111\" stroke-width=\"1.5\"/>\n",
                  Px(ball_.last.x()), Py(ball_.last.y()));
  }
  svg += "</g>\n";

  // Every robot in three layers, so no path hides a mark: the paths (with
  // a ring where each piece started), then the falls, then the numbers
  // where the robots ended.
  for (int layer = 0; layer < 3; ++layer) {
    for (const Track& track : tracks_) {
      const char* colour = SideColour(track.side);
      svg += Format("<g class=\"%s\" data-team=\"%s\" data-unum=\"%d\">\n",
                    layer == 0 ? "path" : layer == 1 ? "falls" : "end", Xml(track.team).c_str(), track.unum);
      if (layer == 0) {
        for (const Piece& piece : track.path.pieces) {
          if (piece.size() < 2) continue;
          svg += Format(
              "<polyline fill=\"none\" stroke=\"%s\" stroke-width=\"2\" stroke-opacity=\"0.9\" "
              "stroke-linejoin=\"round\" points=\"",
              colour);
          svg += Points(piece) + "\"/>\n";
          svg += Format("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3.5\" fill=\"none\" stroke=\"%s\" stroke-width=\"1.5\"/>\n",
                        Px(piece.front().x()), Py(piece.front().y()), colour);
        }
      } else if (layer == 1) {
        for (const Eigen::Vector2d& fall : track.falls) svg += Cross(Px(fall.x()), Py(fall.y()), colour);
      } else if (track.path.seen) {
        const double x = Px(track.path.last.x()), y = Py(track.path.last.y());
        svg += Format("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"8.5\" fill=\"%s\" stroke=\"#ffffff\" stroke-width=\"1.5\"/>\n",
                      x, y, colour);
        svg += Format(
            "<text x=\"%.1f\" y=\"%.1f\" font-size=\"10\" font-weight=\"bold\" fill=\"#ffffff\" "
            "text-anchor=\"middle\">%d</text>\n",
            x, y + 3.5, track.unum);
      }
      svg += "</g>\n";
    }
  }

  // The legend: score, teams and their colours, duration, what the marks mean.
  std::string left = "(no team)", right = "(no team)";
  for (const Track& track : tracks_) {
    if (track.side == 'L' && left == "(no team)") left = track.team;
    if (track.side == 'R' && right == "(no team)") right = track.team;
  }
  const double top = kFieldHeight;
  svg += "<g id=\"legend\" font-size=\"14\" fill=\"#111111\">\n";
  svg += Format("<rect x=\"0\" y=\"%.0f\" width=\"%.0f\" height=\"%.0f\" fill=\"#f4f4f0\"/>\n", top, kWidth,
                kLegendHeight);
  svg += Format("<text x=\"16\" y=\"%.0f\" font-size=\"19\" font-weight=\"bold\">", top + 26) + Xml(left) +
         Format(" %d : %d ", score_left_, score_right_) + Xml(right) + "</text>\n";
  const char* colours[] = {kLeftColour, kRightColour};
  const std::string names[] = {
      (left == "(no team)" ? "no team" : Xml(left)) + ": left side, defends the goal at x = -15",
      (right == "(no team)" ? "no team" : Xml(right)) + ": right side, defends the goal at x = +15"};
  for (int i = 0; i < 2; ++i) {
    const double y = top + 47 + 19 * i;
    svg += Format("<line x1=\"16\" y1=\"%.0f\" x2=\"44\" y2=\"%.0f\" stroke=\"%s\" stroke-width=\"4\"/>\n", y - 5,
                  y - 5, colours[i]);
    svg += Format("<text x=\"52\" y=\"%.0f\">", y) + names[i] + "</text>\n";
  }
  svg += Format("<text x=\"16\" y=\"%.0f\" fill=\"#444444\">game time %.1f s, %.1f s simulated</text>\n", top + 87,
                game_time_, now_);
  const double keys = kWidth * 0.58;
  svg += Format(
      "<line x1=\"%.0f\" y1=\"%.0f\" x2=\"%.0f\" y2=\"%.0f\" stroke=\"%s\" stroke-width=\"3\" "
      "stroke-dasharray=\"7 5\"/>\n",
      keys, top + 22, keys + 36, top + 22, kBallColour);
  svg += Format("<text x=\"%.0f\" y=\"%.0f\">the ball's path</text>\n", keys + 44, top + 27);
  svg += Cross(keys + 18, top + 47, "#888888");
  svg += Format("<text x=\"%.0f\" y=\"%.0f\">a fall</text>\n", keys + 44, top + 52);
  svg += Format("<circle cx=\"%.0f\" cy=\"%.0f\" r=\"3.5\" fill=\"none\" stroke=\"#111111\" stroke-width=\"1.5\"/>\n",
                keys + 18, top + 72);
  svg += Format("<text x=\"%.0f\" y=\"%.0f\">start, or placed by a beam</text>\n", keys + 44, top + 77);
  const double keys2 = kWidth * 0.82;
  svg += Format("<circle cx=\"%.0f\" cy=\"%.0f\" r=\"8.5\" fill=\"#555555\"/>\n", keys2, top + 22);
  svg += Format("<text x=\"%.0f\" y=\"%.0f\" font-size=\"10\" font-weight=\"bold\" fill=\"#ffffff\" "
                "text-anchor=\"middle\">7</text>\n",
                keys2, top + 25.5);
  svg += Format("<text x=\"%.0f\" y=\"%.0f\">number, at the end</text>\n", keys2 + 16, top + 27);
  svg += Format("<circle cx=\"%.0f\" cy=\"%.0f\" r=\"5\" fill=\"#ffffff\" stroke=\"#111111\" stroke-width=\"1.5\"/>\n",
                keys2, top + 47);
  svg += Format("<text x=\"%.0f\" y=\"%.0f\">the ball, at the end</text>\n", keys2 + 16, top + 52);
  svg += "</g>\n</svg>\n";
  return svg;
}

bool SvgPlot::Write(const std::string& path, std::string* error) const {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) {
    if (error) *error = "cannot write picture '" + path + "': " + std::strerror(errno);
    return false;
  }
  file << Render();
  file.flush();
  if (!file) {
    if (error) *error = "cannot write picture '" + path + "': " + std::strerror(errno);
    return false;
  }
  return true;
}
