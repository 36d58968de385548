#include "lzh/StreamEncoder.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "lzh/LzhTables.h"

namespace lzh {
namespace {

// What coding a position may read past it: the longest match, and the two
// bytes after it that inserting the match's last position hashes.
constexpr int LookAhead = LongestMatch + ShortestMatch - 1;
// The window drops this much history at a time: a multiple of the ring, so
// positions keep their place in the match finder's chain links.
constexpr int SlideStep = 256 * RingSize;
// History for the farthest match, a slide's worth of input and one
// position's look-ahead.
constexpr int WindowSize = SlideStep + RingSize + LookAhead;
constexpr std::size_t FlushSize = 64 * 1024;

}  // namespace

// The window starts as the decoder's ring does: RingStart spaces of history.
StreamEncoder::StreamEncoder(Sink sink, const EncoderOptions& options)
    : sink_(std::move(sink)),
      options_(options),
      window_(WindowSize, RingFill),
      end_(RingStart),
      pos_(RingStart),
      writer_(coded_),
      finder_(std::span<const std::uint8_t>(window_.data(), RingStart), options.MaxChain) {
  coded_.reserve(FlushSize + 64);
}

StreamEncoder::~StreamEncoder() = default;

void StreamEncoder::Put(std::span<const std::uint8_t> input) {
  if (finished_) throw std::logic_error("lzh::StreamEncoder::Put after Finish");
  bytesIn_ += static_cast<std::int64_t>(input.size());
  while (!input.empty()) {
    const std::size_t count = std::min(input.size(), window_.size() - static_cast<std::size_t>(end_));
    Append(input.first(count));
    input = input.subspan(count);
    Code(false);
    SlideIfDue();
  }
}

void StreamEncoder::Finish() {
  if (finished_) return;
  finished_ = true;
  Code(true);
  writer_.Finish();
  Flush();
}

void StreamEncoder::Append(std::span<const std::uint8_t> input) {
  std::memcpy(window_.data() + end_, input.data(), input.size());
  end_ += static_cast<int>(input.size());
  finder_.SetBuffer(std::span<const std::uint8_t>(window_.data(), end_));
}

// Codes every position that has its full look-ahead buffered, or all of
// them when finishing. The parse: the longest match, deferred by a literal
// when the lazy look finds a longer one at the next position.
void StreamEncoder::Code(bool finishing) {
  const int stop = finishing ? end_ : end_ - LookAhead + 1;
  if (pos_ >= stop) return;
  PrimeOnce();
  const int end = end_;
  int pos = pos_;
  while (pos < stop) {
    if (coded_.size() >= FlushSize) Flush();
    const Match match = pending_ ? *pending_ : finder_.Find(pos, std::min(LongestMatch, end - pos));
    pending_.reset();
    finder_.Insert(pos);
    if (match.Length == 0) {
      writer_.PutLiteral(window_[pos]);
      ++pos;
      continue;
    }
    const Match next = options_.Lazy ? finder_.Find(pos + 1, std::min(LongestMatch, end - pos - 1)) : Match{};
    if (next.Length > match.Length) {
      writer_.PutLiteral(window_[pos]);
      ++pos;
      pending_ = next;
      continue;
    }
    writer_.PutMatch(match.Length, match.Distance);
    for (int k = 1; k < match.Length; ++k) finder_.Insert(pos + k);
    pos += match.Length;
  }
  pos_ = pos;
}

// The ring's initial spaces become candidates once the first position is
// coded, when the bytes after them that hashing reads are there.
void StreamEncoder::PrimeOnce() {
  if (primed_) return;
  for (int p = 0; p < RingStart; ++p) finder_.Insert(p);
  primed_ = true;
}

void StreamEncoder::SlideIfDue() {
  if (pos_ < SlideStep + RingSize) return;
  std::memmove(window_.data(), window_.data() + SlideStep, static_cast<std::size_t>(end_ - SlideStep));
  end_ -= SlideStep;
  pos_ -= SlideStep;
  finder_.Slide(SlideStep);
  finder_.SetBuffer(std::span<const std::uint8_t>(window_.data(), end_));
}

void StreamEncoder::Flush() {
  if (coded_.empty()) return;
  sink_(coded_);
  bytesOut_ += static_cast<std::int64_t>(coded_.size());
  coded_.clear();
}

}  // namespace lzh
