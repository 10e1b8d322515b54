#pragma once
// Physical lines of a decoded .reg text; CR LF, a lone CR and a lone LF each end a line.
#include <string_view>

namespace vorn {

struct RegLine {
  std::string_view text;       // without its line break
  std::string_view lineBreak;  // empty on a last line without one
  int number = 0;              // 1-based
};

class RegLineReader {
 public:
  explicit RegLineReader(std::string_view text) : text_(text) {}
  bool AtEnd() const { return pos_ >= text_.size(); }
  RegLine Next();

 private:
  std::string_view text_;
  size_t pos_ = 0;
  int number_ = 0;
};

}  // namespace vorn
