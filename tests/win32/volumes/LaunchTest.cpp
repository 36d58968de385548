#include "volumes/win32/Launch.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "Win32TestSupport.h"
#include "base/State.h"
#include "config/Configuration.h"

namespace {

// The table holds FIRST.BAT and LAST.BAT, each leaving a mark named after
// itself: an index of 0 or past the end starts neither.
TEST(LaunchTest, AnIndexBeyondTheTableStartsNothing) {
  const std::string dest = MakeScratchDir();
  DestDir = dest;
  for (const std::string name : {"FIRST", "LAST"}) {
    WriteFileBytes(dest + "\\" + name + ".BAT", "echo started > " + dest + "\\" + name + ".MRK\r\n");
    AppendFileRecord({std::string_view(name + ".BAT"), 0, 0, 0});
  }
  for (const int index : {3, 0}) {
    Config.LaunchIndex = index;
    Launch();
  }
  Sleep(1000);
  for (const std::string name : {"FIRST", "LAST"})
    EXPECT_EQ(GetFileAttributesA((dest + "\\" + name + ".MRK").c_str()), INVALID_FILE_ATTRIBUTES) << name;
  ReleaseFileTable();
  RemoveTree(dest);
}

}  // namespace
