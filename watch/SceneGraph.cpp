#include "SceneGraph.h"

SceneGraph::Result SceneGraph::Apply(const MonitorFrame& frame) {
  const std::vector<SceneNode>& in = frame.nodes;
  if (frame.kind == SceneKind::kFull) {
    nodes_ = in;
    has_scene_ = true;
    return Result::kReplaced;
  }
  if (!has_scene_) return Result::kNoScene;
  // Same shape: the same number of nodes, each under the same parent.
  if (in.size() != nodes_.size()) return Result::kShapeMismatch;
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i].parent != nodes_[i].parent) return Result::kShapeMismatch;
  }
  for (std::size_t i = 0; i < in.size(); ++i) {
    SceneNode& node = nodes_[i];
    if (in[i].has_transform) {
      node.transform = in[i].transform;
      node.has_transform = true;
    }
    if (!in[i].mesh.empty()) node.mesh = in[i].mesh;
    if (in[i].has_materials) {
      node.materials = in[i].materials;
      node.has_materials = true;
    }
  }
  return Result::kUpdated;
}
