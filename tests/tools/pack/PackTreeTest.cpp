// diskspan-pack over program folders: subfolders, file lists and graft
// points, every problem in one run, and the plan of --dry-run against the
// set a real pack writes.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>

#include "ToolTestSupport.h"

namespace tooltest {
namespace {

using Json = nlohmann::json;

class PackTree : public ToolTest {
 protected:
  PackTree() : ToolTest(DISKSPAN_PACK, DISKSPAN_EXTRACT) { Spill(dir / "stub.exe", FakeStub(3000)); }
  // Writes dir/tree/RELATIVE, folders and all.
  void Make(const std::string& relative, const Bytes& bytes) {
    fs::create_directories((dir / "tree" / relative).parent_path());
    Spill(dir / "tree" / relative, bytes);
  }
  // The command that packs from dir/tree (a shell command's arguments) into dir/set.
  std::string PackCommand(const std::string& args) const {
    return "cd '" + (dir / "tree").string() + "' && " + DISKSPAN_PACK + " --stub ../stub.exe -o ../set " + args;
  }
  RunResult PackIn(const std::string& args) const { return RunCommand(PackCommand(args)); }
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
  std::string Sums(const std::string& set) const {
    return RunCommand("cd '" + (dir / set).string() + "' && sha256sum *").Output;
  }
};

// A flat set (no subfolders) comes out byte for byte as pinned: the setup
// file, its record (which names the code page) and every volume.
TEST_F(PackTree, FlatSetIsByteForByteAsBefore) {
  PackSet({{"README.TXT", MixedBytes(3000, 1)}, {"DATA.BIN", MixedBytes(40000, 2)}, {"EMPTY.DAT", {}},
           {"NOISE.BIN", RandomBytes(30000, 3)}},
          "--title Pinned --launch DATA.BIN --volume-size 30000");
  EXPECT_EQ(Sums("set"),
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
  const auto add = [&](std::vector<std::string> parts, std::size_t k) {
    parts.back() += " " + std::to_string(k) + ".txt";
    std::string relative;
    for (const auto& part : parts) relative += (relative.empty() ? "" : "/") + part;
    Make(relative, MixedBytes(500 + 37 * k, static_cast<unsigned>(k)));
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
  for (const auto& parts : paths) {
    std::string name;
    for (const auto& part : parts) name += (name.empty() ? "" : "\\") + part;
    expected.push_back(name);
  }

  const RunResult r = PackIn("-v --volume-size 60000 --launch 'Doc Set B/More Docs/x 7.txt' .");
  ASSERT_TRUE(Ends(r, 0, {"./Empty: holds no files; left out", "./Empty/Inner: holds no files",
                          "as Doc Set B\\More Docs\\x 7.txt, disk"}));
  // The extractor lists the paths with slashes and restores the tree.
  for (auto& name : expected) std::replace(name.begin(), name.end(), '\\', '/');
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
  const std::string pack = PackCommand("--dry-run --json ");
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
  Json plan = JsonOf(PackCommand("--dry-run" + options));
  EXPECT_FALSE(fs::exists(dir / "set"));
  const Json written = JsonOf(PackCommand(options));
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
