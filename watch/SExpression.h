#ifndef VEKTORLING_WATCH_SEXPRESSION_H
#define VEKTORLING_WATCH_SEXPRESSION_H

#include <string>
#include <string_view>
#include <vector>

// One element of an S-expression text: an atom or a list. The elements of a
// list are chained through `next`; an atom points into the text it was read
// from, which must outlive the tree.
struct SExprNode {
  bool is_list = false;
  std::string_view atom;  // the atom's text; empty for a list
  int first = -1;         // a list's first element, -1 when it is empty
  int next = -1;          // the next element of the same list (or top level), -1 at the end
};

struct SExprTree {
  std::vector<SExprNode> nodes;
  int first = -1;  // the first top-level element, -1 for an empty text
};

// Reads a whole text of atoms and lists into *tree (its storage is reused).
// Blanks, tabs and line ends separate atoms. False with a short reason when a
// parenthesis is left open or closes nothing, or when lists nest deeper than
// max_depth; the tree is then incomplete.
bool ReadSExpressions(std::string_view text, int max_depth, SExprTree* tree, std::string* reason);

#endif
