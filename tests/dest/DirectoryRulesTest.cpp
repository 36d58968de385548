#include "dest/DirectoryRules.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/Path.h"

namespace {

// A model file system: every letter A to Z is a known drive (Q has no root,
// which still counts), but only C: and D: hold directories and files; a
// directory needs its parent.
std::set<std::string> Directories, Files, Searched;
std::vector<std::string> Created;

constexpr PathOps Ops{
    [](char letter) { return letter >= 'A' && letter <= 'Z'; },
    [](const char* path) { Searched.insert(path); return Directories.count(path) != 0; },
    [](const char* path) {
      const bool made = Directories.count(std::string(WithoutTrailingBackslash(DirectoryPart(path)))) &&
                        !Files.count(path) && Directories.insert(path).second;
      if (made) Created.push_back(path);
      return made;
    }};

class DirectoryRules : public ::testing::Test {
 protected:
  void SetUp() override { Directories = {"C:", "D:", "C:\\A"}, Files = {"C:\\F"}, Searched = {}, Created = {}; }
  static bool Create(const std::string& path) { return CreateDirsWith(Ops, path); }
};

TEST(DestinationForm, CapitalDriveColonAndBackslashFirstAndOneTrailingBackslashDropped) {
  for (const char* good : {"C:", "C:\\", "D:\\APPS\\", "Q:\\A", "A:\\*"})
    EXPECT_TRUE(HasDestinationForm(good)) << good;
  for (const char* bad : {"", "C", "c:\\x", "1:\\x", "\\\\SERVER\\X", "CD:\\", " C:\\", "[:\\", "@:\\",
                          "C:FOO", "Z:relative", "A:*"})  // relative to the drive's current directory
    EXPECT_FALSE(HasDestinationForm(bad)) << bad;
  EXPECT_EQ(WithoutTrailingBackslash("C:\\A\\\\"), "C:\\A\\");
  EXPECT_EQ(WithoutTrailingBackslash("C:\\"), "C:");
}

TEST_F(DirectoryRules, ShortPathsAskTheDriveLongerOnesAndWildcardsTheirDirectory) {
  for (const char* path : {"C:", "Q:\\", "C:\\TMP*", "Q:\\TMP*"}) EXPECT_TRUE(DirExistsWith(Ops, path)) << path;
  for (const char* path : {"1:\\", "", "*"}) EXPECT_FALSE(DirExistsWith(Ops, path)) << path;
  EXPECT_TRUE(Searched.empty());
  // Longer paths are searched without one trailing backslash.
  EXPECT_TRUE(DirExistsWith(Ops, "C:\\A\\"));
  EXPECT_TRUE(DirExistsWith(Ops, "C:\\A\\X?"));
  EXPECT_FALSE(DirExistsWith(Ops, "C:\\B\\X?"));
  EXPECT_FALSE(DirExistsWith(Ops, "C:\\F"));
  EXPECT_EQ(Searched, (std::set<std::string>{"C:\\A", "C:\\B", "C:\\F"}));
}

TEST_F(DirectoryRules, CreatesEveryMissingLevelParentFirstAndReportsFailures) {
  for (const char* root : {"C:", "C:\\", "Q:\\"}) EXPECT_TRUE(Create(root)) << root;
  EXPECT_TRUE(Created.empty());
  EXPECT_TRUE(Create("D:\\A\\B\\C"));
  EXPECT_EQ(Created, (std::vector<std::string>{"D:\\A", "D:\\A\\B", "D:\\A\\B\\C"}));
  EXPECT_TRUE(Create("D:\\A\\B\\C\\D\\"));
  EXPECT_EQ(Created.back(), "D:\\A\\B\\C\\D");
  EXPECT_EQ(Created.size(), 4u);
  // A file in the way of a parent: the child cannot be made either.
  for (const char* path : {"Q:\\A", "C:\\F", "C:\\F\\G", "ABCD"}) EXPECT_FALSE(Create(path)) << path;
  EXPECT_EQ(Created.size(), 4u);
  // Every level is shorter than the one before, so even this ends.
  EXPECT_FALSE(Create(std::string(254, '\\')));
}

}  // namespace
