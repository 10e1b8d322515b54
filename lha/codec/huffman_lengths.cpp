#include "lha/codec/huffman_lengths.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace vorn::lha {

int BuildHuffmanLengths(const uint32_t* frequencies, int n, int maxLength, uint8_t* lengths) {
  std::vector<std::pair<uint32_t, int>> leaves;
  for (int i = 0; i < n; ++i) {
    lengths[i] = 0;
    if (frequencies[i] > 0) leaves.emplace_back(frequencies[i], i);
  }
  const int m = static_cast<int>(leaves.size());
  if (m < 2) return m;
  std::sort(leaves.begin(), leaves.end());

  // Two-queue construction over the sorted leaves: nodes [0, m) are leaves, [m, 2m-1) internal.
  std::vector<uint64_t> weight(2 * m - 1);
  std::vector<int> parent(2 * m - 1);
  for (int i = 0; i < m; ++i) weight[i] = leaves[i].first;
  int leaf = 0, inner = m;
  auto takeSmallest = [&](int next) {
    if (leaf < m && (inner >= next || weight[leaf] <= weight[inner])) return leaf++;
    return inner++;
  };
  for (int next = m; next < 2 * m - 1; ++next) {
    int a = takeSmallest(next), b = takeSmallest(next);
    weight[next] = weight[a] + weight[b];
    parent[a] = parent[b] = next;
  }
  std::vector<int> depth(2 * m - 1, 0);
  std::vector<int> counts(2 * m + 1, 0);
  for (int node = 2 * m - 3; node >= 0; --node) depth[node] = depth[parent[node]] + 1;
  int longest = 0;
  for (int i = 0; i < m; ++i) {
    counts[depth[i]]++;
    longest = std::max(longest, depth[i]);
  }
  // Pull over-long codes up: two leaves of the deepest level share one node that takes the place
  // of a leaf moved one level down, which keeps the code complete.
  for (int len = longest; len > maxLength; --len) {
    while (counts[len] > 0) {
      int j = len - 2;
      while (counts[j] == 0) --j;
      counts[len] -= 2;
      counts[len - 1] += 1;
      counts[j + 1] += 2;
      counts[j] -= 1;
    }
  }
  // The least frequent symbols take the longest codes.
  int index = 0;
  for (int len = std::min(longest, maxLength); len >= 1; --len)
    for (int k = 0; k < counts[len]; ++k) lengths[leaves[index++].second] = static_cast<uint8_t>(len);
  return m;
}

void AssignCanonicalCodes(const uint8_t* lengths, int n, uint16_t* codes) {
  uint32_t counts[18] = {}, next[18] = {};
  for (int i = 0; i < n; ++i) counts[lengths[i]]++;
  counts[0] = 0;
  for (int len = 1; len < 17; ++len) next[len + 1] = (next[len] + counts[len]) << 1;
  for (int i = 0; i < n; ++i) codes[i] = lengths[i] ? static_cast<uint16_t>(next[lengths[i]]++) : 0;
}

}  // namespace vorn::lha
