// diskspan-pack run as a user runs it: the set it writes must decode back to
// the options and files given, and a rejected request must write nothing.
// Over program folders: subfolders, file lists and graft points, every
// problem in one run, and the plan of --dry-run against the set a real pack
// writes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>

#include "SetInfo.h"
#include "ToolTestSupport.h"
#include "config/ConfigBlock.h"
#include "volumes/FloppyFormats.h"

namespace tooltest {
namespace {

using Json = nlohmann::json;

class PackCommand : public ToolTest {
 protected:
  std::string In(const std::string& name, const Bytes& data) const { return Put("in/" + name, data); }
  // Packs into dir/set behind dir/stub.exe or `stub`.
  RunResult PackTo(const std::string& args, const fs::path& stub = {}) const {
    return Pack("--stub '" + (stub.empty() ? Stub() : stub.string()) + "' -o " + (dir / "set").string() + " " + args);
  }
  void Make(const std::string& relative, const Bytes& bytes) const { Put("tree/" + relative, bytes); }
  // The command that packs from dir/tree (a shell command's arguments) into dir/set.
  std::string PackHere(const std::string& args) const {
    return "cd '" + (dir / "tree").string() + "' && " + DISKSPAN_PACK + " --stub " + Stub() + " -o ../set " + args;
  }
  RunResult PackIn(const std::string& args) const { return RunCommand(PackHere(args)); }
  // The JSON document a command prints on standard output.
  static Json JsonOf(const std::string& command) {
    const RunResult r = RunCommand("(" + command + ") 2>/dev/null");
    EXPECT_EQ(r.ExitCode, 0) << command;
    return Json::parse(r.Output, nullptr, false);
  }
  static std::vector<std::string> NamesIn(const Json& doc) {
    std::vector<std::string> names;
    for (const auto& f : doc["files"]) names.push_back(f["name"]);
    return names;
  }
};
using PackTree = PackCommand;

TEST_F(PackCommand, SetDecodesBackToTheOptionsAndFilesOnVolumesNamedDotZeroN) {
  // Names and texts are stored in code page 1252 and come back in UTF-8.
  const Bytes readme(4096, 'r'), data = MixedBytes(600000, 3);
  const std::string readmePath = In("r\u00E9sum\u00E9.txt", readme), dataPath = In("DATA.BIN", data);
  ASSERT_EQ(RunCommand("touch -d '2000-04-23 20:44:44' " + readmePath + " " + dataPath).ExitCode, 0);  // local time
  ASSERT_TRUE(Ends(PackTo("--name INSTALL.EXE --title 'Caf\u00E9 Set' --font 'Courier New' --title-size 20 "
                          "--title-style bold,underline --top-colour navy --bottom-colour 8 --title-colour yellow "
                          "--default-dir 'D:\\\u00C9T\u00C9\\' --launch DATA.BIN --volume-size 25000 " +
                          readmePath + " " + dataPath), 0));
  const auto block = ParseConfigBlock(Slurp(dir / "set" / "INSTALL.EXE"));
  ASSERT_TRUE(block);
  const ConfigTrailer& t = block->Trailer;
  EXPECT_EQ(t, (ConfigTrailer{.FileCount = 2, .LaunchIndex = 2, .VolumeCount = t.VolumeCount, .SplitSize = t.SplitSize,
                              .UnpackedSize = 604096, .Title = "Caf\xE9 Set", .TitleFont = "Courier New",
                              .GradientTopIndex = 4, .GradientBottomIndex = 8, .TitleColourIndex = 11,
                              .TitleSize = 20, .TitleStyle = 5, .DefaultDestDir = "D:\\\xC9T\xC9\\"}));
  const auto date = static_cast<std::int32_t>(0x2897A596u);
  EXPECT_EQ(block->Entries,
            (std::vector<FileEntry>{{"r\xE9sum\xE9.txt", date, 0, 4096}, {"DATA.BIN", date, 4096, 600000}}));
  // Volumes 10 on are INSTALL.010 and so on. (How the stream is cut, and the
  // setup file's layout, PackTree.FlatSetIsByteForByteAsBefore pins.)
  ASSERT_GE(t.VolumeCount, 10);
  EXPECT_TRUE(fs::exists(dir / "set" / ("INSTALL.0" + std::to_string(t.VolumeCount))));
  EXPECT_FALSE(fs::exists(dir / "set" / ("INSTALL.0" + std::to_string(t.VolumeCount + 1))));
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
  const std::string ok = In("OK.TXT", Bytes(10, 'k'));
  std::string many;
  for (int i = 0; i < 255; ++i) many += " " + ok;  // 255 files pass the count and stop at the names
  const struct {
    std::string args, message;
    int exitCode = 1;  // 2 for an option the command line cannot mean
  } cases[] = {
      {In("\u03A9\u03BC\u03AD\u03B3\u03B1.txt", Bytes(1, 'w')), "cannot be written in code page 1252"},
      {"--title \u03A9 " + ok, "--title '\u03A9' cannot be written in code page 1252", 2},
      {In("A:B", Bytes(1, 'c')), "'A:B' holds a character Windows does not allow in a file name"},
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
      {"--fast --volume-size 5000 " + In("NOISE.BIN", RandomBytes(1'300'000, 4)), "a disk set holds at most 255"},
      {"--volume-size 1.3M " + ok, "160K, 180K, 320K, 360K, 720K, 1.2M, 1.44M, 1.68M, 2.88M", 2},
      {"--name a/b " + ok, "--name 'a/b' holds a character Windows does not allow", 2},
      {"--name setup " + ok, "--name 'setup' does not end in .EXE", 2},
      {"--volume-size 1440 " + ok, "would be 1440 bytes; for the 1.44M floppy format write 1.44M (or 1440K)", 2},
      {"--images --volume-size 100000 " + ok, "--images needs a floppy format", 2},
      {"--codepage 77777 " + ok, "'77777' is not a Windows ANSI or OEM code page written in decimal; one of 437, "
                                 "737, 775, 850, 852, 855, 857, 858, 860, 861", 2},
      {"", "FILE is required (or --files-from LIST)", 2},
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
  const Bytes bare = Slurp(Stub());
  Bytes plus = bare, magic = bare, cut = bare, noPe = bare;
  plus[0x58] = 0x0B, plus[0x59] = 0x02;  // PE32+
  magic[0x58] = 0x07;
  cut[0x47] = 0x10;  // 4096 sections: the table runs past the file
  noPe[0x40] = 'X';
  PackSet({{"OLD.TXT", bare}}, "", "old");
  PackSet({{"OLD.TXT", bare}}, "--no-checksums", "plain");
  const struct {
    fs::path stub;
    int exitCode;
    std::string message;
  } cases[] = {
      {Put("plus.exe", plus), 0, ""},
      {Put("README.TXT", Bytes(713, 'r')), 2, "README.TXT: not a Windows program (no MZ header)"},
      {Put("nope.exe", noPe), 2, "not a Windows program (no PE header)"},
      {Put("magic.exe", magic), 2, "not a PE32 or PE32+ program (optional header magic 0x107)"},
      {Put("cut.exe", cut), 2, "its PE headers do not parse (cut short)"},
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
  const std::string pack = std::string(DISKSPAN_PACK) + " --force --stub " + Stub();
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

// A flat set (no subfolders) comes out byte for byte as pinned: the setup
// file, its record (which names the code page) and every volume.
TEST_F(PackTree, FlatSetIsByteForByteAsBefore) {
  PackSet({{"README.TXT", MixedBytes(3000, 1)}, {"DATA.BIN", MixedBytes(40000, 2)}, {"EMPTY.DAT", {}},
           {"NOISE.BIN", RandomBytes(30000, 3)}},
          "--title Pinned --launch DATA.BIN --volume-size 30000");
  EXPECT_EQ(RunCommand("cd '" + (dir / "set").string() + "' && sha256sum *").Output,
            "ff4ddc6479d9fa63838a4cb7774e2e42227cf7899cb7eccce210d49cab456870  SETUP.01\n"
            "fbf807abd073ec25c0275adcf249aba689800187099e6fedc251f56378264efc  SETUP.02\n"
            "ba5adca63467d305a9a107308729e39a21e5b69f8138137b99ad83c724d9b9d9  SETUP.03\n"
            "eb3a88e57c0776b5a2ee6b66064f7ae83913e9bad2e35d2004cee9c62fe66d23  SETUP.EXE\n");
}

// 199 files in three levels, with spaces and long names, packed from the
// folder: stored with backslashes, sorted name by name within each folder,
// an empty folder left out (and named with -v), a link to a file followed.
TEST_F(PackTree, AFolderPacksItsTreeUnderSortedPaths) {
  std::vector<std::vector<std::string>> paths;
  const auto joined = [](const std::vector<std::string>& parts) {
    std::string path;
    for (const auto& part : parts) path += (path.empty() ? "" : "/") + part;
    return path;
  };
  const auto add = [&](std::vector<std::string> parts, std::size_t k) {
    parts.back() += " " + std::to_string(k) + ".txt";
    Make(joined(parts), MixedBytes(500 + 37 * k, static_cast<unsigned>(k)));
    paths.push_back(parts);
  };
  for (std::size_t k = 0; k < 39; ++k) add({"Read me first"}, k);
  for (const char* folder : {"Doc Set", "Doc Set B", "bin", "Sub"})
    for (std::size_t k = 0; k < 20; ++k) {
      add({folder, "a long file name"}, k);
      add({folder, "More Docs", "x"}, k);
    }
  fs::create_directories(dir / "tree" / "Empty" / "Inner");
  fs::create_symlink("Read me first 1.txt", dir / "tree" / "link to one");
  paths.push_back({"link to one"});
  std::sort(paths.begin(), paths.end());  // name by name, as each folder is walked
  std::vector<std::string> expected;
  for (const auto& parts : paths) expected.push_back(joined(parts));

  const RunResult r = PackIn("-v --volume-size 60000 --launch 'Doc Set B/More Docs/x 7.txt' .");
  ASSERT_TRUE(Ends(r, 0, {"./Empty: holds no files; left out", "./Empty/Inner: holds no files",
                          "as Doc Set B\\More Docs\\x 7.txt, disk"}));
  // The extractor lists the paths with slashes and restores the tree.
  const Json listing = JsonOf(std::string(DISKSPAN_EXTRACT) + " --list --json " + Setup());
  EXPECT_EQ(NamesIn(listing), expected);
  EXPECT_EQ(listing["launch"], "Doc Set B/More Docs/x 7.txt");
  EXPECT_TRUE(Ends(ExtractTo(Setup()), 0));
  EXPECT_EQ(RunCommand("diff -r -x Empty '" + (dir / "tree").string() + "' '" + (dir / "out").string() + "'"),
            (RunResult{0, ""}));
}

// Three clashes, two names too long and two missing files: all seven are
// reported in one run, each with its sources, and nothing is written.
TEST_F(PackTree, EveryProblemIsReportedInOneRun) {
  Make("a/SAME.TXT", {'a'}), Make("b/same.txt", {'b'}), Make("a/caf\u00E9.txt", {'c'}), Make("b/CAF\u00C9.TXT", {'C'});
  Make("BIN", {'f'}), Make("tools/BIN/X.EXE", {'x'}), Make(std::string(40, 'L'), {'l'});
  Make("deep/folder with a longer name/file 1.txt", {'d'});
  Spill(dir / "list", Bytes{'g', 'o', 'n', 'e', '\n'});
  const RunResult r = PackIn("--files-from ../list a/SAME.TXT b/same.txt a/caf\u00E9.txt b/CAF\u00C9.TXT BIN tools " +
                             std::string(40, 'L') + " --graft-points deep/=deep missing");
  EXPECT_TRUE(Ends(r, 1,
                   {"a/SAME.TXT and b/same.txt would both install as 'same.txt'",
                    "a/caf\u00E9.txt and b/CAF\u00C9.TXT would both install as 'CAF\u00C9.TXT'",
                    "BIN would install as the file 'BIN', where tools/BIN/X.EXE needs a folder ('BIN\\X.EXE')",
                    "the name '" + std::string(40, 'L') + "' takes 40 bytes in code page 1252; at most 39 fit",
                    "the name 'deep\\folder with a longer name\\file 1.txt' takes 41 bytes",
                    "missing: no such file", "gone: no such file",
                    "7 problems with the files to pack; nothing written"}));
  EXPECT_FALSE(fs::exists(dir / "set"));

  // Over 255 files: a hint names the top-level folders a second set could take.
  for (std::size_t k = 0; k < 300; ++k) Make((k < 200 ? "many/docs/f" : "many/bin/f") + std::to_string(k), {});
  EXPECT_TRUE(Ends(PackIn("many"), 1,
                   {"300 files to pack; a disk set holds at most 255", "hint: files by top-level folder: docs 200, bin 100",
                    "hint: docs could go into a second set (200 files), leaving 100 files in this one"}));

  // Links are followed, but not round a loop nor to nothing.
  Make("looped/sub/file", {'f'});
  fs::create_symlink("..", dir / "tree" / "looped" / "sub" / "up");
  fs::create_symlink("nowhere", dir / "tree" / "looped" / "dangling");
  EXPECT_TRUE(Ends(PackIn("looped"), 1, {"looped/dangling: a link to nothing (nowhere)",
                                         "looped/sub/up: a link back to a folder it lies in (a loop); not followed",
                                         "2 problems"}));
}

// Names the installer would take for another thing are refused, each with
// its reason: devices in disguise, the installer's own temporaries (at the
// top only), and a folder that is a device; in a double-byte code page a
// trail byte 5C is no backslash.
TEST_F(PackTree, NamesAreRefusedWithTheirReasons) {
  const std::string device = "is a reserved device name", temporary = "is the name of a file the installer makes";
  const struct {
    std::string name, options, message;  // an empty message: packed
  } cases[] = {
      {"NUL .TXT", "", device},  {"CON .TXT", "", device},         {"COM0", "", device},
      {"LPT\u00B9.DAT", "", device}, {"SPLIT.SPT", "", temporary}, {"Compress.Spt", "", temporary},
      {"sub/split.spt", "", ""}, {"AUX/x.txt", "", "'AUX\\x.txt': 'AUX' " + device},
      {"dot.", "", "ends in a dot or a space"}, {"\u30BD\u30D5\u30C8.TXT", "--codepage 932", ""},
  };
  for (const auto& c : cases) {
    fs::remove_all(dir / "tree"), fs::remove_all(dir / "set");
    Make(c.name, {'n'});
    const RunResult r = PackIn("-q " + c.options + " .");
    EXPECT_TRUE(Ends(r, c.message.empty() ? 0 : 1, {c.message})) << c.name;
  }
}

// --files-from with graft points: a list file, standard input with NUL
// separators, and the command line; a listed path keeps its place.
TEST_F(PackTree, FileListsAndGraftPointsNameTheStoredFiles) {
  Make("doc/A rather long and awkward name of a file.txt", {'1'}), Make("src/x", {'2'}), Make("bin/tool", {'3'});
  Make("docs/guide", {'4'}), Make("docs/faq", {'5'}), Make("eq=sign", {'6'});
  std::ofstream(dir / "list") << "SHORT.TXT=doc/A rather long and awkward name of a file.txt\r\nDOCS/=docs\n"
                              << "a\\=b.txt=src/x\n\n./bin/tool\nINTO/=bin/tool\n";
  const std::string pack = PackHere("--dry-run --json ");
  EXPECT_EQ(NamesIn(JsonOf(pack + "--graft-points --files-from ../list 'ONE\\TOP.TXT=src/x' 'eq\\=sign'")),
            (std::vector<std::string>{"ONE\\TOP.TXT", "eq=sign", "SHORT.TXT", "DOCS\\faq", "DOCS\\guide", "a=b.txt",
                                      "bin\\tool", "INTO\\tool"}));
  EXPECT_EQ(NamesIn(JsonOf("printf 'X.TXT=src/x\\0docs\\0eq\\\\=sign' | (" + pack + "-0 --graft-points --files-from -)")),
            (std::vector<std::string>{"X.TXT", "docs\\faq", "docs\\guide", "eq=sign"}));
  EXPECT_EQ(NamesIn(JsonOf("echo bin | (" + pack + "eq=sign --files-from -)")),
            (std::vector<std::string>{"eq=sign", "bin\\tool"}));
}

// --dry-run writes nothing and tells exactly what the pack then writes: the
// same files, sizes and disks, the disks being the ones the extractor lists.
TEST_F(PackTree, DryRunTellsWhatThePackWrites) {
  for (unsigned k = 1; k <= 6; ++k)
    Make("F" + std::to_string(k) + ".BIN", k % 2 ? RandomBytes(7000 * k, k) : MixedBytes(20000 * k, k));
  Make("sub/EMPTY", {});
  const std::string options = " --json --volume-size 30000 F1.BIN F2.BIN F3.BIN F4.BIN F5.BIN F6.BIN sub";
  Json plan = JsonOf(PackHere("--dry-run" + options));
  EXPECT_FALSE(fs::exists(dir / "set"));
  const Json written = JsonOf(PackHere(options));
  ASSERT_EQ(plan["dryRun"], true);
  plan["dryRun"] = false;
  EXPECT_EQ(plan, written);
  EXPECT_GE(written["disks"], 5);
  EXPECT_EQ(written["files"][6]["disks"], nullptr);  // sub\EMPTY: no disk holds it
  const Json listed = JsonOf(std::string(DISKSPAN_EXTRACT) + " --json -l " + Setup());
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(listed["files"][i]["disks"], written["files"][i]["disks"]) << i;
}

}  // namespace
}  // namespace tooltest
