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

// Lengths of the volumes a stream of `length` bytes is cut into, fed in
// pieces of `piece` bytes, with every piece checked to land in order.
std::vector<std::int64_t> Cut(std::int64_t length, std::int64_t first, std::int64_t size, std::size_t piece) {
  std::vector<std::int64_t> seen;
  VolumeCutter cutter(first, size, [&](int disk, std::span<const std::uint8_t> bytes) {
    if (static_cast<int>(seen.size()) < disk) seen.push_back(0);
    EXPECT_EQ(static_cast<int>(seen.size()), disk);
    seen.back() += static_cast<std::int64_t>(bytes.size());
  });
  const std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
  for (std::size_t at = 0; at < bytes.size(); at += piece)
    cutter.Take(std::span(bytes).subspan(at, std::min(piece, bytes.size() - at)));
  if (seen.empty()) seen.push_back(0);
  EXPECT_EQ(seen, cutter.Lengths());
  return cutter.Lengths();
}

TEST(VolumeCutter, FirstVolumeGetsWhatTheSetupFileLeavesWhateverThePieces) {
  for (std::size_t piece : {1, 7, 100, 5000}) {
    EXPECT_EQ(Cut(0, 100, 1000, piece), (std::vector<std::int64_t>{0}));
    EXPECT_EQ(Cut(100, 100, 1000, piece), (std::vector<std::int64_t>{100}));
    EXPECT_EQ(Cut(101, 100, 1000, piece), (std::vector<std::int64_t>{100, 1}));
    EXPECT_EQ(Cut(2100, 100, 1000, piece), (std::vector<std::int64_t>{100, 1000, 1000}));
    EXPECT_EQ(Cut(2101, 100, 1000, piece), (std::vector<std::int64_t>{100, 1000, 1000, 1}));
  }
}

TEST(VolumeCutter, StopsAtTheVolumeLimit) {
  EXPECT_EQ(Cut(10 + 254 * 10, 10, 10, 64).size(), 255u);
  EXPECT_THROW(Cut(10 + 254 * 10 + 1, 10, 10, 64), PackError);
}

}  // namespace
