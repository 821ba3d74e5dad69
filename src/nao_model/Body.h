#ifndef VEKTORLING_NAO_MODEL_BODY_H
#define VEKTORLING_NAO_MODEL_BODY_H

#include <Eigen/Dense>

#include "message/ForceResistance.h"
#include "nao_model/JointId.h"
#include "nao_model/NaoModel.h"

// The body's readings of one cycle and what the body step derives from
// them. The parse step writes the readings, Body::Update the rest; later
// steps only read it. Values without a new reading (the centre of pressure
// with no vertical force, the feet in the air) keep the last cycle's.
struct BodyState {
  // Readings.
  JointAngles joint{};  // degrees
  Eigen::Vector3d gyro = Eigen::Vector3d::Zero();  // degrees per second
  Eigen::Vector3d acc = Eigen::Vector3d::Zero();   // m/s^2
  ForceResistance frp_l;
  ForceResistance frp_r;

  // Derived.
  char touching_leg = 'N';  // 'B'oth, 'L'eft, 'R'ight; 'N' before the first contact
  Eigen::Vector3d axis_sum_rot = Eigen::Vector3d::Zero();  // leg angles summed by axis
  Eigen::Vector3d part[NaoModel::kPartNum];                // torso frame, metres (PartId)
  Eigen::Vector3d l_tiptoe = Eigen::Vector3d::Zero();       // 8 cm ahead of each foot
  Eigen::Vector3d r_tiptoe = Eigen::Vector3d::Zero();
  Eigen::Vector3d gravity = Eigen::Vector3d::Zero();     // centre of mass
  Eigen::Vector3d momentum = Eigen::Vector3d::Zero();
  Eigen::Vector3d t_momentum = Eigen::Vector3d::Zero();  // momentum per unit mass
  Eigen::Vector2d zmp = Eigen::Vector2d::Zero();         // centre of pressure, torso frame

  BodyState() {
    for (Eigen::Vector3d& p : part) p.setZero();
  }
};

// The body step: forward kinematics and balance from the readings. It keeps
// the previous samples of its integrators from cycle to cycle.
class Body {
 public:
  // Everything derived, in this order; `total` is the body's orientation
  // (degrees), integrated from the gyroscope.
  void Update(double game_time, BodyState* body, Eigen::Vector3d* total);

  // The leg joints' angles summed by their axis, the head's tilt twice on x.
  static Eigen::Vector3d SumAxisRotation(const JointAngles& joint);
  // 'B', 'L' or 'R' from the feet in contact; unchanged with none.
  static char JudgeTouchingLeg(const BodyState& body, char previous);
  void ClacTotalGyroAngle(const Eigen::Vector3d& gyro, double game_time, Eigen::Vector3d* total);
  static void CalcPartWorldCoordinate(const JointAngles& joint, BodyState* body);
  static Eigen::Vector3d CalcGravity(const BodyState& body);
  void CalcMomentum(double game_time, BodyState* body);
  // The force-weighted centre of pressure of both feet; zero with no foot
  // on the ground, the last one with contact but no vertical force.
  static void CalculateZMP(const ForceResistance& left, const ForceResistance& right,
                           Eigen::Vector2d* zmp);

 private:
  Eigen::Vector3d bef_gyro_ = Eigen::Vector3d::Zero();  // previous gyro rate
  double time_span_ = 0.0;  // game time of the previous gyro integration
  double bef_time_ = 0.0;   // game time of the previous momentum sum
};

#endif  // VEKTORLING_NAO_MODEL_BODY_H
