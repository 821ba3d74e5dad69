#ifndef VEKTORLING_BEAM_BEAM_H
#define VEKTORLING_BEAM_BEAM_H

#include <string>

// The server's beam command: places the robot at (x, y) on its own half,
// turned by rotation degrees.
class Beam {
 public:
  Beam();

  // Records the position and builds the text "(beam X Y R)", each number in
  // printf "%g" form.
  void Setup(double x, double y, double rotation);

  // Empty until the first Setup.
  const std::string& GetString() const { return str_; }
  double GetX() const { return x_; }
  double GetY() const { return y_; }
  double GetRotation() const { return rotation_; }

  double x_;
  double y_;
  double rotation_;
  std::string str_;
};

#endif  // VEKTORLING_BEAM_BEAM_H
