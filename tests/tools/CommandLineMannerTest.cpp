// Both tools in one manner: versions, usage errors naming the program, help,
// results alone on standard output, progress only on a terminal.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ToolTestSupport.h"

namespace tooltest {
namespace {

// Runs `command` with standard error on a pseudo-terminal (script(1)).
RunResult OnTerminal(const std::string& command) { return RunCommand("script -qec \"" + command + "\" /dev/null"); }

class CommandLineManner : public ToolTest {
 protected:
  void SetUp() override { only = Put("in/ONLY.TXT", MixedBytes(1'000'000, 1)); }
  std::string PackArgs() const { return "--stub " + Stub() + " -o " + (dir / "set").string() + " " + only; }
  std::string only;
  const std::string pack = DISKSPAN_PACK, extract = DISKSPAN_EXTRACT;
};

TEST_F(CommandLineManner, VersionsUsageErrorsAndHelpAreAlike) {
  for (const std::string& tool : {pack, extract}) {
    const std::string name = fs::path(tool).filename().string();
    for (const char* flag : {"-V", "--version"}) EXPECT_TRUE(RunCommand(tool + " " + flag).Output.starts_with(name + " "));
    const RunResult help = RunCommand(tool + " --help");
    EXPECT_TRUE(Ends(help, 0, {"Exit codes:", "-q,--quiet", "-v,--verbose", "--no-progress", "--codepage"}) &&
                !Has(help, "STUB")) << name;
  }
  // Unknown options, values that do not convert, options that exclude each other.
  for (const std::string& wrong : {pack + " --no-such-option x", pack + " --title-size big " + PackArgs(),
                                   extract + " --no-such-option x", extract + " --json x", extract + " -l -t x",
                                   extract + " -n --overwrite x"}) {
    const RunResult r = RunCommand(wrong);
    const std::string name = fs::path(wrong.substr(0, wrong.find(' '))).filename().string();
    EXPECT_TRUE(Ends(r, 2, {"Try '" + name + " --help'"}) && r.Output.starts_with(name + ": ")) << wrong;
  }
}

TEST_F(CommandLineManner, StandardOutputCarriesOnlyResults) {
  RunResult r = Pack(PackArgs());
  EXPECT_TRUE(Ends(r, 0, {"1 file, 1000000 bytes coded into", " on 1 disk of 1.44M\n"}) && !Has(r, "\r"));
  r = Pack("--json --force " + PackArgs());  // nothing but the document, though standard error is read too
  EXPECT_EQ(nlohmann::json::parse(r.Output, nullptr, false)["decodedSize"], 1000000) << r.Output;

  const std::string out = (dir / "out").string();
  EXPECT_EQ(ExtractTo(Setup()), (RunResult{0, "1 file written to " + out + "\n"}));
  EXPECT_EQ(ExtractTo("-v --overwrite " + Setup()).Output,
            (dir / "out" / "ONLY.TXT").string() + "\n1 file written to " + out + "\n");
  EXPECT_EQ(Extract("-q -t " + Setup()), (RunResult{0, ""}));
}

TEST_F(CommandLineManner, ProgressShowsOnATerminalUnlessSilenced) {
  EXPECT_TRUE(Ends(OnTerminal(pack + " " + PackArgs()), 0, {"%  ", "file 1 of 1, 1 volume"}));
  EXPECT_TRUE(Ends(OnTerminal(extract + " -t " + Setup()), 0, {"100%", "file 1 of 1, disk 1 of 1"}));
  for (const char* silence : {"--no-progress", "-q"})
    EXPECT_FALSE(Has(OnTerminal(extract + " -t " + silence + " " + Setup()), "%")) << silence;
}

}  // namespace
}  // namespace tooltest
