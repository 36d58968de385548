#include "ExtractOptions.h"

#include <algorithm>

#include "EntryNames.h"
#include "FloppyImage.h"
#include "Selection.h"
#include "config/FileNames.h"

namespace fs = std::filesystem;

const char* const ExtractDescription =
    "Lists, tests and restores a disk set: SETUP.EXE (the installer with the set's\n"
    "file table) and its volumes SETUP.01, SETUP.02 ..., or the set's disk images.\n"
    "PATTERNs (shell wildcards, any case: '*.TXT' README.TXT) select files; without\n"
    "one, every file.";

namespace {

const char* const Footer =
    "Volumes are looked for beside SETUP.EXE (or in its disk image, and in the\n"
    "disk images beside that), then in each further directory or disk image named,\n"
    "and in the --volumes places, by the set's own naming (SETUP.01, SETUP.02 ...\n"
    "SETUP.010 ...), ignoring case. A directory is searched for disk images too: a\n"
    "disk image is any file holding a FAT12 or FAT16 file system, whatever its name\n"
    "(read with mtools). An installer renamed after the set was made (SETUP (1).EXE)\n"
    "takes the volumes beside it that match its checksums, or the only series whose\n"
    "sizes add up, and says so; --volume-name names them outright. A place named\n"
    "that yields no volume is reported.\n\n"
    "Arguments: after SETUP.EXE, one that names a directory or a disk image is a\n"
    "place to look for volumes, anything else a PATTERN; one that is both a place\n"
    "and a pattern matching a file of the set is refused as ambiguous. After --,\n"
    "every argument is a PATTERN; --volumes names places only, never SETUP.EXE.\n"
    "Patterns match the whole path of a file in a subfolder (BIN/TOOL.EXE; * also\n"
    "matches /).\n\n"
    "A missing disk does not stop the rest: every selected file that lies wholly on\n"
    "the disks before it is restored, the others are named with the disk they need,\n"
    "and the exit code is 1. --wait-for-disks asks for each missing disk instead,\n"
    "as the installer does, for one floppy drive: insert it and press Enter (each\n"
    "disk is copied as it comes), or q to give up on it.\n\n"
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
    "Files are restored with their stored dates, read as local time, and their\n"
    "subfolders. A name the installer would refuse (not a plain name, a device, a\n"
    "second name for one file) is refused. Nothing is ever written over the\n"
    "installer, a volume or a disk image being read (extract elsewhere with -d).\n"
    "Names and texts are read in the set's Windows code page: the one its checksums\n"
    "name (sets packed since they do), else 1252, unless --codepage names another\n"
    "(437, 737, 775, 850, 852, 855, 857, 858, 860-866, 869, 874, 932, 936, 949, 950,\n"
    "1250-1258, in decimal); they are shown and created in UTF-8.\n\n"
    "Progress goes to standard error on a terminal; standard output carries only\n"
    "results (the listing, the verdict, the files written with -v, or with -p the\n"
    "files' bytes and nothing else).\n\n"
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
    "  diskspan-extract --wait-for-disks -d restored /media/floppy/SETUP.EXE\n\n"
    "  diskspan-extract -t images/DISK01.IMG\n\n"
    "  diskspan-extract -p SETUP.EXE README.TXT | less\n";

bool IsVolumePlace(const fs::path& p) {
  std::error_code error;
  return fs::is_directory(p, error) || IsDiskImage(p);
}

// What may be the set's installer: a regular file that is no disk image,
// or a disk image that holds an installer.
bool MayBeInstaller(const fs::path& p) {
  std::error_code error;
  if (!fs::is_regular_file(p, error)) return false;
  if (!IsDiskImage(p)) return true;
  try {
    return !InstallerInImage(ListImage(p)).empty();
  } catch (const FloppyError&) {
    return false;  // unreadable here: the run says why once it reads it
  }
}

// Options that take a value, and whether `arg` is one of them written
// without its value (so that the next argument is the value).
bool TakesNextArgument(const std::string& arg) {
  if (arg == "--output-dir" || arg == "--codepage" || arg == "--volume-name") return true;
  // A cluster of short options ending in -d: "-d", "-qd".
  return arg.size() >= 2 && arg[0] == '-' && arg[1] != '-' && arg.back() == 'd' &&
         arg.find('d') == arg.size() - 1;
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
  auto* toStdout = app.add_flag_callback("-p,--stdout", [&r] { r.Mode = ExtractRequest::ToStdout; },
                                         "Write the selected files' bytes to standard output, one after another "
                                         "in the set's order, and nothing else");
  list->excludes(test)->excludes(extract)->excludes(toStdout);
  test->excludes(extract)->excludes(toStdout);
  extract->excludes(toStdout);
  auto* dir = app.add_option("-d,--output-dir", r.OutputDir, "Directory to restore into")
                  ->capture_default_str()
                  ->type_name("DIR");
  app.add_option("--volumes", r.VolumePlaces, "Directories or disk images holding volumes (repeatable)")
      ->type_name("DIR...")
      ->allow_extra_args(false);  // one place per --volumes once spread
  app.add_option("--volume-name", r.VolumeName,
                 "The name the volumes are named after, when the installer was renamed (SETUP for SETUP.01)")
      ->type_name("NAME");
  app.add_flag("--wait-for-disks", r.WaitForDisks,
               "Ask for each disk not found, on the terminal, and wait for it (one floppy drive)");
  auto* overwrite = app.add_flag_callback("--overwrite", [&r] { r.Existing = ExtractRequest::Overwrite; },
                                          "Replace files that already exist");
  auto* skip = app.add_flag_callback("-n,--skip-existing", [&r] { r.Existing = ExtractRequest::Skip; },
                                     "Leave files that already exist as they are, quietly");
  overwrite->excludes(skip);
  toStdout->excludes(dir)->excludes(overwrite)->excludes(skip);
  app.add_flag("--ignore-checksums", r.IgnoreChecksums,
               "Read the set without checking any CRC-32, even one whose checksums are damaged");
  app.add_option("--codepage", r.CodePage,
                 "Windows code page the set's names and texts are stored in (default: the one the set names, "
                 "else 1252)")
      ->type_name("N");
  AddOutputOptions(app, r.Output, "Name each file written, each file kept, or with --test each file's verdict");
  app.set_version_flag("-V,--version", "diskspan-extract 0.2.0");
  app.footer(Footer);
}

std::vector<std::string> SpreadVolumesOptions(int argc, char** argv, std::vector<std::string>& afterOptions) {
  std::vector<std::string> args;
  bool installerNamed = false;
  int i = 1;
  // More places after the first: never the installer while none was named.
  const auto takesPlace = [&](int at) {
    return at < argc && argv[at][0] != '-' && IsVolumePlace(argv[at]) && (installerNamed || !MayBeInstaller(argv[at]));
  };
  for (; i < argc && std::string(argv[i]) != "--"; ++i) {
    const std::string arg = argv[i];
    if (arg == "--volumes") {
      args.push_back(arg);  // alone at the end: CLI11 says it needs a place
      if (i + 1 >= argc || std::string(argv[i + 1]) == "--") continue;
      if (!installerNamed && MayBeInstaller(argv[i + 1]))
        throw UsageProblem("--volumes " + std::string(argv[i + 1]) +
                           (IsDiskImage(argv[i + 1]) ? ": holds the set's installer" : ": no directory or disk image") +
                           "; --volumes takes places for volumes only: name the installer before it");
      args.push_back(argv[++i]);  // the first is taken whatever it is: a wrong place gets its error
      while (takesPlace(i + 1)) args.insert(args.end(), {arg, argv[++i]});
      continue;
    }
    args.push_back(arg);
    if (TakesNextArgument(arg) && i + 1 < argc) args.push_back(argv[++i]);
    else if (arg.size() < 2 || arg[0] != '-') installerNamed = true;
  }
  for (++i; i < argc; ++i) afterOptions.push_back(argv[i]);
  return args;
}

void ResolveArguments(ExtractRequest& r) {
  for (const auto& place : r.VolumePlaces)
    if (!IsVolumePlace(place)) throw UsageProblem("--volumes " + place.string() + ": no such directory or disk image");
  if (r.Arguments.empty())
    throw UsageProblem(r.AfterOptions.empty() ? "no SETUP.EXE named" : "no SETUP.EXE named before --");
  r.Setup = r.Arguments.front();
  for (std::size_t i = 1; i < r.Arguments.size(); ++i) {
    if (IsVolumePlace(r.Arguments[i])) r.PlaceArguments.emplace_back(r.Arguments[i]);
    else r.Patterns.push_back(r.Arguments[i]);
  }
  r.Patterns.insert(r.Patterns.end(), r.AfterOptions.begin(), r.AfterOptions.end());
  if (!r.VolumeName.empty() && !IsPlainFileName(r.VolumeName))
    throw UsageProblem("--volume-name " + r.VolumeName + ": not a file name (the volumes' name, SETUP for SETUP.01)");
}

void CheckPlaceArguments(ExtractRequest& r, const SetInfo& set) {
  for (const fs::path& place : r.PlaceArguments) {
    Selection asPattern({place.string()});
    const std::vector<bool> matched = asPattern.Apply(set);
    const auto hit = std::find(matched.begin(), matched.end(), true);
    if (hit != matched.end()) {
      const std::string name = ShownPath(set.Entries[static_cast<std::size_t>(hit - matched.begin())].Name, set.Texts);
      std::error_code error;
      const char* kind = fs::is_directory(place, error) ? "a directory" : "a disk image";
      throw UsageProblem("'" + place.string() + "' is ambiguous: " + kind +
                         " to look for volumes in, and a pattern that selects " + name +
                         " in the set; write it after -- to select files, or after --volumes to look for volumes there");
    }
    r.VolumePlaces.push_back(place);
  }
}
