// diskspan-pack run as a user runs it: the set it writes must decode back to
// the options and files given, and a rejected request must write nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>


#include "LzhTestSupport.h"
#include "SetInfo.h"
#include "ToolTestSupport.h"
#include "config/ConfigBlock.h"
#include "config/DosDateTime.h"
#include "config/VerificationRecord.h"

namespace {

using namespace tooltest;

class PackCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_ / "in");
    Spill(dir_ / "stub.exe", Bytes(5000, 'S'));
  }

  fs::path In(const std::string& name, const Bytes& data) {
    Spill(dir_ / "in" / name, data);
    return dir_.Path() / "in" / name;
  }

  RunResult Pack(const std::string& args) {
    return RunCommand(std::string(DISKSPAN_PACK) + " --stub " + (dir_ / "stub.exe").string() + " -o " +
                      (dir_ / "out").string() + " " + args);
  }

  bool OutputIsEmpty() const { return !fs::exists(dir_ / "out") || fs::is_empty(dir_ / "out"); }

  TestDirectory dir_;
};

TEST_F(PackCommand, SetDecodesBackToTheOptionsAndFiles) {
  const Bytes readme(4096, 'r');
  const Bytes data = MixedBytes(600000, 3);
  const fs::path readmePath = In("README.TXT", readme);
  const fs::path dataPath = In("DATA.BIN", data);
  // 23 April 2000, 20:44:44 local time.
  std::tm when{};
  when.tm_year = 100, when.tm_mon = 3, when.tm_mday = 23, when.tm_hour = 20, when.tm_min = 44, when.tm_sec = 44;
  when.tm_isdst = -1;
  const utimbuf times{std::mktime(&when), std::mktime(&when)};
  ASSERT_EQ(::utime(readmePath.c_str(), &times), 0);

  const RunResult r = Pack("--title 'Sample Set' --font 'Courier New' --title-size 20 --title-style bold,underline "
                           "--top-colour navy --bottom-colour 8 --title-colour yellow --default-dir 'D:\\APPS\\' "
                           "--launch DATA.BIN --volume-size 100000 " +
                           readmePath.string() + " " + dataPath.string());
  ASSERT_EQ(r.ExitCode, 0) << r.Output;

  const Bytes setup = Slurp(dir_ / "out" / "SETUP.EXE");
  ASSERT_TRUE(std::equal(setup.begin(), setup.begin() + 5000, Bytes(5000, 'S').begin()));
  const auto block = ParseConfigBlock(setup);
  ASSERT_TRUE(block);
  const ConfigTrailer& t = block->Trailer;
  EXPECT_EQ(t.Title, "Sample Set");
  EXPECT_EQ(t.TitleFont, "Courier New");
  EXPECT_EQ(t.TitleSize, 20);
  EXPECT_EQ(t.TitleStyle, 5);
  EXPECT_EQ(t.GradientTopIndex, 4);
  EXPECT_EQ(t.GradientBottomIndex, 8);
  EXPECT_EQ(t.TitleColourIndex, 11);
  EXPECT_EQ(t.DefaultDestDir, "D:\\APPS\\");
  EXPECT_EQ(t.FileCount, 2);
  EXPECT_EQ(t.LaunchIndex, 2);
  EXPECT_EQ(setup.size(), 5000u + VerificationRecordSize(t.VolumeCount, 2) + 2 * FileEntrySize + ConfigTrailerSize);

  ASSERT_EQ(block->Entries.size(), 2u);
  EXPECT_EQ(block->Entries[0], (FileEntry{"README.TXT", static_cast<std::int32_t>(0x2897A596u), 0, 4096}));
  EXPECT_EQ(block->Entries[1].Name, "DATA.BIN");
  EXPECT_EQ(block->Entries[1].Offset, 4096);
  EXPECT_EQ(block->Entries[1].Size, 600000);
  EXPECT_EQ(t.UnpackedSize, 604096);

  // Volume 1 gets what the setup file leaves of disk 1, planned with room
  // for a record of the most volumes; the rest are full disks.
  const std::size_t plannedSetup = 5000 + VerificationRecordSize(255, 2) + 2 * FileEntrySize + ConfigTrailerSize;
  Bytes stream;
  for (int disk = 1; disk <= t.VolumeCount; ++disk) {
    const fs::path volume = dir_ / "out" / (disk == 1 ? "SETUP.01" : "SETUP.0" + std::to_string(disk));
    ASSERT_TRUE(fs::exists(volume)) << volume;
    const Bytes part = Slurp(volume);
    if (disk == 1) {
      EXPECT_EQ(part.size(), 100000 - plannedSetup);
    } else if (disk < t.VolumeCount) {
      EXPECT_EQ(part.size(), 100000u);
    }
    stream.insert(stream.end(), part.begin(), part.end());
  }
  EXPECT_GT(t.VolumeCount, 2);
  EXPECT_FALSE(fs::exists(dir_ / "out" / ("SETUP.0" + std::to_string(t.VolumeCount + 1))));
  EXPECT_EQ(static_cast<std::int32_t>(stream.size()), t.SplitSize);

  Bytes expected = readme;
  expected.insert(expected.end(), data.begin(), data.end());
  EXPECT_TRUE(lzhtest::DecodeBytes(stream, t.UnpackedSize) == expected);
}

TEST_F(PackCommand, TenthDiskUsesTheDotZeroTenName) {
  const fs::path p = In("NOISE.BIN", RandomBytes(100000, 9));
  const RunResult r = Pack("--volume-size 8000 --name INSTALL.EXE " + p.string());
  ASSERT_EQ(r.ExitCode, 0) << r.Output;
  EXPECT_TRUE(fs::exists(dir_ / "out" / "INSTALL.09"));
  EXPECT_TRUE(fs::exists(dir_ / "out" / "INSTALL.010"));
  EXPECT_FALSE(fs::exists(dir_ / "out" / "INSTALL.10"));
}

TEST_F(PackCommand, EachLimitIsRefusedByNameAndNothingIsWritten) {
  const std::string ok = In("OK.TXT", Bytes(10, 'k')).string();
  const std::string longName = In(std::string(40, 'N'), Bytes(1, 'n')).string();
  const std::string colon = In("A:B", Bytes(1, 'c')).string();
  const std::string twin = (dir_ / "in" / "ok.txt").string();
  Spill(twin, Bytes(3, 't'));
  std::string many;
  for (int i = 0; i < 256; ++i) many += " " + ok;
  const struct {
    std::string args;
    std::string message;
    int exitCode = 1;  // 2 for an option the command line cannot mean
  } cases[] = {
      {longName, "takes 40 bytes; at most 39 fit"},
      {In("\u03A9\u03BC\u03AD\u03B3\u03B1.txt", Bytes(1, 'w')).string(), "cannot be written in code page 1252"},
      {"--title \u03A9 " + ok, "--title '\u03A9' cannot be written in code page 1252", 2},
      {ok + " " + In("caf\u00E9.txt", Bytes(1, 'e')).string() + " " + In("CAF\u00C9.TXT", Bytes(1, 'E')).string(),
       "would both install as 'CAF\u00C9.TXT'"},
      {colon, "'A:B' is not a plain file name"},
      {ok + " " + twin, "would both install as 'ok.txt'"},
      {"--title " + std::string(40, 'T') + " " + ok, "--title '" + std::string(40, 'T') + "' takes 40 bytes; at most 39 fit", 2},
      {"--font " + std::string(30, 'F') + " " + ok, "--font", 2},
      {"--default-dir " + std::string(128, 'D') + " " + ok, "--default-dir", 2},
      {"--top-colour 16 " + ok, "--top-colour '16' is not a palette index", 2},
      {"--title-colour mauve " + ok, "--title-colour 'mauve'", 2},
      {"--title-size 43 " + ok, "--title-size 43 is outside 1-42", 2},
      {"--launch MISSING.EXE " + ok, "--launch 'MISSING.EXE' names none", 2},
      {"--volume-size 5266 " + ok, "leaving no room for volume 1"},
      {"--name a/b " + ok, "--name 'a/b' is not a plain file name", 2},
      {"--images --volume-size 100000 " + ok, "--images needs a floppy format", 2},
      {(dir_ / "in" / "ABSENT.TXT").string(), "ABSENT.TXT: no such file"},
      {(dir_.Path() / "in").string(), "is a directory; a set holds one flat folder of files"},
      {many, "256 files given; a disk set holds at most 255"},
  };
  for (const auto& c : cases) {
    const RunResult r = Pack(c.args);
    EXPECT_EQ(r.ExitCode, c.exitCode) << c.message;
    EXPECT_NE(r.Output.find(c.message), std::string::npos) << r.Output.substr(0, 500);
    if (c.exitCode == 2) {
      EXPECT_EQ(r.Output.rfind("diskspan-pack: ", 0), 0u) << r.Output;
    }
    EXPECT_TRUE(OutputIsEmpty()) << c.message;
  }
}

TEST_F(PackCommand, TooManyVolumesAreRefused) {
  Spill(dir_ / "stub.exe", Bytes(100, 'S'));
  const fs::path p = In("NOISE.BIN", RandomBytes(400000, 4));
  const RunResult r = Pack("--volume-size 1500 " + p.string());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Output.find("a disk set holds at most 255"), std::string::npos) << r.Output;
  EXPECT_TRUE(OutputIsEmpty());
}

TEST_F(PackCommand, ExistingOutputIsKeptUnlessForced) {
  const fs::path p = In("A.TXT", Bytes(100, 'a'));
  fs::create_directories(dir_ / "out");
  Spill(dir_ / "out" / "SETUP.01", Bytes(7, 'x'));
  RunResult r = Pack(p.string());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Output.find("SETUP.01: already exists (use --force"), std::string::npos) << r.Output;
  EXPECT_EQ(Slurp(dir_ / "out" / "SETUP.01"), Bytes(7, 'x'));
  EXPECT_FALSE(fs::exists(dir_ / "out" / "SETUP.EXE"));

  // An earlier, larger set's extra volumes go with --force, and are named.
  Spill(dir_ / "out" / "SETUP.02", Bytes(5, 'y'));
  Spill(dir_ / "out" / "SETUP.023", Bytes(5, 'z'));
  // A link planted where the setup file goes is replaced, never written through.
  Spill(dir_ / "victim", Bytes(4, 'v'));
  fs::create_symlink(dir_ / "victim", dir_ / "out" / "SETUP.EXE");
  r = Pack("--force " + p.string());
  EXPECT_EQ(r.ExitCode, 0) << r.Output;
  EXPECT_NE(Slurp(dir_ / "out" / "SETUP.01"), Bytes(7, 'x'));
  EXPECT_FALSE(fs::exists(dir_ / "out" / "SETUP.02"));
  EXPECT_FALSE(fs::exists(dir_ / "out" / "SETUP.023"));
  EXPECT_NE(r.Output.find("removed " + (dir_ / "out" / "SETUP.023").string() + ", left from an earlier set"),
            std::string::npos) << r.Output;
  EXPECT_EQ(Slurp(dir_ / "victim"), Bytes(4, 'v'));
  EXPECT_FALSE(fs::is_symlink(dir_ / "out" / "SETUP.EXE"));
  for (const auto& entry : fs::directory_iterator(dir_ / "out"))
    EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
}

TEST_F(PackCommand, NamesAndTextsAreStoredInTheCodePageAndComeBackInUtf8) {
  const fs::path western = In("caf\u00E9_r\u00E9sum\u00E9.txt", Bytes(5, 'c'));
  RunResult r = Pack("--title Caf\u00E9 --default-dir 'C:\\\u00C9T\u00C9' " + western.string());
  ASSERT_EQ(r.ExitCode, 0) << r.Output;
  SetInfo set = ReadSetInfo(dir_ / "out" / "SETUP.EXE");
  EXPECT_EQ(std::string(set.Trailer.Title.c_str()), "Caf\xE9");
  EXPECT_EQ(std::string(set.Trailer.DefaultDestDir.c_str()), "C:\\\xC9T\xC9");
  EXPECT_EQ(std::string(set.Entries[0].Name.c_str()), "caf\xE9_r\xE9sum\xE9.txt");
  r = RunCommand(std::string(DISKSPAN_EXTRACT) + " -d " + (dir_ / "back").string() + " " +
                 (dir_ / "out" / "SETUP.EXE").string());
  ASSERT_EQ(r.ExitCode, 0) << r.Output;
  EXPECT_EQ(Slurp(dir_ / "back" / "caf\u00E9_r\u00E9sum\u00E9.txt"), Bytes(5, 'c'));

  // Greek needs code page 1253, on both sides.
  const fs::path greek = In("\u03A9\u03BC\u03AD\u03B3\u03B1.txt", Bytes(3, 'g'));
  r = Pack("--force --codepage 1253 " + greek.string());
  ASSERT_EQ(r.ExitCode, 0) << r.Output;
  set = ReadSetInfo(dir_ / "out" / "SETUP.EXE", CodePage(1253));
  EXPECT_EQ(std::string(set.Entries[0].Name.c_str()), "\xD9\xEC\xDD\xE3\xE1.txt");
  r = RunCommand(std::string(DISKSPAN_EXTRACT) + " --codepage 1253 -d " + (dir_ / "back").string() + " " +
                 (dir_ / "out" / "SETUP.EXE").string());
  ASSERT_EQ(r.ExitCode, 0) << r.Output;
  EXPECT_EQ(Slurp(dir_ / "back" / "\u03A9\u03BC\u03AD\u03B3\u03B1.txt"), Bytes(3, 'g'));
  EXPECT_EQ(Pack("--force --codepage 77777 " + greek.string()).ExitCode, 2);
}

TEST_F(PackCommand, UsageErrorsExitWithTwoAndHelpHasAnExample) {
  EXPECT_EQ(Pack("").ExitCode, 2);
  const RunResult unknownSize = Pack("--volume-size 1.3M " + In("A.TXT", Bytes(1, 'a')).string());
  EXPECT_EQ(unknownSize.ExitCode, 2);
  EXPECT_NE(unknownSize.Output.find("160K, 180K, 320K, 360K, 720K, 1.2M, 1.44M, 1.68M, 2.88M"),
            std::string::npos) << unknownSize.Output;
  EXPECT_EQ(Pack("--no-such-option x").ExitCode, 2);
  const RunResult help = Pack("--help");
  EXPECT_EQ(help.ExitCode, 0);
  EXPECT_NE(help.Output.find("Example:"), std::string::npos);
  EXPECT_NE(help.Output.find("--volume-size"), std::string::npos);
}

}  // namespace
