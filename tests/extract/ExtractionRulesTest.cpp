#include "extract/ExtractionRules.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/Configuration.h"
#include "extract/SkippedFiles.h"

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

// The final box after Ignore names where the rest went and the files left
// out, ten at most and a count of the others.
TEST(SkippedFiles, TheBoxNamesTheDestinationAndUpToTenFilesLeftOut) {
  for (int k = 1; k <= 13; ++k) AppendFileRecord({("FILE" + std::to_string(k) + ".TXT").c_str(), 0, 0, 0});
  const auto box = [](const std::function<bool(int)>& skipped) {
    int k = 1;
    for (FileRecord* r = FileTable; r; r = r->Next) r->Skipped = skipped(k++);
    return std::string(SkippedFilesText("C:\\APP", FileTable).c_str());
  };
  EXPECT_EQ(box([](int k) { return k == 2 || k == 5; }),
            "Not all files could be installed into directory\r\nC:\\APP\r\nThese were left out:\r\nFILE2.TXT\r\nFILE5.TXT");
  EXPECT_TRUE(box([](int k) { return k <= 11; }).ends_with("\r\nFILE10.TXT\r\nand 1 more"));
  EXPECT_TRUE(box([](int) { return true; }).ends_with("\r\nFILE10.TXT\r\nand 3 more"));
  ReleaseFileTable();
}

}  // namespace
