#include "install/codec/lh5_huffman_code.h"

#include <algorithm>
#include <stdexcept>

#include "install/codec/lh5_format.h"

namespace lh5 {

namespace {

constexpr int kMaxSymbols = kNC;
constexpr int kMaxDepth = 64;
constexpr int kSymbolBits = 10;  // a sort key is frequency << 10 | symbol

}  // namespace

void BuildCodeLengths(const std::uint32_t* freq, int n, int maxLength, std::uint8_t* lengths) {
  if (n > kMaxSymbols) throw std::logic_error("alphabet too large");
  // Symbols in ascending frequency, ties in symbol order.
  std::uint64_t keys[kMaxSymbols];
  int leaves = 0;
  for (int i = 0; i < n; ++i) {
    lengths[i] = 0;
    if (freq[i] != 0) keys[leaves++] = (std::uint64_t{freq[i]} << kSymbolBits) | static_cast<std::uint64_t>(i);
  }
  if (leaves < 2) throw std::logic_error("a Huffman code needs two symbols");
  std::sort(keys, keys + leaves);

  // Two-queue construction: leaves in ascending order, internal nodes appended
  // in the order they are made, which is ascending too.
  std::uint64_t weight[2 * kMaxSymbols];
  int parent[2 * kMaxSymbols];
  for (int i = 0; i < leaves; ++i) weight[i] = keys[i] >> kSymbolBits;
  const int nodes = 2 * leaves - 1;
  int nextLeaf = 0;
  int nextNode = leaves;
  for (int made = leaves; made < nodes; ++made) {
    int pick[2];
    for (int& p : pick) {
      if (nextLeaf < leaves && (nextNode >= made || weight[nextLeaf] <= weight[nextNode])) {
        p = nextLeaf++;
      } else {
        p = nextNode++;
      }
    }
    weight[made] = weight[pick[0]] + weight[pick[1]];
    parent[pick[0]] = parent[pick[1]] = made;
  }

  // Leaves per depth; a parent always comes after its children.
  int depth[2 * kMaxSymbols];
  int countAt[kMaxDepth + 1] = {};
  depth[nodes - 1] = 0;
  for (int node = nodes - 2; node >= 0; --node) {
    depth[node] = depth[parent[node]] + 1;
    if (node < leaves) ++countAt[std::min(depth[node], kMaxDepth)];
  }

  // Leaves deeper than the limit move up, keeping the code complete: two
  // leaves at depth i leave it, a leaf at a shallower depth j becomes the
  // parent of two leaves at j + 1, and the sibling of the pair moves to i - 1.
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
    lengths[keys[i] & ((1u << kSymbolBits) - 1)] = static_cast<std::uint8_t>(length);
  }
}

void MakeCodes(const std::uint8_t* lengths, int n, std::uint16_t* codes) {
  int count[kMaxCodeLength + 2] = {};
  for (int i = 0; i < n; ++i) ++count[lengths[i]];
  std::uint32_t next[kMaxCodeLength + 2] = {};
  for (int len = 1; len < kMaxCodeLength; ++len) next[len + 1] = (next[len] + static_cast<std::uint32_t>(count[len])) << 1;
  for (int i = 0; i < n; ++i) {
    if (lengths[i] != 0) codes[i] = static_cast<std::uint16_t>(next[lengths[i]]++);
  }
}

}  // namespace lh5
