// The extractor over the crafted sets of tests/data/crafted (made by
// MakeCraftedSets): each hostile or broken set ends with a clear message and
// the right exit code, shows no control character, and writes nothing it
// should not, outside the output directory or in it.
#include <gtest/gtest.h>

#include "ToolTestSupport.h"

namespace tooltest {
namespace {

const std::string Extract = DISKSPAN_EXTRACT;

fs::path Crafted(const std::string& name) { return fs::path(DISKSPAN_TEST_DATA) / "crafted" / name / "SETUP.EXE"; }

bool HasControlCharacter(const std::string& text) {
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\n') || u == 0x7F) return true;
  }
  // C1 controls in UTF-8: C2 80 to C2 9F.
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    if (static_cast<unsigned char>(text[i]) == 0xC2 && (static_cast<unsigned char>(text[i + 1]) & 0xE0) == 0x80)
      return true;
  return false;
}

class CraftedSets : public ::testing::Test {
 protected:
  RunResult Run(const std::string& args) { return RunCommand(Extract + " -d '" + (dir / "out").string() + "' " + args); }
  TestDirectory dir;
};

TEST_F(CraftedSets, ABombIsRefusedBeforeAnythingIsWritten) {
  for (const char* mode : {"-t", "-e"}) {
    const RunResult r = Run(std::string(mode) + " '" + Crafted("bomb").string() + "'");
    EXPECT_EQ(r.ExitCode, 1) << mode;
    EXPECT_NE(r.Output.find("the entries claim 1020000 bytes in all, more than the 4000 bytes"), std::string::npos)
        << r.Output;
  }
  EXPECT_TRUE(dir.Files().empty());
}

TEST_F(CraftedSets, ControlSequencesAreShownEscapedAndTheirNamesRefused) {
  const RunResult list = Run("-l '" + Crafted("escapes").string() + "'");
  EXPECT_EQ(list.ExitCode, 0) << list.Output;
  EXPECT_FALSE(HasControlCharacter(list.Output)) << list.Output;
  EXPECT_NE(list.Output.find("Title:             \\x1B[31mRED\\x1B[0m\\x90"), std::string::npos) << list.Output;
  EXPECT_NE(list.Output.find("C:\\\\x1B]0;owned\\x07"), std::string::npos) << list.Output;
  const RunResult json = Run("-l --json '" + Crafted("escapes").string() + "'");
  EXPECT_FALSE(HasControlCharacter(json.Output)) << json.Output;

  const RunResult extract = Run("'" + Crafted("escapes").string() + "'");
  EXPECT_EQ(extract.ExitCode, 1);
  EXPECT_FALSE(HasControlCharacter(extract.Output)) << extract.Output;
  EXPECT_NE(extract.Output.find("'\\x1B]0;TITLE\\x07.TXT' is not a plain file name; refused"), std::string::npos)
      << extract.Output;
  EXPECT_NE(extract.Output.find("'HOLE\\x81.TXT' holds a byte code page 1252 gives no character"), std::string::npos);
  EXPECT_EQ(dir.Files(), std::vector<std::string>{"out/GOOD.TXT"});
}

TEST_F(CraftedSets, AForeignFileShowsNothing) {
  for (const char* mode : {"-l", "-l --json", "-t", "-e"}) {
    const RunResult r = Run(std::string(mode) + " '" + Crafted("foreign").string() + "'");
    EXPECT_EQ(r.ExitCode, 1) << mode;
    EXPECT_NE(r.Output.find("SETUP.EXE is not a disk set installer (no configuration block at its end)"),
              std::string::npos) << r.Output;
    EXPECT_EQ(r.Output.find("Title:"), std::string::npos) << r.Output;
  }
  EXPECT_TRUE(dir.Files().empty());
}

TEST_F(CraftedSets, EntriesNamedLikeTemporariesAreOrdinaryFiles) {
  const fs::path set = Crafted("temporary-names");
  RunResult r = Run("'" + set.string() + "'");
  ASSERT_EQ(r.ExitCode, 0) << r.Output;
  const std::vector<std::string> names = {".diskspan-0123456789abcdef.tmp", ".diskspan-4242-0.partial",
                                          ".diskspan-4242-1.partial", "A.TXT"};
  std::vector<std::string> expected;
  for (const auto& name : names) expected.push_back("out/" + name);
  EXPECT_EQ(dir.Files(), expected);
  // Each holds its own hundred bytes: none was written over another.
  for (std::size_t i = 0; i < names.size(); ++i)
    for (std::size_t j = i + 1; j < names.size(); ++j)
      EXPECT_NE(Slurp(dir / "out" / names[i]), Slurp(dir / "out" / names[j])) << names[i] << " " << names[j];

  // A file of a temporary's name is kept like any other.
  Spill(dir / "out" / ".diskspan-4242-0.partial", Bytes(3, 'k'));
  r = Run("'" + set.string() + "'");
  EXPECT_EQ(r.ExitCode, 3);
  EXPECT_NE(r.Output.find(".diskspan-4242-0.partial: already exists; kept"), std::string::npos) << r.Output;
  EXPECT_EQ(Slurp(dir / "out" / ".diskspan-4242-0.partial"), Bytes(3, 'k'));
  EXPECT_EQ(dir.Files(), expected);
}

TEST_F(CraftedSets, VolumesThatDifferOnlyInCaseAreNamedAndNeitherIsTaken) {
  for (const char* mode : {"-t", "-e"}) {
    const RunResult r = Run(std::string(mode) + " '" + Crafted("case-twins").string() + "'");
    EXPECT_EQ(r.ExitCode, 1) << mode;
    EXPECT_NE(r.Output.find("differ only in case"), std::string::npos) << r.Output;
    EXPECT_NE(r.Output.find("Setup.02"), std::string::npos) << r.Output;
    EXPECT_NE(r.Output.find("setup.02"), std::string::npos) << r.Output;
  }
  EXPECT_TRUE(dir.Files().empty());
}

}  // namespace
}  // namespace tooltest
