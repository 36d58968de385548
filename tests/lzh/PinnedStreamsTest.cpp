// Checked-in coded streams (tests/data/streams) decode, through the
// installer's callback interface, to the bytes whose SHA-256 they were
// pinned with: a change to the tree, the position code or the bit order
// fails here whatever our encoder does.
#include <gtest/gtest.h>

#include "LzhTestSupport.h"
#include "ToolTestSupport.h"

namespace {

using tooltest::TestDirectory;

struct PinnedStream {
  const char* Name;
  std::int32_t DecodedSize;
};

TEST(PinnedStreams, DecodeToTheirPinnedBytes) {
  const std::filesystem::path data = DISKSPAN_TEST_DATA "/streams";
  TestDirectory dir;
  for (const PinnedStream stream : {PinnedStream{"text", 399}, PinnedStream{"runs", 13265},
                                    PinnedStream{"rebuild", 40000}}) {
    const std::string name = stream.Name;
    const auto decoded = lzhtest::DecodeBytes(tooltest::Slurp(data / (name + ".lzh")), stream.DecodedSize);
    tooltest::Spill(dir / (name + ".bin"), decoded);
  }
  const auto check = tooltest::RunCommand("cd '" + dir.Path().string() + "' && sha256sum -c '" +
                                          (data / "SHA256SUMS").string() + "'");
  EXPECT_EQ(check.ExitCode, 0) << check.Output;
}

}  // namespace
