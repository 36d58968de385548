#include "lzh/LzhTree.h"

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
  // Join pairs; a new node goes after every node of equal frequency.
  for (int i = 0, n = SymbolCount; n < NodeCount; i += 2, ++n) {
    const auto f = static_cast<std::uint16_t>(Frequency[i] + Frequency[i + 1]);
    int k = n - 1;
    while (f < Frequency[k]) --k;
    ++k;
    for (int m = n; m > k; --m) {
      Frequency[m] = Frequency[m - 1];
      Child[m] = Child[m - 1];
    }
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
