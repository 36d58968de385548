#include "volumes/win32/Launch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "Win32TestSupport.h"
#include "base/State.h"
#include "config/Configuration.h"

namespace {

class LaunchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dest = MakeScratchDir();
    DestDir = Dest;
    // Each batch file leaves a mark named after itself.
    for (const char* name : {"FIRST", "LAST"}) {
      WriteFileBytes(Dest + "\\" + name + ".BAT",
                     std::string("echo started > ") + Dest + "\\" + name + ".MRK\r\n");
      const std::string batch = std::string(name) + ".BAT";
      AppendFileRecord({std::string_view(batch), 0, 0, 0});
    }
  }
  void TearDown() override {
    ReleaseFileTable();
    RemoveTree(Dest);
  }
  std::string Dest;
};

TEST_F(LaunchTest, AnIndexBeyondTheTableStartsNothing) {
  Config.LaunchIndex = 3;
  Launch();
  Config.LaunchIndex = 0;
  Launch();
  Sleep(1000);
  EXPECT_FALSE(FileExists(Dest + "\\FIRST.MRK"));
  EXPECT_FALSE(FileExists(Dest + "\\LAST.MRK"));
}

}  // namespace
