#ifndef VEKTORLING_TOOL_NAMELESS_H
#define VEKTORLING_TOOL_NAMELESS_H

#include <cstddef>
#include <string>

// The order of std::less<std::string> (bytes as unsigned characters, then
// length), written out for the short names of joints and body parts, which
// the maps keyed by them compare many times per cycle.
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
      const unsigned char x = static_cast<unsigned char>(a[i]);
      const unsigned char y = static_cast<unsigned char>(b[i]);
      if (x != y) return x < y;
    }
    return a.size() < b.size();
  }
};

#endif  // VEKTORLING_TOOL_NAMELESS_H
