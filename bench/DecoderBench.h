// Decoder timings over a coded corpus, each checked against the original.
#pragma once

#include <cstdint>
#include <span>

namespace bench {

// Best of `runs`, through LzhDecode and the memory callbacks: one
// function-pointer call per byte read and per byte written.
double TimeCallbackDecode(std::span<const std::uint8_t> coded,
                          std::span<const std::uint8_t> original, int runs);

// Best of `runs`, through an instantiation with inlined memory access.
double TimeInlinedDecode(std::span<const std::uint8_t> coded,
                         std::span<const std::uint8_t> original, int runs);

// Best of `runs`, through the block decoder (64-bit refills, linear window)
// over memory, as the extractor uses it.
double TimeBlockDecode(std::span<const std::uint8_t> coded,
                       std::span<const std::uint8_t> original, int runs);

}  // namespace bench
