#pragma once
// Builds the little-endian binary records of a compiled help file.
#include <cstdint>
#include <string>
#include <string_view>

namespace vorn::help {

class ByteBuilder {
 public:
  void U8(uint8_t value) { bytes_ += static_cast<char>(value); }
  void U16(uint16_t value) {
    U8(static_cast<uint8_t>(value));
    U8(static_cast<uint8_t>(value >> 8));
  }
  void U32(uint32_t value) {
    U16(static_cast<uint16_t>(value));
    U16(static_cast<uint16_t>(value >> 16));
  }
  void U64(uint64_t value) {
    U32(static_cast<uint32_t>(value));
    U32(static_cast<uint32_t>(value >> 32));
  }
  void Bytes(std::string_view data) { bytes_.append(data); }
  // The text and its terminating NUL.
  void CString(std::string_view text) {
    Bytes(text);
    U8(0);
  }
  void Zeros(size_t count) { bytes_.append(count, '\0'); }
  // A GUID as it is stored: one 32-bit and two 16-bit fields little-endian, then eight bytes.
  void Guid(uint32_t data1, uint16_t data2, uint16_t data3, const uint8_t (&data4)[8]) {
    U32(data1);
    U16(data2);
    U16(data3);
    for (uint8_t b : data4) U8(b);
  }
  void PutU32At(size_t offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<char>(value >> (8 * i));
  }

  size_t size() const { return bytes_.size(); }
  const std::string& str() const { return bytes_; }
  std::string Take() { return std::move(bytes_); }

 private:
  std::string bytes_;
};

}  // namespace vorn::help
