// The encoder for the installer's LZH coding. It drives the same adaptive
// tree as the decoder, symbol for symbol, and parses the input with the
// longest match over the whole 4096-byte ring (hash chains, exhaustive),
// optionally one step lazy. It starts from the decoder's ring state: the
// 4036 bytes before the first output byte read as spaces. Encode codes a
// whole input in memory; StreamEncoder (the same parser) codes a stream.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace lzh {

struct EncoderOptions {
  // Defer a match by one byte when the next position has a longer one.
  bool Lazy = true;
  // Candidates examined per position; 0 examines the whole window.
  int MaxChain = 0;
};

std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> input,
                                 const EncoderOptions& options = {});

}  // namespace lzh
