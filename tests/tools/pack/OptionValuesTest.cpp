#include "OptionValues.h"

#include <gtest/gtest.h>

#include "DiskSet.h"
#include "ColourNames.h"
#include "config/ConfigBlock.h"

namespace {

TEST(PackOptionValues, VolumeSizes) {
  EXPECT_EQ(ParseVolumeSize("1.44M"), 1457664);
  EXPECT_EQ(ParseVolumeSize("720K"), 730112);
  EXPECT_EQ(ParseVolumeSize("1.2M"), 1213952);
  EXPECT_EQ(ParseVolumeSize("100000"), 100000);
  for (const char* bad : {"", "0", "-5", "1.5M", "12abc", "99999999999999999999"})
    EXPECT_EQ(ParseVolumeSize(bad), std::nullopt) << bad;
}

TEST(PackOptionValues, TitleStylesAndColours) {
  EXPECT_EQ(ParseTitleStyle("bold,italic"), 3);
  EXPECT_EQ(ParseTitleStyle("underline,strikeout"), 12);
  EXPECT_EQ(ParseTitleStyle("plain"), 0);
  EXPECT_EQ(ParseTitleStyle("bold,heavy"), std::nullopt);
  EXPECT_EQ(ParseTitleStyle("bold,"), std::nullopt);
  EXPECT_EQ(ParseColour("0"), 0);
  EXPECT_EQ(ParseColour("15"), 15);
  EXPECT_EQ(ParseColour("16"), std::nullopt);
  EXPECT_EQ(ParseColour("Blue"), 12);
  EXPECT_EQ(ParseColour("gray"), 8);
  EXPECT_EQ(ParseColour("silver"), 7);
  EXPECT_EQ(ParseColour("mauve"), std::nullopt);
}

TEST(CutIntoVolumes, FirstVolumeGetsWhatTheSetupFileLeaves) {
  EXPECT_EQ(CutIntoVolumes(0, 100, 1000), (std::vector<std::size_t>{0}));
  EXPECT_EQ(CutIntoVolumes(100, 100, 1000), (std::vector<std::size_t>{100}));
  EXPECT_EQ(CutIntoVolumes(101, 100, 1000), (std::vector<std::size_t>{100, 1}));
  EXPECT_EQ(CutIntoVolumes(2100, 100, 1000), (std::vector<std::size_t>{100, 1000, 1000}));
  EXPECT_EQ(CutIntoVolumes(2101, 100, 1000), (std::vector<std::size_t>{100, 1000, 1000, 1}));
}

}  // namespace
