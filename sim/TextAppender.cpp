#include "TextAppender.h"

void TextAppender::Flush() {
  if (used_ == 0) return;
  out_->append(buffer_, used_);
  used_ = 0;
}

void TextAppender::AppendLong(const char* text, std::size_t size) {
  Flush();
  if (size > kSize) {
    out_->append(text, size);
    return;
  }
  std::memcpy(buffer_, text, size);
  used_ = size;
}
