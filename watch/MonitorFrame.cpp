#include "MonitorFrame.h"

#include <charconv>
#include <cmath>

namespace {

bool ToDouble(std::string_view text, double* out) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return false;
  *out = value;
  return true;
}

bool ToInt(std::string_view text, int* out) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return false;
  *out = value;
  return true;
}

}  // namespace

bool MonitorFrameReader::Read(std::string_view text, MonitorFrame* frame, std::string* reason) {
  if (!ReadSExpressions(text, kMaxDepth, &tree_, reason)) return false;
  const std::vector<SExprNode>& n = tree_.nodes;
  // Three lists at the top: values, kind, scene.
  int part[3] = {-1, -1, -1};
  int count = 0;
  for (int i = tree_.first; i >= 0; i = n[i].next) {
    if (count < 3) part[count] = i;
    ++count;
  }
  if (count != 3 || !n[part[0]].is_list || !n[part[1]].is_list || !n[part[2]].is_list) {
    *reason = "not a frame of three lists (game values, RSG or RDS, scene)";
    return false;
  }
  const int head = n[part[1]].first;
  const std::string_view kind = head >= 0 && !n[head].is_list ? n[head].atom : std::string_view();
  if (kind == "RSG") {
    frame->kind = SceneKind::kFull;
  } else if (kind == "RDS") {
    frame->kind = SceneKind::kDiff;
  } else {
    *reason = "neither a full state (RSG) nor a diff (RDS)";
    return false;
  }
  frame->values = GameValues();
  if (!ReadValues(part[0], &frame->values, reason)) return false;
  frame->nodes.clear();
  for (int i = n[part[2]].first; i >= 0; i = n[i].next) {
    if (!ReadNode(i, -1, &frame->nodes, reason)) return false;
  }
  return true;
}

bool MonitorFrameReader::ReadValues(int list, GameValues* values, std::string* reason) const {
  const std::vector<SExprNode>& n = tree_.nodes;
  for (int item = n[list].first; item >= 0; item = n[item].next) {
    if (!n[item].is_list) continue;
    const int name = n[item].first;
    if (name < 0 || n[name].is_list) continue;
    const std::string_view key = n[name].atom;
    const int value = n[name].next;
    const bool atom = value >= 0 && !n[value].is_list;
    const std::string_view text = atom ? n[value].atom : std::string_view();
    double number = 0;
    int whole = 0;
    bool ok = true;
    if (key == "time") {
      ok = atom && ToDouble(text, &number);
      values->time = number;
    } else if (key == "half" || key == "score_left" || key == "score_right" || key == "play_mode") {
      ok = atom && ToInt(text, &whole);
      (key == "half" ? values->half : key == "score_left" ? values->score_left
                                    : key == "score_right" ? values->score_right : values->play_mode) = whole;
    } else if (key == "team_left" || key == "team_right") {
      ok = atom;
      (key == "team_left" ? values->team_left : values->team_right) = std::string(text);
    } else if (key == "play_modes") {
      std::vector<std::string> names;
      for (int m = value; m >= 0; m = n[m].next) {
        if (!n[m].is_list) names.emplace_back(n[m].atom);
      }
      values->play_modes = std::move(names);
    }
    if (!ok) {
      *reason = "bad value of '" + std::string(key) + "'";
      return false;
    }
  }
  return true;
}

bool MonitorFrameReader::ReadNode(int list, int parent, std::vector<SceneNode>* nodes, std::string* reason) const {
  const std::vector<SExprNode>& n = tree_.nodes;
  const int head = n[list].first;
  if (!n[list].is_list || head < 0 || n[head].is_list || n[head].atom != "nd") {
    *reason = "a scene element that is not a node (nd)";
    return false;
  }
  const int index = static_cast<int>(nodes->size());
  nodes->emplace_back();
  (*nodes)[index].parent = parent;
  for (int item = n[head].next; item >= 0; item = n[item].next) {
    if (!n[item].is_list) continue;  // the node's type: TRF, StaticMesh, SMN, Light, ...
    const int name = n[item].first;
    if (name < 0 || n[name].is_list) continue;
    const std::string_view key = n[name].atom;
    if (key == "nd") {
      // The reader's depth limit bounds this recursion.
      if (!ReadNode(item, index, nodes, reason)) return false;
      continue;
    }
    SceneNode& node = (*nodes)[index];
    if (key == "SLT") {
      int count = 0;
      for (int v = n[name].next; v >= 0; v = n[v].next) {
        if (count == 16 || n[v].is_list || !ToDouble(n[v].atom, &node.transform[count])) {
          count = -1;
          break;
        }
        ++count;
      }
      if (count != 16) {
        *reason = "a transform (SLT) that is not 16 finite numbers";
        return false;
      }
      node.has_transform = true;
    } else if (key == "load") {
      const int model = n[name].next;
      if (model >= 0 && !n[model].is_list) node.mesh = std::string(n[model].atom);
    } else if (key == "resetMaterials") {
      node.has_materials = true;
      node.materials.clear();
      for (int m = n[name].next; m >= 0; m = n[m].next) {
        if (!n[m].is_list) node.materials.emplace_back(n[m].atom);
      }
    }
  }
  return true;
}
