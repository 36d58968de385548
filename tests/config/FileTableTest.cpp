#include "config/FileTable.h"

#include <gtest/gtest.h>

namespace {

class FileTableTest : public ::testing::Test {
 protected:
  void TearDown() override { ReleaseFileTable(); }
};

TEST_F(FileTableTest, KeepsTheOrderOfTheBlockAndCountsFromOne) {
  AppendFileRecord({"A.TXT", 1, 0, 10});
  AppendFileRecord({"B.TXT", 2, 10, 20});
  AppendFileRecord({"C.TXT", 3, 30, 5});
  EXPECT_EQ(FileTableLength(), 3);
  EXPECT_EQ(FileRecordAt(1)->Entry.Name, "A.TXT");
  EXPECT_EQ(FileRecordAt(3)->Entry.Offset, 30);
  EXPECT_EQ(FileRecordAt(0), nullptr);
  EXPECT_EQ(FileRecordAt(4), nullptr);
}

TEST_F(FileTableTest, ReleaseEmptiesAFullTable) {
  for (int i = 0; i < 255; ++i) AppendFileRecord({});
  EXPECT_EQ(FileTableLength(), 255);
  ReleaseFileTable();
  EXPECT_EQ(FileTable, nullptr);
  EXPECT_EQ(FileRecordAt(1), nullptr);
}

}  // namespace
