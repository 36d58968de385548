// What diskspan-extract was asked to do, its options and exit codes.
#pragma once

#include <CLI/CLI.hpp>

#include "CommandLine.h"
#include "SetInfo.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

enum ExitCode { Success = 0, Damaged = 1, Usage = 2, FilesExist = 3, NothingMatched = 4 };

struct ExtractRequest {
  enum Action { Extract, List, Test, ToStdout };
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
  std::string CodePage;    // as given: decimal digits (CodePageFromOption); empty: the set's own
  std::string VolumeName;  // what the volumes are named after, when not after the installer
  bool WaitForDisks = false;

  // Straight from the command line; ResolveArguments sorts them out.
  std::vector<std::string> Arguments;     // before "--"
  std::vector<std::string> AfterOptions;  // after "--": patterns, whatever they name
  // Arguments after SETUP.EXE that name a directory or a disk image: more
  // places to look for volumes, unless one also selects a file of the set
  // (CheckPlaceArguments).
  std::vector<std::filesystem::path> PlaceArguments;
};

// A command line that cannot mean anything (exit code 2).
class UsageProblem : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

extern const char* const ExtractDescription;

void AddExtractOptions(CLI::App& app, ExtractRequest& request);

// The command line up to "--", with each "--volumes A B C" written
// "--volumes A --volumes B --volumes C": --volumes takes the directories and
// disk images that follow it, up to the first argument that is neither,
// and never the set's installer while none has come before it (a file that
// is no disk image, or a disk image that holds an installer). What follows
// "--" goes to `afterOptions`.
std::vector<std::string> SpreadVolumesOptions(int argc, char** argv, std::vector<std::string>& afterOptions);

// Sorts the arguments: the first is the set; after it, directories and disk
// images are candidate places to look for volumes and anything else is a
// pattern, as is everything after "--". Raises UsageProblem for a
// --volumes place that does not exist.
void ResolveArguments(ExtractRequest& request);

// Once the set is read: a place argument that also matches a file of the
// set is ambiguous (UsageProblem naming both readings and how to choose);
// the others join the volume places.
void CheckPlaceArguments(ExtractRequest& request, const SetInfo& set);
