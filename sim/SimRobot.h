#ifndef VEKTORLING_SIM_SIMROBOT_H
#define VEKTORLING_SIM_SIMROBOT_H

#include <Eigen/Dense>

#include "SimKinematics.h"

// What one foot's force sensor reports.
struct FootContact {
  bool contact = false;
  Eigen::Vector3d c = Eigen::Vector3d::Zero();  // point of action relative to the foot
  Eigen::Vector3d f = Eigen::Vector3d::Zero();  // force, newtons
};

// The kinematic body of one robot on the practice field. Its pose follows
// its joint angles: the supporting foot (the lower one) stays flat where it
// is on the ground and the torso is placed above it by forward kinematics,
// so stepping legs carry the robot and hip yaw turns it. A centre of mass
// too far outside the feet topples it; a lying robot gets up once it holds
// a crouch it could rise from (see InBalancedCrouch).
class SimRobot {
public:
  enum class State { kAirborne, kUpright, kFalling, kLying };

  static constexpr double kMaxJointSpeed = 6.1395;   // rad/s
  static constexpr double kFallMargin = 0.04;        // metres outside the support area
  static constexpr int kFallConfirmSteps = 3;        // steps that far outside before toppling
  static constexpr int kFallSteps = 12;              // steps from tipping over to lying
  static constexpr int kImpactSteps = 2;             // steps of landing shock
  static constexpr double kImpactAcc = 45.0;         // m/s^2 on top of gravity at the landing
  static constexpr double kLyingHeight = 0.06;       // torso centre above the ground while lying
  static constexpr double kCrouchKneeDeg = 50.0;     // knees bent at least this much
  static constexpr double kCrouchLeanDeg = 30.0;     // torso leaning at most this much over the feet
  static constexpr int kCrouchHoldSteps = 10;        // a fifth of a second
  static constexpr double kCrouchFeetLevel = 0.02;   // feet this close in height both stand
  static constexpr int kDropSteps = 4;               // free fall after being put onto the field
  static constexpr double kSwitchTolerance = 0.001;  // lower by this much to take over the support
  static constexpr double kContactTolerance = 0.005; // sole this close to the ground touches it

  SimRobot();

  // Joints, RobotBody::kJoints order; angles in degrees, speeds in rad/s.
  void SetJointVelocity(int joint, double rad_per_s);
  double JointVelocity(int joint) const { return vel_[joint]; }
  double JointAngle(int joint) const { return q_[joint]; }
  // Sets an angle directly (clamped to the limits); the pose follows at the next step.
  void SetJointAngle(int joint, double deg);
  const double* JointAngles() const { return q_; }

  // Stands the robot with its torso above (x, y), facing heading_deg (0 =
  // +x), the lower foot flat on the ground.
  void PlaceUpright(const Eigen::Vector2d& xy, double heading_deg);
  // A beam: placed upright; until a joint moves, the feet report no force
  // (the real server lets a beamed body come to rest that way).
  void Beam(const Eigen::Vector2d& xy, double heading_deg);
  // Placed just above the ground: falls for a few steps and lands.
  void Drop(const Eigen::Vector2d& xy, double heading_deg);
  // Knocks the robot over onto its back or its front (trainer); nothing
  // happens unless it stands.
  void Push(bool onto_back = true);

  // Advances one step of dt seconds.
  void Step(double dt);

  State GetState() const { return state_; }
  bool Fallen() const { return state_ == State::kFalling || state_ == State::kLying; }
  const Frame& Torso() const { return torso_; }
  Frame CameraWorld() const { return torso_ * kin_.Camera(); }
  Eigen::Vector3d PartWorld(int part) const { return torso_ * kin_.Part(part); }
  Frame PartFrameWorld(int part) const {
    Frame f;
    f.R = torso_.R * kin_.PartRotation(part);
    f.p = torso_ * kin_.Part(part);
    return f;
  }
  Eigen::Vector3d LowerArmWorld(int side) const { return torso_ * kin_.LowerArm(side); }
  Frame SoleWorld(int side) const { return torso_ * kin_.Sole(side); }
  const Eigen::Vector3d& SoleVelocity(int side) const { return sole_vel_[side]; }
  Eigen::Vector3d CentreOfMassWorld() const { return torso_ * kin_.CentreOfMass(); }
  double Mass() const { return kin_.TotalMass(); }
  const SimKinematics& Kinematics() const { return kin_; }
  int SupportFoot() const { return support_; }
  // Heading of the body in degrees (0 = facing +x), also while lying.
  double Heading() const;

  // Sensors, torso frame.
  const Eigen::Vector3d& Gyro() const { return gyro_; }  // deg/s
  const Eigen::Vector3d& Acc() const { return acc_; }    // m/s^2
  const FootContact& Foot(int side) const { return foot_[side]; }

  // Counters for the match summary. Walking is counted step by step: the
  // torso's travel from one change of the supporting foot to the next, so
  // the sway within a step does not add up. Beams are not counted.
  double distance_walked = 0.0;
  int steps = 0;          // changes of the supporting foot while upright
  double stride = 0.0;    // sum of the steps' advance: new footprint minus old, along the heading
  int falls = 0;
  int standups = 0;

private:
  void UpdateUpright(const Frame& before);
  void TakeSupport(int side, const Frame& before);
  void CountStep(const Eigen::Vector2d& old_print);
  void UpdateFalling();
  void UpdateLying();
  void StartFall(bool backwards);
  void SetTorsoFromSupport();
  void ComputeFootContacts();
  void ComputeSensors(const Frame& before, double dt);
  bool FootTouches(int side) const;
  bool InBalancedCrouch() const;
  double SupportDistance(const Eigen::Vector2d& p) const;

  SimKinematics kin_;
  double q_[RobotBody::kJointNum] = {};
  double vel_[RobotBody::kJointNum] = {};

  State state_ = State::kAirborne;
  Frame torso_;
  Frame support_sole_;  // world pose of the supporting sole (flat on the ground)
  int support_ = SimKinematics::kRight;
  double heading_ = 0.0;  // degrees, kept while falling and lying

  // Falling and lying.
  Frame fall_from_, fall_to_;
  int fall_step_ = 0;
  int impact_left_ = 0;
  int crouch_steps_ = 0;
  int outside_steps_ = 0;
  int drop_left_ = 0;
  bool landing_ = false;
  bool resting_ = false;  // beamed and no joint moved since
  Eigen::Vector2d step_mark_ = Eigen::Vector2d::Zero();  // torso at the last step
  bool step_mark_valid_ = false;

  // Sensors and motion history.
  Eigen::Vector3d gyro_ = Eigen::Vector3d::Zero();
  Eigen::Vector3d acc_ = Eigen::Vector3d::Zero();
  Eigen::Vector3d lin_vel_ = Eigen::Vector3d::Zero();
  Eigen::Vector3d lin_acc_ = Eigen::Vector3d::Zero();
  bool history_valid_ = false;
  FootContact foot_[2];
  Eigen::Vector3d sole_vel_[2] = {Eigen::Vector3d::Zero(), Eigen::Vector3d::Zero()};
};

#endif
