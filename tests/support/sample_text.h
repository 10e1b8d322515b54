#pragma once
// Test data that packs, but not to nothing, for the archiver tests of both builds.
#include <cstdint>
#include <string>

namespace vorn::test {

// Mail words picked by a fixed pseudo-random sequence.
inline std::string MailWords(size_t bytes, uint32_t seed) {
  static const char* const kWords[] = {"会議", "Subject", "予定", "from", "添付", "mail", "返信", "\r\n"};
  std::string text;
  while (text.size() < bytes) {
    seed = seed * 1103515245u + 12345u;
    text += kWords[(seed >> 16) % 8];
    text += std::to_string((seed >> 8) % 1000);
  }
  return text;
}

}  // namespace vorn::test
