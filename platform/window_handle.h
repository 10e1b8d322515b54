#pragma once
#include <cstdint>

namespace vorn {
// An opaque top-level window; 0 = none.
using WindowHandle = std::uintptr_t;
}  // namespace vorn
