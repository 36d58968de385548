// diskspan-extract run as a user runs it: contents and dates come back; a damaged
// or hostile set writes nothing outside the output directory and no partial file.
// Sets carry the CRC-32s of the installer, its file table, every volume and
// every file, and --test and extraction hold to them; sets without a record
// still work, and a damaged record is a damaged installer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>

#include "PendingFile.h"
#include "SetInfo.h"
#include "ToolTestSupport.h"
#include "config/VerificationRecord.h"
#include "lzh/LzhEncoder.h"
#include "volumes/VolumeRules.h"

namespace tooltest {
namespace {

class ExtractCommand : public ToolTest {
 protected:
  // Extracting and testing dir/set both fail, the first with `message`; nothing is written.
  void ExpectRefused(const std::string& message) {
    EXPECT_TRUE(Ends(ExtractTo(Setup()), 1, {message}));
    EXPECT_TRUE(OutIsEmpty()) << message;
    EXPECT_TRUE(Ends(Extract("-t " + Setup()), 1)) << message;
  }
  fs::path VolumePath(int disk) const { return dir / "set" / VolumeFileName("SETUP.EXE", disk).c_str(); }
};
using Checksums = ExtractCommand;

// Arguments mean one thing: after SETUP.EXE a directory is a place for
// volumes unless it also selects a file of the set (then the run stops and
// says how to choose); after -- everything is a pattern; --volumes never
// takes the installer; what is not a regular file is said to be none.
// Volumes are found in any case beside the installer or where it is told.
TEST_F(ExtractCommand, EachArgumentMeansOneThing) {
  const Bytes data = RandomBytes(70000, 2);
  PackSet({{"README.TXT", MixedBytes(300, 1)}, {"DATA.BIN", data}}, "--volume-size 20000");
  fs::create_directories(dir / "README.TXT"), fs::create_directories(dir / "vols"), fs::create_directories(dir / "d4");
  fs::rename(dir / "set" / "SETUP.02", dir / "vols" / "setup.02");
  fs::rename(dir / "set" / "SETUP.03", dir / "set" / "Setup.03");
  fs::rename(dir / "set" / "SETUP.04", dir / "d4" / "SETUP.04");
  ASSERT_EQ(RunCommand("mkfifo " + (dir / "fifo").string()).ExitCode, 0);
  EXPECT_TRUE(Ends(Extract("-t " + Setup()), 1, {"disk 2 is missing: SETUP.02 was looked for in " + (dir / "set").string()}));
  EXPECT_TRUE(Ends(ExtractTo("--volumes " + (dir / "vols").string() + " " + (dir / "d4").string() + " " + Setup()), 0));
  EXPECT_EQ(Slurp(dir / "out" / "DATA.BIN"), data);
  const std::string here = "cd " + dir.Path().string() + " && " + DISKSPAN_EXTRACT + " ";
  const struct {
    std::string command;
    int exitCode;
    std::vector<std::string> messages;
  } cases[] = {
      {here + "-t set/SETUP.EXE vols README.TXT", 2,
       {"diskspan-extract: 'README.TXT' is ambiguous: a directory to look for volumes in, and a pattern that selects "
        "README.TXT in the set; write it after -- to select files, or after --volumes to look for volumes there\n"}},
      {here + "-t set/SETUP.EXE vols d4 -- README.TXT", 0, {"The selected files are sound"}},
      {here + "-t set/SETUP.EXE --volumes README.TXT vols d4", 0,
       {"diskspan-extract: README.TXT: not used: no volume of this set was taken from it\n", "The set is sound"}},
      {here + "-t set/SETUP.EXE --volumes vols --volumes d4", 0, {"The set is sound"}},
      {here + "-t --volumes nowhere set/SETUP.EXE", 2, {"diskspan-extract: --volumes nowhere: no such directory or disk image"}},
      {here + "-t --volumes set/SETUP.EXE vols", 2,
       {"--volumes set/SETUP.EXE: no directory or disk image; --volumes takes places for volumes only: name the "
        "installer before it"}},
      {here + "-t -- set/SETUP.EXE", 2, {"no SETUP.EXE named before --"}},
      {here + "-t README.TXT", 1, {"README.TXT: not a regular file (a directory)"}},
      {here + "-t fifo", 1, {"fifo: not a regular file (a FIFO)"}},
      {here + "-t /dev/zero", 1, {"/dev/zero: not a regular file (a character device)"}},
      {here + "-t absent.exe", 1, {"absent.exe: no such file"}},
      // Files that are no installer, each in words of its own.
      {here + "-l " + (fs::path(DISKSPAN_TEST_DATA) / "stubs" / "before-checksums-i686.exe").string(), 1,
       {"before-checksums-i686.exe is an installer program with no set appended: name a set's SETUP.EXE"}},
      {here + "-l stub.exe", 1, {"stub.exe is a Windows program with no set appended"}},
      {here + "-l set/SETUP.01", 1, {"set/SETUP.01 is volume 1 of a set: name its installer (SETUP.EXE)\n"}},
      {here + "-l src/README.TXT", 1,
       {"src/README.TXT is not a disk set installer (no configuration block at its end)\n"}},
      {here + "-t --codepage 037 set/SETUP.EXE vols", 2,
       {"--codepage: '037' is not a Windows ANSI or OEM code page written in decimal"}},
  };
  for (const auto& c : cases) EXPECT_TRUE(Ends(RunCommand(c.command), c.exitCode, c.messages)) << c.command;
}

// Names are read as the installer reads them, in the code page the set
// names: hostile ones, and those its table rule refuses, are named and not
// written; files in subfolders get their folders inside the output
// directory, never through a link there.
TEST_F(ExtractCommand, NamesAreReadAsTheInstallerReadsThemAndNothingLeavesTheOutputDirectory) {
  const struct {
    const char* name;
    const char* refusal;  // nullptr: written; "" : not written (said otherwise)
  } entries[] = {
      {"../ESCAPE.TXT", "'../ESCAPE.TXT' is not a plain file name: it holds a character Windows does not allow"},
      {"..\\ESCAPE.TXT", "'../ESCAPE.TXT' is not a plain file name: it ends in a dot or a space"},
      {"/tmp/ABSOLUTE.TXT", "'/tmp/ABSOLUTE.TXT' is not a plain"},
      {"\\ROOTED.TXT", "'/ROOTED.TXT' is not a plain file name: it is empty"},
      {"C:EVIL.TXT", "'C:EVIL.TXT' is not a plain"},
      {"HOLE\x81.TXT", "'HOLE\\x81.TXT' holds a byte code page 932 gives no character"},
      {"NUL .TXT", "'NUL .TXT' is not a plain file name: it is a reserved device name"},
      {"SPLIT.SPT", "'SPLIT.SPT' is the name of the installer's own temporary file"},
      {"SUB\\DIR.TXT", nullptr},
      {"sub\\dir.txt", "'sub/dir.txt' is the same file as 'SUB/DIR.TXT' to Windows, which ignores case"},
      {"SUB", "'SUB' is a file where 'SUB/DIR.TXT' needs a folder"},
      {"GOOD.TXT\\X", "'GOOD.TXT/X' needs a folder where 'GOOD.TXT' is a file"},
      {"GOOD.TXT", nullptr},
      {"SUB\\DEEP\\SPLIT.SPT", nullptr},
      {"\x83\x5C\x83\x74\x83\x67.TXT", nullptr},  // SO-FU-TO in 932: 5C is a trail byte
      {"LINK\\X.TXT", "LINK: a link, not followed"},
  };
  RawSet set{.Decoded = MixedBytes(10 * std::size(entries), 7), .RecordVersion = 2, .CodePage = 932};
  for (const auto& e : entries)
    set.Entries.push_back({e.name, 0, static_cast<std::int32_t>(10 * set.Entries.size()), 10});
  std::swap(set.Entries[11], set.Entries[12]);  // GOOD.TXT before GOOD.TXT\X
  set.WriteTo(dir / "set");
  fs::create_directories(dir / "out" / "inner"), fs::create_directories(dir / "elsewhere");
  fs::create_symlink(dir / "elsewhere", dir / "out" / "inner" / "LINK");

  const RunResult r = Extract("-d " + (dir / "out" / "inner").string() + " " + Setup());
  EXPECT_TRUE(Ends(r, 1, {"4 files written"})) << r.Output;
  for (const auto& e : entries) EXPECT_TRUE(!e.refusal || Has(r, e.refusal)) << e.refusal;
  EXPECT_TRUE(Ends(Extract("-l " + Setup() + " '*.txt'"), 0, {"Code page:         932 (as the set names it)",
                                                              "SUB/DIR.TXT\n", "ソフト.TXT\n"}));
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"out/inner/GOOD.TXT", "out/inner/SUB/DEEP/SPLIT.SPT",
                                                   "out/inner/SUB/DIR.TXT", "out/inner/ソフト.TXT", "set/SETUP.01",
                                                   "set/SETUP.EXE"}));
  EXPECT_EQ(Slurp(dir / "out" / "inner" / "SUB" / "DIR.TXT"), Bytes(set.Decoded.begin() + 80, set.Decoded.begin() + 90));
}

TEST_F(ExtractCommand, ExistingFilesAreKeptSkippedOrReplacedAsAsked) {
  PackSet({{"KEEP.TXT", MixedBytes(300, 1)}, {"NEW.TXT", MixedBytes(300, 2)}}, "");
  Put("out/KEEP.TXT", Bytes(3, 'u'));
  const auto expectOut = [&](const Bytes& keep) {
    EXPECT_EQ(Slurp(dir / "out" / "KEEP.TXT"), keep);
    EXPECT_EQ(Slurp(dir / "out" / "NEW.TXT"), MixedBytes(300, 2));
    fs::remove(dir / "out" / "NEW.TXT");
  };
  // Kept and said so, with an exit code of its own; -n keeps quietly.
  const std::string out = (dir / "out").string(), summary = "1 file written to " + out + ", 1 kept as they were\n";
  EXPECT_EQ(ExtractTo(Setup()), (RunResult{3, "diskspan-extract: " + out + "/KEEP.TXT: already exists; kept "
                                              "(--overwrite replaces such files, -n skips them quietly)\n" + summary}));
  expectOut(Bytes(3, 'u'));
  EXPECT_EQ(ExtractTo("-n " + Setup()), (RunResult{0, summary}));
  expectOut(Bytes(3, 'u'));
  // Replaced; a dangling link is replaced too, never written through.
  fs::create_symlink(dir / "elsewhere", dir / "out" / "NEW.TXT");
  EXPECT_TRUE(Ends(ExtractTo("--overwrite " + Setup()), 0));
  expectOut(MixedBytes(300, 1));
  EXPECT_FALSE(fs::exists(dir / "elsewhere"));
}

// Placing a file without replacing, by renameat2 and by the hard link that
// stands in for it where renameat2 is missing: a taken name (a file, a
// dangling link) is refused with EEXIST and left alone, a free one taken.
TEST(NoReplaceRename, RefusesATakenNameEitherWay) {
  TestDirectory dir;
  int way = 0;
  for (const auto rename : {&RenameNoReplace, &RenameNoReplaceByLink}) {
    const fs::path d = dir / std::to_string(++way);
    fs::create_directories(d);
    Spill(d / "from", Bytes(2, 'f'));
    Spill(d / "taken", Bytes(1, 't'));
    fs::create_symlink(d / "nowhere", d / "dangling");
    for (const char* taken : {"taken", "dangling"}) {
      errno = 0;
      EXPECT_FALSE(rename(d / "from", d / taken)) << way << " " << taken;
      EXPECT_EQ(errno, EEXIST) << way << " " << taken;
    }
    EXPECT_EQ(Slurp(d / "taken"), Bytes(1, 't'));
    EXPECT_FALSE(fs::exists(d / "nowhere"));
    EXPECT_TRUE(rename(d / "from", d / "free")) << way;
    EXPECT_EQ(Slurp(d / "free"), Bytes(2, 'f'));
    EXPECT_FALSE(fs::exists(d / "from"));
  }
}

TEST_F(ExtractCommand, DamagedSetsGiveAClearErrorAndNoPartialFile) {
  const RawSet good{.Entries = {{"ONE.BIN", 0, 0, 45000}, {"TWO.BIN", 0, 45000, 45000}}, .Decoded = RandomBytes(90000, 11),
                    .VolumeSize = 30000};
  const auto write = [&](const RawSet& s) { fs::remove_all(dir / "set"), s.WriteTo(dir / "set"); };
  write(good);
  fs::resize_file(dir / "set" / "SETUP.02", 29000);
  ExpectRefused("SETUP.02 is shorter than the volumes around it (the volumes hold 89170 bytes, the set 90170)");

  RawSet s = good;  // a block that agrees with its volume but claims more than the stream codes
  s.Decoded.resize(20000), s.VolumeSize = 1 << 20, s.Entries = {{"ONE.BIN", 0, 0, 90000}};
  s.KeepSizes = true, s.Trailer.UnpackedSize = 90000, s.Trailer.VolumeCount = 1;
  s.Trailer.SplitSize = static_cast<std::int32_t>(lzh::Encode(s.Decoded).size());
  write(s);
  ExpectRefused("the coded stream ends before the decoded size is reached");

  s = good;
  // A table no packer writes: a damaged installer.
  const std::int32_t hour24 = 20 << 25 | 1 << 21 | 1 << 16 | 24 << 11;
  for (const auto& [entry, problem] : {std::pair{FileEntry{"PAST.BIN", 0, 89000, 2000}, "lies outside the decoded stream"},
                                       {FileEntry{"NEG.BIN", 0, -1, 10}, "lies outside the decoded stream"},
                                       {FileEntry{"LATE.BIN", hour24, 0, 10}, "has no valid date"}}) {
    s.Entries = {entry};
    write(s);
    ExpectRefused(Setup() + " is a damaged installer (entry 1 ('" + entry.Name.c_str() + "') " + problem);
  }
}

TEST_F(ExtractCommand, RandomTrailersNeverCrashAndNeverWrite) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    Put("set/SETUP.EXE", RandomBytes(3000, seed)), Put("set/SETUP.01", RandomBytes(500, seed + 100));
    ExpectRefused("diskspan-extract: ");
  }
}

// A small file at the front of the stream, a large one over most volumes and one at the end.
const ToolTest::Files ThreeFiles = {
    {"FIRST.TXT", MixedBytes(4000, 1)}, {"MIDDLE.BIN", RandomBytes(100000, 2)}, {"LAST.TXT", MixedBytes(30000, 3)}};

void FlipByte(const fs::path& file, std::size_t at) { Patch(file, [at](Bytes& bytes) { bytes.at(at) ^= 0x10; }); }

// Changes the record of `setup` in place; its own CRC is made right again.
void RewriteRecord(const fs::path& setup, const std::function<void(VerificationRecord&)>& change) {
  const SetInfo set = ReadSetInfo(setup);
  ASSERT_TRUE(set.Record);
  VerificationRecord record = *set.Record;
  change(record);
  Patch(setup, [&](Bytes& bytes) {
    EXPECT_TRUE(EncodeVerificationRecord(record, std::span(bytes).subspan(set.Record->StubSize,
                                                                          VerificationRecordSize(record.VolumeCount, record.FileCount))));
  });
}


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
    Put("out/LAST.TXT", Bytes(4, 'k'));
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

// A set packed without a record holds the same table and trailer, and
// extracts; a record made for another installer is a damaged installer.
TEST_F(Checksums, SetsWithoutARecordReadAsBeforeAndAMisplacedRecordIsADamagedInstaller) {
  PackSet(ThreeFiles, "--volume-size 60000", "with");
  PackSet(ThreeFiles, "--volume-size 60000 --no-checksums");
  const SetInfo with = ReadSetInfo(Setup("with")), without = ReadSetInfo(Setup());
  EXPECT_EQ(with.Trailer, without.Trailer);
  EXPECT_EQ(with.Entries, without.Entries);
  EXPECT_TRUE(with.Record && !without.Record);
  EXPECT_EQ(fs::file_size(Setup()), 3000u + 3 * FileEntrySize + ConfigTrailerSize);  // stub | table | trailer
  EXPECT_TRUE(Ends(Extract("-l --json " + Setup("with")), 0, {"\"checksums\": true,"}));
  EXPECT_TRUE(Ends(ExtractTo(Setup()), 0));
  for (const auto& [name, data] : ThreeFiles) EXPECT_EQ(Slurp(dir / "out" / name), data) << name;

  fs::remove_all(dir / "out");
  RewriteRecord(Setup("with"), [](VerificationRecord& record) { record.StubSize += 1; });
  const std::string damage = "SETUP.EXE is damaged (its verification record was made for an installer of 3001 bytes, not 3000";
  EXPECT_TRUE(Ends(Extract("-t " + Setup("with")), 1, {damage}));
  EXPECT_TRUE(Ends(ExtractTo(Setup("with")), 1, {damage}));
  EXPECT_TRUE(OutIsEmpty());
}

TEST_F(Checksums, SetsOnDiskImagesAreCheckedThroughTheImages) {
  if (RunCommand("command -v mcopy").ExitCode != 0) GTEST_SKIP() << "mtools is not installed";
  PackSet({{"FIRST.TXT", MixedBytes(4000, 1)}, {"NOISE.BIN", RandomBytes(200000, 2)}}, "--volume-size 160K --images");
  const fs::path disk2 = dir / "set" / "DISK02.IMG";
  ASSERT_TRUE(fs::exists(disk2) && !fs::exists(dir / "set" / "DISK03.IMG"));
  const std::string images = (dir / "set" / "DISK01.IMG").string() + " " + disk2.string();
  EXPECT_TRUE(Ends(Extract("-t " + images), 0));
  // Disk 2 with a damaged copy of its volume.
  FlipByte(VolumePath(2), 5000);
  ASSERT_TRUE(Ends(RunCommand("mcopy -o -i " + disk2.string() + " " + VolumePath(2).string() + " ::"), 0));
  EXPECT_TRUE(Ends(Extract("-t " + images), 1, {"SETUP.02 is damaged (CRC mismatch): get a good copy of disk 2"}));
}

}  // namespace
}  // namespace tooltest
