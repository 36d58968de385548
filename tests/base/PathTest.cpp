#include "base/Path.h"

#include <gtest/gtest.h>

#include <string>

#include "base/Failure.h"
#include "base/State.h"

namespace {

TEST(PathRules, JoinSplitAndReplaceExtension) {
  // Only one trailing backslash is looked at; nothing else is normalised.
  const char* joins[][3] = {{"D:\\APPS", "S", "D:\\APPS\\S"}, {"D:\\APPS\\", "S", "D:\\APPS\\S"}, {"D:", "S", "D:\\S"},
                            {"", "S", "S"}, {"D:\\A\\\\", "X", "D:\\A\\\\X"}, {"D:/A", "X", "D:/A\\X"}};
  for (const auto& [directory, name, joined] : joins) EXPECT_EQ(JoinPath(directory, name), joined) << joined;
  const char* parts[][3] = {{"Z:\\t\\SETUP.EXE", "Z:\\t\\", "SETUP.EXE"}, {"A:SETUP.EXE", "A:", "SETUP.EXE"},
                            {"SETUP.EXE", "", "SETUP.EXE"}};
  for (const auto& [path, directory, name] : parts) {
    EXPECT_EQ(DirectoryPart(path), directory) << path;
    EXPECT_EQ(FileNamePart(path), name) << path;
  }
  const char* renames[][3] = {{"SETUP", ".01", "SETUP.01"}, {"my.setup.exe", ".03", "my.setup.03"},
                              {"A.DIR\\SETUP", ".01", "A.DIR\\SETUP.01"}, {"A.B:SETUP", ".02", "A.B:SETUP.02"}};
  for (const auto& [name, extension, renamed] : renames) EXPECT_EQ(ReplaceExtension(name, extension), renamed);
}

TEST(PathRules, APathThatDoesNotFitIsEmptyNeverCut) {
  EXPECT_EQ(JoinPath(std::string(PathCapacity - 3, 'a'), "b").size(), PathCapacity - 1);
  EXPECT_TRUE(JoinPath(std::string(PathCapacity - 2, 'a'), "b").empty());
  EXPECT_TRUE(ReplaceExtension(std::string(PathCapacity - 3, 'a'), ".01").empty());
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
  EXPECT_FALSE(Fail("Cannot write", "C:\\S", PlatformError::DiskFull));
  EXPECT_EQ(StageActive, 0);  // every stage loop stops at its next test
  Fail("Cannot close", "C:\\S", 5);
  EXPECT_STREQ(FailureText(RunFailure).c_str(), "Cannot write C:\\S: the disk is full.");
  ClearFailure();
  EXPECT_FALSE(Failed());
  EXPECT_STREQ(FailureText({DamagedSetText, "", 0}).c_str(), DamagedSetText);
  EXPECT_STREQ(FailureText({"Cannot read", "A:\\SETUP.02", 0}).c_str(), "Cannot read A:\\SETUP.02.");
  EXPECT_EQ(ErrorReason(19), "the disk is write-protected");
  EXPECT_EQ(ErrorReason(1234), "Windows error 1234");
}

}  // namespace
