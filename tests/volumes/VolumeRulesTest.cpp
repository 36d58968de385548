#include "volumes/VolumeRules.h"

#include <gtest/gtest.h>

namespace {

TEST(VolumeRules, DiskNumbersFollowTheDotZeroRule) {
  for (const auto& [disk, name] : {std::pair{1, "SETUP.01"}, {9, "SETUP.09"}, {10, "SETUP.010"}, {255, "SETUP.0255"}})
    EXPECT_EQ(VolumeFileName("SETUP.EXE", disk), name);
  EXPECT_EQ(DiskPromptText(10), "Please Insert Disk number 10");
  EXPECT_EQ(DamagedDiskText(12), "Disk number 12 is damaged or belongs to another set.\r\n"
                                 "Please insert a good copy of disk number 12 and choose Retry.");
}

TEST(VolumeRules, FirstVolumeDrawsEveryBlockLaterOnesOnlyChangesUpTo100) {
  // Volume, percentage, the one drawn last, and whether it is drawn.
  const int cases[][4] = {{1, 40, 40, 1}, {1, 130, -1, 1}, {2, 41, 40, 1},
                          {2, 41, 41, 0}, {3, 101, 100, 0}, {3, 100, 99, 1}};
  for (const auto& [volume, percent, last, draws] : cases)
    EXPECT_EQ(ReassemblyDraws(volume, percent, last), draws != 0) << volume << ": " << percent << " after " << last;
}

}  // namespace
