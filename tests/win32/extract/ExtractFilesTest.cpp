#include "extract/win32/ExtractFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "Win32TestSupport.h"
#include "base/State.h"
#include "config/Configuration.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::string bytes;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "<missing>";
  char block[4096];
  DWORD read = 0;
  while (ReadFile(file, block, sizeof block, &read, nullptr) && read > 0) bytes.append(block, read);
  CloseHandle(file);
  return bytes;
}

SYSTEMTIME LocalWriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  FILETIME local{};
  FileTimeToLocalFileTime(&data.ftLastWriteTime, &local);
  SYSTEMTIME when{};
  FileTimeToSystemTime(&local, &when);
  return when;
}

// 96 A5 97 28 as stored in a FileEntry: 23 April 2000, 20:44:44.
constexpr std::int32_t April2000 = 0x2897A596;

class ExtractFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Dest = MakeScratchDir();
    DestDir = Dest;
    ClearFailure();
    for (int i = 0; i < 5000; ++i) Stream += static_cast<char>('A' + i % 23);
    WriteFileBytes(Source(), Stream);
    StageActive = 1;
  }
  void TearDown() override {
    ReleaseFileTable();
    SetFileAttributesA((Dest + "\\RO.TXT").c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveTree(Dest);
  }
  std::string Source() const { return Dest + "\\Compress.Spt"; }
  std::string Installed(const std::string& name) const { return Dest + "\\" + name; }
  void Extract() {
    GuardedFile source;
    ASSERT_TRUE(OpenGuarded(source, Source(), GENERIC_READ | GENERIC_WRITE, ShareReadWrite,
                            OPEN_EXISTING));
    ExtractFiles(source);
    EXPECT_FALSE(Failed());
  }
  std::string Dest;
  std::string Stream;
};

TEST_F(ExtractFilesTest, EntriesAreCutOutAndDated) {
  AppendFileRecord({"EMPTY.TXT", April2000, 0, 0});
  AppendFileRecord({"ONE.BIN", April2000, 0, 2048});
  AppendFileRecord({"MORE.BIN", April2000, 100, 2049});
  Extract();
  EXPECT_EQ(StageActive, 1);
  EXPECT_EQ(ReadAll(Installed("EMPTY.TXT")), "");
  EXPECT_EQ(ReadAll(Installed("MORE.BIN")), Stream.substr(100, 2049));
  const SYSTEMTIME when = LocalWriteTime(Installed("MORE.BIN"));
  EXPECT_EQ(when.wYear, 2000);
  EXPECT_EQ(when.wMonth, 4);
  EXPECT_EQ(when.wDay, 23);
  EXPECT_EQ(when.wHour, 20);
  EXPECT_EQ(when.wMinute, 44);
  EXPECT_EQ(when.wSecond, 44);
}

TEST_F(ExtractFilesTest, NamesOutsideDestDirAreSkipped) {
  for (const char* name : {"..\\UP.TXT", "SUB\\IN.TXT", "C:X.TXT", ".", ""})
    AppendFileRecord({name, April2000, 0, 10});
  AppendFileRecord({"PLAIN.TXT", April2000, 0, 10});
  Extract();
  EXPECT_EQ(StageActive, 1);
  EXPECT_FALSE(FileExists(Dest + "\\..\\UP.TXT"));
  EXPECT_EQ(ReadAll(Installed("PLAIN.TXT")), Stream.substr(0, 10));
}

TEST_F(ExtractFilesTest, AnEntryPastTheStreamIsRemovedAndStopsTheStage) {
  AppendFileRecord({"SHORT.BIN", April2000, 4000, 2000});
  AppendFileRecord({"NEGATIVE.BIN", April2000, -1, 10});
  AppendFileRecord({"AFTER.TXT", April2000, 0, 3});
  Extract();
  EXPECT_EQ(StageActive, 0);
  EXPECT_FALSE(FileExists(Installed("SHORT.BIN")));
  EXPECT_FALSE(FileExists(Installed("NEGATIVE.BIN")));
  EXPECT_EQ(ReadAll(Installed("AFTER.TXT")), "ABC");  // the extraction runs to its end
}

TEST_F(ExtractFilesTest, StampingKeepsTheReadOnlyAttribute) {
  const std::string path = Installed("RO.TXT");
  WriteFileBytes(path, "x");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
  StampFileDate(path.c_str(), April2000);
  EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY,
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(LocalWriteTime(path).wYear, 2000);
  // A file that is not there is left alone, without a failure.
  StampFileDate(Installed("NONE.TXT").c_str(), April2000);
  EXPECT_FALSE(Failed());
}

}  // namespace
