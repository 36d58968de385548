// Longest earlier occurrence within the last 4096 bytes, by hash chains over
// three-byte prefixes. Positions index a buffer whose first bytes are the
// history the decoder's ring holds; the buffer may grow and slide.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lzh {

struct Match {
  int Length = 0;    // 0 when there is none of at least 3 bytes
  int Distance = 0;  // 1 to 4096
};

class MatchFinder {
 public:
  MatchFinder(std::span<const std::uint8_t> buffer, int maxChain);

  // The bytes positions index; set again whenever they grow or move.
  void SetBuffer(std::span<const std::uint8_t> buffer) { buffer_ = buffer; }
  // The buffer's first `shift` bytes were dropped: renumbers the stored
  // positions and forgets those that fell off. `shift` is a multiple of
  // 4096, so each position keeps its slot in the chain links.
  void Slide(int shift);

  // Longest match for `pos` among positions already inserted, at most `limit` long.
  Match Find(int pos, int limit) const;
  // Makes `pos` a candidate for later positions; positions go in ascending order.
  void Insert(int pos);

 private:
  static constexpr int HashBits = 15;
  int HashAt(int pos) const;

  std::span<const std::uint8_t> buffer_;
  int maxChain_;
  std::vector<std::int32_t> head_;
  std::vector<std::int32_t> previous_;  // by position modulo 4096
};

}  // namespace lzh
