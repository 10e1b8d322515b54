// An output file that keeps nothing and adds the size of every write to a total, for fuzzers
// that bound what a reader writes.
#pragma once

#include <cstddef>

#include "platform/file_system.h"

namespace vorn::fuzz {

class CountingOutput : public OutputFile {
 public:
  explicit CountingOutput(size_t& total) : total_(total) {}
  bool Write(const void*, size_t size) override {
    total_ += size;
    return true;
  }
  bool Close() override { return true; }

 private:
  size_t& total_;
};

}  // namespace vorn::fuzz
