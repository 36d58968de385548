// diskspan-extract run as a user runs it: contents and dates come back; a damaged
// or hostile set writes nothing outside the output directory and no partial file.
#include <gtest/gtest.h>

#include <cerrno>

#include "PendingFile.h"
#include "ToolTestSupport.h"
#include "lzh/LzhEncoder.h"
#include "volumes/VolumeRules.h"

namespace tooltest {
namespace {

class ExtractCommand : public ToolTest {
 protected:
  ExtractCommand() : ToolTest(DISKSPAN_PACK, DISKSPAN_EXTRACT) {}
  // Extracting and testing dir/set both fail, the first with `message`; nothing is written.
  void ExpectRefused(const std::string& message) {
    EXPECT_TRUE(Ends(ExtractTo(Setup()), 1, {message}));
    EXPECT_TRUE(OutIsEmpty()) << message;
    EXPECT_TRUE(Ends(Extract("-t " + Setup()), 1)) << message;
  }
};

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
      {here + "-t --volumes vols d4 set/SETUP.EXE", 0, {"The set is sound"}},
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
      {"BELL\a.TXT", "'BELL\\x07.TXT' is not a plain file name: it holds a control character"},
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
  RawSet set;
  set.Decoded = MixedBytes(10 * std::size(entries), 7);
  set.RecordVersion = 2, set.CodePage = 932;
  for (const auto& e : entries)
    set.Entries.push_back({e.name, 0, static_cast<std::int32_t>(10 * set.Entries.size()), 10});
  std::swap(set.Entries[12], set.Entries[13]);  // GOOD.TXT before GOOD.TXT\X
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
  EXPECT_EQ(Slurp(dir / "out" / "inner" / "SUB" / "DIR.TXT"), Bytes(set.Decoded.begin() + 90, set.Decoded.begin() + 100));
}

TEST_F(ExtractCommand, ExistingFilesAreKeptSkippedOrReplacedAsAsked) {
  PackSet({{"KEEP.TXT", MixedBytes(300, 1)}, {"NEW.TXT", MixedBytes(300, 2)}}, "");
  fs::create_directories(dir / "out");
  Spill(dir / "out" / "KEEP.TXT", Bytes(3, 'u'));
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
  EXPECT_FALSE(fs::is_symlink(dir / "out" / "NEW.TXT"));
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
  RawSet good;
  good.Decoded = RandomBytes(90000, 11);
  good.Entries = {{"ONE.BIN", 0, 0, 45000}, {"TWO.BIN", 0, 45000, 45000}};
  good.VolumeSize = 30000;
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
    fs::remove_all(dir / "set"), fs::create_directories(dir / "set");
    Spill(dir / "set" / "SETUP.EXE", RandomBytes(3000, seed));
    Spill(dir / "set" / "SETUP.01", RandomBytes(500, seed + 100));
    ExpectRefused("diskspan-extract: ");
  }
}

}  // namespace
}  // namespace tooltest
