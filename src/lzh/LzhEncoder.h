// The encoder for the installer's LZH coding. It drives the same adaptive
// tree as the decoder, symbol for symbol, and parses the input in one of
// three ways over the whole 4096-byte ring (hash chains, exhaustive): the
// longest match (greedy), the longest match one step lazy, or a cost-based
// shortest path over 16 KB blocks (optimal). It starts from the decoder's
// ring state: the 4036 bytes before the first output byte read as spaces.
// Encode codes a whole input in memory; StreamEncoder (the same parsers)
// codes a stream.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace lzh {

struct EncoderOptions {
  enum class Parse { Greedy, Lazy, Optimal };

  // Defer a match by one byte when the next position has a longer one;
  // chooses between Lazy and Greedy when Parsing is unset.
  bool Lazy = true;
  // Candidates examined per position by the greedy and lazy parses; 0
  // examines the whole window. The optimal parse always does.
  int MaxChain = 0;
  // The parse; overrides Lazy when set.
  std::optional<Parse> Parsing = std::nullopt;

  Parse Chosen() const { return Parsing ? *Parsing : Lazy ? Parse::Lazy : Parse::Greedy; }
};

std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> input,
                                 const EncoderOptions& options = {});

}  // namespace lzh
