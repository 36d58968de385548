// diskspan-pack run as a user runs it: the set it writes must decode back to
// the options and files given, and a rejected request must write nothing.
#include <gtest/gtest.h>

#include "SetInfo.h"
#include "ToolTestSupport.h"
#include "config/ConfigBlock.h"
#include "config/VerificationRecord.h"
#include "volumes/FloppyFormats.h"

namespace tooltest {
namespace {

class PackCommand : public ToolTest {
 protected:
  PackCommand() : ToolTest(DISKSPAN_PACK, DISKSPAN_EXTRACT) {
    fs::create_directories(dir / "in");
    Spill(dir / "stub.exe", FakeStub(1000));
  }
  std::string In(const std::string& name, const Bytes& data) {
    Spill(dir / "in" / name, data);
    return (dir / "in" / name).string();
  }
  // Packs into dir/set behind dir/stub.exe or `stub`.
  RunResult PackTo(const std::string& args, const fs::path& stub = {}) const {
    return Pack("--stub '" + (stub.empty() ? dir / "stub.exe" : stub).string() + "' -o " + (dir / "set").string() + " " + args);
  }
};

TEST_F(PackCommand, SetDecodesBackToTheOptionsAndFilesOnVolumesNamedDotZeroN) {
  // Names and texts are stored in code page 1252 and come back in UTF-8.
  const Bytes readme(4096, 'r'), data = MixedBytes(600000, 3);
  const std::string readmePath = In("r\u00E9sum\u00E9.txt", readme), dataPath = In("DATA.BIN", data);
  ASSERT_EQ(RunCommand("touch -d '2000-04-23 20:44:44' " + readmePath + " " + dataPath).ExitCode, 0);  // local time
  ASSERT_TRUE(Ends(PackTo("--name INSTALL.EXE --title 'Caf\u00E9 Set' --font 'Courier New' --title-size 20 "
                          "--title-style bold,underline --top-colour navy --bottom-colour 8 --title-colour yellow "
                          "--default-dir 'D:\\\u00C9T\u00C9\\' --launch DATA.BIN --volume-size 25000 " +
                          readmePath + " " + dataPath), 0));
  const Bytes setup = Slurp(dir / "set" / "INSTALL.EXE");
  ASSERT_TRUE(std::equal(setup.begin(), setup.begin() + 1000, FakeStub(1000).begin()));
  const auto block = ParseConfigBlock(setup);
  ASSERT_TRUE(block);
  const ConfigTrailer& t = block->Trailer;
  EXPECT_EQ(t, (ConfigTrailer{.FileCount = 2, .LaunchIndex = 2, .VolumeCount = t.VolumeCount, .SplitSize = t.SplitSize,
                              .UnpackedSize = 604096, .Title = "Caf\xE9 Set", .TitleFont = "Courier New",
                              .GradientTopIndex = 4, .GradientBottomIndex = 8, .TitleColourIndex = 11,
                              .TitleSize = 20, .TitleStyle = 5, .DefaultDestDir = "D:\\\xC9T\xC9\\"}));
  const auto date = static_cast<std::int32_t>(0x2897A596u);
  EXPECT_EQ(block->Entries,
            (std::vector<FileEntry>{{"r\xE9sum\xE9.txt", date, 0, 4096}, {"DATA.BIN", date, 4096, 600000}}));
  EXPECT_EQ(setup.size(), 1000 + VerificationRecordSize(t.VolumeCount, 2) + 2 * FileEntrySize + ConfigTrailerSize);

  // Volume 1 gets what the setup file leaves of disk 1, planned with room
  // for a record of the most volumes; the rest are full disks.
  const std::size_t plannedSetup = 1000 + VerificationRecordSize(255, 2) + 2 * FileEntrySize + ConfigTrailerSize;
  ASSERT_GE(t.VolumeCount, 10);
  std::size_t total = 0;
  for (int disk = 1; disk <= t.VolumeCount; ++disk) {
    const Bytes part = Slurp(dir / "set" / ("INSTALL.0" + std::to_string(disk)));
    EXPECT_TRUE(disk == t.VolumeCount || part.size() == (disk == 1 ? 25000 - plannedSetup : 25000u)) << disk;
    total += part.size();
  }
  EXPECT_FALSE(fs::exists(dir / "set" / ("INSTALL.0" + std::to_string(t.VolumeCount + 1))));
  EXPECT_EQ(static_cast<std::int32_t>(total), t.SplitSize);
  ASSERT_TRUE(Ends(ExtractTo((dir / "set" / "INSTALL.EXE").string()), 0));
  EXPECT_EQ(Slurp(dir / "out" / "r\u00E9sum\u00E9.txt"), readme);
  EXPECT_EQ(Slurp(dir / "out" / "DATA.BIN"), data);
  EXPECT_EQ(fs::last_write_time(dir / "out" / "DATA.BIN"), fs::last_write_time(dataPath));

  // On a floppy format volume 1 gets the clusters the setup file leaves,
  // which without a record is planned at its real size.
  ASSERT_TRUE(Ends(PackTo("--no-checksums --fast --volume-size 720K " + In("NOISE.BIN", RandomBytes(800000, 5))), 0));
  const FloppyFormat& format = *FindFloppyFormat("720K");
  const auto setupSize = static_cast<std::int64_t>(fs::file_size(Setup()));
  ASSERT_NE(setupSize % format.ClusterBytes(), 0);
  EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(dir / "set" / "SETUP.01")), format.FreeBytes - format.OnDisk(setupSize));

  // Greek names need code page 1253 on both sides.
  ASSERT_TRUE(Ends(PackTo("--force --codepage 1253 " + In("\u03A9\u03BC\u03AD\u03B3\u03B1.txt", Bytes(3, 'g'))), 0));
  EXPECT_EQ(std::string(ReadSetInfo(Setup(), CodePage(1253)).Entries[0].Name.c_str()), "\xD9\xEC\xDD\xE3\xE1.txt");
  ASSERT_TRUE(Ends(ExtractTo("--codepage 1253 " + Setup()), 0));
  EXPECT_EQ(Slurp(dir / "out" / "\u03A9\u03BC\u03AD\u03B3\u03B1.txt"), Bytes(3, 'g'));
}

TEST_F(PackCommand, EachLimitAndUsageErrorIsRefusedByNameAndNothingIsWritten) {
  const std::string ok = In("OK.TXT", Bytes(10, 'k')), twin = In("ok.txt", Bytes(3, 't'));
  std::string many;
  for (int i = 0; i < 255; ++i) many += " " + ok;  // 255 files pass the count and stop at the names
  const struct {
    std::string args, message;
    int exitCode = 1;  // 2 for an option the command line cannot mean
  } cases[] = {
      {In(std::string(40, 'N'), Bytes(1, 'n')), "takes 40 bytes in code page 1252; at most 39 fit"},
      {In("\u03A9\u03BC\u03AD\u03B3\u03B1.txt", Bytes(1, 'w')), "cannot be written in code page 1252"},
      {"--title \u03A9 " + ok, "--title '\u03A9' cannot be written in code page 1252", 2},
      {ok + " " + In("caf\u00E9.txt", Bytes(1, 'e')) + " " + In("CAF\u00C9.TXT", Bytes(1, 'E')),
       "would both install as 'CAF\u00C9.TXT'"},
      {In("A:B", Bytes(1, 'c')), "'A:B' holds a character Windows does not allow in a file name"},
      {ok + " " + twin, "would both install as 'ok.txt'"},
      {"--title " + std::string(40, 'T') + " " + ok,
       "--title '" + std::string(40, 'T') + "' takes 40 bytes; at most 39 fit", 2},
      {"--title " + std::string(300, 'T') + " " + ok, "' takes 300 bytes; at most 39 fit", 2},
      {"--font " + std::string(30, 'F') + " " + ok, "--font", 2},
      {"--default-dir " + std::string(128, 'D') + " " + ok, "--default-dir", 2},
      {"--top-colour 16 " + ok, "--top-colour '16' is not a palette index", 2},
      {"--title-colour mauve " + ok, "--title-colour 'mauve'", 2},
      {"--title-size 43 " + ok, "--title-size 43 is outside 1-42", 2},
      {"--launch MISSING.EXE " + ok, "--launch 'MISSING.EXE' names none", 2},
      {"--volume-size 1000 " + ok, "leaving no room for volume 1"},
      {"--fast --volume-size 2500 " + In("NOISE.BIN", RandomBytes(700000, 4)), "a disk set holds at most 255"},
      {"--volume-size 1.3M " + ok, "160K, 180K, 320K, 360K, 720K, 1.2M, 1.44M, 1.68M, 2.88M", 2},
      {"--name a/b " + ok, "--name 'a/b' holds a character Windows does not allow", 2},
      {"--name setup " + ok, "--name 'setup' does not end in .EXE", 2},
      {"--volume-size 1440 " + ok, "would be 1440 bytes; for the 1.44M floppy format write 1.44M (or 1440K)", 2},
      {"--images --volume-size 100000 " + ok, "--images needs a floppy format", 2},
      {"--codepage 77777 " + ok, "'77777' is not a Windows ANSI or OEM code page written in decimal; one of 437, "
                                 "737, 775, 850, 852, 855, 857, 858, 860, 861", 2},
      {"", "FILE is required (or --files-from LIST)", 2},
      {(dir / "in" / "ABSENT.TXT").string(), "ABSENT.TXT: no such file"},
      {many + " " + ok, "256 files to pack; a disk set holds at most 255"},
      {many, "would both install as 'OK.TXT'"},
  };
  for (const auto& c : cases) {
    const RunResult r = PackTo(c.args);
    EXPECT_TRUE(Ends(r, c.exitCode, {c.message}) && (c.exitCode != 2 || r.Output.starts_with("diskspan-pack: ")));
    EXPECT_TRUE(!fs::exists(dir / "set") || fs::is_empty(dir / "set")) << c.message;
  }
  // Every problem is reported in one run: 255 files must not be among them.
  EXPECT_FALSE(Has(PackTo(many), "255 files to pack"));
}

TEST_F(PackCommand, ExistingOutputIsKeptUnlessForced) {
  const std::string a = In("A.TXT", Bytes(100, 'a'));
  fs::create_directories(dir / "set");
  Spill(dir / "set" / "SETUP.01", Bytes(7, 'x'));
  EXPECT_TRUE(Ends(PackTo(a), 1, {"SETUP.01: already exists (use --force"}));
  EXPECT_EQ(Slurp(dir / "set" / "SETUP.01"), Bytes(7, 'x'));
  EXPECT_FALSE(fs::exists(Setup()));

  // An earlier, larger set's extra volumes and images go with --force, and
  // names that differ from the new set's only in case, each named; a link
  // planted where the setup file goes is replaced, never written through.
  const std::vector<std::string> stale = {"SETUP.02", "SETUP.023", "setup.01", "DISK02.IMG", "disk001.img"};
  std::vector<std::string> removed;
  for (const auto& name : stale) {
    Spill(dir / "set" / name, Bytes(5, 'y'));
    removed.push_back("removed " + (dir / "set" / name).string() + ", left from an earlier set");
  }
  Spill(dir / "victim", Bytes(4, 'v'));
  fs::create_symlink(dir / "victim", Setup());
  EXPECT_TRUE(Ends(PackTo("--force " + a), 0, removed));
  EXPECT_NE(Slurp(dir / "set" / "SETUP.01"), Bytes(7, 'x'));
  EXPECT_TRUE(Ends(Extract("-t " + Setup()), 0));
  EXPECT_EQ(Slurp(dir / "victim"), Bytes(4, 'v'));
  // Nothing else is left: no SETUP.02, no SETUP.023, no hidden temporaries.
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"in/A.TXT", "set/SETUP.01", "set/SETUP.EXE", "stub.exe", "victim"}));
}

// The stub must be a bare Windows program: PE32 or PE32+ whose headers
// parse, not a set's setup file; anything else is named with the reason.
TEST_F(PackCommand, StubsMustBeBareWindowsPrograms) {
  const std::string ok = In("OK.TXT", Bytes(10, 'k'));
  ASSERT_TRUE(RunCommand("mkfifo " + (dir / "fifo").string()).ExitCode == 0);
  Bytes plus = FakeStub(2000), magic = FakeStub(2000), cut = FakeStub(2000), noPe = FakeStub(2000);
  plus[0x58] = 0x0B, plus[0x59] = 0x02;  // PE32+
  magic[0x58] = 0x07;
  cut[0x47] = 0x10;  // 4096 sections: the table runs past the file
  noPe[0x40] = 'X';
  const auto stub = [&](const char* name, const Bytes& bytes) {
    Spill(dir / name, bytes);
    return dir / name;
  };
  const std::string packOk = " -q --stub " + stub("set.exe", FakeStub(2000)).string() + " -o ";
  ASSERT_TRUE(Ends(Pack(packOk + (dir / "old").string() + " " + ok), 0));
  ASSERT_TRUE(Ends(Pack("--no-checksums" + packOk + (dir / "plain").string() + " " + ok), 0));
  const struct {
    fs::path stub;
    int exitCode;
    std::string message;
  } cases[] = {
      {stub("plus.exe", plus), 0, ""},
      {stub("README.TXT", Bytes(713, 'r')), 2, "README.TXT: not a Windows program (no MZ header)"},
      {stub("nope.exe", noPe), 2, "not a Windows program (no PE header)"},
      {stub("magic.exe", magic), 2, "not a PE32 or PE32+ program (optional header magic 0x107)"},
      {stub("cut.exe", cut), 2, "its PE headers do not parse (cut short)"},
      {dir / "old" / "SETUP.EXE", 2, "already carries a set's block (it is a set's setup file)"},
      {dir / "plain" / "SETUP.EXE", 2, "already carries a set's block"},
      {dir / "in", 1, "in: not a regular file (a directory)"},
      {dir / "fifo", 1, "fifo: not a regular file (a FIFO)"},
      {dir / "absent.exe", 1, "absent.exe: no such file"},
  };
  for (const auto& c : cases) {
    fs::remove_all(dir / "set");
    EXPECT_TRUE(Ends(PackTo("-q " + ok, c.stub), c.exitCode, {c.message})) << c.stub;
    EXPECT_EQ(fs::exists(Setup()), c.exitCode == 0) << c.stub;
  }
}

// A set's own files as inputs, by name in any case or by being the very
// file, would pack the old set into the new one: refused, named, and the
// old set kept (item: `--force -o . *` in the set's folder).
TEST_F(PackCommand, FilesOfTheSetBeingWrittenAreRefusedAsInputs) {
  ASSERT_TRUE(Ends(PackTo("-q " + In("A.TXT", MixedBytes(1000, 5))), 0));
  const fs::path set = dir / "set";
  Spill(set / "disk01.img", Bytes(3, 'i'));
  fs::copy_file(set / "SETUP.01", set / "setup.02");
  fs::create_symlink(Setup(), dir / "in" / "LINK.EXE");
  const auto before = dir.Files();
  const std::string pack = std::string(DISKSPAN_PACK) + " --force --stub " + (dir / "stub.exe").string();
  const std::string packHere = "cd " + set.string() + " && " + pack + " -o . ", packThere = pack + " -o " + set.string() + " ";
  const std::pair<std::string, std::string> cases[] = {
      {packHere + "*", " of the set being written to .:"},
      {packHere + "SETUP.EXE", "SETUP.EXE is the setup file of the set being written"},
      {packThere + (set / "setup.02").string(), "setup.02 is volume 2 of the set"},
      {packThere + (dir / "in" / "LINK.EXE").string(), "LINK.EXE is the setup file of"},
  };
  for (const auto& [command, message] : cases)
    EXPECT_TRUE(Ends(RunCommand(command), 1,
                     {message, "it would be packed into the set that replaces it; leave it out"})) << command;
  EXPECT_EQ(dir.Files(), before);
}

// Dates a DOS date cannot hold are stored as the nearest it can, and said:
// a line for each file, or one count with -q.
TEST_F(PackCommand, DatesOutsideTheDosRangeAreClampedWithAWarning) {
  const std::string old = In("OLD.TXT", Bytes(1, 'o')), late = In("LATE.TXT", Bytes(1, 'l'));
  ASSERT_EQ(RunCommand("touch -d '1975-06-01 12:00:00' " + old + " && touch -d '2200-01-01 00:00:00' " + late).ExitCode, 0);
  const std::string outside = ", outside the years a set can hold (1980-2107): stored as ";
  EXPECT_TRUE(Ends(PackTo(old + " " + late), 0, {"warning: " + old + ": dated 1975-06-01 12:00:00" + outside + "1980-01-01 00:00:00",
                                                  late + ": dated 2200-01-01 00:00:00" + outside + "2107-12-31 23:59:58"}));
  EXPECT_EQ(PackTo("-q --force " + old + " " + late),
            (RunResult{0, "diskspan-pack: warning: 2 files dated outside 1980-2107, stored with the nearest date a set "
                          "can hold\n"}));
  const auto entries = ParseConfigBlock(Slurp(Setup()))->Entries;
  EXPECT_EQ(entries[0].Date, 0x210000);  // 1980-01-01 00:00:00
  EXPECT_EQ(static_cast<std::uint32_t>(entries[1].Date), 0xFF9FBF7Du);  // 2107-12-31 23:59:58
}

}  // namespace
}  // namespace tooltest
