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
// The optimal parse decides this many positions at a time (or a few more,
// to finish the last match), choosing with the block's look-ahead as well.
constexpr int BlockSize = 16 * 1024;
constexpr int BlockSpan = BlockSize + 1024;
// The window drops this much history at a time: a multiple of twice the
// ring, so positions keep their place in both match finders' links.
constexpr int SlideStep = 256 * RingSize;
// History for the farthest match, a slide's worth of input and a block's
// and a position's look-ahead.
constexpr int WindowSize = SlideStep + RingSize + BlockSpan + LookAhead;
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
  matches_.Restart(RingStart);
  treeFinder_.SetBuffer(std::span<const std::uint8_t>(window_.data(), RingStart));
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

void StreamEncoder::Mark(std::int64_t offset) {
  if (offset < bytesIn_ || (!marks_.empty() && offset < marks_.back()))
    throw std::logic_error("lzh::StreamEncoder::Mark out of order");
  marks_.push_back(offset);
  spans_.emplace_back();
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
  treeFinder_.SetBuffer(std::span<const std::uint8_t>(window_.data(), end_));
}

void StreamEncoder::Code(bool finishing) {
  if (options_.Chosen() == EncoderOptions::Parse::Optimal) {
    CodeBlocks(finishing);
  } else {
    CodeLazy(finishing);
  }
}

// Codes every position that has its full look-ahead buffered, or all of
// them when finishing. The parse: the longest match, deferred by a literal
// when the lazy look finds a longer one at the next position.
void StreamEncoder::CodeLazy(bool finishing) {
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
      PutStep(pos, 1, 0);
      ++pos;
      continue;
    }
    const bool lazy = options_.Chosen() == EncoderOptions::Parse::Lazy;
    const Match next = lazy ? finder_.Find(pos + 1, std::min(LongestMatch, end - pos - 1)) : Match{};
    if (next.Length > match.Length) {
      PutStep(pos, 1, 0);
      ++pos;
      pending_ = next;
      continue;
    }
    PutStep(pos, match.Length, match.Distance);
    for (int k = 1; k < match.Length; ++k) finder_.Insert(pos + k);
    pos += match.Length;
  }
  pos_ = pos;
}

// Codes every block whose span has its full look-ahead buffered, or all
// that is left when finishing, each priced from the tree as it starts.
void StreamEncoder::CodeBlocks(bool finishing) {
  for (;;) {
    const int span = std::min(BlockSpan, end_ - pos_);
    if (span <= 0) return;
    if (!finishing && end_ - LookAhead + 1 - pos_ < BlockSpan) return;
    PrimeOnce();
    FindMatchesBefore(pos_ + span);
    const ParsePrices prices = ParsePrices::FromTree(writer_.Tree());
    const std::span<const std::uint8_t> bytes(window_.data(), end_);
    for (const ParseStep& step : parser_.Choose(bytes, matches_, prices, pos_, span, BlockSize)) Emit(step);
    matches_.DropBefore(pos_);
  }
}

// Every position is searched and inserted once, in order, whether or not
// the parse codes it.
void StreamEncoder::FindMatchesBefore(int stop) {
  for (int p = matches_.End(); p < stop; ++p) {
    treeFinder_.FindAndInsert(p, std::min(LongestMatch, end_ - p), matches_.Pending());
    matches_.Add();
  }
}

void StreamEncoder::Emit(const ParseStep& step) {
  if (coded_.size() >= FlushSize) Flush();
  PutStep(pos_, step.Length, step.Distance);
  pos_ += step.Length;
}

// Writes one symbol: a literal (distance 0) or a match, answering the
// marks that fall in the input bytes it codes.
void StreamEncoder::PutStep(int pos, int length, int distance) {
  const bool marked = nextMark_ < marks_.size();
  const std::int64_t start = marked ? BitsOut() : 0;
  if (distance == 0) {
    writer_.PutLiteral(window_[pos]);
  } else {
    writer_.PutMatch(length, distance);
  }
  if (!marked) return;
  const std::int64_t end = slid_ + pos - RingStart + length;  // the input offset after the symbol
  for (; nextMark_ < marks_.size() && marks_[nextMark_] < end; ++nextMark_) spans_[nextMark_] = {start, BitsOut()};
}

std::int64_t StreamEncoder::BitsOut() const {
  return (bytesOut_ + static_cast<std::int64_t>(coded_.size())) * 8 + writer_.PendingBits();
}

// The ring's initial spaces become candidates once the first position is
// coded, when the bytes after them that hashing reads are there.
void StreamEncoder::PrimeOnce() {
  if (primed_) return;
  primed_ = true;
  if (options_.Chosen() == EncoderOptions::Parse::Optimal) {
    std::vector<Match> unused;
    for (int p = 0; p < RingStart; ++p) {
      treeFinder_.FindAndInsert(p, std::min(LongestMatch, end_ - p), unused);
      unused.clear();
    }
    return;
  }
  for (int p = 0; p < RingStart; ++p) finder_.Insert(p);
}

void StreamEncoder::SlideIfDue() {
  if (pos_ < SlideStep + RingSize) return;
  std::memmove(window_.data(), window_.data() + SlideStep, static_cast<std::size_t>(end_ - SlideStep));
  end_ -= SlideStep;
  pos_ -= SlideStep;
  slid_ += SlideStep;
  finder_.Slide(SlideStep);
  treeFinder_.Slide(SlideStep);
  matches_.Slide(SlideStep);
  finder_.SetBuffer(std::span<const std::uint8_t>(window_.data(), end_));
  treeFinder_.SetBuffer(std::span<const std::uint8_t>(window_.data(), end_));
}

void StreamEncoder::Flush() {
  if (coded_.empty()) return;
  sink_(coded_);
  bytesOut_ += static_cast<std::int64_t>(coded_.size());
  coded_.clear();
}

}  // namespace lzh
