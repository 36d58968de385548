#include "FloppyImage.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "volumes/FloppyFormats.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// Starts the program with its standard output on a pipe, and its standard
// error too unless `quietErrors` sends that to /dev/null; gives the reading end.
pid_t Spawn(const std::vector<std::string>& args, int& readEnd, bool quietErrors = false) {
  int ends[2];
  if (::pipe(ends) != 0) throw FloppyError("cannot start " + args[0] + ": no pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  if (quietErrors)
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  else
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, ends[0]);
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t child = -1;
  const int spawned = posix_spawnp(&child, args[0].c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  ::close(ends[1]);
  if (spawned != 0) {
    ::close(ends[0]);
    throw FloppyError(args[0] + " not found: disk images need mtools (apt-get install mtools)");
  }
  readEnd = ends[0];
  return child;
}

int Wait(pid_t child) {
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool IsDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

std::string Trimmed(const std::string& text) {
  const auto end = text.find_last_not_of(' ');
  const auto start = text.find_first_not_of(' ');
  return start == std::string::npos ? "" : text.substr(start, end - start + 1);
}

}  // namespace

ToolRun RunTool(const std::vector<std::string>& args) {
  int readEnd = -1;
  const pid_t child = Spawn(args, readEnd);
  ToolRun run;
  char buffer[4096];
  for (ssize_t n; (n = ::read(readEnd, buffer, sizeof buffer)) > 0;)
    run.Output.append(buffer, static_cast<std::size_t>(n));
  ::close(readEnd);
  run.ExitCode = Wait(child);
  return run;
}

bool IsDiskImage(const fs::path& path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return false;
  const auto size = static_cast<std::int64_t>(fs::file_size(path, error));
  bool formatSize = false;
  for (const FloppyFormat& f : FloppyFormats) formatSize = formatSize || f.ImageBytes() == size;
  if (!formatSize) return false;
  std::ifstream in(path, std::ios::binary);
  unsigned char sector[512] = {};
  in.read(reinterpret_cast<char*>(sector), sizeof sector);
  return in && sector[510] == 0x55 && sector[511] == 0xAA;
}

// mdir lists a file as "NAME     EXT      SIZE YYYY-MM-DD  HH:MM": the name
// in columns 0-7, the extension in 9-11, the size right-aligned to 21.
std::vector<ImageFile> ListImage(const fs::path& image) {
  const ToolRun run = RunTool({"mdir", "-i", image.string(), "::"});
  if (run.ExitCode != 0) throw FloppyError(image.string() + ": mdir cannot read it: " + run.Output);
  std::vector<ImageFile> files;
  std::size_t start = 0;
  for (std::size_t end; (end = run.Output.find('\n', start)) != std::string::npos; start = end + 1) {
    const std::string line = run.Output.substr(start, end - start);
    if (line.size() < 33 || !IsDigits(line.substr(23, 4)) || line[27] != '-') continue;
    const std::string size = Trimmed(line.substr(12, 10));
    if (!IsDigits(size) || line.substr(12, 10).find("<DIR>") != std::string::npos) continue;
    const std::string base = Trimmed(line.substr(0, 8));
    const std::string extension = Trimmed(line.substr(9, 3));
    files.push_back({extension.empty() ? base : base + "." + extension, std::stoll(size)});
  }
  return files;
}

std::vector<std::uint8_t> ReadImageFile(const fs::path& image, const std::string& name) {
  ImageFileReader reader(image, name);
  std::vector<std::uint8_t> bytes;
  std::uint8_t block[65536];
  for (std::size_t n; (n = reader.Read(block, sizeof block)) > 0;) bytes.insert(bytes.end(), block, block + n);
  return bytes;
}

ImageFileReader::ImageFileReader(const fs::path& image, const std::string& name)
    : where_(image.string() + ": " + name) {
  // Only the data comes through the pipe; mcopy's exit code tells failure.
  child_ = Spawn({"mcopy", "-n", "-i", image.string(), "::" + name, "-"}, pipe_, true);
}

ImageFileReader::~ImageFileReader() {
  if (child_ > 0) Finish();
}

int ImageFileReader::Finish() {
  ::close(pipe_);
  const int code = Wait(child_);
  child_ = -1;
  return code;
}

std::size_t ImageFileReader::Read(std::uint8_t* out, std::size_t size) {
  if (child_ <= 0) return 0;
  const ssize_t n = ::read(pipe_, out, size);
  if (n > 0) return static_cast<std::size_t>(n);
  if (Finish() != 0 || n < 0) throw FloppyError(where_ + ": mcopy cannot read it");
  return 0;
}
