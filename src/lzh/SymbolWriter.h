// Writes symbols in the installer's LZH coding: literal bytes and match
// lengths through the adaptive tree (updated after each, as the decoder
// does), positions through the fixed prefix code.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "lzh/BitWriter.h"
#include "lzh/LzhTree.h"

namespace lzh {

class SymbolWriter {
 public:
  explicit SymbolWriter(std::vector<std::uint8_t>& out);

  void PutLiteral(std::uint8_t byte) { PutSymbol(byte); }
  // A copy of `length` (3 to 60) bytes from `distance` (1 to 4096) back.
  void PutMatch(int length, int distance) {
    PutSymbol(MatchSymbol(length));
    PutPosition(distance - 1);
  }
  // Pads the last byte with zero bits.
  void Finish() { bits_.Finish(); }
  // Bits of the last, unfinished byte (0 to 7).
  int PendingBits() const { return bits_.PendingBits(); }
  // The adaptive tree as the symbols so far left it.
  const LzhTree& Tree() const { return *tree_; }

 private:
  void PutSymbol(int symbol);
  void PutPosition(int position);

  BitWriter bits_;
  std::unique_ptr<LzhTree> tree_;
};

}  // namespace lzh
