// The matches found for a run of consecutive positions, kept from the time
// they are found until the parse has coded past them: the optimal parse
// looks ahead of the block it decides, and the match finder can only be
// asked about each position once, in order.
#pragma once

#include <span>
#include <vector>

#include "lzh/MatchFinder.h"

namespace lzh {

class OptimalMatches {
 public:
  // The first position held, and one past the last.
  int Begin() const { return begin_; }
  int End() const { return begin_ + static_cast<int>(starts_.size()) - 1; }

  // The steps MatchFinder::FindAll gave for `pos`, Begin() <= pos < End().
  std::span<const Match> At(int pos) const {
    const int i = pos - begin_;
    return std::span<const Match>(matches_).subspan(starts_[i], starts_[i + 1] - starts_[i]);
  }

  // The buffer behind MatchFinder::FindAll's output for End(): call Add
  // after appending to it.
  std::vector<Match>& Pending() { return matches_; }
  void Add() { starts_.push_back(static_cast<int>(matches_.size())); }

  // Forgets the positions before `pos` (at most End()).
  void DropBefore(int pos);
  // The positions were renumbered `shift` lower.
  void Slide(int shift) { begin_ -= shift; }
  // Starts empty at `pos`.
  void Restart(int pos);

 private:
  int begin_ = 0;
  std::vector<int> starts_{0};  // into matches_, one per position and one past
  std::vector<Match> matches_;
};

}  // namespace lzh
