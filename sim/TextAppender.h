#ifndef VEKTORLING_SIM_TEXTAPPENDER_H
#define VEKTORLING_SIM_TEXTAPPENDER_H

#include <cstddef>
#include <cstring>
#include <string>

// Appends text to a string through a small buffer of its own: a message of
// a few hundred short pieces costs a few appends to the string instead of
// one per piece. What is buffered goes to the string on Flush() and when
// the appender is destroyed.
class TextAppender {
public:
  static constexpr std::size_t kSize = 512;

  explicit TextAppender(std::string* out) : out_(out) {}
  ~TextAppender() { Flush(); }
  TextAppender(const TextAppender&) = delete;
  TextAppender& operator=(const TextAppender&) = delete;

  void Append(const char* text, std::size_t size) {
    if (size > kSize - used_) {
      AppendLong(text, size);
      return;
    }
    std::memcpy(buffer_ + used_, text, size);
    used_ += size;
  }
  // A string literal, its length known when compiling.
  template <std::size_t N>
  void Append(const char (&literal)[N]) {
    Append(literal, N - 1);
  }
  void Append(const std::string& text) { Append(text.data(), text.size()); }
  void Append(char c) {
    if (used_ == kSize) Flush();
    buffer_[used_++] = c;
  }

  // Room for at least `size` (at most kSize) characters, to be written at
  // the pointer and then claimed with Commit.
  char* Room(std::size_t size) {
    if (size > kSize - used_) Flush();
    return buffer_ + used_;
  }
  void Commit(std::size_t size) { used_ += size; }

  void Flush();

private:
  // Text that does not fit the buffer's free room.
  void AppendLong(const char* text, std::size_t size);

  std::string* out_;
  char buffer_[kSize];
  std::size_t used_ = 0;
};

#endif
