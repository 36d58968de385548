// What diskspan-extract was asked to do, its options and exit codes.
#pragma once

#include <CLI/CLI.hpp>

#include "CommandLine.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

enum ExitCode { Success = 0, Damaged = 1, Usage = 2, FilesExist = 3, NothingMatched = 4 };

struct ExtractRequest {
  enum Action { Extract, List, Test };
  enum WhenExisting { Keep, Skip, Overwrite };

  std::filesystem::path Setup;  // the set's SETUP.EXE, or its first disk image
  std::vector<std::string> Patterns;
  std::vector<std::filesystem::path> VolumePlaces;  // directories and disk images
  std::filesystem::path OutputDir = ".";
  Action Mode = Extract;
  WhenExisting Existing = Keep;
  bool Json = false;
  bool IgnoreChecksums = false;
  OutputChoices Output;
  int CodePageNumber = 1252;

  // Straight from the command line; ResolveArguments sorts them out.
  std::vector<std::string> Arguments;
};

// A command line that cannot mean anything (exit code 2).
class UsageProblem : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

extern const char* const ExtractDescription;

void AddExtractOptions(CLI::App& app, ExtractRequest& request);

// The command line with each "--volumes A B C" written "--volumes A
// --volumes B --volumes C": --volumes takes the directories and disk images
// that follow it, up to the first argument that is neither (SETUP.EXE, say).
std::vector<std::string> SpreadVolumesOptions(int argc, char** argv);

// Sorts the arguments: the first is the set; after it, directories and disk
// images are more places to look for volumes and anything else is a
// pattern. Raises UsageProblem for a --volumes place that does not exist.
void ResolveArguments(ExtractRequest& request);
