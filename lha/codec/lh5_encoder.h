#pragma once
// Streaming -lh5- compressor: lazy LZ77 matching over an 8 KiB window, static Huffman blocks whose
// boundaries follow the changes in the data's statistics.
#include <cstdint>
#include <memory>
#include <vector>

#include "lha/codec/byte_stream.h"

namespace vorn::lha {

class Lh5Encoder {
 public:
  explicit Lh5Encoder(ByteSink& out);
  ~Lh5Encoder();
  Lh5Encoder(const Lh5Encoder&) = delete;
  Lh5Encoder& operator=(const Lh5Encoder&) = delete;

  // False once the sink refused bytes.
  bool Write(const void* data, size_t size);
  bool Finish();
  // Compressed bytes handed to the sink so far.
  uint64_t PackedSize() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace vorn::lha
