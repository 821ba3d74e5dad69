#ifndef VEKTORLING_WATCH_MONITOR_FRAME_H
#define VEKTORLING_WATCH_MONITOR_FRAME_H

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SExpression.h"

// A frame of the monitor stream is "(<game values>)(RSG 0 1)(<scene>)" for a
// full state of the scene or "(<game values>)(RDS 0 1)(<scene>)" for a
// diff against the previous frame.
enum class SceneKind { kFull, kDiff };

// The game values a frame carries: a full state has them all, a diff only
// those that changed (and the time).
struct GameValues {
  std::optional<double> time;  // game time, seconds
  std::optional<int> half;
  std::optional<int> score_left, score_right;
  std::optional<int> play_mode;  // index into play_modes
  std::optional<std::string> team_left, team_right;
  std::optional<std::vector<std::string>> play_modes;
};

// One "(nd ...)" of the scene. A full state gives every node its transform
// and its mesh and materials; a diff repeats the tree's shape with only what
// changed.
struct SceneNode {
  int parent = -1;  // index of the parent node in the frame's node list; -1 at the top
  bool has_transform = false;
  std::array<double, 16> transform{};  // "(SLT m0 .. m15)": 4x4, column-major, translation in 12-14
  std::string mesh;                    // "(load <model>)": the model's name, empty when not given
  bool has_materials = false;
  std::vector<std::string> materials;  // "(resetMaterials ...)"
};

struct MonitorFrame {
  SceneKind kind = SceneKind::kFull;
  GameValues values;
  std::vector<SceneNode> nodes;  // every node of the scene, parents before their children, in text order
};

// Reads frames of the monitor stream. Keeps its working storage from frame
// to frame; knows nothing of the connection they came over.
class MonitorFrameReader {
public:
  // Lists in a frame nest at most this deep (the server's scenes nest 6 deep).
  static constexpr int kMaxDepth = 64;

  // Reads one frame into *frame. False with a one-line reason when the text
  // is not a frame: parentheses that do not balance, lists nested too deep,
  // no RSG or RDS part, a transform of other than 16 finite numbers, a game
  // value that is not a number where one belongs.
  bool Read(std::string_view text, MonitorFrame* frame, std::string* reason);

private:
  bool ReadValues(int list, GameValues* values, std::string* reason) const;
  bool ReadNode(int list, int parent, std::vector<SceneNode>* nodes, std::string* reason) const;

  SExprTree tree_;
};

#endif
