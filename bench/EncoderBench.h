// One timed encode of the corpus with the given options.
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

}  // namespace bench
