#include "driver/JoinPath.h"

#include <gtest/gtest.h>

namespace {

TEST(JoinPath, OneBackslashBetweenDirectoryAndName) {
  EXPECT_EQ(JoinPath("D:\\APPS", "Split.Spt"), "D:\\APPS\\Split.Spt");
  EXPECT_EQ(JoinPath("D:\\APPS\\", "Split.Spt"), "D:\\APPS\\Split.Spt");
  EXPECT_EQ(JoinPath("D:", "Split.Spt"), "D:\\Split.Spt");
  EXPECT_EQ(JoinPath("", "Split.Spt"), "Split.Spt");
  // Only one trailing backslash is looked at; nothing else is normalised.
  EXPECT_EQ(JoinPath("D:\\APPS\\\\", "X"), "D:\\APPS\\\\X");
  EXPECT_EQ(JoinPath("D:/APPS", "X"), "D:/APPS\\X");
}

TEST(JoinPath, DirectoryAndNameParts) {
  EXPECT_EQ(DirectoryPart("Z:\\tmp\\set\\SETUP.EXE"), "Z:\\tmp\\set\\");
  EXPECT_EQ(FileNamePart("Z:\\tmp\\set\\SETUP.EXE"), "SETUP.EXE");
  EXPECT_EQ(DirectoryPart("A:SETUP.EXE"), "A:");
  EXPECT_EQ(FileNamePart("A:SETUP.EXE"), "SETUP.EXE");
  EXPECT_EQ(DirectoryPart("SETUP.EXE"), "");
}

}  // namespace
