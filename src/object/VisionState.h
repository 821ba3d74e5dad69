#ifndef VEKTORLING_OBJECT_VISIONSTATE_H
#define VEKTORLING_OBJECT_VISIONSTATE_H

// What the latest server messages said about vision as a whole: whether the
// current one carries a vision perceptor, the game times of the latest two
// visions, and how many landmarks the latest one showed. The parser writes
// it; the seen-object model and the position estimates read it.
struct VisionState {
  bool see = false;
  double see_time = 0.0;
  double before_see_time = 0.0;
  int vis_count = 0;
};

#endif
