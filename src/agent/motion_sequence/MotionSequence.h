#ifndef VEKTORLING_AGENT_MOTION_SEQUENCE_MOTIONSEQUENCE_H
#define VEKTORLING_AGENT_MOTION_SEQUENCE_MOTIONSEQUENCE_H

#include <string>
#include <vector>

#include "nao_model/JointId.h"
#include "nao_model/JointRequest.h"

namespace tinyxml2 {
class XMLDocument;
}

// A keyframe motion read from a small XML document: motions played one
// after another, each lasting a number of think cycles, each with joint
// moves active in a window of those cycles. Run plays one cycle into the
// agent's command table.
//
//   <sequence name="..." refresh="true|false">
//     <motion name="..." time="cycles">
//       <move id="joint" degree="target" speed="0.05" start="0" end="time" type="0|1"/>
//     </motion>
//   </sequence>
class MotionSequence {
 public:
  // A fixed underlying type: a negative type read from a document is kept.
  enum MoveType : int { TYPE_NOMAL = 0, TYPE_QUICKLY = 1, MOVE_TYPE_NUM = 2 };

  struct Move {
    std::string id;             // perceptor joint name
    JointId joint = kJointCount;  // the joint it names; kJointCount: none (moves nothing)
    MoveType type = TYPE_NOMAL;  // a negative type moves nothing
    double degree = 0.0;
    double speed = 0.05;  // gain (proportional) or speed (constant)
    int start_time = 0;   // first cycle of the motion in which it acts
    int end_time = 0;     // first cycle in which it no longer acts
  };

  struct Motion {
    std::vector<Move> parts;
    std::string name;
    int end_time = 0;      // length in cycles
    int current_time = 0;  // cycles played
  };

  MotionSequence() = default;
  virtual ~MotionSequence() = default;

  // Replaces the motions by those of the document. A document that does not
  // parse or lacks a required attribute leaves an empty sequence that
  // reports itself ended, with one line on standard error; returns false.
  // With `why`, the fault goes there instead of standard error.
  bool ReadDirect(const std::string& xml_str, std::string* why = nullptr);
  // Appends the document's motions; false (and nothing appended) when it
  // lacks the root element or a required attribute.
  bool ReadXML(const tinyxml2::XMLDocument& document, std::string* why = nullptr);

  // Plays one cycle into the request. A sequence without motions ends at once.
  void Run(const JointAngles& joint, JointRequest* request);
  void Reset();

  bool IsEnd() const { return end_; }
  bool IsRefresh() const { return refresh_; }
  const std::string& GetName() const { return name_; }
  const std::string& GetFileName() const { return file_name_; }
  int GetCurrentMotion() const { return current_motion_; }
  const std::vector<Motion>& GetSequence() const { return sequence_; }


 private:
  std::vector<Motion> sequence_;
  std::string file_name_;
  std::string name_;
  int current_motion_ = 0;
  bool refresh_ = false;
  bool end_ = false;
};

#endif  // VEKTORLING_AGENT_MOTION_SEQUENCE_MOTIONSEQUENCE_H
