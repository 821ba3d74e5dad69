#include "Truth.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace {

constexpr std::string_view kRobotMesh = "models/naobody";
constexpr std::string_view kBallMesh = "models/soccerball.obj";
constexpr std::string_view kNumberMaterial = "matNum";

// Side and number from a body mesh's materials; 'N' and 0 when not given.
void ReadMaterials(const std::vector<std::string>& materials, char* side, int* unum) {
  *side = 'N';
  *unum = 0;
  for (const std::string& m : materials) {
    if (m == "matLeft") {
      *side = 'L';
    } else if (m == "matRight") {
      *side = 'R';
    } else if (m.size() > kNumberMaterial.size() && m.compare(0, kNumberMaterial.size(), kNumberMaterial) == 0) {
      const char* begin = m.data() + kNumberMaterial.size();
      const char* end = m.data() + m.size();
      int number = 0;
      const auto result = std::from_chars(begin, end, number);
      if (result.ec == std::errc() && result.ptr == end && number > 0) *unum = number;
    }
  }
}

}  // namespace

std::vector<RobotSnapshot> FindRobots(const std::vector<SceneNode>& scene, const GameState& game) {
  std::vector<RobotSnapshot> robots;
  const int count = static_cast<int>(scene.size());
  for (const SceneNode& mesh : scene) {
    if (mesh.mesh.compare(0, kRobotMesh.size(), kRobotMesh) != 0) continue;
    const int offset = mesh.parent;
    const int torso = offset >= 0 && offset < count ? scene[offset].parent : -1;
    if (torso < 0 || torso >= count || !scene[torso].has_transform) continue;
    RobotSnapshot robot;
    ReadMaterials(mesh.materials, &robot.side, &robot.unum);
    if (robot.side == 'N' || robot.unum == 0) continue;
    const std::array<double, 16>& m = scene[torso].transform;
    robot.team = robot.side == 'L' ? game.team_left : game.team_right;
    robot.x = m[12];
    robot.y = m[13];
    robot.z = m[14];
    // Column 1 is the robot's forward direction, column 2 its up direction.
    robot.heading = std::atan2(m[5], m[4]) * 180.0 / M_PI;
    robot.fallen = m[10] < Truth::kFallenUp || robot.z < Truth::kFallenHeight;
    robots.push_back(robot);
  }
  std::stable_sort(robots.begin(), robots.end(), [](const RobotSnapshot& a, const RobotSnapshot& b) {
    return a.side != b.side ? a.side == 'L' : a.unum < b.unum;
  });
  return robots;
}

bool FindBall(const std::vector<SceneNode>& scene, Eigen::Vector3d* position) {
  const int count = static_cast<int>(scene.size());
  for (const SceneNode& mesh : scene) {
    if (mesh.mesh != kBallMesh) continue;
    if (mesh.parent < 0 || mesh.parent >= count || !scene[mesh.parent].has_transform) continue;
    const std::array<double, 16>& m = scene[mesh.parent].transform;
    *position = Eigen::Vector3d(m[12], m[13], m[14]);
    return true;
  }
  return false;
}

WorldSnapshot Truth::Next(const std::vector<SceneNode>& scene, const GameState& game) {
  double step = 0;
  if (started_) {
    const double clock = game.time - last_time_;
    step = clock > 0 && clock <= kLongestClockStep ? clock : kFramePeriod;
  }
  started_ = true;
  now_ += step;
  last_time_ = game.time;

  WorldSnapshot snapshot;
  snapshot.now = now_;
  snapshot.game_time = game.time;
  snapshot.playmode = PlayModeName(game);
  snapshot.score_left = game.score_left;
  snapshot.score_right = game.score_right;
  Eigen::Vector3d ball;
  if (FindBall(scene, &ball)) {
    snapshot.ball_pos = ball;
    if (had_ball_ && step > 0 && (ball - last_ball_).norm() <= kBallJump) {
      snapshot.ball_vel = (ball - last_ball_) / step;
    }
    had_ball_ = true;
    last_ball_ = ball;
  } else {
    had_ball_ = false;
  }
  snapshot.robots = FindRobots(scene, game);
  return snapshot;
}
