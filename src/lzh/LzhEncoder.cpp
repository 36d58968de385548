#include "lzh/LzhEncoder.h"

#include "lzh/StreamEncoder.h"

namespace lzh {

std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> input,
                                 const EncoderOptions& options) {
  std::vector<std::uint8_t> out;
  out.reserve(input.size() / 2 + 16);
  StreamEncoder encoder(
      [&out](std::span<const std::uint8_t> coded) { out.insert(out.end(), coded.begin(), coded.end()); },
      options);
  encoder.Put(input);
  encoder.Finish();
  return out;
}

}  // namespace lzh
