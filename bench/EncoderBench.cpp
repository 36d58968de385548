#include "EncoderBench.h"

#include "Stopwatch.h"

namespace bench {

EncoderRun TimeEncode(std::span<const std::uint8_t> input, const lzh::EncoderOptions& options) {
  EncoderRun run;
  run.Seconds = BestSeconds(1, [&] { run.Coded = lzh::Encode(input, options); });
  return run;
}

}  // namespace bench
