#include "config/win32/ReadConfigBlock.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "Win32TestSupport.h"
#include "base/Crc32.h"
#include "base/State.h"
#include "config/Configuration.h"
#include "config/SampleTrailer.h"
#include "config/VerificationRecord.h"

namespace {

std::string Bytes(const auto& record) { return std::string(record.begin(), record.end()); }

// A trailer announcing `files` entries, the rest as in SampleTrailer.
std::string TrailerBytes(int files) {
  ConfigTrailer t = SampleTrailer();
  t.FileCount = files;
  return Bytes(EncodeTrailer(t));
}

class ReadConfigBlockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Config = {};
    MessageTable = {};
    StageActive = 0;
    Scratch = MakeScratchDir();
    Stub = Scratch + "\\SETUP.EXE";
  }
  void TearDown() override {
    ReleaseFileTable();
    ClearFailure();
    RemoveTree(Scratch);
  }
  // Fails as the run does: false, the failure recorded naming the file.
  void ExpectFailure(const std::string& path, const char* what) {
    ClearFailure();
    EXPECT_FALSE(ReadConfigBlock(path));
    EXPECT_STREQ(RunFailure.What, what);
    EXPECT_EQ(RunFailure.Subject, path);
  }
  std::string Scratch, Stub;
};

// Field by field from the file's end, while another program holds it open
// for writing; the table in block order. How each field is stored is
// ConfigurationTest's: the first and last show where the reading starts and
// that no field was skipped or read at the wrong width.
TEST_F(ReadConfigBlockTest, FillsValuesTextsAndTableFromAFileBeingWritten) {
  const FileEntry readme{"README.TXT", 0x2897A596, 0, 4096};
  const FileEntry second{"APP.EXE", 0, 4096, 10};
  WriteFileBytes(Stub, "MZ program image" + Bytes(EncodeFileEntry(readme)) +
                           Bytes(EncodeFileEntry(second)) + TrailerBytes(2));
  const HANDLE writer = CreateFileA(Stub.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(ReadConfigBlock(Stub));
  CloseHandle(writer);
  EXPECT_EQ(Config.FileCount, 2);
  EXPECT_EQ(MessageTable.DefaultDir, "C:\\APPS\\GAME");
  EXPECT_EQ(StageActive, 1);
  ASSERT_EQ(FileTableLength(), 2);
  EXPECT_EQ(FileRecordAt(1)->Entry, readme);
  EXPECT_EQ(FileRecordAt(2)->Entry, second);
}

// A stub of `image` bytes, a verification record of `version` for
// `volumes` volumes and one file, the one-entry table and SampleTrailer (3
// volumes).
std::string StubWithRecord(const std::string& image, int volumes, std::uint16_t version = 2) {
  const std::string block = Bytes(EncodeFileEntry({"README.TXT", 0, 0, 10})) + TrailerBytes(1);
  VerificationRecord record;
  record.Version = version;
  record.StubSize = static_cast<std::uint32_t>(image.size());
  record.VolumeCount = static_cast<std::uint16_t>(volumes);
  record.FileCount = 1;
  record.BlockCrc = UpdateCrc32(0, reinterpret_cast<const std::uint8_t*>(block.data()), block.size());
  for (int i = 0; i < volumes; ++i) record.VolumeCrc[i] = 0xC0DE0000u + static_cast<std::uint32_t>(i);
  std::string bytes(VerificationRecordSize(record.VolumeCount, record.FileCount, version), '\0');
  EncodeVerificationRecord(record, std::span(reinterpret_cast<std::uint8_t*>(bytes.data()), bytes.size()));
  return image + bytes + block;
}

// The same with the record's version set to `version`, its own CRC made right.
std::string WithRecordVersion(std::string stub, std::size_t recordAt, std::size_t recordSize, char version) {
  stub[recordAt + 8] = version;
  const std::uint32_t crc =
      UpdateCrc32(0, reinterpret_cast<const std::uint8_t*>(stub.data()) + recordAt, recordSize - 4);
  for (int i = 0; i < 4; ++i) stub[recordAt + recordSize - 4 + i] = static_cast<char>(crc >> (8 * i));
  return stub;
}

TEST_F(ReadConfigBlockTest, KeepsTheVolumeCrcsOfASoundRecordOfEitherVersion) {
  for (const std::uint16_t version : {1, 2}) {
    WriteFileBytes(Stub, StubWithRecord("MZ program image", 3, version));
    ASSERT_TRUE(ReadConfigBlock(Stub)) << version;
    ASSERT_EQ(VerifiedVolumeCount, 3);
    EXPECT_EQ(VolumeCrc[0], 0xC0DE0000u);
    EXPECT_EQ(VolumeCrc[2], 0xC0DE0002u);
    EXPECT_EQ(FileTableLength(), 1);
  }
  // No record (with bytes before the trailer or without), and a whole one
  // of a later version: the set installs unchecked.
  const std::string later = WithRecordVersion(StubWithRecord("MZ program image", 3), 16, VerificationRecordSize(3, 1), 3);
  for (const std::string& bytes : {later, std::string(100, 'M') + TrailerBytes(0), TrailerBytes(0)}) {
    WriteFileBytes(Stub, bytes);
    ASSERT_TRUE(ReadConfigBlock(Stub)) << bytes.size() << " bytes";
    EXPECT_EQ(VerifiedVolumeCount, 0) << bytes.size() << " bytes";
  }
  // The last, a bare trailer, leaves the table empty.
  EXPECT_EQ(FileTable, nullptr);
}

// A record that fails its own CRC, counts other volumes, or (version 2)
// finds the table or the trailer changed: the installer is damaged.
TEST_F(ReadConfigBlockTest, ADamagedRecordOrTableFailsTheRun) {
  std::string crc = StubWithRecord("MZ program image", 3), table = crc, title = crc;
  crc[20] ^= 1;
  table[table.size() - ConfigTrailerSize - FileEntrySize + 1] = 'X';  // XEADME.TXT
  title[title.size() - ConfigTrailerSize + 12] ^= 0x20;               // the title's first letter
  for (const std::string& bytes : {crc, StubWithRecord("MZ program image", 2), table, title}) {
    WriteFileBytes(Stub, bytes);
    ExpectFailure(Stub, "The installer is damaged (get a good copy of disk 1):");
  }
}

TEST_F(ReadConfigBlockTest, FilesTooShortOrMissingFailSilently) {
  ExpectFailure(Scratch + "\\MISSING.EXE", "Cannot open");
  WriteFileBytes(Stub, std::string(ConfigTrailerSize - 1, '\0'));
  ExpectFailure(Stub, "No configuration block in");
  // Room for the trailer but not for the 255 records it announces.
  WriteFileBytes(Stub, std::string(100, 'x') + TrailerBytes(255));
  ExpectFailure(Stub, "No room for the file table in");
  // The file is closed again after a failure: it can be deleted.
  EXPECT_TRUE(DeleteFileA(Stub.c_str()));
}

}  // namespace
