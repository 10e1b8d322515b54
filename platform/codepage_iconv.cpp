#include <errno.h>
#include <iconv.h>

#include <functional>
#include <stdexcept>

#include "platform/codepage.h"

namespace vorn {
namespace {

// Converts with iconv. Where the input holds a sequence that cannot be converted,
// `replacement` (already in the target encoding) is written and the input advances
// by what `badLength` says of the bad sequence.
std::string Convert(const char* to, const char* from, const std::string& input, const std::string& replacement,
                    const std::function<size_t(const char*)>& badLength) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv cannot convert to ") + to);
  std::string out;
  char buffer[4096];
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, outPtr - buffer);
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      out += replacement;
      size_t step = std::min(badLength(in), inLeft);
      in += step;
      inLeft -= step;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  iconv_close(cd);
  return out;
}

size_t Utf8SequenceLength(const char* at) {
  auto lead = static_cast<unsigned char>(*at);
  if ((lead >> 5) == 0x6) return 2;
  if ((lead >> 4) == 0xE) return 3;
  if ((lead >> 3) == 0x1E) return 4;
  return 1;
}

size_t OneByte(const char*) { return 1; }
size_t OneUnit(const char*) { return 2; }

}  // namespace

std::string Utf8ToCp932(const std::string& utf8) { return Convert("CP932", "UTF-8", utf8, "?", Utf8SequenceLength); }

std::string Cp932ToUtf8(const std::string& cp932) { return Convert("UTF-8", "CP932", cp932, "\xEF\xBF\xBD", OneByte); }

std::u16string Utf8ToUtf16(const std::string& utf8) {
  std::string bytes = Convert("UTF-16LE", "UTF-8", utf8, std::string("\xFD\xFF", 2), Utf8SequenceLength);
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return out;
}

std::string Utf16ToUtf8(const std::u16string& utf16) {
  std::string bytes;
  bytes.reserve(utf16.size() * 2);
  for (char16_t c : utf16) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return Convert("UTF-8", "UTF-16LE", bytes, "\xEF\xBF\xBD", OneUnit);
}

}  // namespace vorn
