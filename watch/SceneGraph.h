#ifndef VEKTORLING_WATCH_SCENE_GRAPH_H
#define VEKTORLING_WATCH_SCENE_GRAPH_H

#include <vector>

#include "MonitorFrame.h"

// The server's scene as the frames so far describe it: the last full state
// with every later diff applied. A diff's nodes are matched to the scene's
// by their order, so a diff must have the scene's shape.
class SceneGraph {
public:
  enum class Result {
    kReplaced,       // a full state: the scene is now exactly the frame's
    kUpdated,        // a diff of the scene's shape: what it carries was taken over
    kNoScene,        // a diff before any full state: dropped
    kShapeMismatch,  // a diff of another shape: dropped, the scene is as it was
  };

  Result Apply(const MonitorFrame& frame);

  bool HasScene() const { return has_scene_; }
  // Every node, parents before their children (see MonitorFrame).
  const std::vector<SceneNode>& Nodes() const { return nodes_; }

private:
  std::vector<SceneNode> nodes_;
  bool has_scene_ = false;
};

#endif
