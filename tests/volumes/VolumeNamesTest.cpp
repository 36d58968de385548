#include "volumes/VolumeNames.h"

#include <gtest/gtest.h>

namespace {

TEST(VolumeNames, DiskNumbersFollowTheDotZeroRule) {
  EXPECT_EQ(VolumeFileName("SETUP.EXE", 1), "SETUP.01");
  EXPECT_EQ(VolumeFileName("SETUP.EXE", 2), "SETUP.02");
  EXPECT_EQ(VolumeFileName("SETUP.EXE", 9), "SETUP.09");
  EXPECT_EQ(VolumeFileName("SETUP.EXE", 10), "SETUP.010");
  EXPECT_EQ(VolumeFileName("SETUP.EXE", 11), "SETUP.011");
  EXPECT_EQ(VolumeFileName("SETUP.EXE", 255), "SETUP.0255");
  EXPECT_EQ(DiskPromptText(10), "Please Insert Disk number 10");
}

TEST(VolumeNames, ExtensionIsTheLastDotOfTheName) {
  EXPECT_EQ(VolumeFileName("SETUP", 1), "SETUP.01");
  EXPECT_EQ(VolumeFileName("my.setup.exe", 3), "my.setup.03");
  EXPECT_EQ(ReplaceExtension("A.DIR\\SETUP", ".01"), "A.DIR\\SETUP.01");
  EXPECT_EQ(ReplaceExtension("A.B:SETUP", ".02"), "A.B:SETUP.02");
  // Replacing the previous volume's extension gives the same name.
  EXPECT_EQ(ReplaceExtension("SETUP.09", VolumeExtension(10)), VolumeFileName("SETUP.EXE", 10));
}

}  // namespace
