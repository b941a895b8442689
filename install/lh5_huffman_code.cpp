#include "install/lh5_huffman_code.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace lh5 {

namespace {

constexpr int kMaxDepth = 64;

}  // namespace

void BuildCodeLengths(const std::uint32_t* freq, int n, int maxLength, std::uint8_t* lengths) {
  std::vector<int> symbols;
  for (int i = 0; i < n; ++i) {
    lengths[i] = 0;
    if (freq[i] != 0) symbols.push_back(i);
  }
  const int leaves = static_cast<int>(symbols.size());
  if (leaves < 2) throw std::logic_error("a Huffman code needs two symbols");
  std::stable_sort(symbols.begin(), symbols.end(), [&](int a, int b) { return freq[a] < freq[b]; });

  // Two-queue construction: leaves in ascending order, internal nodes appended
  // in the order they are made (which is ascending too).
  std::vector<std::uint64_t> weight(2 * leaves - 1);
  std::vector<int> parent(2 * leaves - 1, -1);
  for (int i = 0; i < leaves; ++i) weight[i] = freq[symbols[i]];
  int nextLeaf = 0;
  int nextNode = leaves;
  int made = leaves;
  auto takeSmallest = [&]() {
    if (nextLeaf < leaves && (nextNode >= made || weight[nextLeaf] <= weight[nextNode])) return nextLeaf++;
    return nextNode++;
  };
  while (made < 2 * leaves - 1) {
    const int a = takeSmallest();
    const int b = takeSmallest();
    weight[made] = weight[a] + weight[b];
    parent[a] = parent[b] = made;
    ++made;
  }

  // Depth of every leaf, then the number of leaves per depth.
  std::vector<int> depth(2 * leaves - 1, 0);
  int countAt[kMaxDepth + 1] = {};
  for (int node = 2 * leaves - 3; node >= 0; --node) {
    depth[node] = depth[parent[node]] + 1;
    if (node < leaves) ++countAt[std::min(depth[node], kMaxDepth)];
  }

  // Push leaves deeper than the limit up, keeping the code complete: two
  // leaves at depth i leave, one leaf from a shallower depth j becomes an
  // internal node with two children at j + 1, and the sibling moves to i - 1.
  for (int i = kMaxDepth; i > maxLength; --i) {
    while (countAt[i] > 0) {
      int j = i - 2;
      while (countAt[j] == 0) --j;
      countAt[i] -= 2;
      countAt[i - 1] += 1;
      countAt[j + 1] += 2;
      countAt[j] -= 1;
    }
  }

  // The most frequent symbols take the shortest lengths.
  int length = 1;
  for (int i = leaves - 1; i >= 0; --i) {
    while (countAt[length] == 0) ++length;
    --countAt[length];
    lengths[symbols[i]] = static_cast<std::uint8_t>(length);
  }
}

void MakeCodes(const std::uint8_t* lengths, int n, std::uint16_t* codes) {
  int count[18] = {};
  for (int i = 0; i < n; ++i) ++count[lengths[i]];
  std::uint32_t next[18] = {};
  count[0] = 0;
  for (int len = 1; len <= 16; ++len) next[len + 1] = (next[len] + static_cast<std::uint32_t>(count[len])) << 1;
  for (int i = 0; i < n; ++i) {
    if (lengths[i] != 0) codes[i] = static_cast<std::uint16_t>(next[lengths[i]]++);
  }
}

}  // namespace lh5
