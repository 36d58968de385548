#include "lzh/SymbolWriter.h"

#include <array>

namespace lzh {
namespace {

struct PositionPrefix {
  std::uint32_t Bits;
  int Length;
};

// The prefix for upper six bits u is the leading CodeLength bits of the
// bytes that the decoder's table maps to u.
const std::array<PositionPrefix, 64>& PositionPrefixes() {
  static const std::array<PositionPrefix, 64> table = [] {
    std::array<PositionPrefix, 64> t{};
    for (int b = 255; b >= 0; --b) {
      const int length = PositionDecodeTable.CodeLength[b];
      t[PositionDecodeTable.UpperBits[b]] = {static_cast<std::uint32_t>(b >> (8 - length)), length};
    }
    return t;
  }();
  return table;
}

}  // namespace

SymbolWriter::SymbolWriter(std::vector<std::uint8_t>& out)
    : bits_(out), tree_(std::make_unique<LzhTree>()) {
  tree_->Reset();
}

// The path from the root to the symbol's leaf, gathered leaf first and
// written root first, then the same model update as the decoder's.
void SymbolWriter::PutSymbol(int symbol) {
  std::uint64_t path = 0;
  int length = 0;
  for (int node = tree_->Parent[NodeCount + symbol]; node != Root; node = tree_->Parent[node]) {
    const bool second = tree_->Child[tree_->Parent[node]] != node;
    path |= std::uint64_t{second} << length;
    ++length;
  }
  while (length > 0) {
    const int chunk = length > 32 ? length - 32 : length;
    length -= chunk;
    bits_.Put(static_cast<std::uint32_t>(path >> length), chunk);
  }
  tree_->Update(symbol);
}

void SymbolWriter::PutPosition(int position) {
  const PositionPrefix prefix = PositionPrefixes()[position >> 6];
  bits_.Put(prefix.Bits, prefix.Length);
  bits_.Put(static_cast<std::uint32_t>(position & 0x3F), 6);
}

}  // namespace lzh
