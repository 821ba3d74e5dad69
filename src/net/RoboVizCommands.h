#ifndef VEKTORLING_NET_ROBOVIZCOMMANDS_H
#define VEKTORLING_NET_ROBOVIZCOMMANDS_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include <Eigen/Core>

namespace draw {

struct Colour {
  std::uint8_t r, g, b;
};

// The full name of a drawing set: a prefix shared by one player's sets, then
// the set's own part. RoboViz shows a set's shapes once its buffers are
// swapped, and swaps every set whose name begins with the name it is given.
struct SetName {
  std::string_view prefix;
  std::string_view name;
};

// Drawing commands in the byte layout of the league viewer (RoboViz), packed
// back to back into datagrams of at most kMaxDatagram bytes: a command that
// does not fit into the current datagram starts the next one, so none is
// ever split. Numbers are 6 ASCII characters; colours 3 raw bytes; names and
// texts end with a zero byte. The storage is fixed: writing takes nothing
// from the heap.
class RoboVizCommands {
 public:
  static constexpr std::size_t kMaxDatagram = 512;
  static constexpr std::size_t kMaxDatagrams = 16;
  static constexpr std::size_t kNumberWidth = 6;
  // Numbers are clamped to +-kLimit, which always fits the width.
  static constexpr double kLimit = 99999.0;

  // The first six characters of printf's "%6f" of v clamped to +-kLimit
  // (1.5 gives "1.5000", -12.25 "-12.25"); false, writing nothing, for NaN
  // and infinities.
  static bool FormatNumber(double v, char out[kNumberWidth]);

  // Forgets every command written.
  void Clear() { count_ = 0; }

  // Each command is written whole or not at all: false, leaving everything
  // as it was, when one of its numbers is NaN or infinite, when it is longer
  // than a datagram, or when every datagram is in use. Only x and y of a
  // circle count: it lies on the ground.
  bool Circle(const Eigen::Vector2d& centre, double radius, double thickness, Colour colour, SetName set);
  bool Line(const Eigen::Vector3d& from, const Eigen::Vector3d& to, double thickness, Colour colour,
            SetName set);
  bool Point(const Eigen::Vector3d& at, double size, Colour colour, SetName set);
  bool Sphere(const Eigen::Vector3d& centre, double radius, Colour colour, SetName set);
  // Text over one robot (team_and_number: its uniform number - 1, plus 128
  // on the right side), up to the first zero byte and cut to fit a datagram.
  bool AgentAnnotation(std::uint8_t team_and_number, Colour colour, std::string_view text);
  // Shows what was drawn into every set whose name begins with prefix.
  bool SwapBuffers(std::string_view prefix);

  std::size_t DatagramCount() const { return count_; }
  // The bytes of datagram i < DatagramCount().
  std::string_view Datagram(std::size_t i) const {
    return std::string_view(datagrams_[i].data(), sizes_[i]);
  }

 private:
  // The command being written goes into command_ first; Commit moves it into
  // a datagram.
  void Begin(std::uint8_t first, std::uint8_t second);
  void Put(std::string_view bytes);
  void PutByte(std::uint8_t byte);
  void PutNumber(double v);
  void PutColour(Colour colour);
  // The text up to its first zero byte, and the zero byte.
  void PutText(std::string_view text);
  void PutSet(SetName set);
  bool Commit();
  // A shape command: its kind, its numbers, colour and set.
  bool Shape(std::uint8_t kind, std::initializer_list<double> numbers, Colour colour, SetName set);

  std::array<char, kMaxDatagram> command_;
  std::size_t command_size_ = 0;
  bool command_ok_ = true;
  std::array<std::array<char, kMaxDatagram>, kMaxDatagrams> datagrams_;
  std::array<std::size_t, kMaxDatagrams> sizes_{};
  std::size_t count_ = 0;
};

}  // namespace draw

#endif
