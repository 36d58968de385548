#include "DiskImages.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int ExitCode = -1;
  std::string Output;  // standard output and error together
};

// Runs a program found on PATH with exactly these arguments (no shell).
ToolRun RunTool(const std::vector<std::string>& args) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) throw PackError("cannot start " + args[0] + ": no pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, args[0].c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  ToolRun run;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) run.Output.append(buffer, static_cast<std::size_t>(n));
  ::close(pipeEnds[0]);
  if (spawned != 0) throw PackError(args[0] + " not found: install mtools to write disk images");
  int status = 0;
  ::waitpid(child, &status, 0);
  run.ExitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

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
    const ToolRun back = RunTool({"mcopy", "-n", "-i", image.string(), "::" + f.filename().string(), "-"});
    if (back.ExitCode != 0 || back.Output != ReadAll(f))
      throw PackError(where + ": " + f.filename().string() + " does not read back as written");
  }
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
  } catch (...) {
    std::error_code ignored;
    for (const auto& p : made) fs::remove(p, ignored);
    throw;
  }
}
