// Every parse of the encoder against the decoder.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "LzhTestSupport.h"
#include "ToolTestSupport.h"
#include "lzh/LzhEncoder.h"

namespace lzhtest {
namespace {

using Parse = lzh::EncoderOptions::Parse;

// Three copies of `unit` bytes of noise: matches at exactly that distance.
Bytes Repeating(std::size_t unit) {
  const Bytes block = tooltest::RandomBytes(unit, 3);
  Bytes out = block;
  for (int i = 0; i < 2; ++i) out.insert(out.end(), block.begin(), block.end());
  return out;
}

TEST(RoundTrip, EveryParseRestoresTextNoiseRunsAndWindowEdges) {
  std::vector<std::pair<std::string, Bytes>> inputs = {
      {"text", Wordy(60000, 1)},
      {"noise", tooltest::RandomBytes(200000, 2)},
      {"zeros", Bytes(70000, 0)},
      {"farthest distance", Repeating(4096)},
      {"one short of it", Repeating(4095)},
  };
  Bytes runs;
  for (int i = 0; i < 300; ++i) runs.insert(runs.end(), 1 + (i * 37) % 200, static_cast<std::uint8_t>(i % 5));
  inputs.emplace_back("runs", runs);
  // Short inputs around one match's length; spaces match into the ring's initial spaces.
  for (const std::size_t size : {0, 1, 2, 3, 60, 61}) {
    inputs.emplace_back("spaces " + std::to_string(size), Bytes(size, ' '));
    inputs.emplace_back("text " + std::to_string(size), Wordy(size, 4));
  }
  const lzh::EncoderOptions parses[] = {
      {.Parsing = Parse::Greedy}, {.Parsing = Parse::Lazy}, {.Parsing = Parse::Optimal}, {.Lazy = true, .MaxChain = 8}};
  for (const auto& [name, data] : inputs) {
    for (const lzh::EncoderOptions& options : parses) {
      SCOPED_TRACE(name + ", parse " + std::to_string(static_cast<int>(options.Chosen())) + ", chain " +
                   std::to_string(options.MaxChain));
      EXPECT_TRUE(DecodeBytes(lzh::Encode(data, options), static_cast<std::int32_t>(data.size())) == data);
    }
  }
}

}  // namespace
}  // namespace lzhtest
