// Checked-in disk sets (tests/data/sets), made before sets carried checksums,
// list, test and restore as pinned: the block's layout, the volume naming and
// the stream are held to bytes that no current tool made.
#include <gtest/gtest.h>

#include "ToolTestSupport.h"

namespace tooltest {
namespace {

class PinnedSets : public ToolTest {
 protected:
  PinnedSets() : ToolTest(DISKSPAN_PACK, DISKSPAN_EXTRACT) {}
};

TEST_F(PinnedSets, ListTestAndRestoreAsPinned) {
  for (const char* name : {"one-disk", "three-disks"}) {
    const fs::path set = fs::path(DISKSPAN_TEST_DATA) / "sets" / name;
    const std::string setup = " '" + (set / "SETUP.EXE").string() + "'";
    const Bytes listing = Slurp(set / "listing.json");
    EXPECT_EQ(Extract("--list --json" + setup), (RunResult{0, std::string(listing.begin(), listing.end())})) << name;
    EXPECT_TRUE(Ends(Extract("--list" + setup), 0,
                     {name == std::string("one-disk") ? "Volumes:           1 (SETUP.01), "
                                                      : "Volumes:           3 (SETUP.01 to SETUP.03), "}));
    EXPECT_EQ(Extract("-t" + setup), (RunResult{0, "The set is sound as far as it can tell: it carries no checksums, "
                                                   "so only its structure and lengths were checked.\n"})) << name;
    fs::remove_all(dir / "out");
    ASSERT_TRUE(Ends(ExtractTo("-q" + setup), 0)) << name;
    EXPECT_TRUE(Ends(RunCommand("cd '" + (dir / "out").string() + "' && sha256sum -c '" + (set / "SHA256SUMS").string() + "'"), 0))
        << name;
  }
}

}  // namespace
}  // namespace tooltest
