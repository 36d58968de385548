// Checked-in coded streams (tests/data/streams) decode, through the
// installer's callback interface, to the bytes whose SHA-256 they were
// pinned with: a change to the tree, the position code or the bit order
// fails here whatever our encoder does. In "rebuild" (82,000 symbols) the
// root's count reaches the limit four times.
#include <gtest/gtest.h>

#include <utility>

#include "LzhTestSupport.h"
#include "ToolTestSupport.h"

namespace {

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
}

}  // namespace
