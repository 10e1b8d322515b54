#pragma once
// The caller's progress hook as the codec's progress of one member.
#include <string>

#include "lha/codec/byte_stream.h"
#include "lha/unlha.h"

namespace vorn::unlha {

class HookProgress : public lha::Progress {
 public:
  HookProgress(const ProgressHook& hook, const std::string& member) : hook_(hook), member_(member) {}
  bool Advance(uint64_t done, uint64_t total) override { return !hook_ || hook_(member_, done, total); }

 private:
  const ProgressHook& hook_;
  const std::string& member_;
};

}  // namespace vorn::unlha
