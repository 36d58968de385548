#include "extract/ExtractionRules.h"

#include <gtest/gtest.h>

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

}  // namespace
