// diskspan-pack: makes a disk set from files: a copy of the installer stub
// with the configuration block appended, and the coded stream cut into
// floppy-sized volumes beside it.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>

#include "DiskSet.h"
#include "DiskSetWriter.h"
#include "InputFiles.h"
#include "OptionValues.h"
#include "ColourNames.h"
#include "DiskImages.h"

namespace {

const char* const Description =
    "Packs FILEs into a disk set: SETUP.EXE (a copy of the installer stub with the\n"
    "file table and settings appended) and the volumes SETUP.01, SETUP.02 ... SETUP.09,\n"
    "SETUP.010 ..., one per floppy disk. Volume 1 shares disk 1 with SETUP.EXE.\n"
    "Files install under their own names, with their modification times (local time)\n"
    "as dates, in the order given.";

const char* const Footer =
    "Colours: an index 0-15 or one of black, maroon, green, olive, navy, purple,\n"
    "teal, silver, grey, red, lime, yellow, blue, fuchsia, aqua, white.\n"
    "Volume sizes: 360K, 720K, 1.2M, 1.44M, 2.88M (the free bytes of a formatted\n"
    "floppy of that kind) or a plain byte count.\n"
    "Limits: 255 files and 255 volumes, names of at most 39 characters, a title of\n"
    "at most 39, a font name of at most 29, a default directory of at most 127, and\n"
    "2147483647 bytes in all (lengths in bytes of the code page). Nothing is written\n"
    "when a limit is exceeded.\n"
    "Names and texts are stored in a Windows code page (--codepage, 1252 unless\n"
    "told); one it cannot hold is refused.\n\n"
    "Example:\n"
    "  diskspan-pack --title \"Sample Tools\" --default-dir 'C:\\TOOLS' \\\n"
    "      --launch README.TXT --volume-size 720K -o out README.TXT TOOL.EXE\n";

void AddOptions(CLI::App& app, PackOptions& o, std::string& volumeSize, std::string& style,
                std::string (&colours)[3]) {
  app.add_option("-o,--output-dir", o.OutputDir, "Directory to write the set into (created if missing)")
      ->required();
  app.add_option("FILE", o.Inputs, "Files to pack, in installation order")->required();
  app.add_option("--stub", o.Stub, "Installer stub to copy")->capture_default_str();
  app.add_option("--name", o.Name, "Name of the setup file; the volumes are named after it")
      ->capture_default_str();
  app.add_option("--title", o.Title, "Title on the background and in message captions")
      ->capture_default_str();
  app.add_option("--font", o.Font, "Font face of the title")->capture_default_str();
  app.add_option("--title-size", o.TitleSize, "Title height in steps of 6 pixels (1-42)")
      ->capture_default_str();
  app.add_option("--title-style", style, "Comma-separated bold, italic, underline, strikeout, or plain")
      ->default_str("bold,italic");
  app.add_option("--top-colour", colours[0], "Colour at the top of the background")->default_str("blue");
  app.add_option("--bottom-colour", colours[1], "Colour at the bottom of the background")
      ->default_str("black");
  app.add_option("--title-colour", colours[2], "Colour of the title and notice")->default_str("white");
  app.add_option("--default-dir", o.DefaultDir, "Destination first offered to the user")
      ->capture_default_str();
  app.add_option("--launch", o.Launch, "Name of the packed file to start after installing");
  app.add_option("--volume-size", volumeSize,
                 "Disk format (160K, 180K, 320K, 360K, 720K, 1.2M, 1.44M, 1.68M, 2.88M; "
                 "the volumes fit its clusters) or bytes per volume")
      ->default_str("1.44M");
  app.add_option("--codepage", o.CodePageNumber,
                 "Windows code page to store names and texts in: the one the installing machines use")
      ->capture_default_str();
  app.add_flag("--force", o.Force, "Replace existing output files");
  app.add_flag("--images", o.Images,
               "Also write one FAT12 image per disk (DISK01.IMG ...), made with mtools");
  app.set_version_flag("--version", "diskspan-pack 0.1.0");
  app.footer(Footer);
}

// Applies the values that need more than CLI11's own conversion.
void ApplyValues(PackOptions& o, const std::string& volumeSize, const std::string& style,
                 const std::string (&colours)[3]) {
  const auto size = ParseVolumeSize(volumeSize);
  if (!size)
    throw UsageError("--volume-size '" + volumeSize + "' is neither a floppy format (" +
                     FloppyFormatNames() + ", also spelt 1440K or 1.44MB) nor a byte count");
  o.Format = size->Format;
  o.VolumeSize = size->Bytes;
  const auto bits = ParseTitleStyle(style);
  if (!bits) throw PackError("--title-style '" + style + "' is not a list of bold, italic, underline, strikeout");
  o.TitleStyle = *bits;
  const char* names[] = {"--top-colour", "--bottom-colour", "--title-colour"};
  int* targets[] = {&o.TopColour, &o.BottomColour, &o.TitleColour};
  for (int i = 0; i < 3; ++i) {
    if (colours[i].empty()) continue;
    const auto colour = ParseColour(colours[i]);
    if (!colour)
      throw PackError(std::string(names[i]) + " '" + colours[i] + "' is not a palette index 0-15 or a colour name");
    *targets[i] = *colour;
  }
}

void Report(const PackOptions& o, const WrittenSet& set) {
  std::printf("%-40s %10lld bytes\n", set.Paths[0].string().c_str(), static_cast<long long>(set.SetupSize));
  for (std::size_t i = 0; i < set.VolumeLengths.size(); ++i)
    std::printf("%-40s %10lld bytes\n", set.Paths[i + 1].string().c_str(),
                static_cast<long long>(set.VolumeLengths[i]));
  const std::size_t disks = set.VolumeLengths.size();
  if (o.Images)
    for (std::size_t disk = 1; disk <= disks; ++disk)
      std::printf("%-40s %10lld bytes, disk %zu\n", (o.OutputDir / DiskImageName(disk, disks)).string().c_str(),
                  static_cast<long long>(o.Format->ImageBytes()), disk);
  std::printf("%zu files, %lld bytes coded into %lld bytes on %zu disks", o.Inputs.size(),
              static_cast<long long>(set.DecodedSize), static_cast<long long>(set.CodedSize), disks);
  if (o.Format) std::printf(" of %s", std::string(o.Format->Name).c_str());
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app(Description, "diskspan-pack");
  PackOptions options;
  options.Stub = DISKSPAN_DEFAULT_STUB;
  std::string volumeSize = "1.44M";
  std::string style = "bold,italic";
  std::string colours[3];
  AddOptions(app, options, volumeSize, style, colours);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? 0 : 2;  // help and version exit 0, usage errors 2
  }
  try {
    ApplyValues(options, volumeSize, style, colours);
    const CodePage codePage(options.CodePageNumber);
    CheckOptions(options, codePage);
    std::error_code error;
    if (!std::filesystem::is_regular_file(options.Stub, error))
      throw PackError("--stub " + options.Stub.string() +
                      ": no such file (build the stub with the win32 preset, or name one)");
    const auto stubSize = static_cast<std::int64_t>(std::filesystem::file_size(options.Stub, error));
    const auto files = StatInputFiles(options.Inputs, codePage);
    const SetPlan plan = PlanDiskSet(options, codePage, stubSize, files);
    CheckOutputsReplaceable(options, 1);  // the rest once the volume count is known
    const WrittenSet set = WriteDiskSet(options, plan, files);
    const std::size_t disks = set.VolumeLengths.size();
    if (options.Force)
      for (const auto& stale : RemoveStaleVolumes(options, disks))
        std::printf("removed %s, left from an earlier set\n", stale.string().c_str());
    if (options.Images) WriteDiskImages(options, set.Paths);
    Report(options, set);
    return 0;
  } catch (const UsageError& e) {
    std::cerr << "diskspan-pack: " << e.what() << "\n";
    return 2;
  } catch (const PackError& e) {
    std::cerr << "diskspan-pack: " << e.what() << "\n";
    return 1;
  } catch (const CodePageError& e) {
    std::cerr << "diskspan-pack: --codepage: " << e.what() << "\n";
    return 2;
  }
}
