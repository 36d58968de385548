#include "OptionValues.h"

#include <gtest/gtest.h>

#include <tuple>

#include "CodePage.h"
#include "ColourNames.h"
#include "DiskImages.h"
#include "DiskSet.h"
#include "SetFileNames.h"
#include "config/ConfigBlock.h"

namespace {

TEST(PackOptionValues, CodePagesAreWindowsOnesInDecimal) {
  for (const int number : WindowsCodePages) EXPECT_EQ(ParseCodePageNumber(std::to_string(number)), number);
  for (const char* bad : {"", "037", "01252", "0x4e4", "1252 ", "+1252", "37", "1047", "930", "20127", "65001", "851",
                          "99999999999"})
    EXPECT_FALSE(ParseCodePageNumber(bad)) << bad;
  for (const int number : WindowsCodePages) EXPECT_NO_THROW(CodePage{number}) << number;  // iconv knows each
}

TEST(PackOptionValues, SetFileNamesInAnyCase) {
  using N = SetFileName;
  const struct {
    const char* name;
    std::optional<SetFileName> expected = std::nullopt;
    const char* setup = "SETUP.EXE";
  } cases[] = {
      {"SETUP.EXE", N{N::Setup}}, {"setup.exe", N{N::Setup}}, {"Setup.01", N{N::Volume, 1}}, {"SETUP.010", N{N::Volume, 10}},
      {"SETUP.0255", N{N::Volume, 255}}, {"INSTALL.02", N{N::Volume, 2}, "install"},  // .0N appended
      {"disk07.img", N{N::Image, 7}}, {"DISK123.IMG", N{N::Image, 123}}, {"SETUP.001"}, {"SETUP.0256"}, {"SETUP.1"},
      {"OTHER.01"}, {"DISK1.IMG"}, {"DISK0001.IMG"}, {"README.TXT"},
  };
  for (const auto& c : cases) {
    const auto got = ClassifySetFileName(c.name, c.setup);
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.name;
    EXPECT_TRUE(!got || Described(*got) == Described(*c.expected)) << c.name;
  }
}

TEST(PackOptionValues, VolumeSizesAsPeopleSpellThem) {
  const std::tuple<const char*, std::string_view, std::int64_t> good[] = {
      {"1.44M", "1.44M", 1457664}, {"1.44m", "1.44M", 1457664}, {"1.44MB", "1.44M", 1457664},
      {"1440K", "1.44M", 1457664}, {"1440k", "1.44M", 1457664}, {"1440KB", "1.44M", 1457664},
      {"1200K", "1.2M", 1213952},  {"1.68M", "1.68M", 1714176}, {"720k", "720K", 730112}, {"100000", "", 100000},
      {"400K", "", 409600},        {"400kb", "", 409600},       {"1M", "", 1048576},     {"10m", "", 10485760},
      {"2MB", "", 2097152},        {"1000K", "", 1024000}};
  for (const auto& [spelling, format, bytes] : good) {
    const auto choice = ParseVolumeSize(spelling);
    ASSERT_TRUE(choice) << spelling;
    EXPECT_EQ(choice->Format ? choice->Format->Name : "", format) << spelling;
    EXPECT_EQ(choice->Bytes, bytes) << spelling;
  }
  EXPECT_EQ(ParseVolumeSize("1.68M")->Format->SectorsPerCluster, 4);  // DMF
  for (const char* bad : {"", "0", "-5", "1.5M", "1.3M", "12abc", "1.44", "K", "1.4400M", "1440.5K", "1.44K",
                          "99999999999999999999", "0K", "-1M", "K1", "1KM", "+4K", "99999999999999M"})
    EXPECT_FALSE(ParseVolumeSize(bad)) << bad;
  // A plain number that is a floppy's size in kilobytes means the format, not bytes.
  for (const FloppyFormat& f : FloppyFormats) EXPECT_EQ(FormatMeantBy(std::to_string(f.Kilobytes)), &f) << f.Name;
  for (const char* other : {"1441", "1440K", "400", "1.44M", "01440"}) EXPECT_EQ(FormatMeantBy(other), nullptr) << other;
  for (const FloppyFormat& f : FloppyFormats) {  // whole clusters of the disk
    EXPECT_EQ(f.FreeBytes % f.ClusterBytes(), 0) << f.Name;
    EXPECT_LT(f.FreeBytes, f.ImageBytes()) << f.Name;
    EXPECT_EQ(f.ImageBytes(), f.Kilobytes * std::int64_t{1024}) << f.Name;
    EXPECT_EQ(f.OnDisk(1), f.ClusterBytes()) << f.Name;
    EXPECT_EQ(f.OnDisk(f.ClusterBytes() + 1), 2 * f.ClusterBytes()) << f.Name;
  }
}

TEST(PackOptionValues, TitleStylesAndColours) {
  const std::pair<const char*, std::optional<int>> styles[] = {
      {"bold,italic", 3}, {"underline,strikeout", 12}, {"plain", 0}, {"bold,heavy", {}}, {"bold,", {}}};
  for (const auto& [text, bits] : styles) EXPECT_EQ(ParseTitleStyle(text), bits) << text;
  const std::pair<const char*, std::optional<int>> colours[] = {
      {"0", 0}, {"15", 15}, {"16", {}}, {"Blue", 12}, {"gray", 8}, {"silver", 7}, {"mauve", {}}};
  for (const auto& [text, index] : colours) EXPECT_EQ(ParseColour(text), index) << text;
}

TEST(DiskImages, NamesSortInDiskOrderWithThreeDigitsFromAHundredDisks) {
  const std::tuple<std::size_t, std::size_t, const char*> names[] = {
      {1, 1, "DISK01.IMG"}, {99, 99, "DISK99.IMG"}, {1, 100, "DISK001.IMG"}, {100, 100, "DISK100.IMG"},
      {255, 255, "DISK255.IMG"}};
  for (const auto& [disk, count, name] : names) EXPECT_EQ(DiskImageName(disk, count), name) << disk << " of " << count;
}

// Lengths of the volumes a stream of `length` bytes is cut into, fed in
// pieces of `piece` bytes, with every piece checked to land in order.
std::vector<std::int64_t> Cut(std::int64_t length, std::int64_t first, std::int64_t size, std::size_t piece) {
  std::vector<std::int64_t> seen(1);
  VolumeCutter cutter(first, size, [&](int disk, std::span<const std::uint8_t> bytes) {
    seen.resize(static_cast<std::size_t>(disk));
    seen.back() += static_cast<std::int64_t>(bytes.size());
  });
  const std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
  for (std::size_t at = 0; at < bytes.size(); at += piece)
    cutter.Take(std::span(bytes).subspan(at, std::min(piece, bytes.size() - at)));
  EXPECT_EQ(seen, cutter.Lengths());
  return cutter.Lengths();
}

TEST(VolumeCutter, FirstVolumeGetsWhatTheSetupFileLeavesUpToTheVolumeLimit) {
  using Lengths = std::vector<std::int64_t>;
  for (std::size_t piece : {1, 7, 100, 5000}) {
    EXPECT_EQ(Cut(0, 100, 1000, piece), (Lengths{0}));
    EXPECT_EQ(Cut(100, 100, 1000, piece), (Lengths{100}));
    EXPECT_EQ(Cut(101, 100, 1000, piece), (Lengths{100, 1}));
    EXPECT_EQ(Cut(2100, 100, 1000, piece), (Lengths{100, 1000, 1000}));
    EXPECT_EQ(Cut(2101, 100, 1000, piece), (Lengths{100, 1000, 1000, 1}));
  }
  EXPECT_EQ(Cut(10 + 254 * 10, 10, 10, 64).size(), 255u);
  EXPECT_THROW(Cut(10 + 254 * 10 + 1, 10, 10, 64), PackError);
}

}  // namespace
