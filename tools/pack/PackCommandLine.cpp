#include "PackCommandLine.h"

#include "CodePage.h"
#include "ColourNames.h"
#include "OptionValues.h"

const char* const PackDescription =
    "Packs FILEs and folders into a disk set: SETUP.EXE (a copy of the installer\n"
    "with the CRC-32s of the set's parts, the file table and settings appended) and\n"
    "the volumes SETUP.01, SETUP.02 ... SETUP.09, SETUP.010 ..., one per floppy disk.\n"
    "Volume 1 shares disk 1 with SETUP.EXE.\n"
    "A file installs under its own name, a folder's files under their paths below\n"
    "it (BIN\\TOOL.EXE: the installer makes the folders), each with its modification\n"
    "time (local time) as its date. Files install in the order given, a folder's\n"
    "sorted by name, so the same tree always makes the same set.";

namespace {

const char* const Footer =
    "Colours: an index 0-15 or one of black, maroon, green, olive, navy, purple,\n"
    "teal, silver, grey, red, lime, yellow, blue, fuchsia, aqua, white.\n\n"
    "Volume sizes: a floppy format (the volumes then fit its free clusters), or a\n"
    "whole count of bytes, of kilobytes (400K = 409600) or of megabytes (1M =\n"
    "1048576). A plain 360, 720, 1440 ... is refused: write the format (1.44M).\n\n"
    "Folders: their files are packed at any depth; folders holding no files are\n"
    "left out (-v names them). Links are followed, to files and to folders; a link\n"
    "to nothing, or back to a folder it lies in (a loop), is refused.\n"
    "--files-from LIST adds the paths LIST holds, one a line (with -0, each ended\n"
    "by a NUL, as find -print0 writes them; - reads standard input), after the\n"
    "FILEs. A listed path keeps its place as written, as tar reads lists: bin/tool\n"
    "installs as bin\\tool, a listed folder's files below it (./ is dropped).\n"
    "With --graft-points, STORED=SOURCE packs SOURCE as STORED, in FILEs and lists:\n"
    "a file under that name (or its own inside STORED when STORED ends in /), a\n"
    "folder's files below STORED; / or \\ separate folders, \\= is a literal =:\n"
    "  diskspan-pack --graft-points -o out 'DOCS/README.TXT=doc/Read me first.txt' app\n\n"
    "Limits: 255 files and 255 volumes, names of at most 39 bytes (folders and\n"
    "backslashes included), a title of at most 39, a font name of at most 29, a\n"
    "default directory of at most 127 (bytes in the code page), and 2147483647\n"
    "bytes in all. Names are held to the rules Windows reads them by: no \\ / : < >\n"
    "\" | * ? or control characters, no dot or space at the end, no device names\n"
    "(CON, NUL .TXT, COM0, LPT1 ...), no Split.Spt or Compress.Spt at the top (the\n"
    "installer's own), no two the same ignoring case, no file where a folder goes.\n"
    "Every problem of the inputs is reported in one run, and nothing is written.\n"
    "Names and texts are stored in a Windows code page (--codepage, 1252 unless\n"
    "told): the one the installing machines use, in decimal: 437, 737, 775, 850,\n"
    "852, 855, 857, 858, 860-866, 869, 874, 932, 936, 949, 950 or 1250-1258; a name\n"
    "it cannot hold is refused. Dates before 1980 or after 2107 are stored as the\n"
    "nearest a set can hold, with a warning.\n\n"
    "--dry-run codes the files in memory as a pack does, since the coded size is\n"
    "known only then, and prints the disks the set takes and the disks each file\n"
    "lies on; it writes nothing. The summary names each file's disks too (-v, or\n"
    "--json).\n\n"
    "The stub must be a Windows program (PE32 or PE32+) as built, without a set's\n"
    "block: a set's setup file is refused, name the stub it was made from. Files\n"
    "of the set being written (its setup file, volumes and disk images, in any\n"
    "case) are refused as inputs. --force replaces a set of that name whole: it\n"
    "removes what the new set does not replace (volumes past its last disk, disk\n"
    "images it does not make, names that differ from its own only in case).\n"
    "--images checks for mtools before anything is written, and the images are\n"
    "made and checked before any file of the set takes its name.\n\n"
    "Progress goes to standard error on a terminal; standard output carries only\n"
    "the summary (--json for one JSON document).\n\n"
    "Exit codes:\n"
    "  0  the set was written (with --dry-run: planned, and nothing written)\n"
    "  1  an input, the installer or the output could not be used (nothing written)\n"
    "  2  usage: an option or argument that cannot mean anything, or a --stub that is\n"
    "     no bare Windows program (nothing written)\n\n"
    "Example:\n\n"
    "  diskspan-pack --title \"Sample Tools\" --launch README.TXT --volume-size 720K -o out README.TXT TOOL.EXE\n";

}  // namespace

void AddPackOptions(CLI::App& app, PackOptions& o, RawPackValues& raw) {
  app.add_option("FILE", o.Inputs, "Files and folders to pack, in installation order")->type_name("");
  app.add_option("-o,--output-dir", o.OutputDir, "Directory to write the set into (created if missing)")
      ->required()
      ->type_name("DIR");
  app.add_option("--stub", o.Stub, "The installer stub to copy, a bare Windows program (default: the one installed with diskspan-pack)")
      ->type_name("FILE");
  app.add_option("--name", o.Name, "Name of the setup file, ending in .EXE; the volumes are named after it")
      ->capture_default_str();
  app.add_option("--title", o.Title, "Title on the background and in message captions")->capture_default_str();
  app.add_option("--font", o.Font, "Font face of the title")->capture_default_str();
  app.add_option("--title-size", o.TitleSize, "Title height in steps of 6 pixels (1-42)")->capture_default_str();
  app.add_option("--title-style", raw.Style, "Comma-separated bold, italic, underline, strikeout, or plain")
      ->capture_default_str();
  app.add_option("--top-colour", raw.Colours[0], "Colour at the top of the background")->default_str("blue");
  app.add_option("--bottom-colour", raw.Colours[1], "Colour at the bottom of the background")->default_str("black");
  app.add_option("--title-colour", raw.Colours[2], "Colour of the title and notice")->default_str("white");
  app.add_option("--default-dir", o.DefaultDir, "Destination first offered to the user")->capture_default_str();
  app.add_option("--launch", o.Launch, "Name of the packed file to start after installing (BIN/TOOL.EXE in a folder)");
  app.add_option("--volume-size", raw.VolumeSize,
                 "Disk format (160K, 180K, 320K, 360K, 720K, 1.2M, 1.44M, 1.68M, 2.88M) or bytes per volume (400K, 1M)")
      ->capture_default_str();
  app.add_option("--codepage", raw.CodePage, "Windows code page to store names and texts in")
      ->capture_default_str()
      ->type_name("N");
  app.add_flag("--force", o.Force,
               "Replace an existing set of that name, removing what is left of it (extra volumes, images)");
  app.add_flag("--fast", o.Fast, "Code about twice as fast with a simpler parse, for a slightly larger set");
  app.add_flag_callback("--no-checksums", [&o] { o.Checksums = false; },
                        "Leave out the CRC-32s of the installer, volumes and files that let a set be checked");
  app.add_flag("--images", o.Images, "Also write one FAT12 image per disk (DISK01.IMG ...), made with mtools");
  app.add_flag("--json", o.Json, "Print the summary as one JSON document");
  app.add_option("--files-from", o.FileLists, "Also pack the paths LIST holds, one a line (-: standard input)")
      ->type_name("LIST")
      ->allow_extra_args(false);
  app.add_flag("-0,--null", o.NullSeparated, "The --files-from lists' paths each end in a NUL, not a newline");
  app.add_flag("--graft-points", o.GraftPoints, "Read STORED=SOURCE in FILEs and lists: pack SOURCE as STORED");
  app.add_flag("--dry-run", o.DryRun, "Code in memory and print the disks the set takes and each file's; write nothing");
  AddOutputOptions(app, o.Output, "Also list each file packed, with its stored name and disks, and empty folders left out");
  app.set_version_flag("-V,--version", "diskspan-pack 0.2.0");
  app.footer(Footer);
}

void ApplyPackValues(PackOptions& o, const RawPackValues& raw) {
  o.CodePageNumber = CodePageFromOption(raw.CodePage);
  if (const FloppyFormat* meant = FormatMeantBy(raw.VolumeSize)) {
    const std::string name(meant->Name), inKilobytes = raw.VolumeSize + "K";
    throw UsageError("--volume-size " + raw.VolumeSize + " would be " + raw.VolumeSize + " bytes; for the " + name +
                     " floppy format write " + name + (name == inKilobytes ? "" : " (or " + inKilobytes + ")"));
  }
  const auto size = ParseVolumeSize(raw.VolumeSize);
  if (!size)
    throw UsageError("--volume-size '" + raw.VolumeSize + "' is neither a floppy format (" + FloppyFormatNames() +
                     ", also spelt 1440K or 1.44MB) nor a whole count of bytes (400K, 1M)");
  o.Format = size->Format;
  o.VolumeSize = size->Bytes;
  const auto bits = ParseTitleStyle(raw.Style);
  if (!bits) throw UsageError("--title-style '" + raw.Style + "' is not a list of bold, italic, underline, strikeout");
  o.TitleStyle = *bits;
  const char* names[] = {"--top-colour", "--bottom-colour", "--title-colour"};
  int* targets[] = {&o.TopColour, &o.BottomColour, &o.TitleColour};
  for (int i = 0; i < 3; ++i) {
    if (raw.Colours[i].empty()) continue;
    const auto colour = ParseColour(raw.Colours[i]);
    if (!colour)
      throw UsageError(std::string(names[i]) + " '" + raw.Colours[i] + "' is not a palette index 0-15 or a colour name");
    *targets[i] = *colour;
  }
}
