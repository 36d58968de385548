#include "config/Configuration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/SampleTrailer.h"

namespace {

TEST(Configuration, StoringTheTrailerFillsValuesAndTexts) {
  ConfigTrailer t = SampleTrailer();
  t.TitleColourIndex = 99;  // clamped to white
  t.DefaultDestDir = "";
  Configuration config;
  MessageTableTexts texts;
  StoreTrailer(t, config, texts);
  EXPECT_EQ(texts.Caption, "Setup");
  EXPECT_EQ(texts.TitleText, "Setup");
  EXPECT_EQ(texts.DefaultDir, "");
  EXPECT_EQ(config.TitleFontFace, "Arial");
  EXPECT_EQ(config.TitleHeight, 2);  // 43 x 6 wraps in one byte
  EXPECT_EQ(config.GradientTopColour, (Rgb{0, 0, 255}));
  EXPECT_EQ(config.TitleColour, (Rgb{255, 255, 255}));
  EXPECT_EQ(config.LaunchIndex, 2);
  EXPECT_EQ(config.SplitSize, 3000000);
  EXPECT_STREQ(texts.SplitName, "Split.Spt");  // texts the block does not replace stay built in
}

TEST(FileTable, KeepsTheBlockOrderCountsFromOneAndReleasesAFullTable) {
  for (int k = 0; k < 255; ++k) ASSERT_TRUE(AppendFileRecord({"A.TXT", 0, k, 0}));
  EXPECT_EQ(FileTableLength(), 255);
  EXPECT_EQ(FileRecordAt(1)->Entry.Offset, 0);
  EXPECT_EQ(FileRecordAt(255)->Entry.Offset, 254);
  EXPECT_EQ(FileRecordAt(0), nullptr);
  EXPECT_EQ(FileRecordAt(256), nullptr);
  ReleaseFileTable();
  EXPECT_EQ(FileTable, nullptr);
}

// Upper-cases ASCII and, as code page 1252 does, E9 (e acute) to C9.
void UpperCase1252(char* text, std::size_t length) {
  for (std::size_t k = 0; k < length; ++k) {
    if (text[k] >= 'a' && text[k] <= 'z') text[k] = static_cast<char>(text[k] - 'a' + 'A');
    if (text[k] == '\xE9') text[k] = '\xC9';
  }
}

struct TableCase {
  const char* Why;
  std::vector<FileEntry> Entries;
  bool Sound;
};

// One check of the whole table before anything is created: the last entry
// is as able to make the set damaged as the first.
TEST(FileTable, IsSoundOnlyWithPlainDistinctNamesInsideTheStream) {
  const TableCase cases[] = {
      {"plain", {{"A.TXT", 0, 0, 60}, {"B.TXT", 0, 60, 40}, {"EMPTY", 0, 100, 0}}, true},
      {"up to the end", {{"A.TXT", 0, 0, 100}}, true},
      {"a temporary", {{"A.TXT", 0, 0, 10}, {"COMPRESS.SPT", 0, 10, 10}}, false},
      {"the other temporary", {{"split.spt", 0, 0, 10}}, false},
      {"a device", {{"A.TXT", 0, 0, 10}, {"NUL .TXT", 0, 10, 10}}, false},
      {"twins", {{"CAFE.TXT", 0, 0, 10}, {"cafe.txt", 0, 10, 10}}, false},
      {"twins in 1252", {{"caf\xE9", 0, 0, 10}, {"CAF\xC9", 0, 10, 10}}, false},
      {"past the stream", {{"A.TXT", 0, 0, 10}, {"B.TXT", 0, 10, 91}}, false},
      {"negative offset", {{"A.TXT", 0, -1, 10}}, false},
      {"negative size", {{"A.TXT", 0, 50, -1}}, false},
      {"no overflow", {{"A.TXT", 0, 2147483647, 2147483647}}, false},
      {"subfolders", {{"BIN\\A.EXE", 0, 0, 10}, {"BIN\\SPLIT.SPT", 0, 10, 10}, {"BINARY", 0, 20, 1}}, true},
      {"a file where a folder goes", {{"BIN", 0, 0, 10}, {"bin\\A.EXE", 0, 10, 10}}, false},
      {"the same the other way", {{"DOCS\\A\\B.TXT", 0, 0, 10}, {"docs\\a", 0, 10, 10}}, false},
      {"climbing out", {{"BIN\\..\\..\\A.EXE", 0, 0, 10}}, false},
  };
  for (const TableCase& c : cases) {
    for (const FileEntry& entry : c.Entries) ASSERT_TRUE(AppendFileRecord(entry));
    EXPECT_EQ(FileTableIsSound(100, NoLeadBytes, UpperCase1252), c.Sound) << c.Why;
    ReleaseFileTable();
  }
}

}  // namespace
