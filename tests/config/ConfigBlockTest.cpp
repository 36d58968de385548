#include "config/ConfigBlock.h"

#include <gtest/gtest.h>

#include <vector>

#include "SetInfo.h"
#include "config/DosDateTime.h"
#include "config/SampleTrailer.h"

namespace {

TEST(ConfigBlock, EntryBytesDecodeFieldByFieldAndRecordsReadBackAsWritten) {
  std::vector<std::uint8_t> bytes(FileEntrySize, 0xCC);  // padding holds junk
  const std::uint8_t head[] = {10, 'R', 'E', 'A', 'D', 'M', 'E', '.', 'T', 'X', 'T'};
  const std::uint8_t tail[] = {0x96, 0xA5, 0x97, 0x28, 0, 0, 0, 0, 0x00, 0x10, 0, 0};
  std::copy(std::begin(head), std::end(head), bytes.begin());
  std::copy(std::begin(tail), std::end(tail), bytes.begin() + 40);
  EXPECT_EQ(DecodeFileEntry(std::span<const std::uint8_t, FileEntrySize>(bytes)),
            (FileEntry{"README.TXT", static_cast<std::int32_t>(0x2897A596u), 0, 4096}));
  EXPECT_EQ(DecodeTrailer(EncodeTrailer(SampleTrailer())), SampleTrailer());
  const FileEntry e{"A-LONGER-NAME.DAT", -1, 123, 456};
  EXPECT_EQ(DecodeFileEntry(EncodeFileEntry(e)), e);
}

TEST(ConfigBlock, LengthBytesAndSizesNeverReachPastTheData) {
  std::vector<std::uint8_t> field(40, 'x');
  for (const auto& [length, text] : {std::pair<std::uint8_t, std::string>{0, ""}, {40, std::string(39, 'x')},
                                     {255, std::string(39, 'x')}}) {  // damaged lengths are clamped to the field
    field[0] = length;
    EXPECT_EQ(DecodeLengthString(field), text) << int{length};
  }
  EXPECT_FALSE(ParseConfigBlock(std::vector<std::uint8_t>(ConfigTrailerSize - 1, 0)));
  ConfigTrailer t;
  t.FileCount = 1;
  EXPECT_FALSE(ParseConfigBlock(EncodeTrailer(t)));  // claims an entry it has no room for
  EXPECT_EQ(FileTableOffset(265, 1), std::nullopt);
  EXPECT_EQ(FileTableOffset(266, 1), 0);
}

TEST(DosDateTime, PackSplitAndLimits) {
  const DosDateTime when{2000, 4, 23, 20, 44, 44};
  EXPECT_EQ(PackDosDateTime(when), 0x2897A596u);
  EXPECT_EQ(SplitDosDateTime(0x2897A596u), when);
  EXPECT_EQ(PackDosDateTime({2000, 4, 23, 20, 44, 45}), 0x2897A596u);  // odd seconds truncate
  EXPECT_EQ(PackDosDateTime({1979, 12, 31, 23, 59, 58}), std::nullopt);
  EXPECT_EQ(PackDosDateTime({2108, 1, 1, 0, 0, 0}), std::nullopt);
  const DosDateTime last{2107, 12, 31, 23, 59, 58};
  EXPECT_EQ(SplitDosDateTime(*PackDosDateTime(last)), last);
}

}  // namespace
