#include "regedit/codec/reg_line_reader.h"

namespace vorn {

RegLine RegLineReader::Next() {
  size_t end = text_.find_first_of("\r\n", pos_);
  if (end == std::string_view::npos) end = text_.size();
  size_t breakLength = 0;
  if (end < text_.size()) breakLength = text_.compare(end, 2, "\r\n") == 0 ? 2 : 1;
  RegLine line{text_.substr(pos_, end - pos_), text_.substr(end, breakLength), ++number_};
  pos_ = end + breakLength;
  return line;
}

}  // namespace vorn
