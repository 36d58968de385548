// Checked-in disk sets (tests/data/sets) list as pinned and restore to the
// pinned files: the block's layout, the volume naming and the stream are
// held to bytes that no current tool made.
#include <gtest/gtest.h>

#include "ToolTestSupport.h"

namespace tooltest {
namespace {

const std::string Extract = DISKSPAN_EXTRACT;

std::string Text(const fs::path& path) {
  const Bytes bytes = Slurp(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST(PinnedSets, ListAndRestoreAsPinned) {
  for (const char* name : {"one-disk", "three-disks"}) {
    const fs::path set = fs::path(DISKSPAN_TEST_DATA) / "sets" / name;
    const RunResult listing = RunCommand(Extract + " --list --json '" + (set / "SETUP.EXE").string() + "'");
    EXPECT_EQ(listing.ExitCode, 0) << name;
    EXPECT_EQ(listing.Output, Text(set / "listing.json")) << name;

    TestDirectory dir;
    const RunResult restored =
        RunCommand(Extract + " -q -d '" + dir.Path().string() + "' '" + (set / "SETUP.EXE").string() + "'");
    ASSERT_EQ(restored.ExitCode, 0) << name << ": " << restored.Output;
    const RunResult check = RunCommand("cd '" + dir.Path().string() + "' && sha256sum -c '" +
                                       (set / "SHA256SUMS").string() + "'");
    EXPECT_EQ(check.ExitCode, 0) << name << ": " << check.Output;
  }
}

}  // namespace
}  // namespace tooltest
