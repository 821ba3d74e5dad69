#include "Expression.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "DecimalParser.h"

namespace Expression {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// An atom ends at white space or a parenthesis.
bool EndsAtom(char c) { return IsBlank(c) || c == '(' || c == ')'; }

// Position of the first "(head" followed by an atom end, or npos.
std::size_t FindHead(const std::string& text, const char* head, std::size_t from = 0) {
  const std::size_t length = std::strlen(head);
  for (std::size_t pos = text.find('(', from); pos != std::string::npos; pos = text.find('(', pos + 1)) {
    std::size_t start = pos + 1;
    while (start < text.size() && IsBlank(text[start])) ++start;
    if (text.compare(start, length, head) == 0 &&
        (start + length == text.size() || EndsAtom(text[start + length]))) {
      return pos;
    }
  }
  return std::string::npos;
}

}  // namespace

bool IsWellFormed(const char* text, std::size_t size, std::string* reason) {
  // What each byte is, looked up once per byte.
  enum Kind : unsigned char { kAtom, kOpen, kClose, kBlank, kUnprintable };
  static const auto kKinds = [] {
    std::array<Kind, 256> kinds{};
    for (int c = 0; c < 256; ++c) {
      if (c == '(') kinds[c] = kOpen;
      else if (c == ')') kinds[c] = kClose;
      else if (IsBlank(static_cast<char>(c))) kinds[c] = kBlank;
      else if (c < 0x20 || c > 0x7e) kinds[c] = kUnprintable;
      else kinds[c] = kAtom;
    }
    return kinds;
  }();
  int depth = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    switch (kKinds[c]) {
      case kAtom:
        if (depth == 0) {
          if (reason) *reason = "text outside parentheses at byte " + std::to_string(i);
          return false;
        }
        break;
      case kOpen:
        ++depth;
        break;
      case kClose:
        if (depth == 0) {
          if (reason) *reason = "unbalanced ')' at byte " + std::to_string(i);
          return false;
        }
        --depth;
        break;
      case kBlank:
        break;  // white space is allowed everywhere
      case kUnprintable:
        if (reason) {
          char code[8];
          std::snprintf(code, sizeof code, "0x%02x", c);
          *reason = std::string("byte ") + code + " at " + std::to_string(i) + " is not printable ASCII";
        }
        return false;
    }
  }
  if (depth != 0) {
    if (reason) *reason = std::to_string(depth) + " unclosed '('";
    return false;
  }
  return true;
}

bool IsWellFormed(const std::string& text, std::string* reason) {
  return IsWellFormed(text.data(), text.size(), reason);
}

bool FindList(const std::string& text, const char* head, std::string* list) {
  const std::size_t start = FindHead(text, head);
  if (start == std::string::npos) return false;
  const std::size_t close = ClosingParenthesis(text, start);
  if (close == std::string_view::npos) return false;
  if (list) *list = text.substr(start, close - start + 1);
  return true;
}

bool FindAtom(const std::string& text, const char* head, std::string* atom) {
  const std::size_t start = FindHead(text, head);
  if (start == std::string::npos) return false;
  std::size_t pos = text.find(head, start) + std::strlen(head);
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  std::size_t end = pos;
  while (end < text.size() && !EndsAtom(text[end])) ++end;
  if (end == pos) return false;
  if (atom) *atom = text.substr(pos, end - pos);
  return true;
}

std::vector<std::string> TopLevelLists(const std::string& text) {
  std::vector<std::string> lists;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '(' && depth++ == 0) start = i;
    if (text[i] == ')' && depth > 0 && --depth == 0) lists.push_back(text.substr(start, i - start + 1));
  }
  return lists;
}

bool HasSyn(const std::string& text) {
  // The cheap common cases first: players append "(syn)" verbatim, most of
  // them at the very end.
  static const char kSyn[] = "(syn)";
  constexpr std::size_t kSynLength = sizeof kSyn - 1;
  if (text.size() >= kSynLength && text.compare(text.size() - kSynLength, kSynLength, kSyn) == 0) return true;
  return text.find(kSyn) != std::string::npos || FindHead(text, "syn") != std::string::npos;
}

std::size_t ClosingParenthesis(std::string_view text, std::size_t open) {
  int depth = 0;
  for (std::size_t j = open; j < text.size(); ++j) {
    if (text[j] == '(') ++depth;
    else if (text[j] == ')' && --depth == 0) return j;
  }
  return std::string_view::npos;
}

void SplitList(std::string_view text, std::size_t open, std::size_t close, std::string_view* head,
               std::string_view* rest) {
  const std::string_view inner = text.substr(open + 1, close - open - 1);
  std::size_t k = 0;
  while (k < inner.size() && inner[k] == ' ') ++k;
  std::size_t e = k;
  while (e < inner.size() && inner[e] != ' ' && inner[e] != '(' && inner[e] != ')') ++e;
  *head = inner.substr(k, e - k);
  std::string_view r = inner.substr(e);
  while (!r.empty() && r.front() == ' ') r.remove_prefix(1);
  while (!r.empty() && r.back() == ' ') r.remove_suffix(1);
  *rest = r;
}

bool ReadNumbers(std::string_view text, double* out, int n) {
  constexpr std::size_t kLongestNumber = 63;
  std::size_t i = 0;
  for (int k = 0; k < n; ++k) {
    while (i < text.size() && text[i] == ' ') ++i;
    std::size_t e = i;
    while (e < text.size() && text[e] != ' ') ++e;
    if (e == i || e - i > kLongestNumber) return false;
    if (!DecimalParser::Parse(text.data() + i, e - i, &out[k])) return false;
    i = e;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  return i == text.size();
}

bool ReadInt(std::string_view text, int* out) {
  double v;
  if (!ReadNumbers(text, &v, 1) || v != std::floor(v) || std::fabs(v) > 1e6) return false;
  *out = static_cast<int>(v);
  return true;
}

}  // namespace Expression
