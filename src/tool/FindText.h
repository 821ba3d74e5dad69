#ifndef VEKTORLING_TOOL_FINDTEXT_H
#define VEKTORLING_TOOL_FINDTEXT_H

#include <cstddef>
#include <cstring>
#include <string_view>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// First occurrence of needle in text at or after from, exactly as
// std::string::find gives it (an empty needle is found at from; npos when
// there is none). Server messages are long and most searched keywords begin
// with '(', which is everywhere, so rather than stopping at every first
// character this compares the needle's first and last two characters at 16
// positions at once and looks closer only where all three match (keywords
// share beginnings, such as "(head" and "(hear", more than endings).
inline std::size_t FindText(std::string_view text, std::string_view needle, std::size_t from = 0) {
  constexpr std::size_t npos = std::string_view::npos;
  if (from > text.size()) return npos;
  const std::size_t n = needle.size();
  if (n == 0) return from;
  if (text.size() - from < n) return npos;
  const char* const base = text.data();
  const std::size_t last_start = text.size() - n;
  if (n == 1) {
    const void* hit = std::memchr(base + from, needle[0], text.size() - from);
    return hit == nullptr ? npos : static_cast<std::size_t>(static_cast<const char*>(hit) - base);
  }
  std::size_t i = from;
#ifdef __SSE2__
  const __m128i first = _mm_set1_epi8(needle[0]);
  const __m128i before_last = _mm_set1_epi8(needle[n - 2]);
  const __m128i last = _mm_set1_epi8(needle[n - 1]);
  // Starts i .. i + 15, all at most last_start, so the loads stay inside.
  for (; i + 15 <= last_start; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i + n - 2));
    const __m128i z = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i + n - 1));
    const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(y, before_last));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(both, _mm_cmpeq_epi8(z, last))));
    while (mask != 0) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
      if (std::memcmp(base + at + 1, needle.data() + 1, n - 2) == 0) return at;
      mask &= mask - 1;
    }
  }
#endif
  for (; i <= last_start; ++i) {
    if (base[i] == needle[0] && std::memcmp(base + i, needle.data(), n) == 0) return i;
  }
  return npos;
}

// Calls f(position) for every occurrence of c in text, in order, 16
// characters at a time.
template <class F>
void ForEachChar(std::string_view text, char c, F f) {
  const char* const base = text.data();
  std::size_t i = 0;
#ifdef __SSE2__
  const __m128i wanted = _mm_set1_epi8(c);
  for (; i + 16 <= text.size(); i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(base + i));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted)));
    while (mask != 0) {
      f(i + static_cast<std::size_t>(__builtin_ctz(mask)));
      mask &= mask - 1;
    }
  }
#endif
  for (; i < text.size(); ++i) {
    if (base[i] == c) f(i);
  }
}

#endif  // VEKTORLING_TOOL_FINDTEXT_H
