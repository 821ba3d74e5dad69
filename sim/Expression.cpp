#include "Expression.h"

#include <array>
#include <cstdio>
#include <cstring>

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
  int depth = 0;
  for (std::size_t i = start; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')' && --depth == 0) {
      if (list) *list = text.substr(start, i - start + 1);
      return true;
    }
  }
  return false;
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

}  // namespace Expression
