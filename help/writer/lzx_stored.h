#pragma once
// The compressed section of a help file as an LZX stream made only of uncompressed blocks:
// valid LZX that every reader decodes, without a compressor of our own. Help files made by the
// help compiler keep their pages in that section and the viewers expect its control data and
// reset table, so the pages go there too, although storing them saves nothing.
#include <cstdint>
#include <string>
#include <vector>

namespace vorn::help {

// LZX frame: the unit the readers decompress and the reset table points at.
constexpr uint32_t kLzxFrameSize = 0x8000;
// The decoder's state is reset every this many frames (the usual 64 KB reset interval).
constexpr uint32_t kLzxFramesPerReset = 2;

struct LzxStream {
  std::string bytes;
  std::vector<uint64_t> frameOffsets;  // where each frame starts in `bytes`: the reset table
};

// `data` must be a whole number of frames; the caller pads it.
LzxStream EncodeStoredLzx(const std::string& data);

}  // namespace vorn::help
