#include "DiskImages.h"

#include <cstdio>
#include <fstream>
#include <iterator>

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
// sectors per cluster and root-directory sectors.
std::vector<std::string> FormatArguments(const FloppyFormat& f, const fs::path& image, std::size_t disk) {
  return {"mformat", "-C", "-t", std::to_string(f.Cylinders), "-h", std::to_string(f.Heads),
          "-s", std::to_string(f.SectorsPerTrack), "-c", std::to_string(f.SectorsPerCluster),
          "-r", std::to_string(f.RootEntries * 32 / 512), "-v", "DISK " + std::to_string(disk),
          "-i", image.string(), "::"};
}

void MakeImage(const PackOptions& options, const fs::path& image, std::size_t disk,
               const std::vector<fs::path>& files) {
  const std::string where = image.filename().string();
  std::error_code ignored;
  fs::remove(image, ignored);  // mformat -C will not write over a file
  Check(RunTool(FormatArguments(*options.Format, image, disk)), where + ": mformat failed");
  std::vector<std::string> copy = {"mcopy", "-m", "-i", image.string()};
  for (const auto& f : files) copy.push_back(f.string());
  copy.push_back("::");
  Check(RunTool(copy), where + ": the files of disk " + std::to_string(disk) + " do not fit");
  for (const auto& f : files) {
    const auto back = ReadImageFile(image, f.filename().string());
    if (std::string(back.begin(), back.end()) != ReadAll(f))
      throw PackError(where + ": " + f.filename().string() + " does not read back as written");
  }
}

void RemoveAll(const std::vector<fs::path>& paths) {
  std::error_code ignored;
  for (const auto& p : paths) fs::remove(p, ignored);
}

}  // namespace

std::string DiskImageName(std::size_t disk, std::size_t diskCount) {
  const int width = diskCount >= 100 ? 3 : 2;
  char name[16];
  std::snprintf(name, sizeof name, "DISK%0*zu.IMG", width, disk);
  return name;
}

void CheckDiskImagesAbsent(const PackOptions& options, std::size_t disks) {
  std::error_code error;
  for (std::size_t disk = 1; disk <= disks && !options.Force; ++disk) {
    const fs::path image = options.OutputDir / DiskImageName(disk, disks);
    if (fs::exists(image, error)) throw PackError(image.string() + ": already exists (use --force to replace it)");
  }
}

void WriteDiskImages(const PackOptions& options, const std::vector<fs::path>& setFiles) {
  const std::size_t disks = setFiles.size() - 1;
  std::vector<fs::path> made;
  try {
    for (std::size_t disk = 1; disk <= disks; ++disk) {
      std::vector<fs::path> files = {setFiles[disk]};
      if (disk == 1) files.insert(files.begin(), setFiles[0]);
      const fs::path partial = options.OutputDir / ("." + DiskImageName(disk, disks) + ".partial");
      made.push_back(partial);
      MakeImage(options, partial, disk, files);
    }
    for (std::size_t disk = 1; disk <= disks; ++disk) {
      std::error_code error;
      const fs::path image = options.OutputDir / DiskImageName(disk, disks);
      fs::rename(made[disk - 1], image, error);
      if (error) throw PackError(image.string() + ": cannot write: " + error.message());
    }
  } catch (const FloppyError& e) {
    RemoveAll(made);
    throw PackError(e.what());
  } catch (...) {
    RemoveAll(made);
    throw;
  }
}
