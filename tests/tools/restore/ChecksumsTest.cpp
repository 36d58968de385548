// Sets that check themselves: diskspan-pack writes the CRC-32s of the
// installer, every volume and every file, and diskspan-extract holds every
// --test and extraction to them. A damaged volume is named with its disk and
// nothing that needs its bytes is written; a file that fails its CRC is not
// placed; a set without the record (or with a broken one) still lists,
// tests and extracts, and says it could not check more.
#include <gtest/gtest.h>
#include <utime.h>

#include <algorithm>
#include <functional>

#include "SetInfo.h"
#include "ToolTestSupport.h"
#include "config/VerificationRecord.h"
#include "volumes/VolumeRules.h"

namespace tooltest {
namespace {

const std::string Extract = DISKSPAN_EXTRACT;
const std::string Pack = DISKSPAN_PACK;

const char* const WithChecksums = "Checksums:         CRC-32 of the installer, every volume and every file\n";
const char* const WithoutChecksums = "Checksums:         none (made without them)\n";
const char* const Unchecked =
    "The set is sound as far as it can tell: it carries no checksums, so only its structure and lengths were checked.\n";
const std::string DamagedNote = " needs bytes from a damaged volume; not written";

struct InputFile {
  std::string Name;
  Bytes Data;
};

// A small file at the front of the stream, a large one over most volumes
// and one at the end.
std::vector<InputFile> ThreeFiles() {
  return {{"FIRST.TXT", MixedBytes(4000, 1)}, {"MIDDLE.BIN", RandomBytes(100000, 2)}, {"LAST.TXT", MixedBytes(30000, 3)}};
}

bool Has(const RunResult& r, const std::string& text) { return r.Output.find(text) != std::string::npos; }

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

class Checksums : public ::testing::Test {
 protected:
  // Packs `files` into dir/NAME behind a 3000-byte stub, all dated alike;
  // `extra` adds options.
  void PackSet(const std::vector<InputFile>& files, const std::string& volumeSize, const std::string& extra = "",
               const std::string& name = "set") {
    fs::create_directories(dir / "src");
    Spill(dir / "stub.exe", Bytes(3000, 'S'));
    std::string args;
    for (const auto& f : files) {
      const fs::path source = dir / "src" / f.Name;
      Spill(source, f.Data);
      const utimbuf times{946684800, 946684800};
      ::utime(source.c_str(), &times);
      args += " " + source.string();
    }
    const RunResult r = RunCommand(Pack + " -q --stub " + (dir / "stub.exe").string() + " -o " + (dir / name).string() +
                                   " --volume-size " + volumeSize + " " + extra + args);
    ASSERT_EQ(r.ExitCode, 0) << r.Output;
  }

  std::string Setup(const std::string& name = "set") const { return (dir / name / "SETUP.EXE").string(); }
  RunResult Run(const std::string& args) { return RunCommand(Extract + " " + args); }
  RunResult ExtractTo(const std::string& out) {
    return RunCommand(Extract + " -d " + (dir / out).string() + " " + Setup());
  }
  int VolumeCount() const { return ReadSetInfo(Setup()).VolumeCount(); }
  fs::path VolumePath(int disk) const { return dir / "set" / VolumeFileName("SETUP.EXE", disk).c_str(); }

  TestDirectory dir;
};

TEST_F(Checksums, SetsWithTheRecordRoundTripOverOneThreeAndTwelveVolumes) {
  const std::vector<InputFile> files = {{"README.TXT", MixedBytes(5000, 1)}, {"EMPTY.DAT", {}},
                                        {"BIG.BIN", RandomBytes(120000, 2)}, {"TAIL.TXT", MixedBytes(30000, 3)}};
  for (const auto& [volumeSize, volumes] : {std::pair{"1000000", 1}, {"60000", 3}, {"13000", 12}}) {
    fs::remove_all(dir / "set");
    fs::remove_all(dir / "out");
    PackSet(files, volumeSize);
    ASSERT_EQ(VolumeCount(), volumes) << volumeSize;
    EXPECT_TRUE(ReadSetInfo(Setup()).Record) << volumeSize;

    const RunResult listed = Run("-l " + Setup());
    EXPECT_TRUE(Has(listed, WithChecksums)) << listed.Output;
    EXPECT_TRUE(Has(Run("-l --json " + Setup()), "\"checksums\": true,"));
    const RunResult tested = Run("-t " + Setup());
    EXPECT_EQ(tested.ExitCode, 0) << tested.Output;
    EXPECT_EQ(tested.Output, "The set is sound: the installer, every volume and every file match their CRC-32s.\n");
    const RunResult extracted = ExtractTo("out");
    ASSERT_EQ(extracted.ExitCode, 0) << extracted.Output;
    for (const auto& f : files) EXPECT_EQ(Slurp(dir / "out" / f.Name), f.Data) << f.Name << ", " << volumeSize;
  }
}

TEST_F(Checksums, ADamagedVolumeIsNamedWithItsDiskAndNothingThatNeedsItIsWritten) {
  PackSet(ThreeFiles(), "25000");
  const int volumes = VolumeCount();
  ASSERT_GE(volumes, 5);
  fs::rename(dir / "set", dir / "good");
  for (const int disk : {1, volumes / 2 + 1, volumes}) {
    fs::remove_all(dir / "set");
    fs::remove_all(dir / "out");
    fs::copy(dir / "good", dir / "set");
    // A volume copied from a FAT disk may have changed case: it is named as found.
    const fs::path volume = dir / "set" / (disk == volumes ? "setup.0" + std::to_string(disk) : VolumePath(disk).filename().string());
    fs::rename(VolumePath(disk), volume);
    FlipByte(volume, fs::file_size(volume) / 2);
    const std::string damaged = volume.filename().string() + " is damaged (CRC mismatch): get a good copy of disk " +
                                std::to_string(disk);

    const RunResult tested = Run("-t " + Setup());
    EXPECT_EQ(tested.ExitCode, 1) << tested.Output;
    EXPECT_TRUE(Has(tested, "diskspan-extract: " + damaged + "\n")) << tested.Output;
    EXPECT_TRUE(Has(tested, "LAST.TXT needs bytes from a damaged volume\n")) << tested.Output;

    const RunResult extracted = ExtractTo("out");
    EXPECT_EQ(extracted.ExitCode, 1) << extracted.Output;
    EXPECT_TRUE(Has(extracted, damaged)) << extracted.Output;
    // Each file is either written whole and right, or named and not written.
    for (const InputFile& f : ThreeFiles()) {
      const bool written = fs::exists(dir / "out" / f.Name);
      if (written) {
        EXPECT_EQ(Slurp(dir / "out" / f.Name), f.Data) << f.Name;
      }
      EXPECT_NE(written, Has(extracted, f.Name + DamagedNote)) << f.Name << ", disk " << disk << ": " << extracted.Output;
    }
    // The first file lies in volume 1, the middle one over the middle
    // volumes and the last one at the end of the stream.
    EXPECT_EQ(fs::exists(dir / "out" / "FIRST.TXT"), disk != 1) << disk;
    if (disk != volumes) {
      EXPECT_FALSE(fs::exists(dir / "out" / "MIDDLE.BIN")) << disk;
    }
    EXPECT_FALSE(fs::exists(dir / "out" / "LAST.TXT")) << disk;
  }
}

TEST_F(Checksums, AFileThatFailsItsCrcIsNamedAndNotWrittenAndTheOthersAre) {
  PackSet(ThreeFiles(), "60000");
  RewriteRecord(Setup(), [](VerificationRecord& r) { r.FileCrc[1] ^= 0x00800000; });

  const RunResult tested = Run("-t " + Setup());
  EXPECT_EQ(tested.ExitCode, 1) << tested.Output;
  EXPECT_EQ(tested.Output, "diskspan-extract: MIDDLE.BIN is damaged (CRC mismatch)\n");
  EXPECT_EQ(Run("-t " + Setup() + " FIRST.TXT LAST.TXT").ExitCode, 0);
  EXPECT_EQ(Run("-t " + Setup() + " '*.BIN'").ExitCode, 1);

  const RunResult extracted = ExtractTo("out");
  EXPECT_EQ(extracted.ExitCode, 1) << extracted.Output;
  EXPECT_TRUE(Has(extracted, "diskspan-extract: MIDDLE.BIN is damaged (CRC mismatch)\n")) << extracted.Output;
  EXPECT_TRUE(Has(extracted, "2 files written to")) << extracted.Output;
  EXPECT_EQ(Slurp(dir / "out" / "FIRST.TXT"), ThreeFiles()[0].Data);
  EXPECT_EQ(Slurp(dir / "out" / "LAST.TXT"), ThreeFiles()[2].Data);
  // No temporary of the damaged file is left either.
  std::vector<std::string> out;
  for (const auto& entry : fs::directory_iterator(dir / "out")) out.push_back(entry.path().filename().string());
  std::sort(out.begin(), out.end());
  EXPECT_EQ(out, (std::vector<std::string>{"FIRST.TXT", "LAST.TXT"}));
}

TEST_F(Checksums, ADamagedInstallerIsNamedButItsFilesStillComeBack) {
  PackSet(ThreeFiles(), "60000");
  FlipByte(Setup(), 100);
  const std::string damaged = "SETUP.EXE is damaged (CRC mismatch): get a good copy of disk 1";
  const RunResult tested = Run("-t " + Setup());
  EXPECT_EQ(tested.ExitCode, 1);
  EXPECT_EQ(tested.Output, "diskspan-extract: " + damaged + "\n");
  const RunResult extracted = ExtractTo("out");
  EXPECT_EQ(extracted.ExitCode, 1);
  EXPECT_TRUE(Has(extracted, damaged)) << extracted.Output;
  for (const auto& f : ThreeFiles()) EXPECT_EQ(Slurp(dir / "out" / f.Name), f.Data) << f.Name;
}

TEST_F(Checksums, SetsWithoutARecordListTestAndExtractAsBefore) {
  PackSet(ThreeFiles(), "60000", "--no-checksums");
  EXPECT_FALSE(ReadSetInfo(Setup()).Record);
  EXPECT_EQ(fs::file_size(Setup()), 3000u + 3 * FileEntrySize + ConfigTrailerSize);
  EXPECT_TRUE(Has(Run("-l " + Setup()), WithoutChecksums));
  EXPECT_TRUE(Has(Run("-l --json " + Setup()), "\"checksums\": false,"));
  RunResult tested = Run("-t " + Setup());
  EXPECT_EQ(tested.ExitCode, 0);
  EXPECT_EQ(tested.Output, Unchecked);
  EXPECT_EQ(ExtractTo("out").ExitCode, 0);
  for (const auto& f : ThreeFiles()) EXPECT_EQ(Slurp(dir / "out" / f.Name), f.Data) << f.Name;

  // The pinned sets were made before there were records.
  for (const char* name : {"one-disk", "three-disks"}) {
    const fs::path pinned = fs::path(DISKSPAN_TEST_DATA) / "sets" / name / "SETUP.EXE";
    EXPECT_TRUE(Has(Run("-l " + pinned.string()), WithoutChecksums)) << name;
    tested = Run("-t " + pinned.string());
    EXPECT_EQ(tested.ExitCode, 0) << name;
    EXPECT_EQ(tested.Output, Unchecked) << name;
  }
}

TEST_F(Checksums, ABrokenOrMisplacedRecordReadsAsNone) {
  const auto expectReadAsNone = [&](const std::string& what) {
    EXPECT_FALSE(ReadSetInfo(Setup()).Record) << what;
    EXPECT_TRUE(Has(Run("-l " + Setup()), WithoutChecksums)) << what;
    const RunResult tested = Run("-t " + Setup());
    EXPECT_EQ(tested.ExitCode, 0) << what;
    EXPECT_EQ(tested.Output, Unchecked) << what;
  };
  PackSet(ThreeFiles(), "60000");
  const std::uint32_t stubSize = ReadSetInfo(Setup()).Record->StubSize;
  FlipByte(Setup(), stubSize + VerificationHeaderSize + 4);  // the first volume's CRC
  expectReadAsNone("a damaged record");

  fs::remove_all(dir / "set");
  PackSet(ThreeFiles(), "60000");
  RewriteRecord(Setup(), [](VerificationRecord& r) { r.StubSize += 1; });
  expectReadAsNone("a record that does not start where it says");
}

TEST_F(Checksums, TheRecordChangesNothingTheInstallerReads) {
  PackSet(ThreeFiles(), "60000", "", "with");
  PackSet(ThreeFiles(), "60000", "--no-checksums", "without");
  const SetInfo with = ReadSetInfo(Setup("with"));
  const SetInfo without = ReadSetInfo(Setup("without"));
  EXPECT_EQ(with.Trailer, without.Trailer);
  EXPECT_EQ(with.Entries, without.Entries);
  ASSERT_TRUE(with.Record);
  EXPECT_EQ(with.Record->VolumeCount, with.Trailer.VolumeCount);
  EXPECT_EQ(with.Record->FileCount, 3);

  // stub | record | table | trailer, the record sized for the volumes written.
  const Bytes a = Slurp(Setup("with"));
  const Bytes b = Slurp(Setup("without"));
  ASSERT_EQ(a.size(), b.size() + VerificationRecordSize(with.Trailer.VolumeCount, 3));
  EXPECT_TRUE(std::equal(b.begin(), b.begin() + 3000, a.begin()));
  EXPECT_TRUE(std::equal(b.begin() + 3000, b.end(), a.end() - static_cast<std::ptrdiff_t>(b.size() - 3000)));
  EXPECT_EQ(with.Record->StubSize, 3000u);
}

TEST_F(Checksums, SetsOnDiskImagesAreCheckedThroughTheImages) {
  if (RunCommand("command -v mcopy").ExitCode != 0) GTEST_SKIP() << "mtools is not installed";
  PackSet({{"FIRST.TXT", MixedBytes(4000, 1)}, {"NOISE.BIN", RandomBytes(200000, 2)}}, "160K", "--images");
  const std::string images = (dir / "set" / "DISK01.IMG").string() + " " + (dir / "set" / "DISK02.IMG").string();
  ASSERT_TRUE(fs::exists(dir / "set" / "DISK02.IMG"));
  ASSERT_FALSE(fs::exists(dir / "set" / "DISK03.IMG"));
  RunResult tested = Run("-t " + images);
  EXPECT_EQ(tested.ExitCode, 0) << tested.Output;
  EXPECT_EQ(tested.Output, "The set is sound: the installer, every volume and every file match their CRC-32s.\n");

  // Disk 2 with a damaged copy of its volume.
  FlipByte(VolumePath(2), 5000);
  ASSERT_EQ(RunCommand("mcopy -o -i " + (dir / "set" / "DISK02.IMG").string() + " " + VolumePath(2).string() + " ::")
                .ExitCode, 0);
  tested = Run("-t " + images);
  EXPECT_EQ(tested.ExitCode, 1);
  EXPECT_TRUE(Has(tested, "SETUP.02 is damaged (CRC mismatch): get a good copy of disk 2")) << tested.Output;
}

}  // namespace
}  // namespace tooltest
