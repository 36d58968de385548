// Matches for the optimal parse: for every length a position can match,
// the nearest distance within the last 4096 bytes. Each three-byte hash
// heads a binary tree of earlier positions, ordered by the bytes that
// follow them and newest at the top, so a search meets candidates nearest
// first and every length's nearest one lies on its path. Searching a
// position also inserts it, as the new top.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "lzh/MatchFinder.h"

namespace lzh {

class OptimalTreeFinder {
 public:
  OptimalTreeFinder();

  // The bytes positions index; set again whenever they grow or move.
  void SetBuffer(std::span<const std::uint8_t> buffer) { buffer_ = buffer; }
  // The buffer's first `shift` bytes were dropped (a multiple of 8192).
  void Slide(int shift);

  // Appends `pos`'s matches, at most `limit` long, to `out` as steps: each
  // entry's distance is the nearest for all lengths above the previous
  // entry's, up to its own. Then `pos` is a candidate for later positions.
  // Positions go in ascending order, each once; with `limit` under 3 the
  // position is neither searched nor inserted.
  void FindAndInsert(int pos, int limit, std::vector<Match>& out);

 private:
  static constexpr int HashBits = 15;
  // Tree links by position modulo twice the ring, so a position 4096 back
  // still has its own slot while the next one is inserted.
  static constexpr int SlotMask = 2 * 4096 - 1;
  int HashAt(int pos) const;

  std::span<const std::uint8_t> buffer_;
  std::vector<std::int32_t> head_;
  std::vector<std::int32_t> links_;  // two per slot: the smaller and the greater subtree
};

}  // namespace lzh
