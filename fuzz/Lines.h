#ifndef VEKTORLING_FUZZ_LINES_H
#define VEKTORLING_FUZZ_LINES_H

#include <cstddef>
#include <cstdint>
#include <string>

// Calls f(line) for every line of a fuzz input, without its '\n'; the text
// after the last line end (empty when the input ends with one) is a line too.
template <typename F>
void ForEachLine(const uint8_t* data, size_t size, F f) {
  const char* begin = reinterpret_cast<const char*>(data);
  const char* const end = begin + size;
  for (;;) {
    const char* stop = begin;
    while (stop != end && *stop != '\n') ++stop;
    f(std::string(begin, stop));
    if (stop == end) return;
    begin = stop + 1;
  }
}

#endif
