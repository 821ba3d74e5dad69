#include "SExpression.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

bool ReadSExpressions(std::string_view text, int max_depth, SExprTree* tree, std::string* reason) {
  std::vector<SExprNode>& nodes = tree->nodes;
  nodes.clear();
  tree->first = -1;
  // For every open list: its node and its last element so far. The top
  // level is the entry below the first list.
  struct Open {
    int list;
    int last;
  };
  std::vector<Open> open;
  open.reserve(16);
  int top_last = -1;

  // Appends a new element to the innermost open list (or the top level).
  auto append = [&](const SExprNode& node) {
    const int index = static_cast<int>(nodes.size());
    nodes.push_back(node);
    int& last = open.empty() ? top_last : open.back().last;
    if (last >= 0) {
      nodes[last].next = index;
    } else if (open.empty()) {
      tree->first = index;
    } else {
      nodes[open.back().list].first = index;
    }
    last = index;
    return index;
  };

  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    const char c = text[i];
    if (IsBlank(c)) {
      ++i;
    } else if (c == '(') {
      if (static_cast<int>(open.size()) >= max_depth) {
        *reason = "lists nested deeper than " + std::to_string(max_depth);
        return false;
      }
      SExprNode list;
      list.is_list = true;
      const int index = append(list);
      open.push_back({index, -1});
      ++i;
    } else if (c == ')') {
      if (open.empty()) {
        *reason = "a ')' closes nothing at byte " + std::to_string(i);
        return false;
      }
      open.pop_back();
      ++i;
    } else {
      const std::size_t begin = i;
      while (i < size && !IsBlank(text[i]) && text[i] != '(' && text[i] != ')') ++i;
      SExprNode atom;
      atom.atom = text.substr(begin, i - begin);
      append(atom);
    }
  }
  if (!open.empty()) {
    *reason = std::to_string(open.size()) + " list(s) left open at the end";
    return false;
  }
  return true;
}
