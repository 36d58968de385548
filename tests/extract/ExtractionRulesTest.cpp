#include "extract/ExtractionRules.h"

#include <gtest/gtest.h>

#include "config/Configuration.h"
#include "extract/SkippedFiles.h"

#include <cstdint>
#include <vector>

namespace {

TEST(CopyBlocks, AreFullUntilTheLastWithoutOverflowNearTheLimit) {
  const std::pair<std::int32_t, std::vector<std::int32_t>> cases[] = {
      {0, {0}}, {1, {1}}, {2048, {2048}}, {2049, {2048, 1}}, {4096, {2048, 2048}}};
  for (const auto& [size, expected] : cases) {
    std::vector<std::int32_t> blocks;
    bool last = false;
    for (std::int32_t done = 0; !last; done += blocks.back()) {
      last = IsLastCopyBlock(done, size);
      blocks.push_back(NextCopyBlock(done, size));
    }
    EXPECT_EQ(blocks, expected) << size;
  }
  EXPECT_TRUE(IsLastCopyBlock(2147483000, 2147483647));  // no overflow near the limit
}

// The final box after Ignore names where the rest went and what is missing,
// ten names at most.
TEST(SkippedFiles, TheBoxNamesTheDestinationAndTheFilesLeftOut) {
  for (int k = 1; k <= 13; ++k) {
    std::string name = "FILE" + std::to_string(k) + ".TXT";
    AppendFileRecord({name.c_str(), 0, 0, 0});
  }
  for (int k : {2, 5}) const_cast<FileRecord*>(FileRecordAt(k))->Skipped = true;
  EXPECT_EQ(std::string(SkippedFilesText("C:\\APP", FileTable).c_str()),
            "Not all files could be installed into directory\r\nC:\\APP\r\n"
            "These were left out:\r\nFILE2.TXT\r\nFILE5.TXT");
  for (int k = 1; k <= 13; ++k) const_cast<FileRecord*>(FileRecordAt(k))->Skipped = true;
  const std::string all = SkippedFilesText("C:\\APP", FileTable).c_str();
  EXPECT_NE(all.find("\r\nFILE10.TXT\r\nand 3 more"), std::string::npos) << all;
  EXPECT_EQ(all.find("FILE11.TXT"), std::string::npos);
  ReleaseFileTable();
}

}  // namespace
