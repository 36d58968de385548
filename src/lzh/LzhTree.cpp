#include "lzh/LzhTree.h"

#include <algorithm>
#include <cstring>

namespace lzh {

void LzhTree::Rebuild() {
  // Gather the leaves at the front, in their old relative order, halved.
  int j = 0;
  for (int node = 0; node < NodeCount; ++node) {
    if (Child[node] >= NodeCount) {
      Frequency[j] = static_cast<std::uint16_t>((Frequency[node] + 1) / 2);
      Child[j] = Child[node];
      ++j;
    }
  }
  // Join pairs; a new node goes after every node of equal frequency. The
  // nodes so far are sorted, and the pair's sum is at least each of its
  // halves, so its place is past i + 1.
  for (int i = 0, n = SymbolCount; n < NodeCount; i += 2, ++n) {
    const auto f = static_cast<std::uint16_t>(Frequency[i] + Frequency[i + 1]);
    const auto k = static_cast<int>(std::upper_bound(Frequency + i + 2, Frequency + n, f) - Frequency);
    std::memmove(Frequency + k + 1, Frequency + k, static_cast<std::size_t>(n - k) * sizeof Frequency[0]);
    std::memmove(Child + k + 1, Child + k, static_cast<std::size_t>(n - k) * sizeof Child[0]);
    Frequency[k] = f;
    Child[k] = static_cast<std::uint16_t>(i);
  }
  for (int i = 0; i < NodeCount; ++i) {
    const int a = Child[i];
    Parent[a] = static_cast<std::uint16_t>(i);
    if (a < NodeCount) Parent[a + 1] = static_cast<std::uint16_t>(i);
  }
}

}  // namespace lzh
