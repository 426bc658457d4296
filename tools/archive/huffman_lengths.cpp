#include "tools/archive/huffman_lengths.h"

#include <algorithm>

namespace {

struct MergeNode {
  std::uint64_t weight;
  int left;  // child node indices for a package, -1 for a leaf
  int right;
  int symbol;  // leaf symbol, -1 for a package
};

}  // namespace

std::vector<std::uint8_t> limitedCodeLengths(const std::vector<std::uint32_t>& counts,
                                             int maxLength) {
  std::vector<std::uint8_t> lengths(counts.size(), 0);
  std::vector<int> used;
  for (std::size_t s = 0; s < counts.size(); ++s)
    if (counts[s]) used.push_back(int(s));
  if (used.empty()) return lengths;
  if (used.size() == 1) {
    lengths[used[0]] = 1;
    return lengths;
  }
  std::stable_sort(used.begin(), used.end(), [&](int a, int b) { return counts[a] < counts[b]; });

  std::vector<MergeNode> nodes;
  nodes.reserve(used.size() * (2 * maxLength + 1));
  std::vector<int> leaves;
  for (int s : used) {
    leaves.push_back(int(nodes.size()));
    nodes.push_back({counts[s], -1, -1, s});
  }
  std::vector<int> list = leaves;
  for (int level = 1; level < maxLength; ++level) {
    std::vector<int> packages;
    for (std::size_t i = 0; i + 1 < list.size(); i += 2) {
      packages.push_back(int(nodes.size()));
      nodes.push_back(
          {nodes[list[i]].weight + nodes[list[i + 1]].weight, list[i], list[i + 1], -1});
    }
    std::vector<int> merged;
    merged.reserve(leaves.size() + packages.size());
    std::size_t a = 0, b = 0;
    while (a < leaves.size() || b < packages.size()) {
      if (b == packages.size() ||
          (a < leaves.size() && nodes[leaves[a]].weight <= nodes[packages[b]].weight))
        merged.push_back(leaves[a++]);
      else
        merged.push_back(packages[b++]);
    }
    list.swap(merged);
  }
  // Each appearance of a leaf among the 2n - 2 cheapest items adds one bit to its code.
  std::vector<int> stack;
  std::size_t take = 2 * used.size() - 2;
  for (std::size_t i = 0; i < take && i < list.size(); ++i) {
    stack.push_back(list[i]);
    while (!stack.empty()) {
      const MergeNode& n = nodes[stack.back()];
      stack.pop_back();
      if (n.symbol >= 0) {
        ++lengths[n.symbol];
      } else {
        stack.push_back(n.left);
        stack.push_back(n.right);
      }
    }
  }
  return lengths;
}

std::vector<std::uint16_t> canonicalCodes(const std::vector<std::uint8_t>& lengths) {
  int count[17] = {};
  for (std::uint8_t l : lengths) ++count[l];
  count[0] = 0;
  std::uint32_t next[17] = {};
  std::uint32_t code = 0;
  for (int l = 1; l <= 16; ++l) {
    code = (code + count[l - 1]) << 1;
    next[l] = code;
  }
  std::vector<std::uint16_t> codes(lengths.size(), 0);
  for (std::size_t s = 0; s < lengths.size(); ++s)
    if (lengths[s]) codes[s] = std::uint16_t(next[lengths[s]]++);
  return codes;
}
