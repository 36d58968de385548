// diskspan-extract run as a user runs it, on sets made by diskspan-pack and
// on crafted ones: contents and dates come back, and a damaged or hostile
// set writes nothing outside the output directory and leaves no partial file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <ctime>

#include "ToolTestSupport.h"
#include "volumes/VolumeRules.h"

namespace tooltest {
namespace {

const std::string Extract = DISKSPAN_EXTRACT;
const std::string Pack = DISKSPAN_PACK;

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = year - 1900, t.tm_mon = month - 1, t.tm_mday = day;
  t.tm_hour = hour, t.tm_min = minute, t.tm_sec = second, t.tm_isdst = -1;
  return std::mktime(&t);
}

std::time_t ModifiedAt(const fs::path& p) {
  struct stat info {};
  ::stat(p.c_str(), &info);
  return info.st_mtime;
}

class ExtractCommand : public ::testing::Test {
 protected:
  // Packs `files` (name, bytes, local time) into dir/set.
  void PackSet(const std::vector<std::pair<std::string, Bytes>>& files, const std::string& volumeSize) {
    fs::create_directories(dir / "src");
    Spill(dir / "stub.exe", Bytes(3000, 'S'));
    std::string args;
    for (std::size_t i = 0; i < files.size(); ++i) {
      const fs::path p = dir / "src" / files[i].first;
      Spill(p, files[i].second);
      const std::time_t when = LocalTime(1999, 12, 31, 23, 59, static_cast<int>(2 * i));
      const utimbuf times{when, when};
      ::utime(p.c_str(), &times);
      args += " " + p.string();
    }
    const RunResult r = RunCommand(Pack + " --stub " + (dir / "stub.exe").string() + " -o " + (dir / "set").string() +
                            " --volume-size " + volumeSize + args);
    ASSERT_EQ(r.ExitCode, 0) << r.Output;
  }

  RunResult ExtractTo(const std::string& args, const std::string& out = "out") {
    return RunCommand(Extract + " -d " + (dir / out).string() + " " + args);
  }

  TestDirectory dir;
};

TEST_F(ExtractCommand, RoundTripsOverOneThreeAndTwelveVolumes) {
  const std::vector<std::pair<std::string, Bytes>> files = {
      {"README.TXT", MixedBytes(5000, 1)}, {"EMPTY.DAT", {}}, {"BIG.BIN", RandomBytes(120000, 2)},
      {"TAIL.TXT", MixedBytes(30000, 3)}};
  for (const auto& [volumeSize, volumes] : {std::pair{"1000000", 1}, {"60000", 3}, {"13000", 12}}) {
    fs::remove_all(dir / "set");
    fs::remove_all(dir / "out");
    PackSet(files, volumeSize);
    EXPECT_EQ(fs::exists(dir / "set" / VolumeFileName("SETUP.EXE", volumes).c_str()), true) << volumeSize;
    EXPECT_EQ(fs::exists(dir / "set" / VolumeFileName("SETUP.EXE", volumes + 1).c_str()), false) << volumeSize;

    EXPECT_EQ(RunCommand(Extract + " -t -q " + (dir / "set" / "SETUP.EXE").string()).ExitCode, 0);
    const RunResult r = ExtractTo((dir / "set" / "SETUP.EXE").string());
    ASSERT_EQ(r.ExitCode, 0) << r.Output;
    for (std::size_t i = 0; i < files.size(); ++i) {
      const fs::path p = dir / "out" / files[i].first;
      EXPECT_EQ(Slurp(p), files[i].second) << p;
      EXPECT_EQ(ModifiedAt(p), LocalTime(1999, 12, 31, 23, 59, static_cast<int>(2 * i))) << p;
    }
  }
}

TEST_F(ExtractCommand, ListsSettingsAndFilesAsText) {
  PackSet({{"A.TXT", MixedBytes(100, 1)}, {"B.TXT", MixedBytes(200, 2)}}, "1.44M");
  const std::string stub = (dir / "set" / "SETUP.EXE").string();
  const RunResult text = RunCommand(Extract + " -l " + stub);
  EXPECT_EQ(text.ExitCode, 0);
  EXPECT_NE(text.Output.find("Title:             Setup"), std::string::npos) << text.Output;
  EXPECT_NE(text.Output.find("         100  1999-12-31 23:59:00  A.TXT"), std::string::npos) << text.Output;
  EXPECT_NE(text.Output.find("         300  2 files"), std::string::npos) << text.Output;
  EXPECT_EQ(RunCommand(Extract + " --json " + stub).ExitCode, 2);  // --json needs --list
  EXPECT_EQ(RunCommand(Extract + " -l -t " + stub).ExitCode, 2);
}

TEST_F(ExtractCommand, FindsVolumesInOtherDirectoriesAndInAnyCase) {
  PackSet({{"DATA.BIN", RandomBytes(50000, 5)}}, "20000");
  fs::create_directories(dir / "disk2");
  fs::rename(dir / "set" / "SETUP.02", dir / "disk2" / "setup.02");
  fs::rename(dir / "set" / "SETUP.03", dir / "set" / "Setup.03");
  const std::string stub = (dir / "set" / "SETUP.EXE").string();

  RunResult r = ExtractTo(stub);
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Output.find("volume 2 is missing: SETUP.02 was looked for in " + (dir / "set").string()),
            std::string::npos) << r.Output;
  EXPECT_FALSE(fs::exists(dir / "out" / "DATA.BIN"));

  r = ExtractTo("--volumes " + (dir / "disk2").string() + " " + stub);
  EXPECT_EQ(r.ExitCode, 0) << r.Output;
  EXPECT_EQ(Slurp(dir / "out" / "DATA.BIN"), RandomBytes(50000, 5));
}

TEST_F(ExtractCommand, HostileNamesAreRefusedAndNothingLeavesTheOutputDirectory) {
  RawSet set;
  set.Decoded = MixedBytes(450, 7);
  const char* hostile[] = {"../ESCAPE.TXT", "..", "/tmp/ABSOLUTE.TXT", "SUB\\DIR.TXT", "C:EVIL.TXT", "BELL\a.TXT", "",
                           "HOLE\x81.TXT"};
  std::int32_t at = 0;
  for (const char* name : hostile) set.Entries.push_back({name, 0, at, 50}), at += 50;
  set.Entries.push_back({"GOOD.TXT", 0, at, 50});
  set.WriteTo(dir / "set");
  fs::create_directories(dir / "out");

  const RunResult r = ExtractTo((dir / "set" / "SETUP.EXE").string(), "out/inner");
  EXPECT_EQ(r.ExitCode, 1) << r.Output;
  EXPECT_NE(r.Output.find("'../ESCAPE.TXT' is not a plain file name; refused"), std::string::npos) << r.Output;
  EXPECT_NE(r.Output.find("'/tmp/ABSOLUTE.TXT' is not a plain file name"), std::string::npos);
  EXPECT_NE(r.Output.find("'' is not a plain file name"), std::string::npos);
  EXPECT_NE(r.Output.find("'BELL\\x07.TXT' is not a plain file name"), std::string::npos);
  EXPECT_NE(r.Output.find("'HOLE\\x81.TXT' holds a byte code page 1252 gives no character; refused"), std::string::npos);
  EXPECT_EQ(Slurp(dir / "out" / "inner" / "GOOD.TXT"), Bytes(set.Decoded.begin() + at, set.Decoded.begin() + at + 50));
  EXPECT_FALSE(fs::exists("/tmp/ABSOLUTE.TXT"));
  // Only the set's own files and the one good file exist below the test directory.
  std::vector<std::string> expected = {"out/inner/GOOD.TXT", "set/SETUP.01", "set/SETUP.EXE"};
  EXPECT_EQ(dir.Files(), expected);
}

TEST_F(ExtractCommand, BombsEscapesAndCaseTwinVolumesAreRefused) {
  // Three entries over the same 1000 decoded bytes: a bomb, refused whole.
  RawSet bomb;
  bomb.Decoded = MixedBytes(1000, 3);
  for (int i = 0; i < 3; ++i) bomb.Entries.push_back({std::string_view("COPY" + std::to_string(i)), 0, 0, 1000});
  bomb.WriteTo(dir / "bomb");
  RunResult r = ExtractTo((dir / "bomb" / "SETUP.EXE").string());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Output.find("the entries claim 3000 bytes in all, more than the 1000"), std::string::npos) << r.Output;
  EXPECT_FALSE(fs::exists(dir / "out" / "COPY0"));

  // Texts from a set never reach the terminal as control sequences.
  RawSet escapes;
  escapes.Decoded = MixedBytes(10, 4);
  escapes.Trailer.Title = "\x1b[31mRED\x81";  // 0x81 is a C1 control in code page 1252
  escapes.Entries.push_back({"A.TXT", 0, 0, 10});
  escapes.WriteTo(dir / "escapes");
  r = RunCommand(Extract + " -l " + (dir / "escapes" / "SETUP.EXE").string());
  EXPECT_NE(r.Output.find("Title:             \\x1B[31mRED\\x81"), std::string::npos) << r.Output;
  EXPECT_EQ(r.Output.find('\x1b'), std::string::npos);

  // Two volumes whose names differ only in case: neither is taken.
  PackSet({{"DATA.BIN", RandomBytes(50000, 5)}}, "20000");
  fs::rename(dir / "set" / "SETUP.02", dir / "set" / "Setup.02");
  fs::copy_file(dir / "set" / "Setup.02", dir / "set" / "setup.02");
  r = ExtractTo((dir / "set" / "SETUP.EXE").string());
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Output.find("differ only in case"), std::string::npos) << r.Output;
  EXPECT_FALSE(fs::exists(dir / "out" / "DATA.BIN"));
}

TEST_F(ExtractCommand, ExistingFilesAreKeptSkippedOrReplacedAsAsked) {
  PackSet({{"KEEP.TXT", MixedBytes(300, 1)}, {"NEW.TXT", MixedBytes(300, 2)}}, "1.44M");
  fs::create_directories(dir / "out");
  Spill(dir / "out" / "KEEP.TXT", Bytes(3, 'u'));
  const std::string stub = (dir / "set" / "SETUP.EXE").string();

  // Kept, and said so, with an exit code of its own.
  RunResult r = ExtractTo(stub);
  EXPECT_EQ(r.ExitCode, 3) << r.Output;
  EXPECT_NE(r.Output.find("KEEP.TXT: already exists; kept (--overwrite replaces such files, -n skips them quietly)"),
            std::string::npos) << r.Output;
  EXPECT_EQ(Slurp(dir / "out" / "KEEP.TXT"), Bytes(3, 'u'));
  EXPECT_EQ(Slurp(dir / "out" / "NEW.TXT"), MixedBytes(300, 2));

  // -n: quietly left alone, success.
  fs::remove(dir / "out" / "NEW.TXT");
  r = ExtractTo("-n " + stub);
  EXPECT_EQ(r.ExitCode, 0) << r.Output;
  EXPECT_EQ(r.Output.find("already exists"), std::string::npos) << r.Output;
  EXPECT_EQ(Slurp(dir / "out" / "KEEP.TXT"), Bytes(3, 'u'));
  EXPECT_EQ(Slurp(dir / "out" / "NEW.TXT"), MixedBytes(300, 2));

  // A dangling link is an existing file too: never written through.
  fs::create_symlink(dir / "elsewhere", dir / "out" / "LINKED");
  r = ExtractTo("--overwrite " + stub);
  EXPECT_EQ(r.ExitCode, 0) << r.Output;
  EXPECT_EQ(Slurp(dir / "out" / "KEEP.TXT"), MixedBytes(300, 1));
  EXPECT_FALSE(fs::exists(dir / "elsewhere"));

  EXPECT_EQ(ExtractTo("-n --overwrite " + stub).ExitCode, 2);
}

TEST_F(ExtractCommand, PatternsSelectFilesInAnyCaseForListTestAndExtract) {
  PackSet({{"README.TXT", MixedBytes(200, 1)}, {"notes.txt", MixedBytes(200, 2)}, {"TOOL.EXE", MixedBytes(200, 3)}},
          "1.44M");
  const std::string stub = (dir / "set" / "SETUP.EXE").string();
  RunResult r = RunCommand(Extract + " -l " + stub + " '*.TXT'");
  EXPECT_EQ(r.ExitCode, 0) << r.Output;
  EXPECT_NE(r.Output.find("README.TXT"), std::string::npos);
  EXPECT_NE(r.Output.find("notes.txt"), std::string::npos);
  EXPECT_EQ(r.Output.find("TOOL.EXE"), std::string::npos) << r.Output;

  r = RunCommand(Extract + " -t " + stub + " tool.exe");
  EXPECT_EQ(r.ExitCode, 0) << r.Output;

  r = ExtractTo(stub + " 'readme.*' '[nN]otes.txt' MISSING.DOC");
  EXPECT_EQ(r.ExitCode, 4) << r.Output;
  EXPECT_NE(r.Output.find("'MISSING.DOC' matches no file in the set"), std::string::npos) << r.Output;
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"out/README.TXT", "out/notes.txt", "set/SETUP.01", "set/SETUP.EXE",
                                                   "src/README.TXT", "src/TOOL.EXE", "src/notes.txt", "stub.exe"}));
}

TEST_F(ExtractCommand, VolumesTakesSeveralPlacesAndChecksThem) {
  PackSet({{"DATA.BIN", RandomBytes(50000, 5)}}, "20000");
  fs::create_directories(dir / "d2");
  fs::create_directories(dir / "d3");
  fs::rename(dir / "set" / "SETUP.02", dir / "d2" / "SETUP.02");
  fs::rename(dir / "set" / "SETUP.03", dir / "d3" / "SETUP.03");
  const std::string stub = (dir / "set" / "SETUP.EXE").string();
  RunResult r = RunCommand(Extract + " -t --volumes " + (dir / "d2").string() + " " + (dir / "d3").string() + " " + stub);
  EXPECT_EQ(r.ExitCode, 0) << r.Output;
  r = RunCommand(Extract + " -t " + stub + " --volumes " + (dir / "d2").string() + " --volumes " + (dir / "d3").string());
  EXPECT_EQ(r.ExitCode, 0) << r.Output;
  r = RunCommand(Extract + " -t --volumes " + (dir / "nowhere").string() + " " + stub);
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_EQ(r.Output.rfind("diskspan-extract: --volumes " + (dir / "nowhere").string() +
                               ": no such directory or disk image", 0), 0u) << r.Output;
}

TEST_F(ExtractCommand, DamagedSetsGiveAClearErrorAndNoPartialFile) {
  RawSet good;
  good.Decoded = RandomBytes(90000, 11);
  good.Entries = {{"ONE.BIN", 0, 0, 45000}, {"TWO.BIN", 0, 45000, 45000}};
  good.VolumeSize = 30000;
  const std::string stub = (dir / "set" / "SETUP.EXE").string();
  const auto expectNothingWritten = [&](const RunResult& r, const std::string& message) {
    EXPECT_EQ(r.ExitCode, 1) << message;
    EXPECT_NE(r.Output.find(message), std::string::npos) << r.Output;
    EXPECT_TRUE(!fs::exists(dir / "out") || fs::is_empty(dir / "out")) << message;
    EXPECT_NE(RunCommand(Extract + " -t " + stub).ExitCode, 0) << message;
  };

  good.WriteTo(dir / "set");
  fs::resize_file(dir / "set" / "SETUP.02", 29000);
  expectNothingWritten(ExtractTo(stub), "(a volume is truncated)");

  fs::remove_all(dir / "set");
  good.WriteTo(dir / "set");
  fs::remove(dir / "set" / "SETUP.02");
  expectNothingWritten(ExtractTo(stub), "volume 2 is missing");

  // A block that agrees with its volumes but claims more than the stream codes.
  fs::remove_all(dir / "set");
  RawSet shortStream = good;
  shortStream.KeepSizes = true;
  shortStream.Trailer.UnpackedSize = 90000;
  shortStream.Trailer.VolumeCount = 1;
  shortStream.Decoded.resize(20000);
  shortStream.VolumeSize = 1 << 20;
  shortStream.Entries = {{"ONE.BIN", 0, 0, 90000}};
  shortStream.WriteTo(dir / "set");
  shortStream.Trailer.SplitSize = static_cast<std::int32_t>(fs::file_size(dir / "set" / "SETUP.01"));
  shortStream.WriteTo(dir / "set");
  expectNothingWritten(ExtractTo(stub), "the coded stream ends before the decoded size is reached");

  // A block whose entries lie outside its stream is no block: nothing is
  // shown or written, and the message names the entry.
  fs::remove_all(dir / "set");
  RawSet outside = good;
  outside.Entries = {{"PAST.BIN", 0, 89000, 2000}, {"NEG.BIN", 0, -1, 10}};
  outside.WriteTo(dir / "set");
  const RunResult r = ExtractTo(stub);
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_NE(r.Output.find("SETUP.EXE is not a disk set installer (no configuration block at its end): "
                          "entry 1 ('PAST.BIN') lies outside the decoded stream"),
            std::string::npos) << r.Output;
  EXPECT_TRUE(!fs::exists(dir / "out") || fs::is_empty(dir / "out"));
  // Nor is a file that only ends in bytes: a volume, or any program.
  for (const std::string& other : {(dir / "set" / "SETUP.01").string(), std::string("/bin/ls")}) {
    const RunResult listed = RunCommand(Extract + " -l " + other);
    EXPECT_EQ(listed.ExitCode, 1) << other;
    EXPECT_NE(listed.Output.find(other + " is not a disk set installer"), std::string::npos) << listed.Output;
  }
}

TEST_F(ExtractCommand, RandomTrailersNeverCrashAndNeverWrite) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    fs::remove_all(dir / "set");
    fs::create_directories(dir / "set");
    Spill(dir / "set" / "SETUP.EXE", RandomBytes(3000, seed));
    Spill(dir / "set" / "SETUP.01", RandomBytes(500, seed + 100));
    const RunResult r = ExtractTo((dir / "set" / "SETUP.EXE").string());
    EXPECT_EQ(r.ExitCode, 1) << r.Output;
    EXPECT_NE(r.Output.find("diskspan-extract: "), std::string::npos);
    EXPECT_TRUE(!fs::exists(dir / "out") || fs::is_empty(dir / "out")) << seed;
  }
}

}  // namespace
}  // namespace tooltest
