#pragma once
namespace vorn {

// Where users write with questions, error reports and wishes (the support mail sheet).
inline constexpr const char* kSupportAddress = "support@vorn.example";

}  // namespace vorn
