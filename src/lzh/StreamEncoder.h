// The LZH encoder over a stream: input arrives in chunks of any size, coded
// bytes leave through a sink in chunks of about 64 KiB, and memory stays
// near 1 MiB whatever the length. The parse is the same whatever the
// chunking: a position is coded only once every byte its coding may read is
// buffered (or at the end), so every search and insertion sees what it
// would over the whole input. The optimal parse decides 16 KB blocks that
// start at fixed places, each once 1 KB past it is buffered too.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "lzh/LzhEncoder.h"
#include "lzh/MatchFinder.h"
#include "lzh/OptimalMatches.h"
#include "lzh/OptimalParse.h"
#include "lzh/OptimalTreeFinder.h"
#include "lzh/SymbolWriter.h"

namespace lzh {

class StreamEncoder {
 public:
  using Sink = std::function<void(std::span<const std::uint8_t>)>;

  explicit StreamEncoder(Sink sink, const EncoderOptions& options = {});
  // Drops whatever was not finished.
  ~StreamEncoder();
  StreamEncoder(const StreamEncoder&) = delete;
  StreamEncoder& operator=(const StreamEncoder&) = delete;

  // Takes the next bytes of the input; not after Finish.
  void Put(std::span<const std::uint8_t> input);
  // Codes what is left, pads the last byte and hands everything to the sink.
  // Later calls do nothing.
  void Finish();

  // Where the symbol that codes input byte `offset` lies in the coded
  // stream, in bits from its start: StartBit up to EndBit (exclusive).
  // Asked with Mark before that byte is put, offsets in nondecreasing
  // order; Spans() answers in the same order as the symbols are written
  // (-1 until then, and for an offset past the end of the input).
  struct CodedSpan {
    std::int64_t StartBit = -1;
    std::int64_t EndBit = -1;
  };
  void Mark(std::int64_t offset);
  const std::vector<CodedSpan>& Spans() const { return spans_; }

  std::int64_t BytesIn() const { return bytesIn_; }
  // Coded bytes handed to the sink so far.
  std::int64_t BytesOut() const { return bytesOut_; }

 private:
  void Append(std::span<const std::uint8_t> input);
  void Code(bool finishing);
  void CodeLazy(bool finishing);
  void CodeBlocks(bool finishing);
  void FindMatchesBefore(int stop);
  void Emit(const ParseStep& step);
  void PutStep(int pos, int length, int distance);
  std::int64_t BitsOut() const;
  void PrimeOnce();
  void SlideIfDue();
  void Flush();

  Sink sink_;
  EncoderOptions options_;
  std::vector<std::uint8_t> window_;  // history, then bytes not yet coded
  int end_ = 0;                       // bytes of window_ in use
  int pos_ = 0;                       // the next position to code
  std::optional<Match> pending_;      // found for pos_ by the lazy look
  bool primed_ = false;               // the ring's initial spaces are inserted
  bool finished_ = false;
  std::vector<std::uint8_t> coded_;   // coded bytes not yet handed on
  SymbolWriter writer_;
  MatchFinder finder_;                // for the greedy and lazy parses
  OptimalTreeFinder treeFinder_;      // for the optimal parse
  OptimalMatches matches_;            // found ahead of pos_ for the optimal parse
  OptimalParser parser_;
  std::vector<std::int64_t> marks_;   // input offsets asked for by Mark
  std::vector<CodedSpan> spans_;       // their answers
  std::size_t nextMark_ = 0;           // the first mark not yet coded
  std::int64_t slid_ = 0;              // input bytes the window has dropped
  std::int64_t bytesIn_ = 0;
  std::int64_t bytesOut_ = 0;
};

}  // namespace lzh
