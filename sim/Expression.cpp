#include "Expression.h"

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
  int depth = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth == 0) {
        if (reason) *reason = "unbalanced ')' at byte " + std::to_string(i);
        return false;
      }
      --depth;
    } else if (IsBlank(static_cast<char>(c))) {
      // white space is allowed everywhere
    } else if (c < 0x20 || c > 0x7e) {
      if (reason) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02x", c);
        *reason = std::string("byte ") + code + " at " + std::to_string(i) + " is not printable ASCII";
      }
      return false;
    } else if (depth == 0) {
      if (reason) *reason = "text outside parentheses at byte " + std::to_string(i);
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
  // The cheap common case first: the player appends "(syn)" verbatim.
  return text.find("(syn)") != std::string::npos || FindHead(text, "syn") != std::string::npos;
}

}  // namespace Expression
