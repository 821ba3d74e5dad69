#ifndef VEKTORLING_SIM_EXPRESSION_H
#define VEKTORLING_SIM_EXPRESSION_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Checks, look-ups and the reading of commands in the S-expression texts
// that clients send.
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

// Calls f(head, rest) for each list at the top level of a command text, in
// order: head is the first atom of the list, rest the text behind it up to
// the list's closing parenthesis, blanks at either end left out. Only the
// blank ' ' separates, as the server reads commands, so "(he1\t1)" has the
// head "he1\t1". Text between the lists is skipped. False when the
// parentheses do not balance (the lists before the fault have been called).
template <typename F>
bool ForEachCommand(std::string_view text, F f);

// Exactly n numbers separated by blanks into out[0..n-1]; false when there
// are fewer or more, or one is not a number as strtod reads it whole (longer
// than 63 characters, or not finite).
bool ReadNumbers(std::string_view text, double* out, int n);
// One whole number of at most a million in magnitude.
bool ReadInt(std::string_view text, int* out);

// The head and the trimmed rest of the list text[open .. close].
void SplitList(std::string_view text, std::size_t open, std::size_t close, std::string_view* head,
               std::string_view* rest);
// Position of the parenthesis that closes the list opened at text[open],
// or npos.
std::size_t ClosingParenthesis(std::string_view text, std::size_t open);

template <typename F>
bool ForEachCommand(std::string_view text, F f) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '(') {
      if (text[i] == ')') return false;
      ++i;
      continue;
    }
    const std::size_t close = ClosingParenthesis(text, i);
    if (close == std::string_view::npos) return false;
    std::string_view head, rest;
    SplitList(text, i, close, &head, &rest);
    f(head, rest);
    i = close + 1;
  }
  return true;
}

}  // namespace Expression

#endif
