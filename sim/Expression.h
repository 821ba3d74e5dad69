#ifndef VEKTORLING_SIM_EXPRESSION_H
#define VEKTORLING_SIM_EXPRESSION_H

#include <cstddef>
#include <string>
#include <vector>

// Checks and small look-ups on the S-expression texts that clients send.
namespace Expression {

// True when the text is a sequence of lists such as "(he1 0.5)(syn)":
// printable ASCII (blanks, tabs and line ends allowed), parentheses
// balanced, nothing but white space outside the lists. An empty text is
// well formed (it carries no command). Otherwise false with a short reason.
bool IsWellFormed(const char* text, std::size_t size, std::string* reason);
bool IsWellFormed(const std::string& text, std::string* reason);

// Finds the first list whose head is `head` ("(head ...)" at any depth) and
// returns its whole text, parentheses included; false when there is none.
// The text must be well formed.
bool FindList(const std::string& text, const char* head, std::string* list);

// The first atom behind the head of the list `head` inside `text`, e.g.
// "3" for head "unum" in "(init (unum 3)(teamname A))".
bool FindAtom(const std::string& text, const char* head, std::string* atom);

// The lists at the top level of a well-formed text, each as its own text:
// "(a 1) (b (c))" gives "(a 1)" and "(b (c))".
std::vector<std::string> TopLevelLists(const std::string& text);

// True when the text holds the list "(syn)".
bool HasSyn(const std::string& text);

}  // namespace Expression

#endif
