#include "volumes/Launch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "Win32TestSupport.h"
#include "config/Configuration.h"
#include "config/FileTable.h"
#include "driver/ProcessState.h"

namespace {

class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DestDir = MakeScratchDir();
    // Each batch file leaves a mark named after itself.
    for (const char* name : {"FIRST", "LAST"}) {
      WriteFileBytes(DestDir + "\\" + name + ".BAT",
                     std::string("echo started > ") + DestDir + "\\" + name + ".MRK\r\n");
      AppendFileRecord({std::string(name) + ".BAT", 0, 0, 0});
    }
  }
  void TearDown() override {
    ReleaseFileTable();
    RemoveTree(DestDir);
  }
  bool MarkAppears(const char* name) {
    for (int waited = 0; waited < 15000; waited += 100) {
      if (FileExists(DestDir + "\\" + name + ".MRK")) return true;
      Sleep(100);
    }
    return false;
  }
};

TEST_F(LaunchTest, StartsTheEntryThatLaunchIndexCounts) {
  Config.LaunchIndex = 2;
  Launch();
  EXPECT_TRUE(MarkAppears("LAST"));
  EXPECT_FALSE(FileExists(DestDir + "\\FIRST.MRK"));
}

TEST_F(LaunchTest, AnIndexBeyondTheTableStartsNothing) {
  Config.LaunchIndex = 3;
  Launch();
  Config.LaunchIndex = 0;
  Launch();
  Sleep(1000);
  EXPECT_FALSE(FileExists(DestDir + "\\FIRST.MRK"));
  EXPECT_FALSE(FileExists(DestDir + "\\LAST.MRK"));
}

}  // namespace
