#include "OptionValues.h"

#include <gtest/gtest.h>

#include "DiskSet.h"
#include "ColourNames.h"
#include "config/ConfigBlock.h"

namespace {

TEST(PackOptionValues, VolumeSizesAsPeopleSpellThem) {
  for (const char* spelling : {"1.44M", "1.44m", "1.44MB", "1440K", "1440k", "1440KB"}) {
    const auto choice = ParseVolumeSize(spelling);
    ASSERT_TRUE(choice) << spelling;
    EXPECT_EQ(choice->Format->Name, "1.44M") << spelling;
    EXPECT_EQ(choice->Bytes, 1457664) << spelling;
  }
  EXPECT_EQ(ParseVolumeSize("1200K")->Format->Name, "1.2M");
  EXPECT_EQ(ParseVolumeSize("1.68M")->Format->SectorsPerCluster, 4);
  EXPECT_EQ(ParseVolumeSize("720k")->Bytes, 730112);
  EXPECT_EQ(ParseVolumeSize("100000")->Format, nullptr);
  EXPECT_EQ(ParseVolumeSize("100000")->Bytes, 100000);
  for (const char* bad : {"", "0", "-5", "1.5M", "1.3M", "12abc", "1.44", "K", "1.4400M",
                          "99999999999999999999"})
    EXPECT_FALSE(ParseVolumeSize(bad)) << bad;
}

TEST(FloppyFormats, EveryFormatIsWholeClustersOfItsDisk) {
  for (const FloppyFormat& f : FloppyFormats) {
    EXPECT_EQ(f.FreeBytes % f.ClusterBytes(), 0) << f.Name;
    EXPECT_LT(f.FreeBytes, f.ImageBytes()) << f.Name;
    EXPECT_EQ(f.ImageBytes(), f.Kilobytes * std::int64_t{1024}) << f.Name;
    EXPECT_EQ(f.OnDisk(1), f.ClusterBytes()) << f.Name;
    EXPECT_EQ(f.OnDisk(f.ClusterBytes() + 1), 2 * f.ClusterBytes()) << f.Name;
  }
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
