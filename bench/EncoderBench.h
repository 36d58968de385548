// Timed encodes: one per parse over an input, each stream checked against
// the input through our decoder and through lhasa.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "lzh/LzhEncoder.h"

namespace bench {

struct EncoderRun {
  double Seconds = 0;
  std::vector<std::uint8_t> Coded;
};

EncoderRun TimeEncode(std::span<const std::uint8_t> input, const lzh::EncoderOptions& options);

struct ParseRun {
  const char* Name;
  EncoderRun Run;
};

// Greedy, lazy and optimal, in that order; throws when a stream does not
// decode back to the input, through either decoder.
std::vector<ParseRun> TimeParses(const std::vector<std::uint8_t>& input);

// The text input: C and C++ headers under /usr/include in sorted path
// order, exactly `size` bytes.
std::vector<std::uint8_t> BuildTextInput(std::size_t size);

}  // namespace bench
