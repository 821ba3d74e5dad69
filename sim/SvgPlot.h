#ifndef VEKTORLING_SIM_SVG_PLOT_H
#define VEKTORLING_SIM_SVG_PLOT_H

#include <string>
#include <vector>

#include <Eigen/Dense>

#include "World.h"

// The picture of a match: the field to scale, each robot's path in its
// team's colour with a cross where it fell and its number where it ended,
// the ball's path dashed, and a legend with teams, score and duration.
// Fed with snapshots during the match (every few steps is enough).
class SvgPlot {
public:
  // Records one state. A path point is kept once the robot has moved a few
  // centimetres; a jump (a beam, a trainer placement) starts a new piece.
  void Add(const WorldSnapshot& snapshot);
  std::string Render() const;
  // Writes Render() to the file; false with a reason when it cannot.
  bool Write(const std::string& path, std::string* error) const;

  // Path points kept closer than this are dropped (metres).
  static constexpr double kMinStep = 0.02;
  // Moves longer than this between two snapshots are jumps, not walking.
  static constexpr double kRobotJump = 1.0;
  static constexpr double kBallJump = 4.0;

private:
  using Piece = std::vector<Eigen::Vector2d>;
  struct Path {
    std::vector<Piece> pieces;
    Eigen::Vector2d last = Eigen::Vector2d::Zero();
    bool seen = false;
    void Add(const Eigen::Vector2d& p, double jump);
  };
  struct Track {
    std::string team;
    char side = 'N';
    int unum = 0;
    Path path;
    std::vector<Eigen::Vector2d> falls;
    bool fallen = false;
  };

  std::vector<Track> tracks_;
  Path ball_;
  // Score and clock of the latest state.
  double now_ = 0, game_time_ = 0;
  int score_left_ = 0, score_right_ = 0;
  std::size_t snapshots_ = 0;
};

#endif
