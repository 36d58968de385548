#include "lzh/OptimalMatches.h"

namespace lzh {

void OptimalMatches::DropBefore(int pos) {
  const int dropped = pos - begin_;
  if (dropped <= 0) return;
  const int first = starts_[dropped];
  matches_.erase(matches_.begin(), matches_.begin() + first);
  starts_.erase(starts_.begin(), starts_.begin() + dropped);
  for (int& start : starts_) start -= first;
  begin_ = pos;
}

void OptimalMatches::Restart(int pos) {
  begin_ = pos;
  starts_.assign(1, 0);
  matches_.clear();
}

}  // namespace lzh
