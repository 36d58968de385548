// Checked-in coded streams (tests/data/streams) decode, through the
// installer's callback interface, to the bytes whose SHA-256 they were
// pinned with: a change to the tree, the position code or the bit order
// fails here whatever our encoder does.
#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include "LzhTestSupport.h"
#include "ToolTestSupport.h"
#include "lzh/LzhDecoder.h"

namespace {

// Replays every decoded symbol into a tree of its own, counting its rebuilds.
struct RebuildCounter {
  lzh::LzhTree Tree;
  int Rebuilds = 0;
  void Swapped(unsigned, unsigned) {}
  void Rebuilt() { ++Rebuilds; }
  bool Literal(std::uint8_t byte) { return Count(byte); }
  bool Match(int, int length) { return Count(lzh::MatchSymbol(length)); }
  bool Count(int symbol) {
    Tree.Update<false>(symbol, *this);
    return true;
  }
};

int RebuildsWhileDecoding(const lzhtest::Bytes& coded, std::int32_t size) {
  std::size_t at = 0;
  auto source = [&] { return at < coded.size() ? coded[at++] : std::uint8_t{0}; };
  auto active = [] { return true; };
  lzh::ByteBits bits(source);
  const auto decoding = std::make_unique<lzh::LzhTree>();
  const auto counter = std::make_unique<RebuildCounter>();
  counter->Tree.Reset();
  lzh::Decoder(*decoding, bits, *counter, active).Run(size);
  return counter->Rebuilds;
}

TEST(PinnedStreams, DecodeToTheirPinnedBytes) {
  const std::filesystem::path data = DISKSPAN_TEST_DATA "/streams";
  tooltest::TestDirectory dir;
  using Pinned = std::pair<std::string, std::int32_t>;
  for (const auto& [name, size] : {Pinned{"text", 399}, Pinned{"runs", 13265}, Pinned{"rebuild", 96009}}) {
    tooltest::Spill(dir / (name + ".bin"), lzhtest::DecodeBytes(tooltest::Slurp(data / (name + ".lzh")), size));
  }
  const auto check = tooltest::RunCommand("cd '" + dir.Path().string() + "' && sha256sum -c '" +
                                          (data / "SHA256SUMS").string() + "'");
  EXPECT_EQ(check.ExitCode, 0) << check.Output;
  // 82,000 symbols: the root's count reaches the limit four times.
  EXPECT_EQ(RebuildsWhileDecoding(tooltest::Slurp(data / "rebuild.lzh"), 96009), 4);
}

}  // namespace
