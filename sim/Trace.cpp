#include "Trace.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iostream>

#include "FixedDecimal.h"

namespace {

// JSON has no NaN or infinity: such a value is written as null. The text is
// what printf's "%.Nf" writes (FixedDecimal, or printf itself for magnitudes
// FixedDecimal leaves out).
void AppendNumber(double value, int decimals, std::string* out) {
  if (!std::isfinite(value)) {
    out->append("null");
    return;
  }
  char buffer[48];
  int n = static_cast<int>(FixedDecimal::Write(value, decimals, buffer));
  if (n == 0) n = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  if (n <= 0 || n >= static_cast<int>(sizeof buffer)) {
    out->append("null");
    return;
  }
  // "-0.000" reads oddly in a trace; it is plain zero.
  if (buffer[0] == '-' && std::all_of(buffer + 1, buffer + n, [](char c) { return c == '0' || c == '.'; })) {
    out->append(buffer + 1, n - 1);
    return;
  }
  out->append(buffer, n);
}

void AppendVector(const Eigen::Vector3d& v, std::string* out) {
  out->push_back('[');
  for (int i = 0; i < 3; ++i) {
    if (i > 0) out->push_back(',');
    AppendNumber(v[i], 4, out);
  }
  out->push_back(']');
}

void AppendInt(long value, std::string* out) {
  char buffer[24];
  const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, value);
  out->append(buffer, r.ptr);
}

}  // namespace

Trace::~Trace() { Close(); }

bool Trace::Open(const std::string& path, std::string* error) {
  Close();
  file_ = std::fopen(path.c_str(), "w");
  if (file_ == nullptr) {
    if (error) *error = "cannot write trace file '" + path + "': " + std::strerror(errno);
    return false;
  }
  path_ = path;
  // Large buffer: a line per step must not mean a write per step. (Without a
  // buffer of its own the C library keeps its default of a page.)
  buffer_.resize(1 << 16);
  std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
  line_.reserve(4096);
  return true;
}

void Trace::Write(const WorldSnapshot& snapshot) {
  if (file_ == nullptr) return;
  FormatLine(snapshot, &line_);
  line_.push_back('\n');
  if (std::fwrite(line_.data(), 1, line_.size(), file_) != line_.size()) {
    std::cerr << "trace file '" << path_ << "' not written: " << std::strerror(errno) << std::endl;
    std::fclose(file_);
    file_ = nullptr;
  }
}

void Trace::Close() {
  if (file_ == nullptr) return;
  if (std::fflush(file_) != 0) {
    std::cerr << "trace file '" << path_ << "' not written: " << std::strerror(errno) << std::endl;
  }
  std::fclose(file_);
  file_ = nullptr;
}

void Trace::AppendJsonString(const std::string& text, std::string* out) {
  static const char kHex[] = "0123456789abcdef";
  out->push_back('"');
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out->append("\\\""); break;
      case '\\': out->append("\\\\"); break;
      case '\n': out->append("\\n"); break;
      case '\r': out->append("\\r"); break;
      case '\t': out->append("\\t"); break;
      default:
        if (u < 0x20 || u >= 0x7f) {
          // Outside printable ASCII: escaped byte by byte, so the line stays
          // valid JSON whatever a client called its team.
          out->append("\\u00");
          out->push_back(kHex[u >> 4]);
          out->push_back(kHex[u & 15]);
        } else {
          out->push_back(c);
        }
    }
  }
  out->push_back('"');
}

void Trace::FormatLine(const WorldSnapshot& s, std::string* line) {
  std::string& out = *line;
  out.clear();
  out.append("{\"t\":");
  AppendNumber(s.game_time, 3, &out);
  out.append(",\"now\":");
  AppendNumber(s.now, 3, &out);
  out.append(",\"pm\":");
  AppendJsonString(s.playmode, &out);
  out.append(",\"score\":[");
  AppendInt(s.score_left, &out);
  out.push_back(',');
  AppendInt(s.score_right, &out);
  out.append("],\"ball\":{\"pos\":");
  AppendVector(s.ball_pos, &out);
  out.append(",\"vel\":");
  AppendVector(s.ball_vel, &out);
  out.append("},\"robots\":[");
  for (std::size_t i = 0; i < s.robots.size(); ++i) {
    const RobotSnapshot& r = s.robots[i];
    if (i > 0) out.push_back(',');
    out.append("{\"team\":");
    AppendJsonString(r.team, &out);
    out.append(",\"side\":");
    AppendJsonString(std::string(1, r.side), &out);
    out.append(",\"unum\":");
    AppendInt(r.unum, &out);
    out.append(",\"pos\":");
    AppendVector(Eigen::Vector3d(r.x, r.y, r.z), &out);
    out.append(",\"heading\":");
    AppendNumber(r.heading, 3, &out);
    out.append(",\"fallen\":");
    out.append(r.fallen ? "true" : "false");
    out.append(",\"steps\":");
    AppendInt(r.steps, &out);
    out.append(",\"stride\":");
    AppendNumber(r.stride, 4, &out);
    out.push_back('}');
  }
  out.append("]}");
}
