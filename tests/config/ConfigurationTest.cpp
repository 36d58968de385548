#include "config/Configuration.h"

#include <gtest/gtest.h>

#include "config/SampleTrailer.h"

namespace {

TEST(Configuration, TitleHeightWrapsInOneByte) {
  for (const auto& [size, height] : {std::pair{20, 120}, {42, 252}, {43, 2}, {50, 44}})
    EXPECT_EQ(TitleHeightFor(size), height) << size;
}

TEST(Configuration, StoringTheTrailerFillsValuesAndTexts) {
  ConfigTrailer t = SampleTrailer();
  t.TitleColourIndex = 99;  // clamped to white
  t.TitleSize = 20;
  t.DefaultDestDir = "";
  Configuration config;
  MessageTableTexts texts;
  StoreTrailer(t, config, texts);
  EXPECT_EQ(texts.Caption, "Setup");
  EXPECT_EQ(texts.TitleText, "Setup");
  EXPECT_EQ(texts.DefaultDir, "");
  EXPECT_EQ(config.TitleFontFace, "Arial");
  EXPECT_EQ(config.TitleHeight, 120);
  EXPECT_EQ(config.GradientTopColour, (Rgb{0, 0, 255}));
  EXPECT_EQ(config.TitleColour, (Rgb{255, 255, 255}));
  EXPECT_EQ(config.LaunchIndex, 2);
  EXPECT_EQ(config.SplitSize, 3000000);
  EXPECT_STREQ(texts.SplitName, "Split.Spt");  // texts the block does not replace stay built in
}

TEST(FileTable, KeepsTheBlockOrderCountsFromOneAndReleasesAFullTable) {
  ASSERT_TRUE(AppendFileRecord({"A.TXT", 1, 0, 10}));
  AppendFileRecord({"B.TXT", 2, 10, 20});
  AppendFileRecord({"C.TXT", 3, 30, 5});
  EXPECT_EQ(FileRecordAt(1)->Entry.Name, "A.TXT");
  EXPECT_EQ(FileRecordAt(3)->Entry.Offset, 30);
  EXPECT_EQ(FileRecordAt(0), nullptr);
  EXPECT_EQ(FileRecordAt(4), nullptr);
  for (int i = 3; i < 255; ++i) AppendFileRecord({});
  EXPECT_EQ(FileTableLength(), 255);
  ReleaseFileTable();
  EXPECT_EQ(FileTable, nullptr);
}

}  // namespace
