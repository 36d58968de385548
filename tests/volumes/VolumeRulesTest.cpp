#include "volumes/VolumeRules.h"

#include <gtest/gtest.h>

namespace {

TEST(VolumeRules, DiskNumbersFollowTheDotZeroRule) {
  EXPECT_EQ(VolumeFileName("SETUP.EXE", 1), "SETUP.01");
  EXPECT_EQ(VolumeFileName("SETUP.EXE", 9), "SETUP.09");
  EXPECT_EQ(VolumeFileName("SETUP.EXE", 10), "SETUP.010");
  EXPECT_EQ(VolumeFileName("SETUP.EXE", 255), "SETUP.0255");
  EXPECT_EQ(VolumeFileName("my.setup.exe", 3), "my.setup.03");
  // Replacing the previous volume's extension gives the same name.
  EXPECT_EQ(ReplaceExtension("SETUP.09", VolumeExtension(10)), VolumeFileName("SETUP.EXE", 10));
  EXPECT_EQ(DiskPromptText(10), "Please Insert Disk number 10");
  EXPECT_EQ(DamagedDiskText(12),
            "Disk number 12 is damaged or belongs to another set.\r\n"
            "Please insert a good copy of disk number 12 and choose Retry.");
}

TEST(VolumeRules, FirstVolumeDrawsEveryBlockLaterOnesOnlyChanges) {
  EXPECT_TRUE(ReassemblyDraws(1, 40, 40));
  EXPECT_TRUE(ReassemblyDraws(1, 130, -1));  // above 100 during volume 1
  EXPECT_TRUE(ReassemblyDraws(2, 41, 40));
  EXPECT_FALSE(ReassemblyDraws(2, 41, 41));
  EXPECT_FALSE(ReassemblyDraws(3, 101, 100));
  EXPECT_TRUE(ReassemblyDraws(3, 100, 99));
}

}  // namespace
