#include "lha/unlha_outcome.h"

#include <cstdio>

namespace vorn::unlha {

std::string Printable(const std::string& utf8) {
  std::string out;
  char escaped[8];
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
    if (c < 0x20 || c == 0x7F) {
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {  // U+0080 to U+009F
      std::snprintf(escaped, sizeof escaped, "\\u%04X", next);
      out += escaped;
      ++i;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void Outcome::Line(const std::string& text) { log_ += Printable(text) + "\r\n"; }

void Outcome::Fail(int32_t code, const std::string& text) {
  if (code_ == kOk) {
    code_ = code;
    firstFailure_ = Printable(text);
  }
  Line(text);
}

}  // namespace vorn::unlha
