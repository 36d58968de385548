// The sets kept in tests/data as bytes. The crafted ones (from
// MakeCraftedSets) get a clear message and exit code, show no control
// character, and write nothing they should not. The pinned ones, made before
// sets carried checksums, list, test and restore as pinned: the block's
// layout, the volume naming and the stream are held to bytes that no current
// tool made.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "ToolTestSupport.h"

namespace tooltest {
namespace {

// C0 controls but the newline, DEL, and C1 controls in UTF-8 (C2 80 to C2 9F).
bool HasControlCharacter(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i)
    if (const auto u = static_cast<unsigned char>(text[i]); (u < 0x20 && u != '\n') || u == 0x7F ||
        (u == 0xC2 && i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80))
      return true;
  return false;
}

class CraftedSets : public ToolTest {
 protected:
  RunResult Run(const std::string& mode, const std::string& set) {
    return ExtractTo(mode + " '" + (fs::path(DISKSPAN_TEST_DATA) / "crafted" / set / "SETUP.EXE").string() + "'");
  }
};

// Hostile sets are shown escaped or refused and write only their good files.
// Sets with a record: version 1 (before the table and settings were
// covered) and version 2 read and check; a later version is said to go
// unchecked; a record that fails its own CRC or counts, or a table that
// fails the version 2 CRC, is a damaged installer: listed with exit code 1,
// neither tested nor extracted unless --ignore-checksums, which says so.
TEST_F(CraftedSets, EachGetsItsMessageAndExitCodeAndWritesOnlyItsGoodFiles) {
  const std::string crcDamage = "SETUP.EXE is damaged (its verification record fails its own CRC-32): get a good copy "
                                "of disk 1, or read the set without its checksums (--ignore-checksums)\n";
  const std::string tableDamage = "SETUP.EXE is damaged (its file table or settings do not match their CRC-32)";
  const struct {
    const char* set;
    std::vector<std::string> modes;
    int exitCode;
    std::vector<std::string> messages;
    std::size_t writes = 0;  // files written
  } cases[] = {
      {"bomb", {"-t", "-e"}, 1, {"the entries claim 1020000 bytes in all, more than the 4000 bytes"}},
      {"case-twins", {"-t", "-e"}, 1, {"differ only in case", "Setup.02", "setup.02"}},
      {"foreign", {"-l", "-l --json", "-t", "-e"}, 1,
       {"SETUP.EXE is not a disk set installer (no configuration block at its end)"}},
      {"escapes", {"-l"}, 0,
       {"Title:             \\x1B[31mRED\\x1B[0m\\x90\\x7F", "C:\\\\x1B]0;owned\\x07", "  RUB\\x7FOUT.TXT\n"}},
      {"escapes", {"-l --json"}, 0, {}},
      {"escapes", {"-e"}, 1,
       {"'\\x1B]0;TITLE\\x07.TXT' is not a plain file name: it holds a control character; refused",
        "'HOLE\\x81.TXT' holds a byte code page 1252 gives no character",
        "'RUB\\x7FOUT.TXT' is not a plain file name"}, 1},
      {"record-v1", {"-l"}, 0, {"Checksums:         CRC-32 of the installer, every volume and every file\n"}},
      {"record-v1", {"-t"}, 0, {"The set is sound: the installer, every volume and every file match their CRC-32s.\n"}},
      {"record-v1", {"-e"}, 0, {"3 files written"}, 3},
      {"record-v2", {"-l"}, 0, {"Checksums:         CRC-32 of the installer, its file table, every volume and every file\n"}},
      {"record-v2", {"-t"}, 0,
       {"The set is sound: the installer, its file table, every volume and every file match their CRC-32s.\n"}},
      {"record-v3", {"-l"}, 0, {"Checksums:         of a later kind (version 3), not read\n"}},
      {"record-v3", {"-e"}, 0,
       {"SETUP.EXE carries checksums of a later kind (version 3) that this diskspan-extract cannot read: they are not "
        "checked\n", "3 files written"}, 3},
      {"record-crc", {"-l"}, 1,
       {"Title:             Tools\n", "Checksums:         DAMAGED: its verification record fails its own CRC-32\n",
        crcDamage}},
      {"record-crc", {"-t", "-e"}, 1, {crcDamage}},
      {"record-crc", {"-e --ignore-checksums"}, 0,
       {"--ignore-checksums: SETUP.EXE is damaged (its verification record fails its own CRC-32); not checking the "
        "installer, the volumes or the files against its CRC-32s\n", "3 files written"}, 3},
      {"dropped-entry", {"-t"}, 1, {"SETUP.EXE is damaged (its verification record counts ", " and 3 files, the set ",
                                  " and 2 files): get a good copy of disk 1"}},
      {"changed-table", {"-l"}, 1, {"Title:             Urgent update\n", "AUTOEXEC.BAT", tableDamage}},
      {"changed-table", {"-t", "-e"}, 1, {tableDamage}},
      {"changed-table", {"-l --ignore-checksums"}, 0, {"--ignore-checksums: " + tableDamage}},
  };
  for (const auto& c : cases)
    for (const std::string& mode : c.modes) {
      fs::remove_all(dir / "out");
      const RunResult r = Run(mode, c.set);
      EXPECT_TRUE(Ends(r, c.exitCode, c.messages)) << c.set << " " << mode;
      const bool titled = std::any_of(c.messages.begin(), c.messages.end(), [](auto& m) { return m.starts_with("Title:"); });
      EXPECT_FALSE((c.exitCode != 0 && !titled && Has(r, "Title:")) || HasControlCharacter(r.Output)) << r.Output;
      EXPECT_EQ(dir.Files().size(), c.writes) << c.set << " " << mode;
    }
}

TEST_F(CraftedSets, EntriesNamedLikeTemporariesAreOrdinaryFiles) {
  ASSERT_TRUE(Ends(Run("", "temporary-names"), 0));
  const std::vector<std::string> expected = {"out/.diskspan-0123456789abcdef.tmp", "out/.diskspan-4242-0.partial",
                                             "out/.diskspan-4242-1.partial", "out/A.TXT"};
  EXPECT_EQ(dir.Files(), expected);
  std::set<Bytes> contents;  // each its own hundred bytes: none written over another
  for (const auto& name : expected) contents.insert(Slurp(dir / name));
  EXPECT_EQ(contents.size(), expected.size());
  // A file of a temporary's name is kept like any other.
  Spill(dir / "out" / ".diskspan-4242-0.partial", Bytes(3, 'k'));
  EXPECT_TRUE(Ends(Run("", "temporary-names"), 3, {".tmp and 3 more files already exist; kept"}));
  EXPECT_TRUE(Ends(Run("-v", "temporary-names"), 3, {".diskspan-4242-0.partial: already exists; kept"}));
  EXPECT_EQ(Slurp(dir / "out" / ".diskspan-4242-0.partial"), Bytes(3, 'k'));
  EXPECT_EQ(dir.Files(), expected);
}

using PinnedSets = ToolTest;

TEST_F(PinnedSets, ListTestAndRestoreAsPinned) {
  for (const char* name : {"one-disk", "three-disks"}) {
    const fs::path set = fs::path(DISKSPAN_TEST_DATA) / "sets" / name;
    const std::string setup = " '" + (set / "SETUP.EXE").string() + "'";
    const Bytes listing = Slurp(set / "listing.json");
    EXPECT_EQ(Extract("--list --json" + setup), (RunResult{0, std::string(listing.begin(), listing.end())})) << name;
    EXPECT_TRUE(Ends(Extract("--list" + setup), 0,
                     {name == std::string("one-disk") ? "Volumes:           1 (SETUP.01), "
                                                      : "Volumes:           3 (SETUP.01 to SETUP.03), ",
                      "Checksums:         none (made without them)\n"}));
    EXPECT_EQ(Extract("-t" + setup), (RunResult{0, "The set is sound as far as it can tell: it carries no checksums, "
                                                   "so only its structure and lengths were checked.\n"})) << name;
    fs::remove_all(dir / "out");
    ASSERT_TRUE(Ends(ExtractTo("-q" + setup), 0)) << name;
    EXPECT_TRUE(Ends(RunCommand("cd '" + (dir / "out").string() + "' && sha256sum -c '" + (set / "SHA256SUMS").string() + "'"), 0))
        << name;
  }
}

}  // namespace
}  // namespace tooltest
