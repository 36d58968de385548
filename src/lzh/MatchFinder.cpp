#include "lzh/MatchFinder.h"

#include "lzh/LzhTables.h"

namespace lzh {

MatchFinder::MatchFinder(std::span<const std::uint8_t> buffer, int maxChain)
    : buffer_(buffer),
      maxChain_(maxChain > 0 ? maxChain : RingSize),
      head_(std::size_t{1} << HashBits, -1),
      previous_(RingSize, -1) {}

void MatchFinder::Slide(int shift) {
  for (std::vector<std::int32_t>* table : {&head_, &previous_}) {
    for (std::int32_t& pos : *table) pos = pos >= shift ? pos - shift : -1;
  }
}

int MatchFinder::HashAt(int pos) const {
  const std::uint32_t key = std::uint32_t{buffer_[pos]} << 16 |
                            std::uint32_t{buffer_[pos + 1]} << 8 | buffer_[pos + 2];
  return static_cast<int>((key * 2654435761u) >> (32 - HashBits));
}

void MatchFinder::Insert(int pos) {
  if (pos + ShortestMatch > static_cast<int>(buffer_.size())) return;
  const int h = HashAt(pos);
  previous_[pos & RingMask] = head_[h];
  head_[h] = pos;
}

Match MatchFinder::Find(int pos, int limit) const {
  Match best;
  if (limit < ShortestMatch) return best;
  const std::uint8_t* here = buffer_.data() + pos;
  const int oldest = pos - RingSize;
  int candidate = head_[HashAt(pos)];
  for (int chain = maxChain_; candidate >= 0 && candidate >= oldest && chain > 0; --chain) {
    const std::uint8_t* there = buffer_.data() + candidate;
    if (there[best.Length] == here[best.Length]) {
      int length = 0;
      while (length < limit && there[length] == here[length]) ++length;
      if (length > best.Length) {
        best = {length, pos - candidate};
        if (length == limit) break;
      }
    }
    const int next = previous_[candidate & RingMask];
    if (next >= candidate) break;  // the slot was reused by a newer position
    candidate = next;
  }
  if (best.Length < ShortestMatch) best = {};
  return best;
}

}  // namespace lzh
