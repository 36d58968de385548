#include "lzh/OptimalTreeFinder.h"

#include <algorithm>

#include "lzh/LzhTables.h"

namespace lzh {

OptimalTreeFinder::OptimalTreeFinder()
    : head_(std::size_t{1} << HashBits, -1), links_(2 * (SlotMask + 1), -1) {}

void OptimalTreeFinder::Slide(int shift) {
  for (std::vector<std::int32_t>* table : {&head_, &links_}) {
    for (std::int32_t& pos : *table) pos = pos >= shift ? pos - shift : -1;
  }
}

int OptimalTreeFinder::HashAt(int pos) const {
  const std::uint32_t key = std::uint32_t{buffer_[pos]} << 16 |
                            std::uint32_t{buffer_[pos + 1]} << 8 | buffer_[pos + 2];
  return static_cast<int>((key * 2654435761u) >> (32 - HashBits));
}

// Walks down from the newest candidate, splitting the tree around `pos`:
// candidates ordered before it hang on its smaller side, the others on its
// greater side. What two sides' last candidates shared with `pos` is known
// to be shared by every candidate between them, so comparing starts there.
void OptimalTreeFinder::FindAndInsert(int pos, int limit, std::vector<Match>& out) {
  if (limit < ShortestMatch) return;
  const int h = HashAt(pos);
  int candidate = head_[h];
  head_[h] = pos;
  const std::uint8_t* here = buffer_.data() + pos;
  std::int32_t* smaller = &links_[2 * (pos & SlotMask)];
  std::int32_t* greater = smaller + 1;
  int smallerLength = 0;
  int greaterLength = 0;
  int longest = ShortestMatch - 1;
  while (candidate >= 0 && pos - candidate <= RingSize) {
    const std::uint8_t* there = buffer_.data() + candidate;
    std::int32_t* pair = &links_[2 * (candidate & SlotMask)];
    int length = std::min(smallerLength, greaterLength);
    while (length < limit && there[length] == here[length]) ++length;
    if (length > longest) {
      out.push_back({length, pos - candidate});
      longest = length;
    }
    if (length == limit) {  // the same as far as we look: it takes its place
      *smaller = pair[0];
      *greater = pair[1];
      return;
    }
    if (there[length] < here[length]) {
      *smaller = candidate;
      smaller = pair + 1;
      smallerLength = length;
      candidate = *smaller;
    } else {
      *greater = candidate;
      greater = pair;
      greaterLength = length;
      candidate = *greater;
    }
  }
  *smaller = -1;  // older candidates are out of reach: cut them off
  *greater = -1;
}

}  // namespace lzh
