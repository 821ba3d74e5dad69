#include "MonitorStream.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "FieldGeometry.h"
#include "FixedDecimal.h"
#include "SimKinematics.h"
#include "TextAppender.h"

namespace {

// A node of the scene's fixed part, as the server sends it in a full state:
// its depth below the scene, its type and its properties; `repeat` nodes of
// the same kind follow one another.
struct FixedNode {
  int depth;
  const char* type;
  const char* properties;
  int repeat;
};

constexpr const char* kGoalTurn =
    "(SLT -4.37114e-08 1 4.37114e-08 0 0 -4.37114e-08 1 0 1 4.37114e-08 1.91069e-15 0 0.3 0 -0.4 1)";
constexpr const char* kFieldTurn =
    "(SLT -1 -8.74228e-08 -3.82137e-15 0 0 -4.37114e-08 1 0 -8.74228e-08 1 4.37114e-08 -0 0 0 0 1)";

// Lights, the field and the sky.
constexpr FixedNode kSurroundings[] = {
    {0, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 -10 10 10 1)", 1},
    {1, "Light", "(setDiffuse 1 1 1 1) (setAmbient 0.8 0.8 0.8 1) (setSpecular 0.1 0.1 0.1 1)", 1},
    {0, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 10 -10 10 1)", 1},
    {1, "Light", "(setDiffuse 1 1 1 1) (setAmbient 0 0 0 1) (setSpecular 0.1 0.1 0.1 1)", 1},
    {0, "TRF", kFieldTurn, 1},
    {1, "StaticMesh", "(setVisible 1) (load models/naosoccerfield.obj) (sSc 2.5 1 2.5)(resetMaterials None_rcs-naofield.png)",
     1},
    {0, "TRF", kFieldTurn, 1},
    {1, "StaticMesh",
     "(setVisible 1) (load models/skybox.obj) (sSc 10 10 10)(resetMaterials Material_skyrender_0001.tif "
     "Material_skyrender_0002.tif Material_skyrender_0003.tif Material_skyrender_0004.tif Material_skyrender_0005.tif "
     "Material_skyrender_0006.tif)",
     1},
};

// A goal: where it stands, and its mesh.
struct Goal {
  const char* place;
  const char* mesh;
};
constexpr Goal kGoals[] = {
    {"(SLT 1 0 0 0 0 1 0 0 0 0 1 0 -15.3 0 0.4 1)",
     "(setVisible 1) (setTransparent) (load models/leftsoccergoal.obj) (sSc 2.18 0.88 0.68)(resetMaterials naogoalnet "
     "yellow)"},
    {"(SLT -1 -8.74228e-08 -0 -0 8.74228e-08 -1 0 0 0 0 1 0 15.3 0 0.4 1)",
     "(setVisible 1) (setTransparent) (load models/rightsoccergoal.obj) (sSc 2.18 0.88 0.68)(resetMaterials naogoalnet "
     "sky-blue)"},
};

// The posts, bar and back of a goal, the same on both sides.
constexpr FixedNode kGoalFrame[] = {
    {1, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 0 -1.07 0 1)", 1},
    {1, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 0 1.07 0 1)", 1},
    {1, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 -0.28 0 0 1)", 1},
    {1, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0.42 1)", 1},
    {1, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 0.3 1.05 0.4 1)", 1},
    {1, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 0.3 -1.05 0.4 1)", 1},
};

// The walls around the field, the corner flags and the server's empty
// nodes (field lines and the like, which it sends without a mesh).
constexpr FixedNode kBorder[] = {
    {0, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 -24.99 0 0 1)", 1},
    {1, "SMN", "(setVisible 1) (load StdUnitBox) (sSc 1 51 1) (sMat matGrey)", 1},
    {0, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 24.99 0 0 1)", 1},
    {1, "SMN", "(setVisible 1) (load StdUnitBox) (sSc 1 51 1) (sMat matGrey)", 1},
    {0, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 0 25 0 1)", 1},
    {1, "SMN", "(setVisible 1) (load StdUnitBox) (sSc 50.98 1 1) (sMat matGrey)", 1},
    {0, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 0 -25 0 1)", 1},
    {1, "SMN", "(setVisible 1) (load StdUnitBox) (sSc 50.98 1 1) (sMat matGrey)", 1},
    {0, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 -15 10 0 1)", 1},
    {0, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 -15 -10 0 1)", 1},
    {0, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 15 10 0 1)", 1},
    {0, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 15 -10 0 1)", 1},
    {0, "TRF", "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1)", 21},
};

void AppendText(std::string_view text, TextAppender* out) { out->Append(text.data(), text.size()); }

// A diff names the type of a mesh node only.
bool IsMesh(const char* type) {
  const std::string_view t(type);
  return t == "StaticMesh" || t == "SMN";
}

// The fixed part of the scene, written as a full state or as a diff's shape.
template <std::size_t N>
void AppendFixed(const FixedNode (&nodes)[N], bool full, int* depth, std::string* out) {
  for (const FixedNode& node : nodes) {
    for (int k = 0; k < node.repeat; ++k) {
      // Close the nodes at this depth and below before opening a new one.
      for (; *depth >= node.depth; --*depth) out->push_back(')');
      out->append("(nd");
      if (full) {
        out->append(" ").append(node.type).append(" ").append(node.properties);
      } else if (IsMesh(node.type)) {
        out->append(" ").append(node.type);
      }
      *depth = node.depth;
    }
  }
}

std::string FixedScene(bool full) {
  std::string out;
  int depth = -1;
  AppendFixed(kSurroundings, full, &depth, &out);
  for (const Goal& goal : kGoals) {
    const FixedNode nodes[] = {{0, "TRF", goal.place, 1}, {1, "TRF", kGoalTurn, 1}, {2, "StaticMesh", goal.mesh, 1}};
    AppendFixed(nodes, full, &depth, &out);
    AppendFixed(kGoalFrame, full, &depth, &out);
  }
  AppendFixed(kBorder, full, &depth, &out);
  for (; depth >= 0; --depth) out.push_back(')');
  return out;
}

const std::string& FixedFull() {
  static const std::string text = FixedScene(true);
  return text;
}

const std::string& FixedDiff() {
  static const std::string text = FixedScene(false);
  return text;
}

// What hangs under a body part's transform.
enum class Look {
  kBody,      // the body mesh under a turn, and the (hidden) selection marker
  kHead,      // the head mesh under a turn
  kMesh,      // a mesh
  kFoot,      // a foot's mesh (shorter for a robot with toes)
  kJoint,     // a small sphere
  kAnkle,     // a small red sphere
  kNeck,      // a capsule
};

// Materials of a mesh, in the server's order. The placeholders matNum,
// matTeam and matType are replaced with the robot's number, side and type.
struct PartLook {
  const char* part;  // RobotBody::kParts name
  Look look;
  const char* model;  // "models/<model><type>.obj" when typed, else "models/<model>.obj"
  bool typed;
  const char* scale;
  const char* materials;
};

// The server's order of a robot's parts: torso, neck, head, right arm, left
// arm, right leg, left leg.
constexpr PartLook kParts[] = {
    {"torso", Look::kBody, "naobody", true, "0.1 0.1 0.1", "matNum matTeam matType naowhite"},
    {"neck", Look::kNeck, "", false, "", ""},
    {"head", Look::kHead, "naohead", false, "0.1 0.1 0.1", "matTeam naoblack naogrey naowhite"},
    {"r_shoulder", Look::kJoint, "", false, "", ""},
    {"r_upperarm", Look::kMesh, "rupperarm", true, "0.07 0.07 0.07", "matTeam matType naowhite"},
    {"r_elbow", Look::kJoint, "", false, "", ""},
    {"r_lowerarm", Look::kMesh, "rlowerarm", false, "0.05 0.05 0.05", "matTeam naowhite"},
    {"l_shoulder", Look::kJoint, "", false, "", ""},
    {"l_upperarm", Look::kMesh, "lupperarm", true, "0.07 0.07 0.07", "matTeam matType naowhite"},
    {"l_elbow", Look::kJoint, "", false, "", ""},
    {"l_lowerarm", Look::kMesh, "llowerarm", false, "0.05 0.05 0.05", "matTeam naowhite"},
    {"r_hip1", Look::kJoint, "", false, "", ""},
    {"r_hip2", Look::kJoint, "", false, "", ""},
    {"r_thigh", Look::kMesh, "rthigh", false, "0.07 0.07 0.07", "matNum matTeam naowhite"},
    {"r_shank", Look::kMesh, "rshank", true, "0.08 0.08 0.08", "matTeam matType naowhite"},
    {"r_ankle", Look::kAnkle, "", false, "", ""},
    {"r_foot", Look::kFoot, "rfoot", false, "0.08 0.08 0.08", "matTeam naowhite"},
    {"l_hip1", Look::kJoint, "", false, "", ""},
    {"l_hip2", Look::kJoint, "", false, "", ""},
    {"l_thigh", Look::kMesh, "lthigh", false, "0.07 0.07 0.07", "matTeam naowhite"},
    {"l_shank", Look::kMesh, "lshank", true, "0.08 0.08 0.08", "matTeam matType naowhite"},
    {"l_ankle", Look::kAnkle, "", false, "", ""},
    {"l_foot", Look::kFoot, "lfoot", false, "0.08 0.08 0.08", "matTeam naowhite"},
};
constexpr int kPartCount = static_cast<int>(sizeof kParts / sizeof kParts[0]);
static_assert(kPartCount == RobotBody::kPartNum, "one look for every body part");

// The last robot type whose meshes carry a type material: the server's
// meshes of type 4 have none.
constexpr int kLastTypeMaterial = 3;

// Index into RobotBody::kParts of each entry of kParts.
const std::array<int, kPartCount>& PartIndices() {
  static const std::array<int, kPartCount> indices = [] {
    std::array<int, kPartCount> out{};
    for (int k = 0; k < kPartCount; ++k) out[k] = SimKinematics::PartIndex(kParts[k].part);
    return out;
  }();
  return indices;
}

// Robots of this type have toes: the server draws each foot shorter and a toe
// in front of it, which turns with the foot here (the field has no toe joint).
constexpr int kToeType = 4;
constexpr const char* kToeFootScale = "0.08 0.062241 0.08";
constexpr const char* kToeScale = "0.08 0.0228259 0.04";
constexpr double kToeAhead = 0.08;  // metres along the foot

ScenePose ToePose(const ScenePose& foot) {
  ScenePose toe = foot;
  toe.t += foot.R * Eigen::Vector3d(0, kToeAhead, 0);
  return toe;
}

constexpr const char* kMeshTurn =
    "(SLT -1 3.82137e-15 8.74228e-08 -0 8.74228e-08 4.37114e-08 1 0 0 1 -4.37114e-08 0 0 0 0 1)";
constexpr const char* kIdentity = "(SLT 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1)";
constexpr const char* kBallNode =
    "(nd StaticMesh (setVisible 1) (load models/soccerball.obj) (sSc 0.042 0.042 0.042)(resetMaterials "
    "soccerball_rcs-soccerball.png))";

// A number as the server writes it: six significant digits.
void AppendShort(double value, TextAppender* out) {
  char* at = out->Room(32);
  const auto result = std::to_chars(at, at + 32, value, std::chars_format::general, 6);
  out->Commit(static_cast<std::size_t>(result.ptr - at));
}

// A position in metres to 0.1 mm, as the trace writes it (the server's six
// significant digits give the same far from the centre).
void AppendPosition(double value, TextAppender* out) {
  char* at = out->Room(FixedDecimal::kMaxLength);
  std::size_t length = FixedDecimal::Write<4>(value, at);
  if (length == 0) length = static_cast<std::size_t>(std::to_chars(at, at + 24, 0.0).ptr - at);  // not finite
  out->Commit(length);
}

// An entry of a rotation matrix (-1 to 1) to six decimals, trailing zeros
// left out: "1", "-0.5", "0.707107". Written by hand: this is most of the
// numbers of a frame.
void AppendUnit(double value, TextAppender* out) {
  constexpr long long kScale = 1000000;
  long long units = std::isfinite(value) ? std::llround(std::clamp(value, -1.0, 1.0) * kScale) : 0;
  char* const at = out->Room(16);
  char* p = at;
  if (units < 0) {
    *p++ = '-';
    units = -units;
  }
  *p++ = static_cast<char>('0' + units / kScale);
  long long fraction = units % kScale;
  if (fraction != 0) {
    *p++ = '.';
    for (long long digit = kScale / 10; fraction != 0; digit /= 10) {
      *p++ = static_cast<char>('0' + fraction / digit);
      fraction %= digit;
    }
  }
  out->Commit(static_cast<std::size_t>(p - at));
}

// "(SLT m0 ... m15)": the rotation column by column, then the translation.
void AppendTransform(const ScenePose& f, TextAppender* out) {
  out->Append("(SLT");
  for (int c = 0; c < 3; ++c) {
    for (int r = 0; r < 3; ++r) {
      out->Append(' ');
      AppendUnit(f.R(r, c), out);
    }
    out->Append(" 0");
  }
  for (int r = 0; r < 3; ++r) {
    out->Append(' ');
    AppendPosition(f.t[r], out);
  }
  out->Append(" 1)");
}

// The mesh's materials, the placeholders replaced; without the type
// material when `typed` is false.
void AppendMaterials(const SceneRobot& robot, std::string_view materials, bool typed, TextAppender* out) {
  const bool in_team = robot.side == 'L' || robot.side == 'R';
  bool first = true;
  while (!materials.empty()) {
    const std::size_t space = materials.find(' ');
    const std::string_view name = materials.substr(0, space);
    materials = space == std::string_view::npos ? std::string_view() : materials.substr(space + 1);
    if (name == "matType" && !typed) continue;
    if (!first) out->Append(' ');
    first = false;
    if (name == "matNum" && in_team) {
      out->Append("matNum");
      out->Append(std::to_string(robot.unum));
    } else if (name == "matTeam" && in_team) {
      out->Append(robot.side == 'L' ? "matLeft" : "matRight");
    } else if (name == "matType") {
      out->Append("matType");
      out->Append(static_cast<char>('0' + robot.type));
    } else {
      out->Append(name.data(), name.size());
    }
  }
}

void AppendMesh(const SceneRobot& robot, const PartLook& look, TextAppender* out, const char* scale = nullptr) {
  if (scale == nullptr) scale = look.scale;
  out->Append("(nd StaticMesh (setVisible 1) (load models/");
  AppendText(look.model, out);
  if (look.typed) out->Append(static_cast<char>('0' + robot.type));
  out->Append(".obj) (sSc ");
  AppendText(scale, out);
  out->Append(")(resetMaterials ");
  AppendMaterials(robot, look.materials, robot.type <= kLastTypeMaterial, out);
  out->Append("))");
}

// The nodes under one part's transform, in a full state or as a diff's shape.
void AppendPartContents(const SceneRobot& robot, const PartLook& look, bool full, TextAppender* out) {
  switch (look.look) {
    case Look::kBody:
    case Look::kHead:
      if (!full) {
        AppendText(look.look == Look::kBody ? "(nd(nd StaticMesh))(nd(nd SMN))" : "(nd(nd StaticMesh))", out);
        return;
      }
      // The mesh under a turn of its own; the body also has the viewer's
      // (hidden) selection marker.
      out->Append("(nd TRF ");
      AppendText(kMeshTurn, out);
      AppendMesh(robot, look, out);
      out->Append(')');
      if (look.look == Look::kBody) {
        out->Append("(nd TRF ");
        AppendText(kIdentity, out);
        out->Append("(nd SMN (setVisible 0) (setTransparent) (load StdUnitCylinder 1 1) (sSc 0.2 0.2 0.02) (sMat "
                    "matSelect)))");
      }
      return;
    case Look::kFoot:
      if (full) {
        AppendMesh(robot, look, out, robot.type == kToeType ? kToeFootScale : look.scale);
      } else {
        out->Append("(nd StaticMesh)");
      }
      return;
    case Look::kMesh:
      if (full) {
        AppendMesh(robot, look, out);
      } else {
        out->Append("(nd StaticMesh)");
      }
      return;
    case Look::kNeck:
      out->Append(full ? "(nd SMN (setVisible 1) (load StdCapsule 0.015 0.08) (sSc 1 1 1) (sMat matDarkGrey))"
                       : "(nd SMN)");
      return;
    case Look::kJoint:
    case Look::kAnkle:
      if (!full) {
        out->Append("(nd SMN)");
        return;
      }
      out->Append("(nd SMN (setVisible 1) (load StdUnitSphere) (sSc 0.01 0.01 0.01) (sMat ");
      out->Append(look.look == Look::kJoint ? "matYellow))" : "matRed))");
      return;
  }
}

int PlayModeIndex(const std::string& name) {
  const std::vector<const char*>& modes = MonitorStream::PlayModes();
  for (std::size_t k = 0; k < modes.size(); ++k) {
    if (name == modes[k]) return static_cast<int>(k);
  }
  return 0;
}

void AppendValue(const char* name, int value, TextAppender* out) {
  out->Append('(');
  AppendText(name, out);
  out->Append(' ');
  out->Append(std::to_string(value));
  out->Append(')');
}

void AppendTeam(const char* name, const std::string& team, TextAppender* out) {
  if (team.empty()) return;
  out->Append('(');
  AppendText(name, out);
  out->Append(' ');
  out->Append(team);
  out->Append(')');
}

void AppendTime(double time, TextAppender* out) {
  out->Append("(time ");
  AppendShort(time, out);
  out->Append(')');
}

ScenePose BallPose(const Eigen::Vector3d& ball) {
  ScenePose pose;
  pose.t = ball;
  return pose;
}

// A robot's node: in a full state (`shown` null) every part with its
// transform, mesh and materials; in a diff the shape, with the transforms
// that differ from `shown`.
void AppendRobot(const SceneRobot& robot, const std::array<ScenePose, RobotBody::kPartNum>* shown,
                 TextAppender* out) {
  const bool full = shown == nullptr;
  out->Append(full ? "(nd TRF " : "(nd");
  if (full) AppendText(kIdentity, out);
  const std::array<int, kPartCount>& index = PartIndices();
  for (int k = 0; k < kPartCount; ++k) {
    const ScenePose& pose = robot.parts[index[k]];
    const bool moved = full || !(pose == (*shown)[index[k]]);
    out->Append(full ? "(nd TRF " : "(nd");
    if (moved) {
      if (!full) out->Append(' ');
      AppendTransform(pose, out);
    }
    AppendPartContents(robot, kParts[k], full, out);
    out->Append(')');
    if (kParts[k].look == Look::kFoot && robot.type == kToeType) {
      out->Append(full ? "(nd TRF " : "(nd");
      if (moved) {
        if (!full) out->Append(' ');
        AppendTransform(ToePose(pose), out);
      }
      if (full) {
        AppendMesh(robot, kParts[k], out, kToeScale);
      } else {
        out->Append("(nd StaticMesh)");
      }
      out->Append(')');
    }
  }
  out->Append(')');
}

}  // namespace

const std::vector<const char*>& MonitorStream::PlayModes() {
  static const std::vector<const char*> modes = {
      "BeforeKickOff",    "KickOff_Left",     "KickOff_Right",         "PlayOn",
      "KickIn_Left",      "KickIn_Right",     "corner_kick_left",      "corner_kick_right",
      "goal_kick_left",   "goal_kick_right",  "offside_left",          "offside_right",
      "GameOver",         "Goal_Left",        "Goal_Right",            "free_kick_left",
      "free_kick_right",  "direct_free_kick_left", "direct_free_kick_right", "pass_left",
      "pass_right",
  };
  return modes;
}

void MonitorStream::Full(const SceneSnapshot& scene, std::string* frame) const {
  frame->clear();
  TextAppender out(frame);
  out.Append("((FieldLength ");
  AppendShort(FieldGeometry::kLength, &out);
  out.Append(")(FieldWidth ");
  AppendShort(FieldGeometry::kWidth, &out);
  out.Append(")(FieldHeight 40)(GoalWidth ");
  AppendShort(2 * FieldGeometry::kGoalHalfWidth, &out);
  out.Append(")(GoalDepth ");
  AppendShort(FieldGeometry::kGoalDepth, &out);
  out.Append(")(GoalHeight ");
  AppendShort(FieldGeometry::kGoalHeight, &out);
  out.Append(")(BorderSize 0)(FreeKickDistance 2)(WaitBeforeKickOff 30)(AgentRadius 0.4)(BallRadius ");
  AppendShort(FieldGeometry::kBallRadius, &out);
  out.Append(")(BallMass ");
  AppendShort(FieldGeometry::kBallMass, &out);
  out.Append(")(RuleGoalPauseTime 3)(RuleKickInPauseTime 1)(RuleHalfTime 300)(PassModeMinOppBallDist 1)"
             "(PassModeDuration 4)(play_modes");
  for (const char* mode : PlayModes()) {
    out.Append(' ');
    AppendText(mode, &out);
  }
  out.Append(')');
  AppendTime(scene.game_time, &out);
  AppendTeam("team_left", scene.team_left, &out);
  AppendTeam("team_right", scene.team_right, &out);
  AppendValue("half", scene.half, &out);
  AppendValue("score_left", scene.score_left, &out);
  AppendValue("score_right", scene.score_right, &out);
  AppendValue("play_mode", PlayModeIndex(scene.play_mode), &out);
  out.Append(")(RSG 0 1)(");
  out.Append(FixedFull());
  out.Append("(nd TRF ");
  AppendTransform(BallPose(scene.ball), &out);
  AppendText(kBallNode, &out);
  out.Append(')');
  for (const SceneRobot& robot : scene.robots) AppendRobot(robot, nullptr, &out);
  out.Append(')');
}

bool MonitorStream::SameRobots(const SceneSnapshot& scene) const {
  if (scene.robots.size() != robots_.size()) return false;
  for (std::size_t k = 0; k < robots_.size(); ++k) {
    const SceneRobot& now = scene.robots[k];
    const Shown& was = robots_[k];
    if (now.id != was.id || now.type != was.type || now.side != was.side || now.unum != was.unum) return false;
  }
  return true;
}

bool MonitorStream::Next(const SceneSnapshot& scene, std::string* frame) {
  const bool full = !shown_any_ || !SameRobots(scene) || scene.team_left != team_left_ ||
                    scene.team_right != team_right_;
  if (full) {
    Full(scene, frame);
  } else {
    Diff(scene, frame);
  }
  Remember(scene);
  return full;
}

void MonitorStream::Diff(const SceneSnapshot& scene, std::string* frame) const {
  frame->clear();
  TextAppender out(frame);
  out.Append('(');
  AppendTime(scene.game_time, &out);
  if (scene.half != half_) AppendValue("half", scene.half, &out);
  if (scene.score_left != score_left_) AppendValue("score_left", scene.score_left, &out);
  if (scene.score_right != score_right_) AppendValue("score_right", scene.score_right, &out);
  const int mode = PlayModeIndex(scene.play_mode);
  if (mode != play_mode_) AppendValue("play_mode", mode, &out);
  out.Append(")(RDS 0 1)(");
  out.Append(FixedDiff());
  out.Append("(nd");
  if (scene.ball != ball_) {
    out.Append(' ');
    AppendTransform(BallPose(scene.ball), &out);
  }
  out.Append("(nd StaticMesh))");
  for (std::size_t r = 0; r < scene.robots.size(); ++r) AppendRobot(scene.robots[r], &robots_[r].parts, &out);
  out.Append(')');
}

void MonitorStream::Remember(const SceneSnapshot& scene) {
  shown_any_ = true;
  half_ = scene.half;
  score_left_ = scene.score_left;
  score_right_ = scene.score_right;
  play_mode_ = PlayModeIndex(scene.play_mode);
  team_left_ = scene.team_left;
  team_right_ = scene.team_right;
  ball_ = scene.ball;
  robots_.resize(scene.robots.size());
  for (std::size_t k = 0; k < scene.robots.size(); ++k) {
    const SceneRobot& now = scene.robots[k];
    robots_[k] = Shown{now.id, now.type, now.side, now.unum, now.parts};
  }
}
