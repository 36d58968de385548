#include "base/Path.h"

#include <gtest/gtest.h>

#include "base/Failure.h"
#include "base/State.h"

#include <string>

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

TEST(JoinPath, APathThatDoesNotFitIsEmptyNeverCut) {
  const std::string directory = "C:\\" + std::string(240, 'D');
  EXPECT_EQ(JoinPath(directory, "Split.Spt").size(), directory.size() + 10);
  // A cut path could name another file; an empty one names none.
  EXPECT_TRUE(JoinPath(directory, "Compress.Spt" + std::string(10, 'x')).empty());
  EXPECT_EQ(JoinPath(std::string(PathCapacity - 3, 'a'), "b").size(), PathCapacity - 1);
  EXPECT_TRUE(JoinPath(std::string(PathCapacity - 2, 'a'), "b").empty());
}

TEST(PathParts, DirectoryNameAndExtension) {
  EXPECT_EQ(DirectoryPart("Z:\\tmp\\set\\SETUP.EXE"), "Z:\\tmp\\set\\");
  EXPECT_EQ(FileNamePart("Z:\\tmp\\set\\SETUP.EXE"), "SETUP.EXE");
  EXPECT_EQ(DirectoryPart("A:SETUP.EXE"), "A:");
  EXPECT_EQ(FileNamePart("A:SETUP.EXE"), "SETUP.EXE");
  EXPECT_EQ(DirectoryPart("SETUP.EXE"), "");
  EXPECT_EQ(ReplaceExtension("SETUP", ".01"), "SETUP.01");
  EXPECT_EQ(ReplaceExtension("my.setup.exe", ".03"), "my.setup.03");
  EXPECT_EQ(ReplaceExtension("A.DIR\\SETUP", ".01"), "A.DIR\\SETUP.01");
  EXPECT_EQ(ReplaceExtension("A.B:SETUP", ".02"), "A.B:SETUP.02");
}

TEST(FixedText, CutsToItsFieldAndSaysSo) {
  FixedText<5> text;
  EXPECT_TRUE(text.Assign("abcd"));
  EXPECT_FALSE(text.Append("e"));
  EXPECT_EQ(text, "abcd");
  EXPECT_FALSE(text.Assign("123456"));
  EXPECT_EQ(text, "1234");
  char digits[12];
  EXPECT_EQ(FormatDecimal(0, digits), 1u);
  EXPECT_STREQ(digits, "0");
  FormatDecimal(-2147483647 - 1, digits);
  EXPECT_STREQ(digits, "-2147483648");
}

TEST(Failure, TheFirstIsKeptAndSaysWhatFailedAndWhere) {
  ClearFailure();
  StageActive = 1;
  EXPECT_FALSE(Fail("Cannot write", "C:\\APPS\\Split.Spt", PlatformError::DiskFull));
  EXPECT_EQ(StageActive, 0);  // every stage loop stops at its next test
  Fail("Cannot close", "C:\\APPS\\Split.Spt", 5);
  EXPECT_STREQ(FailureText(RunFailure).c_str(), "Cannot write C:\\APPS\\Split.Spt: the disk is full.");
  ClearFailure();
  EXPECT_FALSE(Failed());
  EXPECT_STREQ(FailureText({DamagedSetText, "", 0}).c_str(), DamagedSetText);
  EXPECT_STREQ(FailureText({"Cannot read", "A:\\SETUP.02", 0}).c_str(), "Cannot read A:\\SETUP.02.");
  EXPECT_EQ(ErrorReason(19), "the disk is write-protected");
  EXPECT_EQ(ErrorReason(1234), "Windows error 1234");
}

}  // namespace
