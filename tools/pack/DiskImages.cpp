#include "DiskImages.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <span>

#include "FloppyImage.h"

namespace {

namespace fs = std::filesystem;

void Check(const ToolRun& run, const std::string& what) {
  if (run.ExitCode != 0) throw PackError(what + ": " + run.Output);
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// mformat's geometry for the format: cylinders, heads, sectors per track,
// sectors per cluster and root-directory sectors. The image file exists,
// of the format's size, so mformat needs no -C.
std::vector<std::string> FormatArguments(const FloppyFormat& f, const fs::path& image, std::size_t disk) {
  return {"mformat", "-t", std::to_string(f.Cylinders), "-h", std::to_string(f.Heads),
          "-s", std::to_string(f.SectorsPerTrack), "-c", std::to_string(f.SectorsPerCluster),
          "-r", std::to_string(f.RootEntries * 32 / 512), "-v", "DISK " + std::to_string(disk),
          "-i", ToolPath(image), "::"};
}

// A pending file of the format's size, all zeros, under a name mtools can open.
std::unique_ptr<PendingFile> BlankImage(const PackOptions& options) {
  auto image = std::make_unique<PendingFile>(options.OutputDir);
  const std::vector<std::uint8_t> zeros(64 * 1024);
  for (std::int64_t left = options.Format->ImageBytes(); left > 0; left -= static_cast<std::int64_t>(zeros.size()))
    image->Write(std::span(zeros).first(static_cast<std::size_t>(std::min<std::int64_t>(left, zeros.size()))));
  image->Named();
  return image;
}

// Formats disk `disk` and copies its files in (`files` indexes `parts`),
// each under its name in the set, then reads each back.
void FillImage(const PackOptions& options, PendingFile& image, std::size_t disk, const SetParts& parts,
               const std::vector<std::size_t>& files) {
  const std::string where = "disk image " + std::to_string(disk);
  const fs::path& path = image.Named();
  Check(RunTool(FormatArguments(*options.Format, path, disk)), where + ": mformat failed");
  for (std::size_t i : files)
    Check(RunTool({"mcopy", "-m", "-i", ToolPath(path), ToolPath(parts.Files[i]->Named()), "::" + parts.Names[i]}),
          where + ": the files of disk " + std::to_string(disk) + " do not fit");
  for (std::size_t i : files) {
    const auto back = ReadImageFile(path, parts.Names[i]);
    if (std::string(back.begin(), back.end()) != ReadAll(parts.Files[i]->Named()))
      throw PackError(where + ": " + parts.Names[i] + " does not read back as written");
  }
}

}  // namespace

std::string DiskImageName(std::size_t disk, std::size_t diskCount) {
  const int width = diskCount >= 100 ? 3 : 2;
  char name[32];
  std::snprintf(name, sizeof name, "DISK%0*zu.IMG", width, disk);
  return name;
}

std::vector<fs::path> DiskImagePaths(const PackOptions& options, std::size_t disks) {
  std::vector<fs::path> paths;
  if (options.Images)
    for (std::size_t disk = 1; disk <= disks; ++disk) paths.push_back(options.OutputDir / DiskImageName(disk, disks));
  return paths;
}

std::vector<std::unique_ptr<PendingFile>> MakeDiskImages(const PackOptions& options, const SetParts& parts) {
  std::vector<std::unique_ptr<PendingFile>> images;
  try {
    for (std::size_t disk = 1; disk < parts.Files.size(); ++disk) {
      images.push_back(BlankImage(options));
      FillImage(options, *images.back(), disk, parts,
                disk == 1 ? std::vector<std::size_t>{0, 1} : std::vector<std::size_t>{disk});
    }
  } catch (const FloppyError& e) {
    throw PackError(e.what());
  }
  return images;
}
