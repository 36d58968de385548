// Sets carry the CRC-32s of the installer, its file table, every volume and
// every file, and --test and extraction hold to them; sets without a record
// still work, and a damaged record is a damaged installer.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "SetInfo.h"
#include "ToolTestSupport.h"
#include "config/VerificationRecord.h"
#include "volumes/VolumeRules.h"

namespace tooltest {
namespace {

// A small file at the front of the stream, a large one over most volumes and one at the end.
const ToolTest::Files ThreeFiles = {
    {"FIRST.TXT", MixedBytes(4000, 1)}, {"MIDDLE.BIN", RandomBytes(100000, 2)}, {"LAST.TXT", MixedBytes(30000, 3)}};

void FlipByte(const fs::path& file, std::size_t at) {
  Bytes bytes = Slurp(file);
  ASSERT_LT(at, bytes.size()) << file;
  bytes[at] ^= 0x10;
  Spill(file, bytes);
}

// Changes the record of `setup` in place; its own CRC is made right again.
void RewriteRecord(const fs::path& setup, const std::function<void(VerificationRecord&)>& change) {
  const SetInfo set = ReadSetInfo(setup);
  ASSERT_TRUE(set.Record);
  VerificationRecord record = *set.Record;
  change(record);
  Bytes bytes = Slurp(setup);
  const auto place = std::span(bytes).subspan(set.Record->StubSize, VerificationRecordSize(record.VolumeCount, record.FileCount));
  ASSERT_TRUE(EncodeVerificationRecord(record, place));
  Spill(setup, bytes);
}

class Checksums : public ToolTest {
 protected:
  Checksums() : ToolTest(DISKSPAN_PACK, DISKSPAN_EXTRACT) {}
  fs::path VolumePath(int disk) const { return dir / "set" / VolumeFileName("SETUP.EXE", disk).c_str(); }
};

// A file kept because it exists is not decoded: lying on the damaged
// volume, it is not named as needing it.
TEST_F(Checksums, ADamagedVolumeIsNamedWithItsDiskAndNothingThatNeedsItIsWritten) {
  PackSet(ThreeFiles, "--volume-size 25000", "good");
  const int volumes = ReadSetInfo(Setup("good")).VolumeCount();
  ASSERT_GE(volumes, 5);
  for (const int disk : {1, volumes / 2 + 1, volumes}) {
    fs::remove_all(dir / "set"), fs::remove_all(dir / "out");
    fs::copy(dir / "good", dir / "set");
    // A volume copied from a FAT disk may have changed case: it is named as found.
    const fs::path volume = disk == volumes ? dir / "set" / ("setup.0" + std::to_string(disk)) : VolumePath(disk);
    fs::rename(VolumePath(disk), volume);
    FlipByte(volume, fs::file_size(volume) / 2);
    const std::string damaged =
        volume.filename().string() + " is damaged (CRC mismatch): get a good copy of disk " + std::to_string(disk);

    const std::string needs = " needs disk " + std::to_string(disk) + ", which is damaged: not ";
    EXPECT_TRUE(Ends(Extract("-t " + Setup()), 1, {"diskspan-extract: " + damaged + "\n", "LAST.TXT" + needs + "tested\n"}));
    fs::create_directories(dir / "out");
    Spill(dir / "out" / "LAST.TXT", Bytes(4, 'k'));
    const RunResult extracted = ExtractTo(Setup());
    EXPECT_TRUE(Ends(extracted, 1, {damaged}));
    // Each file is written whole and right, or named and not written: FIRST.TXT
    // lies in volume 1, MIDDLE.BIN over the middle ones, LAST.TXT at the end.
    for (const auto& [name, data] : ThreeFiles) {
      const bool written = name != "LAST.TXT" && fs::exists(dir / "out" / name);
      EXPECT_EQ(written ? Slurp(dir / "out" / name) : data, data) << name;
      EXPECT_NE(written || name == "LAST.TXT", Has(extracted, name + needs + "written")) << name << ", " << disk;
    }
    EXPECT_EQ(fs::exists(dir / "out" / "FIRST.TXT"), disk != 1) << disk;
    EXPECT_FALSE(disk != volumes && fs::exists(dir / "out" / "MIDDLE.BIN")) << disk;
    EXPECT_EQ(Slurp(dir / "out" / "LAST.TXT"), Bytes(4, 'k')) << disk;
  }
}

TEST_F(Checksums, ADamagedInstallerOrFileIsNamedAndEveryOtherFileComesBack) {
  PackSet(ThreeFiles, "--volume-size 60000");
  FlipByte(Setup(), 100);  // in the stub: everything still comes back
  const std::string installer = "diskspan-extract: SETUP.EXE is damaged (CRC mismatch): get a good copy of disk 1\n";
  EXPECT_EQ(Extract("-t " + Setup()), (RunResult{1, installer}));
  EXPECT_TRUE(Ends(ExtractTo(Setup()), 1, {installer}));
  for (const auto& [name, data] : ThreeFiles) EXPECT_EQ(Slurp(dir / "out" / name), data) << name;

  FlipByte(Setup(), 100);  // mended; now the middle file fails its CRC
  RewriteRecord(Setup(), [](VerificationRecord& record) { record.FileCrc[1] ^= 0x00800000; });
  fs::remove_all(dir / "out");
  const std::string file = "diskspan-extract: MIDDLE.BIN is damaged (CRC mismatch)\n";
  EXPECT_EQ(Extract("-t " + Setup()), (RunResult{1, file}));
  EXPECT_TRUE(Ends(Extract("-t -v " + Setup()), 1, {"FIRST.TXT: OK\nMIDDLE.BIN: damaged (CRC mismatch)\nLAST.TXT: OK\n"}));
  EXPECT_TRUE(Ends(Extract("-t " + Setup() + " first.txt '[lL]ast.*' MISSING.DOC"), 4, {"'MISSING.DOC' matches no file"}));
  EXPECT_TRUE(Ends(Extract("-t " + Setup() + " '*.bin'"), 1));
  EXPECT_TRUE(Ends(ExtractTo(Setup()), 1, {file, "2 files written to"}));
  EXPECT_EQ(Slurp(dir / "out" / "FIRST.TXT"), ThreeFiles[0].second);
  EXPECT_EQ(Slurp(dir / "out" / "LAST.TXT"), ThreeFiles[2].second);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), {}), 2);  // no temporary left either
}

TEST_F(Checksums, SetsWithoutARecordReadAsBeforeAndADamagedRecordIsADamagedInstaller) {
  for (const char* name : {"with", "damaged", "misplaced"}) PackSet(ThreeFiles, "--volume-size 60000", name);
  PackSet(ThreeFiles, "--volume-size 60000 --no-checksums");
  const SetInfo with = ReadSetInfo(Setup("with")), without = ReadSetInfo(Setup());
  EXPECT_EQ(with.Trailer, without.Trailer);
  EXPECT_EQ(with.Entries, without.Entries);
  EXPECT_TRUE(with.Record && !without.Record);
  // stub | record | table | trailer, the record sized for the volumes written.
  const Bytes a = Slurp(Setup("with")), b = Slurp(Setup());
  ASSERT_EQ(b.size(), 3000u + 3 * FileEntrySize + ConfigTrailerSize);
  ASSERT_EQ(a.size(), b.size() + VerificationRecordSize(with.Trailer.VolumeCount, 3));

  EXPECT_TRUE(Ends(Extract("-l " + Setup()), 0, {"Checksums:         none (made without them)\n"}));
  EXPECT_TRUE(Ends(Extract("-l --json " + Setup()), 0, {"\"checksums\": false,"}));
  EXPECT_TRUE(Ends(Extract("-l --json " + Setup("with")), 0, {"\"checksums\": true,"}));
  EXPECT_EQ(Extract("-t " + Setup()), (RunResult{0, "The set is sound as far as it can tell: it carries no "
                                                    "checksums, so only its structure and lengths were checked.\n"}));
  EXPECT_TRUE(Ends(ExtractTo(Setup()), 0));
  for (const auto& [name, data] : ThreeFiles) EXPECT_EQ(Slurp(dir / "out" / name), data) << name;

  fs::remove_all(dir / "out");
  FlipByte(Setup("damaged"), 3000 + VerificationHeaderSize() + 4);  // the second volume's CRC
  RewriteRecord(Setup("misplaced"), [](VerificationRecord& record) { record.StubSize += 1; });
  for (const auto& [name, damage] : {std::pair{"damaged", "its verification record fails its own CRC-32"},
                                     {"misplaced", "made for an installer of 3001 bytes, not 3000"}}) {
    EXPECT_TRUE(Ends(Extract("-t " + Setup(name)), 1, {"SETUP.EXE is damaged (", damage})) << name;
    EXPECT_TRUE(Ends(ExtractTo(Setup(name)), 1, {damage})) << name;
    EXPECT_TRUE(OutIsEmpty()) << name;
  }
}

TEST_F(Checksums, SetsOnDiskImagesAreCheckedThroughTheImages) {
  if (RunCommand("command -v mcopy").ExitCode != 0) GTEST_SKIP() << "mtools is not installed";
  PackSet({{"FIRST.TXT", MixedBytes(4000, 1)}, {"NOISE.BIN", RandomBytes(200000, 2)}}, "--volume-size 160K --images");
  const fs::path disk2 = dir / "set" / "DISK02.IMG";
  ASSERT_TRUE(fs::exists(disk2) && !fs::exists(dir / "set" / "DISK03.IMG"));
  const std::string images = (dir / "set" / "DISK01.IMG").string() + " " + disk2.string();
  EXPECT_EQ(Extract("-t " + images),
            (RunResult{0, "The set is sound: the installer, its file table, every volume and every file match their "
                          "CRC-32s.\n"}));
  // Disk 2 with a damaged copy of its volume.
  FlipByte(VolumePath(2), 5000);
  ASSERT_TRUE(Ends(RunCommand("mcopy -o -i " + disk2.string() + " " + VolumePath(2).string() + " ::"), 0));
  EXPECT_TRUE(Ends(Extract("-t " + images), 1, {"SETUP.02 is damaged (CRC mismatch): get a good copy of disk 2"}));
}

}  // namespace
}  // namespace tooltest
