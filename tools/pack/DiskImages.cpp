#include "DiskImages.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "FloppyImage.h"
#include "PendingFile.h"
#include "TemporaryRegistry.h"

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

// Images being made, under unguessable names mformat creates anew; removed
// unless they took their names, and by the signal handlers.
class ImageTemporaries {
 public:
  ~ImageTemporaries() {
    for (std::size_t i = 0; i < paths_.size(); ++i) Forget(i, true);
  }
  fs::path Add(const fs::path& dir) {
    paths_.push_back(TemporaryNameIn(dir));
    slots_.push_back(temporaries::Register(paths_.back().c_str()));
    if (slots_.back() < 0) throw PackError(dir.string() + ": too many files open at once");
    return paths_.back();
  }
  // The image took its name (or is to go): the handlers leave the path alone.
  void Forget(std::size_t i, bool remove) {
    if (slots_[i] < 0) return;
    if (remove) ::unlink(paths_[i].c_str());
    temporaries::Unregister(slots_[i]);
    slots_[i] = -1;
  }
  const fs::path& operator[](std::size_t i) const { return paths_[i]; }

 private:
  std::vector<fs::path> paths_;
  std::vector<int> slots_;
};

}  // namespace

std::string DiskImageName(std::size_t disk, std::size_t diskCount) {
  const int width = diskCount >= 100 ? 3 : 2;
  char name[32];
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
  temporaries::RemoveOnSignals();
  const std::size_t disks = setFiles.size() - 1;
  ImageTemporaries made;
  try {
    for (std::size_t disk = 1; disk <= disks; ++disk) {
      std::vector<fs::path> files = {setFiles[disk]};
      if (disk == 1) files.insert(files.begin(), setFiles[0]);
      MakeImage(options, made.Add(options.OutputDir), disk, files);
    }
  } catch (const FloppyError& e) {
    throw PackError(e.what());
  }
  for (std::size_t disk = 1; disk <= disks; ++disk) {
    const fs::path image = options.OutputDir / DiskImageName(disk, disks);
    const bool moved = options.Force ? ::rename(made[disk - 1].c_str(), image.c_str()) == 0
                                     : RenameNoReplace(made[disk - 1], image);
    if (!moved) throw PackError(image.string() + ": cannot write: " + std::strerror(errno));
    made.Forget(disk - 1, false);
  }
}
