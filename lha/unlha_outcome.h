#pragma once
// The messages of one Unlha run and the code of its first failure.
#include <cstdint>
#include <string>

#include "lha/unlha_result.h"

namespace vorn::unlha {

class Outcome {
 public:
  // Control characters in the text (from member names) are shown escaped, as "\x1B".
  void Line(const std::string& text);
  void Fail(int32_t code, const std::string& text);
  int32_t code() const { return code_; }
  const std::string& log() const { return log_; }
  // The message of the first failure, as it stands in the log.
  const std::string& firstFailure() const { return firstFailure_; }

 private:
  int32_t code_ = kOk;
  std::string log_;
  std::string firstFailure_;
};

// Text with its control characters (C0, DEL and C1) escaped, so that it cannot steer a terminal.
std::string Printable(const std::string& utf8);

}  // namespace vorn::unlha
