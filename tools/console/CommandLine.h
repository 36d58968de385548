// What both tools share on the command line: how usage errors are told,
// exit codes, plurals.
#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Parses; on --help or --version prints them and returns 0, on a usage
// error prints "PROGRAM: what was wrong" and a hint and returns 2, else
// nothing (go on).
std::optional<int> ParseCommandLine(CLI::App& app, int argc, char** argv);
// The same for arguments already gathered (without the program's name).
std::optional<int> ParseCommandLine(CLI::App& app, std::vector<std::string> args);

// How much a tool says, and where: both tools take the same options for it.
struct OutputChoices {
  bool Progress = true;        // a progress line when standard error is a terminal
  bool ForceProgress = false;  // even when it is not one
  bool Quiet = false;          // errors only
  bool Verbose = false;
  // Whether to draw the progress line on a terminal, and elsewhere too.
  bool ProgressOnTerminal() const { return Progress && !Quiet; }
  bool ProgressForced() const { return ForceProgress && !Quiet; }
};

// --no-progress, --progress, -q and -v (described by `verboseHelp`).
void AddOutputOptions(CLI::App& app, OutputChoices& choices, const std::string& verboseHelp);

// "1 file", "3 files", "1 disk".
std::string Counted(std::int64_t count, const std::string& singular);
