#include "ExtractOptions.h"

#include "FloppyImage.h"

namespace fs = std::filesystem;

const char* const ExtractDescription =
    "Lists, tests and restores a disk set: SETUP.EXE (the installer with the set's\n"
    "file table) and its volumes SETUP.01, SETUP.02 ..., or the set's disk images.\n"
    "PATTERNs (shell wildcards, any case: '*.TXT' README.TXT) select files; without\n"
    "one, every file.";

namespace {

const char* const Footer =
    "Volumes are looked for beside SETUP.EXE (or in its disk image), then in each\n"
    "further directory or disk image named, and in the --volumes places, by the\n"
    "set's own naming (SETUP.01, SETUP.02 ... SETUP.010 ...), ignoring case. Disk\n"
    "images are read with mtools.\n\n"
    "A set carries the CRC-32s of its installer, of every volume and of every file\n"
    "(unless it was packed with --no-checksums), and of its file table and settings\n"
    "(sets packed since these were covered). --test and extracting check every\n"
    "volume before decoding and every file as it is decoded: a damaged volume is\n"
    "named with the disk to replace, and no file that needs bytes from it, nor any\n"
    "file that fails its CRC-32, is written. An installer whose checksums are\n"
    "themselves damaged, or whose file table or settings fail theirs, is a damaged\n"
    "installer: nothing is tested or extracted (--list shows it, exit code 1).\n"
    "--ignore-checksums reads any set as one without checksums, and says what it\n"
    "does not check. A set without them can only be checked for being whole and\n"
    "decoding to its full size.\n\n"
    "Files are restored with their stored dates, read as local time. A name that is\n"
    "not a plain file name is refused. Names and texts are read in the set's Windows\n"
    "code page (--codepage, 1252 unless told) and shown and created in UTF-8.\n\n"
    "Progress goes to standard error on a terminal; standard output carries only\n"
    "results (the listing, the verdict, the files written with -v).\n\n"
    "Exit codes:\n"
    "  0  success\n"
    "  1  a damaged or incomplete set, or a file that could not be written\n"
    "  2  usage: an option or argument that cannot mean anything\n"
    "  3  files kept because they exist (without --overwrite or -n)\n"
    "  4  a pattern matched no file\n\n"
    "Examples:\n\n"
    "  diskspan-extract -l /media/disk1/SETUP.EXE\n\n"
    "  diskspan-extract -t /media/disk1/SETUP.EXE --volumes /media/disk2 /media/disk3\n\n"
    "  diskspan-extract -d restored /media/disk1/SETUP.EXE '*.TXT'\n\n"
    "  diskspan-extract -t DISK01.IMG DISK02.IMG DISK03.IMG\n";

bool IsVolumePlace(const fs::path& p) {
  std::error_code error;
  return fs::is_directory(p, error) || (fs::is_regular_file(p, error) && IsDiskImage(p));
}

}  // namespace

void AddExtractOptions(CLI::App& app, ExtractRequest& r) {
  app.add_option("SETUP.EXE", r.Arguments,
                 "The set's SETUP.EXE or first disk image, then PATTERNs of files to select "
                 "(and any more directories or disk images holding volumes)")
      ->type_name("");
  auto* list = app.add_flag_callback("-l,--list", [&r] { r.Mode = ExtractRequest::List; },
                                     "List the set's settings and files");
  app.add_flag("--json", r.Json, "With --list: print one JSON document")->needs(list);
  auto* test = app.add_flag_callback("-t,--test", [&r] { r.Mode = ExtractRequest::Test; },
                                     "Check the set (or the selected files) without writing anything");
  auto* extract = app.add_flag_callback("-e,--extract", [&r] { r.Mode = ExtractRequest::Extract; },
                                        "Restore the files (the default)");
  list->excludes(test)->excludes(extract);
  test->excludes(extract);
  app.add_option("-d,--output-dir", r.OutputDir, "Directory to restore into")->capture_default_str()->type_name("DIR");
  app.add_option("--volumes", r.VolumePlaces, "Directories or disk images holding volumes (repeatable)")
      ->type_name("DIR...")
      ->allow_extra_args(false);  // one place per --volumes once spread
  auto* overwrite = app.add_flag_callback("--overwrite", [&r] { r.Existing = ExtractRequest::Overwrite; },
                                          "Replace files that already exist");
  auto* skip = app.add_flag_callback("-n,--skip-existing", [&r] { r.Existing = ExtractRequest::Skip; },
                                     "Leave files that already exist as they are, quietly");
  overwrite->excludes(skip);
  app.add_flag("--ignore-checksums", r.IgnoreChecksums,
               "Read the set without checking any CRC-32, even one whose checksums are damaged");
  app.add_option("--codepage", r.CodePageNumber, "Windows code page the set's names and texts are stored in")
      ->capture_default_str()
      ->type_name("N");
  AddOutputOptions(app, r.Output, "Name each file written");
  app.set_version_flag("-V,--version", "diskspan-extract 0.2.0");
  app.footer(Footer);
}

std::vector<std::string> SpreadVolumesOptions(int argc, char** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg != "--volumes" || i + 1 >= argc) {
      args.push_back(arg);
      continue;
    }
    args.insert(args.end(), {"--volumes", argv[++i]});  // the first is taken whatever it is
    while (i + 1 < argc && argv[i + 1][0] != '-' && IsVolumePlace(argv[i + 1])) args.insert(args.end(), {"--volumes", argv[++i]});
  }
  return args;
}

void ResolveArguments(ExtractRequest& r) {
  for (const auto& place : r.VolumePlaces)
    if (!IsVolumePlace(place)) throw UsageProblem("--volumes " + place.string() + ": no such directory or disk image");
  if (r.Arguments.empty()) throw UsageProblem("no SETUP.EXE named");
  r.Setup = r.Arguments.front();
  for (std::size_t i = 1; i < r.Arguments.size(); ++i) {
    if (IsVolumePlace(r.Arguments[i])) r.VolumePlaces.emplace_back(r.Arguments[i]);
    else r.Patterns.push_back(r.Arguments[i]);
  }
}
