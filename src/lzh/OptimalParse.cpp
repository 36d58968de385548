#include "lzh/OptimalParse.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lzh {

ParsePrices ParsePrices::FromTree(const LzhTree& tree) {
  ParsePrices prices;
  const double root = tree.Frequency[Root];
  for (int s = 0; s < SymbolCount; ++s) {
    const double leaf = tree.Frequency[tree.Parent[NodeCount + s]];
    prices.Symbol[s] = static_cast<float>(std::log2(root / leaf));
  }
  for (int b = 0; b < 256; ++b) {
    prices.Position[PositionDecodeTable.UpperBits[b]] = static_cast<float>(PositionDecodeTable.CodeLength[b] + 6);
  }
  return prices;
}

const std::vector<ParseStep>& OptimalParser::Choose(std::span<const std::uint8_t> bytes,
                                                    const OptimalMatches& matches, const ParsePrices& prices,
                                                    int start, int span, int decide) {
  Relax(bytes, matches, prices, start, span);
  Trace(span, decide);
  return steps_;
}

// Forward over the offsets: every literal and every match length from each
// offset already reached offers a price for the offset it ends at. A tie
// goes to the later offer, the shorter last step, so that among equal
// paths the odd short match falls at the span's end, in the part the next
// block decides again, not in every block's decided part.
void OptimalParser::Relax(std::span<const std::uint8_t> bytes, const OptimalMatches& matches,
                          const ParsePrices& prices, int start, int span) {
  cost_.assign(static_cast<std::size_t>(span) + 1, std::numeric_limits<float>::infinity());
  arrival_.assign(static_cast<std::size_t>(span) + 1, ParseStep{});
  cost_[0] = 0;
  for (int i = 0; i < span; ++i) {
    const float here = cost_[i];
    const float literal = here + prices.Symbol[bytes[start + i]];
    if (literal <= cost_[i + 1]) {
      cost_[i + 1] = literal;
      arrival_[i + 1] = ParseStep{};
    }
    int length = ShortestMatch;
    for (const Match& m : matches.At(start + i)) {
      const int longest = std::min(m.Length, span - i);
      const float position = here + prices.Position[(m.Distance - 1) >> 6];
      for (; length <= longest; ++length) {
        const float price = position + prices.Symbol[MatchSymbol(length)];
        if (price <= cost_[i + length]) {
          cost_[i + length] = price;
          arrival_[i + length] = ParseStep{length, m.Distance};
        }
      }
    }
  }
}

// Back from the span's end along the cheapest arrivals, then keeps the
// steps that begin before `decide`.
void OptimalParser::Trace(int span, int decide) {
  steps_.clear();
  for (int i = span; i > 0; i -= arrival_[i].Length) steps_.push_back(arrival_[i]);
  std::reverse(steps_.begin(), steps_.end());
  int offset = 0;
  std::size_t kept = 0;
  while (kept < steps_.size() && offset < decide) offset += steps_[kept++].Length;
  steps_.resize(kept);
}

}  // namespace lzh
