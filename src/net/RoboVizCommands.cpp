#include "net/RoboVizCommands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>

namespace draw {

namespace {

// Command bytes.
constexpr std::uint8_t kBuffer = 0, kSwap = 0;
constexpr std::uint8_t kShape = 1, kCircle = 0, kLine = 1, kPoint = 2, kSphere = 3;
constexpr std::uint8_t kAnnotation = 2, kAgentAnnotation = 1;

}  // namespace

bool RoboVizCommands::FormatNumber(double v, char out[kNumberWidth]) {
  if (!std::isfinite(v)) return false;
  v = std::clamp(v, -kLimit, kLimit);
  // printf rounds the exact value to six decimals. The product below is off
  // by at most 2e-5 (|v| * 1e6 < 2^37), so away from a tie it rounds the same
  // way; near one, printf itself decides (it takes about 200 ns a number,
  // ten times as long as this).
  const double scaled = std::fabs(v) * 1e6;
  const double whole = std::floor(scaled);
  if (std::fabs(scaled - whole - 0.5) < 1e-3) {
    char text[32];
    std::snprintf(text, sizeof text, "%6f", v);
    std::memcpy(out, text, kNumberWidth);
    return true;
  }
  std::uint64_t micro = static_cast<std::uint64_t>(whole) + (scaled - whole > 0.5 ? 1 : 0);
  // Written from the end: six decimals, the point, the whole part, the sign.
  char text[24];
  std::size_t begin = sizeof text;
  for (int i = 0; i < 6; ++i, micro /= 10) text[--begin] = static_cast<char>('0' + micro % 10);
  text[--begin] = '.';
  do {
    text[--begin] = static_cast<char>('0' + micro % 10);
    micro /= 10;
  } while (micro > 0);
  if (std::signbit(v)) text[--begin] = '-';
  std::memcpy(out, text + begin, kNumberWidth);
  return true;
}

void RoboVizCommands::Begin(std::uint8_t first, std::uint8_t second) {
  command_size_ = 0;
  command_ok_ = true;
  PutByte(first);
  PutByte(second);
}

void RoboVizCommands::Put(std::string_view bytes) {
  if (bytes.size() > command_.size() - command_size_) {
    command_ok_ = false;
    return;
  }
  std::memcpy(command_.data() + command_size_, bytes.data(), bytes.size());
  command_size_ += bytes.size();
}

void RoboVizCommands::PutByte(std::uint8_t byte) {
  const char c = static_cast<char>(byte);
  Put(std::string_view(&c, 1));
}

void RoboVizCommands::PutNumber(double v) {
  char text[kNumberWidth];
  if (FormatNumber(v, text)) {
    Put(std::string_view(text, kNumberWidth));
  } else {
    command_ok_ = false;
  }
}

void RoboVizCommands::PutColour(Colour colour) {
  PutByte(colour.r);
  PutByte(colour.g);
  PutByte(colour.b);
}

void RoboVizCommands::PutText(std::string_view text) {
  Put(text.substr(0, text.find('\0')));
  PutByte(0);
}

void RoboVizCommands::PutSet(SetName set) {
  Put(set.prefix.substr(0, set.prefix.find('\0')));
  PutText(set.name);
}

bool RoboVizCommands::Commit() {
  if (!command_ok_) return false;
  if (count_ == 0 || sizes_[count_ - 1] + command_size_ > kMaxDatagram) {
    if (count_ == kMaxDatagrams) return false;
    sizes_[count_++] = 0;
  }
  std::size_t& size = sizes_[count_ - 1];
  std::memcpy(datagrams_[count_ - 1].data() + size, command_.data(), command_size_);
  size += command_size_;
  return true;
}

bool RoboVizCommands::Shape(std::uint8_t kind, std::initializer_list<double> numbers, Colour colour,
                            SetName set) {
  Begin(kShape, kind);
  for (double v : numbers) PutNumber(v);
  PutColour(colour);
  PutSet(set);
  return Commit();
}

bool RoboVizCommands::Circle(const Eigen::Vector2d& centre, double radius, double thickness, Colour colour,
                             SetName set) {
  return Shape(kCircle, {centre.x(), centre.y(), radius, thickness}, colour, set);
}

bool RoboVizCommands::Line(const Eigen::Vector3d& from, const Eigen::Vector3d& to, double thickness,
                           Colour colour, SetName set) {
  return Shape(kLine, {from.x(), from.y(), from.z(), to.x(), to.y(), to.z(), thickness}, colour, set);
}

bool RoboVizCommands::Point(const Eigen::Vector3d& at, double size, Colour colour, SetName set) {
  return Shape(kPoint, {at.x(), at.y(), at.z(), size}, colour, set);
}

bool RoboVizCommands::Sphere(const Eigen::Vector3d& centre, double radius, Colour colour, SetName set) {
  return Shape(kSphere, {centre.x(), centre.y(), centre.z(), radius}, colour, set);
}

bool RoboVizCommands::AgentAnnotation(std::uint8_t team_and_number, Colour colour, std::string_view text) {
  Begin(kAnnotation, kAgentAnnotation);
  PutByte(team_and_number);
  PutColour(colour);
  // Room for the text and its zero byte.
  const std::size_t room = command_.size() - command_size_ - 1;
  PutText(text.substr(0, std::min(room, text.find('\0'))));
  return Commit();
}

bool RoboVizCommands::SwapBuffers(std::string_view prefix) {
  Begin(kBuffer, kSwap);
  PutText(prefix);
  return Commit();
}

}  // namespace draw
