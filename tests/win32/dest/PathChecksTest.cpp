#include "dest/win32/PathChecks.h"

#include <gtest/gtest.h>

#include "Win32TestSupport.h"

namespace {

class PathChecks : public ::testing::Test {
 protected:
  void SetUp() override { Scratch = MakeScratchDir(); }
  void TearDown() override { RemoveTree(Scratch); }
  static bool Create(const std::string& path) { return CreateDirs(path); }
  std::string Scratch;
};

TEST_F(PathChecks, DriveLettersAsThePlatformKnowsThem) {
  EXPECT_TRUE(DriveExists('C'));
  EXPECT_TRUE(DriveExists('c'));  // upper-cased first
  EXPECT_TRUE(DriveExists('Z'));
  // No root directory (DRIVE_NO_ROOT_DIR) still counts as a drive.
  EXPECT_TRUE(DriveExists('Q'));
  EXPECT_FALSE(DriveExists('1'));
  EXPECT_FALSE(DriveExists('\\'));
  EXPECT_FALSE(DriveExists('\0'));
}

TEST_F(PathChecks, DirectoriesFilesAndWildcards) {
  WriteFileBytes(Scratch + "\\FILE.TXT", "x");
  EXPECT_TRUE(DirExists(Scratch));
  EXPECT_TRUE(DirExists(Scratch + "\\"));
  EXPECT_FALSE(DirExists(Scratch + "\\FILE.TXT"));
  EXPECT_FALSE(DirExists(Scratch + "\\MISSING"));
  EXPECT_TRUE(DirExists("C:\\TMP*"));
  EXPECT_TRUE(DirExists("Q:\\TMP*"));
  EXPECT_TRUE(DirExists(Scratch + "\\NONE?"));
  EXPECT_FALSE(DirExists(""));
}

TEST_F(PathChecks, CreatesEveryLevelOnTheRealFileSystem) {
  EXPECT_TRUE(Create(Scratch + "\\A\\B\\C"));
  EXPECT_TRUE(IsDirectory(Scratch + "\\A\\B\\C"));
  EXPECT_TRUE(Create(Scratch + "\\A\\B\\C\\"));  // already there
  EXPECT_TRUE(Create(Scratch + "\\D\\"));
  EXPECT_TRUE(IsDirectory(Scratch + "\\D"));
}

TEST_F(PathChecks, FailedCreationsAreReported) {
  WriteFileBytes(Scratch + "\\FILE", "x");
  EXPECT_FALSE(Create(Scratch + "\\FILE"));
  EXPECT_FALSE(Create(Scratch + "\\FILE\\SUB"));
  EXPECT_FALSE(Create("Q:\\A"));
  EXPECT_TRUE(Create("Q:\\"));  // never examined beyond its letter
  EXPECT_TRUE(Create("C:"));
}

}  // namespace
