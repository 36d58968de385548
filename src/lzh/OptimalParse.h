// The optimal parse of one block: the cheapest sequence of literals and
// matches over a run of positions, priced from the adaptive tree as it
// stands when the block starts (a symbol costs log2 of the root's count
// over its leaf's) and from the fixed position code's exact lengths.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "lzh/LzhTables.h"
#include "lzh/LzhTree.h"
#include "lzh/OptimalMatches.h"

namespace lzh {

// One coded symbol: a literal (Length 1, Distance 0) or a match.
struct ParseStep {
  int Length = 1;
  int Distance = 0;
};

// Bits per symbol and per match position.
struct ParsePrices {
  std::array<float, SymbolCount> Symbol{};
  std::array<float, 64> Position{};  // by the position's upper six bits

  static ParsePrices FromTree(const LzhTree& tree);
};

class OptimalParser {
 public:
  // Chooses the cheapest steps over positions [start, start + span) of
  // `bytes` (the buffer positions index), with the matches in `matches`,
  // and returns those that begin before start + decide: the rest of the
  // span only informs the choice.
  const std::vector<ParseStep>& Choose(std::span<const std::uint8_t> bytes, const OptimalMatches& matches,
                                       const ParsePrices& prices, int start, int span, int decide);

 private:
  void Relax(std::span<const std::uint8_t> bytes, const OptimalMatches& matches, const ParsePrices& prices,
             int start, int span);
  void Trace(int span, int decide);

  std::vector<float> cost_;        // cheapest price to reach each offset
  std::vector<ParseStep> arrival_; // the step that reaches it so cheaply
  std::vector<ParseStep> steps_;
};

}  // namespace lzh
