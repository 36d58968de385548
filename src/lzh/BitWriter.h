// Writes bits most significant first, as the decoder takes them.
#pragma once

#include <cstdint>
#include <vector>

namespace lzh {

class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  // The low `count` bits of `bits` (count up to 32), high bit first.
  void Put(std::uint32_t bits, int count) {
    pending_ = pending_ << count | (bits & ((std::uint64_t{1} << count) - 1));
    pendingCount_ += count;
    while (pendingCount_ >= 8) {
      pendingCount_ -= 8;
      out_.push_back(static_cast<std::uint8_t>(pending_ >> pendingCount_));
    }
  }

  // Bits put but not yet written out as a whole byte (0 to 7).
  int PendingBits() const { return pendingCount_; }

  // Pads the last byte with zero bits.
  void Finish() {
    if (pendingCount_ > 0) Put(0, 8 - pendingCount_);
  }

 private:
  std::vector<std::uint8_t>& out_;
  std::uint64_t pending_ = 0;
  int pendingCount_ = 0;
};

}  // namespace lzh
