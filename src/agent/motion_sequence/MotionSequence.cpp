#include "agent/motion_sequence/MotionSequence.h"

#include <cmath>
#include <iostream>

#include <tinyxml2.h>

namespace {

// Reads the named attribute into value; absent or not a number: false.
bool Attribute(const tinyxml2::XMLElement& e, const char* name, double* value) {
  return e.QueryDoubleAttribute(name, value) == tinyxml2::XML_SUCCESS;
}
bool Attribute(const tinyxml2::XMLElement& e, const char* name, int* value) {
  return e.QueryIntAttribute(name, value) == tinyxml2::XML_SUCCESS;
}

}  // namespace

// The fault goes to `why` when given, else to standard error as one line.
static void Fault(const std::string& text, std::string* why) {
  if (why != nullptr) {
    *why = text;
  } else {
    std::cerr << "motion sequence: " << text << std::endl;
  }
}

bool MotionSequence::ReadDirect(const std::string& xml_str, std::string* why) {
  sequence_.clear();
  current_motion_ = 0;
  end_ = false;
  tinyxml2::XMLDocument document;
  if (document.Parse(xml_str.c_str(), xml_str.size()) != tinyxml2::XML_SUCCESS) {
    Fault(std::string("the document does not parse: ") + document.ErrorStr(), why);
    end_ = true;
    return false;
  }
  if (!ReadXML(document, why)) {
    end_ = true;
    return false;
  }
  return true;
}

bool MotionSequence::ReadXML(const tinyxml2::XMLDocument& document, std::string* why) {
  const tinyxml2::XMLElement* root = document.FirstChildElement("sequence");
  if (root == nullptr) {
    Fault("the document has no \"sequence\" element", why);
    return false;
  }
  const char* name = root->Attribute("name");
  const char* refresh = root->Attribute("refresh");

  // Read everything first, so that a fault leaves nothing half loaded.
  std::vector<Motion> motions;
  for (const tinyxml2::XMLElement* m = root->FirstChildElement("motion"); m != nullptr;
       m = m->NextSiblingElement("motion")) {
    Motion motion;
    if (const char* n = m->Attribute("name")) motion.name = n;
    if (!Attribute(*m, "time", &motion.end_time)) {
      Fault("motion " + std::to_string(motions.size() + 1) + " (\"" + motion.name +
                "\") lacks a whole number \"time\"", why);
      return false;
    }
    for (const tinyxml2::XMLElement* v = m->FirstChildElement("move"); v != nullptr;
         v = v->NextSiblingElement("move")) {
      Move move;
      move.end_time = motion.end_time;
      const char* id = v->Attribute("id");
      if (id == nullptr || !Attribute(*v, "degree", &move.degree)) {
        Fault("move " + std::to_string(motion.parts.size() + 1) + " of motion \"" + motion.name +
                  "\" lacks its \"id\" or a numeric \"degree\"", why);
        return false;
      }
      move.id = id;
      move.joint = JointByName(move.id);
      Attribute(*v, "speed", &move.speed);
      Attribute(*v, "start", &move.start_time);
      Attribute(*v, "end", &move.end_time);
      int type = TYPE_NOMAL;
      // Types past the known ones are ignored; negative ones kept (they move nothing).
      if (Attribute(*v, "type", &type) && type < MOVE_TYPE_NUM) move.type = static_cast<MoveType>(type);
      motion.parts.push_back(move);
    }
    motions.push_back(motion);
  }
  name_ = name != nullptr ? name : "";
  refresh_ = refresh != nullptr && std::string(refresh) == "true";
  sequence_.insert(sequence_.end(), motions.begin(), motions.end());
  return true;
}

void MotionSequence::Run(const JointAngles& joint, JointRequest* request) {
  if (end_) return;
  if (sequence_.empty()) {
    end_ = true;
    return;
  }
  Motion& m = sequence_[current_motion_];
  const int t = m.current_time;
  for (const Move& move : m.parts) {
    if (move.start_time > t || t >= move.end_time || move.joint == kJointCount) continue;
    if (move.type == TYPE_NOMAL) {
      request->SetNextJointAngle(joint, move.joint, move.degree, move.speed);
    } else if (move.type == TYPE_QUICKLY) {
      request->SetNextJMk2(joint, move.joint, move.degree, move.speed);
    }
  }
  if (t + 1 < m.end_time) {
    m.current_time = t + 1;
    return;
  }
  m.current_time = 0;
  if (++current_motion_ >= static_cast<int>(sequence_.size())) {
    end_ = true;
    current_motion_ = 0;
  }
}

void MotionSequence::Reset() {
  for (Motion& m : sequence_) m.current_time = 0;
  current_motion_ = 0;
  end_ = false;
}
