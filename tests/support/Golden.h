#ifndef VEKTORLING_TESTS_SUPPORT_GOLDEN_H
#define VEKTORLING_TESTS_SUPPORT_GOLDEN_H

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace golden {

inline std::uint32_t Hash(const std::string& s) {
  std::uint32_t h = 2166136261u;
  for (unsigned char c : s) h = (h ^ c) * 16777619u;
  return h;
}

// Lines "key hash hash ..." of texts, one line per step, kept in a file under
// tests/data; the texts stay at hand to show what differs.
class Recording {
 public:
  void Add(const std::string& key, const std::vector<std::string>& texts) {
    std::ostringstream line;
    line << key << std::hex;
    for (const std::string& t : texts) line << ' ' << Hash(t);
    keys_.push_back(key);
    lines_.push_back(line.str());
    texts_.push_back(texts);
  }
  std::size_t Size() const { return lines_.size(); }

  // Writes the lines to the file the variable `write_variable` names, if it is
  // set, and skips; else compares them with tests/data/`file`. Call it last.
  void Check(const char* write_variable, const std::string& file) const {
    if (const char* write = std::getenv(write_variable)) {
      std::ofstream out(write);
      for (const std::string& l : lines_) out << l << '\n';
      ASSERT_TRUE(out.good()) << write;
      GTEST_SKIP() << "wrote " << lines_.size() << " lines to " << write;
    }
    const std::string path = std::string(VEKTORLING_SOURCE_DIR) + "/tests/data/" + file;
    std::ifstream in(path);
    ASSERT_TRUE(in) << "cannot read " << path;
    std::vector<std::string> kept;
    for (std::string l; std::getline(in, l);) kept.push_back(l);
    ASSERT_EQ(kept.size(), lines_.size()) << "lines in " << path;
    for (std::size_t s = 0; s < lines_.size(); ++s) {
      if (lines_[s] == kept[s]) continue;
      std::istringstream now(lines_[s].substr(keys_[s].size())), then(kept[s].substr(keys_[s].size()));
      std::string a, b;
      for (std::size_t k = 0; kept[s].rfind(keys_[s] + ' ', 0) == 0 && now >> a && then >> b; ++k) {
        if (a != b) FAIL() << keys_[s] << ", text " << k << " differs (" << b << " kept, " << a << " now):\n" << texts_[s][k];
      }
      FAIL() << "line " << s << ": " << lines_[s] << "\nkept: " << kept[s];
    }
  }

 private:
  std::vector<std::string> keys_;
  std::vector<std::string> lines_;
  std::vector<std::vector<std::string>> texts_;
};

}  // namespace golden

#endif
