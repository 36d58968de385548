// Longest earlier occurrence within the last 4096 bytes, by hash chains over
// three-byte prefixes. Positions index a buffer whose first 4036 bytes are
// the spaces the decoder's ring starts with.
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
