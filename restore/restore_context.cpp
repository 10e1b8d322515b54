#include "restore/restore_context.h"

#include <algorithm>

namespace vorn {

void RestoreReport::Skipped(const std::vector<std::string>& keys) {
  for (const auto& key : keys)
    if (std::find(skippedKeys.begin(), skippedKeys.end(), key) == skippedKeys.end()) skippedKeys.push_back(key);
}

}  // namespace vorn
