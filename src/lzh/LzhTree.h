// The adaptive Huffman tree over the 314 symbols. Decoder and encoder must
// evolve it identically, symbol by symbol: the update order, the upward
// scan, the swap and the rebuild below are part of the stream format.
#pragma once

#include <cstdint>

#include "lzh/LzhTables.h"

namespace lzh {

struct LzhTree {
  // Node frequencies, nondecreasing by index; Frequency[627] is a sentinel.
  std::uint16_t Frequency[NodeCount + 1];
  // Internal node: index of its first child (the second is the next index).
  // Leaf: NodeCount + symbol.
  std::uint16_t Child[NodeCount];
  // 0..626: each node's parent (the root's is 0); 627 + s: the leaf of s.
  std::uint16_t Parent[NodeCount + SymbolCount];

  void Reset() {
    for (int s = 0; s < SymbolCount; ++s) {
      Frequency[s] = 1;
      Child[s] = static_cast<std::uint16_t>(NodeCount + s);
      Parent[NodeCount + s] = static_cast<std::uint16_t>(s);
    }
    for (int i = 0, n = SymbolCount; n <= Root; i += 2, ++n) {
      Frequency[n] = static_cast<std::uint16_t>(Frequency[i] + Frequency[i + 1]);
      Child[n] = static_cast<std::uint16_t>(i);
      Parent[i] = Parent[i + 1] = static_cast<std::uint16_t>(n);
    }
    Frequency[NodeCount] = 0xFFFF;
    Parent[Root] = 0;
  }

  // Counts one more occurrence of `symbol`, restoring the sibling order by
  // swapping each incremented node past the run of smaller ones above it.
  void Update(int symbol) {
    if (Frequency[Root] == RebuildLimit) Rebuild();
    unsigned n = Parent[NodeCount + symbol];
    do {
      const std::uint16_t k = ++Frequency[n];
      if (Frequency[n + 1] < k) {
        unsigned l = n + 1;
        while (Frequency[l + 1] < k) ++l;
        Swap(n, l, k);
        n = l;
      }
      n = Parent[n];
    } while (n != 0);
  }

  // Halves the leaf frequencies (rounding up) and rebuilds the tree from them.
  void Rebuild();

 private:
  void Swap(unsigned n, unsigned l, std::uint16_t k) {
    Frequency[n] = Frequency[l];
    Frequency[l] = k;
    const unsigned a = Child[n];
    const unsigned b = Child[l];
    Child[l] = static_cast<std::uint16_t>(a);
    Child[n] = static_cast<std::uint16_t>(b);
    SetParent(a, l);
    SetParent(b, n);
  }

  // Points `child` (and its sibling, for an internal node) at `parent`. For a
  // leaf the second store repeats the first, which spares a branch.
  void SetParent(unsigned child, unsigned parent) {
    const unsigned second = child + (child < NodeCount ? 1 : 0);
    Parent[child] = static_cast<std::uint16_t>(parent);
    Parent[second] = static_cast<std::uint16_t>(parent);
  }
};

}  // namespace lzh
