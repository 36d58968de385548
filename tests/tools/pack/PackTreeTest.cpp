// diskspan-pack over program folders: subfolders, file lists and graft
// points, every problem in one run, and the plan of --dry-run against the
// set a real pack writes.
#include <gtest/gtest.h>

#include "ToolTestSupport.h"

namespace tooltest {
namespace {

class PackTree : public ToolTest {
 protected:
  PackTree() : ToolTest(DISKSPAN_PACK, DISKSPAN_EXTRACT) {}
  std::string Sums(const std::string& set) {
    return RunCommand("cd '" + (dir / set).string() + "' && sha256sum *").Output;
  }
};

// A flat set (no subfolders) comes out byte for byte as the packer wrote it
// before sets could hold folders: the setup file, its record and every volume.
TEST_F(PackTree, FlatSetIsByteForByteAsBefore) {
  PackSet({{"README.TXT", MixedBytes(3000, 1)}, {"DATA.BIN", MixedBytes(40000, 2)}, {"EMPTY.DAT", {}},
           {"NOISE.BIN", RandomBytes(30000, 3)}},
          "--title Pinned --launch DATA.BIN --volume-size 30000");
  EXPECT_EQ(Sums("set"),
            "a5b3d4e5092ffe9ae3c98dd30fe637fa179919c4238202cd603fc320a90e9597  SETUP.01\n"
            "8dbfd51e66402ede4e240ac63f4a2c5ac184b81ba2a05ddb8e364b504ea292dc  SETUP.02\n"
            "5c864883e68fa247fdc74538f609eea3c0960ab171551a48f37c49d2e4098b4c  SETUP.03\n"
            "22818a226cc3b386f6828bd50c39202cc42c67915e79b67b72f68142540b7bfa  SETUP.EXE\n");
}

}  // namespace
}  // namespace tooltest
