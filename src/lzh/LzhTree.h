// The adaptive Huffman tree over the 314 symbols. Decoder and encoder must
// evolve it identically, symbol by symbol: the update order, the upward
// scan, the swap and the rebuild below are part of the stream format.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "lzh/LzhTables.h"

namespace lzh {

#if defined(__SSE2__)
inline constexpr bool HaveSse2 = true;
#else
inline constexpr bool HaveSse2 = false;
#endif

// Entries past the sentinel so that an 8-wide compare starting at any node
// stays inside the array; they hold 0xFFFF like the sentinel.
inline constexpr int FrequencyPadding = 8;

// The first index from `from` on whose frequency is `k` or more. The scan
// always stops at the sentinel, whose 0xFFFF no count reaches.
inline unsigned FirstNotBelowScalar(const std::uint16_t* frequency, unsigned from, std::uint16_t k) {
  while (frequency[from] < k) ++from;
  return from;
}

#if defined(__SSE2__)
// The same search eight entries at a time: k - f saturates to zero exactly
// where f >= k.
inline unsigned FirstNotBelowSse2(const std::uint16_t* frequency, unsigned from, std::uint16_t k) {
  const __m128i key = _mm_set1_epi16(static_cast<short>(k));
  const __m128i zero = _mm_setzero_si128();
  for (;; from += 8) {
    const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(frequency + from));
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(_mm_subs_epu16(key, f), zero));
    if (mask != 0) return from + static_cast<unsigned>(__builtin_ctz(static_cast<unsigned>(mask)) / 2);
  }
}
#endif

template <bool Simd>
inline unsigned FirstNotBelow(const std::uint16_t* frequency, unsigned from, std::uint16_t k) {
#if defined(__SSE2__)
  if constexpr (Simd) return FirstNotBelowSse2(frequency, from, k);
#endif
  return FirstNotBelowScalar(frequency, from, k);
}

struct IgnoreShapeChanges {
  void Swapped(unsigned, unsigned) {}
  void Rebuilt() {}
};

struct LzhTree {
  // Node frequencies, nondecreasing by index; Frequency[627] is a sentinel,
  // followed by padding of the same value.
  std::uint16_t Frequency[NodeCount + 1 + FrequencyPadding];
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
    for (int i = NodeCount; i <= NodeCount + FrequencyPadding; ++i) Frequency[i] = 0xFFFF;
    Parent[Root] = 0;
  }

  // Counts one more occurrence of `symbol`, restoring the sibling order by
  // swapping each incremented node past the run of smaller ones above it.
  // `Simd` picks the search for the swap target; both give the same tree.
  template <bool Simd = HaveSse2>
  void Update(int symbol) {
    IgnoreShapeChanges ignore;
    Update<Simd>(symbol, ignore);
  }

  // The same, telling `watcher` of every change of shape:
  // Swapped(a, b) when the children of nodes a and b were exchanged, and
  // Rebuilt() after a rebuild.
  template <bool Simd, typename Watcher>
  void Update(int symbol, Watcher& watcher) {
    if (Frequency[Root] == RebuildLimit) {
      Rebuild();
      watcher.Rebuilt();
    }
    unsigned n = Parent[NodeCount + symbol];
    do {
      const std::uint16_t k = ++Frequency[n];
      if (Frequency[n + 1] < k) {
        const unsigned l = FirstNotBelow<Simd>(Frequency, n + 2, k) - 1;
        Swap(n, l, k);
        watcher.Swapped(n, l);
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
