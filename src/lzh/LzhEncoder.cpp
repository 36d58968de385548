#include "lzh/LzhEncoder.h"

#include <algorithm>

#include "lzh/MatchFinder.h"
#include "lzh/SymbolWriter.h"
#include "lzh/LzhTables.h"

namespace lzh {

std::vector<std::uint8_t> Encode(std::span<const std::uint8_t> input,
                                 const EncoderOptions& options) {
  std::vector<std::uint8_t> buffer(RingStart, RingFill);
  buffer.insert(buffer.end(), input.begin(), input.end());
  const int end = static_cast<int>(buffer.size());

  std::vector<std::uint8_t> out;
  out.reserve(input.size() / 2 + 16);
  SymbolWriter writer(out);
  MatchFinder finder(buffer, options.MaxChain);
  for (int pos = 0; pos < RingStart; ++pos) finder.Insert(pos);

  int pos = RingStart;
  Match match = finder.Find(pos, std::min(LongestMatch, end - pos));
  while (pos < end) {
    finder.Insert(pos);
    if (match.Length == 0) {
      writer.PutLiteral(buffer[pos]);
      ++pos;
      match = finder.Find(pos, std::min(LongestMatch, end - pos));
      continue;
    }
    const Match next =
        options.Lazy ? finder.Find(pos + 1, std::min(LongestMatch, end - pos - 1)) : Match{};
    if (next.Length > match.Length) {
      writer.PutLiteral(buffer[pos]);
      ++pos;
      match = next;
      continue;
    }
    writer.PutMatch(match.Length, match.Distance);
    for (int k = 1; k < match.Length; ++k) finder.Insert(pos + k);
    pos += match.Length;
    match = finder.Find(pos, std::min(LongestMatch, end - pos));
  }
  writer.Finish();
  return out;
}

}  // namespace lzh
