// diskspan-extract: lists, tests and restores a disk set on any machine,
// without Windows.
#include <CLI/CLI.hpp>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "ByteSource.h"
#include "ExtractError.h"
#include "FloppyImage.h"
#include "Extraction.h"
#include "Listing.h"
#include "OutputDirectory.h"
#include "ProgressBar.h"
#include "SetInfo.h"
#include "VolumeFinder.h"

namespace {

namespace fs = std::filesystem;

enum ExitCode { Success = 0, Damaged = 1, Usage = 2 };

struct Request {
  std::vector<fs::path> Inputs;  // the stub, or disk images; more places for volumes
  fs::path OutputDir = ".";
  std::vector<fs::path> VolumeDirs;
  bool List = false;
  bool Json = false;
  bool Test = false;
  bool Extract = false;
  bool Overwrite = false;
  bool Progress = false;
  bool Quiet = false;
  int CodePageNumber = 1252;
};

const char* const Footer =
    "Volumes are looked for beside the stub (or in its disk image), then in each\n"
    "further name and --volumes directory or image, by the set's own naming\n"
    "(SETUP.01, SETUP.02 ... SETUP.010 ...), ignoring case. Disk images are read\n"
    "with mtools.\n"
    "Files are restored with their stored dates, read as local time. A name that is\n"
    "not a plain file name is refused; an existing file is kept unless --overwrite.\n"
    "Names and texts are read in the set's Windows code page (--codepage, 1252 unless\n"
    "told) and shown and created in UTF-8.\n\n"
    "Exit codes: 0 success, 1 a damaged or incomplete set or a refused file, 2 usage.\n\n"
    "Examples:\n"
    "  diskspan-extract -l /media/disk1/SETUP.EXE\n"
    "  diskspan-extract -t --volumes /media/disk2 --volumes /media/disk3 /media/disk1/SETUP.EXE\n"
    "  diskspan-extract -d restored /media/disk1/SETUP.EXE\n"
    "  diskspan-extract -t DISK01.IMG DISK02.IMG DISK03.IMG\n";

void AddOptions(CLI::App& app, Request& r) {
  app.add_option("SET", r.Inputs,
                 "The set's SETUP.EXE (the stub with its configuration block), or its disk images "
                 "(DISK01.IMG ...); further names are places to look for volumes")
      ->required();
  auto* list = app.add_flag("-l,--list", r.List, "List the set's settings and files");
  app.add_flag("--json", r.Json, "With --list: print one JSON document")->needs(list);
  auto* test = app.add_flag("-t,--test", r.Test, "Reassemble and decode without writing anything");
  auto* extract = app.add_flag("-e,--extract", r.Extract, "Restore the files (the default)");
  list->excludes(test)->excludes(extract);
  test->excludes(extract);
  app.add_option("-d,--output-dir", r.OutputDir, "Directory to restore into")->capture_default_str();
  app.add_option("--volumes", r.VolumeDirs, "Another directory or disk image holding volumes (repeatable)")
      ->allow_extra_args(false);
  app.add_option("--codepage", r.CodePageNumber,
                 "Windows code page the set's names and texts are stored in (as the packer was told)")
      ->capture_default_str();
  app.add_flag("--overwrite", r.Overwrite, "Replace files that already exist");
  app.add_flag("--progress", r.Progress, "Show a progress bar on the terminal");
  app.add_flag("-q,--quiet", r.Quiet, "Print only errors");
  app.set_version_flag("--version", "diskspan-extract 0.1.0");
  app.footer(Footer);
}

std::vector<std::int64_t> Sizes(const std::vector<Volume>& volumes) {
  std::vector<std::int64_t> sizes;
  for (const auto& v : volumes) sizes.push_back(v.Size);
  return sizes;
}

int Finish(const SetReport& report, const Request& r, const char* success) {
  for (const auto& p : report.Problems) std::cerr << "diskspan-extract: " << p << "\n";
  if (report.Ok() && !r.Quiet) std::cout << success << "\n";
  return report.Ok() ? Success : Damaged;
}

int Run(const Request& r) {
  const fs::path& first = r.Inputs.front();
  const bool fromImage = IsDiskImage(first);
  const CodePage texts(r.CodePageNumber);
  const SetInfo set = fromImage ? ReadSetInfoFromImage(first, texts) : ReadSetInfo(first, texts);
  if (r.List) {
    std::cout << (r.Json ? ListingJson(set) : ListingText(set));
    return Success;
  }
  std::vector<fs::path> places = {fromImage ? first : first.parent_path()};
  places.insert(places.end(), r.Inputs.begin() + 1, r.Inputs.end());
  places.insert(places.end(), r.VolumeDirs.begin(), r.VolumeDirs.end());
  VolumeFinder finder(places);
  const std::vector<Volume> volumes = FindVolumes(finder, set.StubName, set.VolumeCount());
  VolumeChain stream(volumes);
  ProgressBar bar(r.Progress && !r.Quiet && ::isatty(STDERR_FILENO));
  const ProgressFn progress = [&bar](std::int64_t done, std::int64_t total) { bar.Show(done, total); };
  if (r.Test) {
    const SetReport report = TestSet(set, Sizes(volumes), stream, progress);
    bar.Close();
    return Finish(report, r, "The set is sound: every volume present, the stream decodes to its full size.");
  }
  std::error_code error;
  fs::create_directories(r.OutputDir, error);
  if (error) throw ExtractError(r.OutputDir.string() + ": cannot create: " + error.message());
  OutputDirectory output(r.OutputDir, r.Overwrite, texts);
  SetReport report = ExtractSet(set, Sizes(volumes), stream, output, progress);
  bar.Close();
  for (const auto& refusal : output.Refusals()) report.Problems.push_back(refusal);
  if (!r.Quiet)
    for (const auto& name : output.Written()) std::cout << (r.OutputDir / name).string() << "\n";
  return Finish(report, r, "Done.");
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app("Lists, tests and restores a disk set made for the installer stub.", "diskspan-extract");
  Request request;
  AddOptions(app, request);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? Success : Usage;
  }
  try {
    return Run(request);
  } catch (const ExtractError& e) {
    std::cerr << "diskspan-extract: " << e.what() << "\n";
    return Damaged;
  } catch (const FloppyError& e) {
    std::cerr << "diskspan-extract: " << e.what() << "\n";
    return Damaged;
  } catch (const FileError& e) {
    std::cerr << "diskspan-extract: " << e.what() << "\n";
    return Damaged;
  } catch (const CodePageError& e) {
    std::cerr << "diskspan-extract: --codepage: " << e.what() << "\n";
    return Usage;
  }
}
