// Both tools in one command-line manner: versions, usage errors that name
// the program, exit codes in the help, plurals, results alone on standard
// output, and progress on standard error only when it is a terminal.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "ToolTestSupport.h"

namespace tooltest {
namespace {

const std::string Pack = DISKSPAN_PACK;
const std::string Extract = DISKSPAN_EXTRACT;

// Runs `command` with standard error on a pseudo-terminal (script(1)); the
// transcript holds what the terminal showed.
RunResult OnTerminal(const std::string& command) {
  return RunCommand("script -qec \"" + command + "\" /dev/null");
}

class CommandLineManner : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir / "in");
    Spill(dir / "stub.exe", Bytes(3000, 'S'));
    Spill(dir / "in" / "ONLY.TXT", MixedBytes(1'000'000, 1));
  }
  std::string PackArgs(const std::string& out) const {
    return "--stub " + (dir / "stub.exe").string() + " -o " + (dir / out).string() + " " + (dir / "in" / "ONLY.TXT").string();
  }
  TestDirectory dir;
};

TEST_F(CommandLineManner, VersionsUsageErrorsAndHelpAreAlike) {
  for (const std::string& tool : {Pack, Extract}) {
    const std::string name = fs::path(tool).filename().string();
    for (const char* flag : {"-V", "--version"}) {
      const RunResult r = RunCommand(tool + " " + flag);
      EXPECT_EQ(r.ExitCode, 0);
      EXPECT_EQ(r.Output.rfind(name + " ", 0), 0u) << r.Output;
    }
    const RunResult wrong = RunCommand(tool + " --no-such-option x");
    EXPECT_EQ(wrong.ExitCode, 2);
    EXPECT_EQ(wrong.Output.rfind(name + ": ", 0), 0u) << wrong.Output;
    EXPECT_NE(wrong.Output.find("Try '" + name + " --help'"), std::string::npos) << wrong.Output;
    const RunResult help = RunCommand(tool + " --help");
    EXPECT_EQ(help.ExitCode, 0);
    for (const char* text : {"Exit codes:", "-q,--quiet", "-v,--verbose", "--no-progress", "--codepage"})
      EXPECT_NE(help.Output.find(text), std::string::npos) << name << " lacks " << text;
    EXPECT_EQ(help.Output.find("STUB"), std::string::npos);
  }
  // A value CLI11 cannot convert and one out of range are both usage errors.
  EXPECT_EQ(RunCommand(Pack + " --title-size big " + PackArgs("x")).ExitCode, 2);
  EXPECT_EQ(RunCommand(Pack + " --title-size 99 " + PackArgs("x")).ExitCode, 2);
}

TEST_F(CommandLineManner, StandardOutputCarriesOnlyResults) {
  RunResult r = RunCommand(Pack + " " + PackArgs("set") + " 2>/dev/null");
  ASSERT_EQ(r.ExitCode, 0);
  EXPECT_NE(r.Output.find("1 file, 1000000 bytes coded into"), std::string::npos) << r.Output;
  EXPECT_NE(r.Output.find(" on 1 disk of 1.44M\n"), std::string::npos) << r.Output;
  EXPECT_EQ(r.Output.find('\r'), std::string::npos);

  r = RunCommand(Pack + " --json --force " + PackArgs("set") + " 2>/dev/null");
  ASSERT_EQ(r.ExitCode, 0);
  const auto summary = nlohmann::json::parse(r.Output);
  EXPECT_EQ(summary["files"].size(), 1u);
  EXPECT_EQ(summary["decodedSize"], 1000000);
  EXPECT_EQ(summary["disks"], summary["volumes"].size());

  EXPECT_EQ(RunCommand(Pack + " -q --force " + PackArgs("set")).Output, "");
  const std::string stub = (dir / "set" / "SETUP.EXE").string();
  r = RunCommand(Extract + " -d " + (dir / "out").string() + " " + stub + " 2>&1");
  EXPECT_EQ(r.Output, "1 file written to " + (dir / "out").string() + "\n");
  r = RunCommand(Extract + " -v --overwrite -d " + (dir / "out").string() + " " + stub + " 2>/dev/null");
  EXPECT_EQ(r.Output, (dir / "out" / "ONLY.TXT").string() + "\n1 file written to " + (dir / "out").string() + "\n");
  EXPECT_EQ(RunCommand(Extract + " -q -t " + stub).Output, "");
}

TEST_F(CommandLineManner, ProgressShowsOnATerminalUnlessSilenced) {
  RunResult r = OnTerminal(Pack + " " + PackArgs("set"));
  ASSERT_EQ(r.ExitCode, 0) << r.Output;
  EXPECT_NE(r.Output.find("%  "), std::string::npos) << r.Output;
  EXPECT_NE(r.Output.find("file 1 of 1, 1 volume"), std::string::npos) << r.Output;

  const std::string stub = (dir / "set" / "SETUP.EXE").string();
  r = OnTerminal(Extract + " -t " + stub);
  EXPECT_NE(r.Output.find("100%"), std::string::npos) << r.Output;
  EXPECT_NE(r.Output.find("file 1 of 1, disk 1 of 1"), std::string::npos) << r.Output;
  for (const char* silence : {"--no-progress", "-q"}) {
    r = OnTerminal(Extract + " -t " + silence + " " + stub);
    EXPECT_EQ(r.Output.find('%'), std::string::npos) << silence << ": " << r.Output;
  }
}

}  // namespace
}  // namespace tooltest
