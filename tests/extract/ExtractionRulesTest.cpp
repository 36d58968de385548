#include "extract/ExtractionRules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

std::vector<std::int32_t> Blocks(std::int32_t size) {
  std::vector<std::int32_t> blocks;
  std::int32_t done = 0;
  for (;;) {
    const bool last = IsLastCopyBlock(done, size);
    blocks.push_back(NextCopyBlock(done, size));
    done += blocks.back();
    if (last) return blocks;
  }
}

TEST(ExtractionRules, CopyBlocks) {
  EXPECT_EQ(Blocks(0), (std::vector<std::int32_t>{0}));
  EXPECT_EQ(Blocks(1), (std::vector<std::int32_t>{1}));
  EXPECT_EQ(Blocks(2048), (std::vector<std::int32_t>{2048}));
  EXPECT_EQ(Blocks(2049), (std::vector<std::int32_t>{2048, 1}));
  EXPECT_EQ(Blocks(4096), (std::vector<std::int32_t>{2048, 2048}));
  EXPECT_TRUE(IsLastCopyBlock(2147483000, 2147483647));  // no overflow near the limit
}

}  // namespace
