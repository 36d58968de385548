#include "dest/DirectoryRules.h"

#include <gtest/gtest.h>

#include "base/Path.h"

#include <set>
#include <string>
#include <vector>

namespace {

// A model file system: drives A to Z that the platform "knows" (Q is a
// letter without a root, which still counts), directories and plain files.
struct Model {
  std::set<std::string> Directories;
  std::set<std::string> Files;
  std::set<std::string> Searched;
  std::vector<std::string> Created;
};
Model World;

bool ModelDriveExists(char letter) { return letter >= 'A' && letter <= 'Z'; }

bool ModelFindsDirectory(const char* path) {
  World.Searched.insert(path);
  return World.Directories.count(path) != 0;
}

// Only C: and D: hold a file system; a directory needs its parent.
bool ModelMakeDirectory(const char* path) {
  const std::string parent(WithoutTrailingBackslash(DirectoryPart(path)));
  const bool parentThere = parent == "C:" || parent == "D:" || World.Directories.count(parent);
  if (!parentThere || World.Files.count(path) || World.Directories.count(path)) return false;
  World.Directories.insert(path);
  World.Created.push_back(path);
  return true;
}

constexpr PathOps Ops{ModelDriveExists, ModelFindsDirectory, ModelMakeDirectory};

class DirectoryRules : public ::testing::Test {
 protected:
  void SetUp() override { World = Model{}; }
  static bool Create(const std::string& path) { return CreateDirsWith(Ops, path); }
};

TEST(DestinationForm, CapitalDriveAndColonFirst) {
  for (const char* good : {"C:", "C:\\", "D:\\APPS\\", "Q:\\A", "Z:relative", "A:*"})
    EXPECT_TRUE(HasDestinationForm(good)) << good;
  for (const char* bad : {"", "C", "c:\\x", "1:\\x", "\\\\SERVER\\X", "CD:\\", " C:\\", "[:\\",
                          "@:\\"})
    EXPECT_FALSE(HasDestinationForm(bad)) << bad;
}

TEST(DestinationForm, WildcardsAndTrailingBackslash) {
  EXPECT_TRUE(HasWildcard("C:\\TMP*"));
  EXPECT_TRUE(HasWildcard("C:\\A?B"));
  EXPECT_FALSE(HasWildcard("C:\\A.B"));
  EXPECT_EQ(WithoutTrailingBackslash("C:\\A\\\\"), "C:\\A\\");
  EXPECT_EQ(WithoutTrailingBackslash("C:\\"), "C:");
}

TEST_F(DirectoryRules, ShortPathsAskOnlyForTheDrive) {
  EXPECT_TRUE(DirExistsWith(Ops, "C:"));
  EXPECT_TRUE(DirExistsWith(Ops, "Q:\\"));
  EXPECT_FALSE(DirExistsWith(Ops, "1:\\"));
  EXPECT_FALSE(DirExistsWith(Ops, ""));
  EXPECT_TRUE(World.Searched.empty());
}

TEST_F(DirectoryRules, LongerPathsAreSearchedWithoutOneTrailingBackslash) {
  World.Directories = {"C:\\A"};
  World.Files = {"C:\\F"};
  EXPECT_TRUE(DirExistsWith(Ops, "C:\\A\\"));
  EXPECT_TRUE(DirExistsWith(Ops, "C:\\A"));
  EXPECT_FALSE(DirExistsWith(Ops, "C:\\F"));
  EXPECT_EQ(World.Searched, (std::set<std::string>{"C:\\A", "C:\\F"}));
}

TEST_F(DirectoryRules, WildcardsAreJudgedByTheirDirectory) {
  World.Directories = {"C:\\A"};
  EXPECT_TRUE(DirExistsWith(Ops, "C:\\TMP*"));
  EXPECT_TRUE(DirExistsWith(Ops, "Q:\\TMP*"));
  EXPECT_TRUE(DirExistsWith(Ops, "C:\\A\\X?"));
  EXPECT_FALSE(DirExistsWith(Ops, "C:\\B\\X?"));
  EXPECT_FALSE(DirExistsWith(Ops, "*"));
}

TEST_F(DirectoryRules, CreatesEveryMissingLevelParentFirst) {
  EXPECT_TRUE(Create("D:\\A\\B\\C"));
  EXPECT_EQ(World.Created, (std::vector<std::string>{"D:\\A", "D:\\A\\B", "D:\\A\\B\\C"}));
  World.Created.clear();
  EXPECT_TRUE(Create("D:\\A\\B\\C\\D\\"));
  EXPECT_EQ(World.Created, (std::vector<std::string>{"D:\\A\\B\\C\\D"}));
}

TEST_F(DirectoryRules, DriveRootsCreateNothing) {
  EXPECT_TRUE(Create("C:"));
  EXPECT_TRUE(Create("C:\\"));
  EXPECT_TRUE(Create("Q:\\"));
  EXPECT_TRUE(World.Created.empty());
}

TEST_F(DirectoryRules, FailuresAreReported) {
  EXPECT_FALSE(Create("Q:\\A"));
  World.Files = {"C:\\F"};
  EXPECT_FALSE(Create("C:\\F"));
  // A file in the way of a parent: the child cannot be made either.
  EXPECT_FALSE(Create("C:\\F\\G"));
  EXPECT_TRUE(World.Created.empty());
}

TEST_F(DirectoryRules, PathsWithoutSeparatorsEnd) {
  EXPECT_FALSE(Create("ABCD"));
  // Every level is shorter than the one before, so even this ends.
  EXPECT_FALSE(Create(std::string(254, '\\')));
}

}  // namespace
