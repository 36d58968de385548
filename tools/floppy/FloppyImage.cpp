#include "FloppyImage.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>


extern char** environ;

namespace fs = std::filesystem;

namespace {

// mtools' global settings, each as mtools leaves it by default but the date
// format, which mdir's listing is read by. MTOOLSRC is read after
// /etc/mtools.conf and ~/.mtoolsrc, so these win over both.
const char* const MtoolsSettings =
    "MTOOLS_SKIP_CHECK=0\n"
    "MTOOLS_FAT_COMPATIBILITY=0\n"
    "MTOOLS_LOWER_CASE=0\n"
    "MTOOLS_NO_VFAT=0\n"
    "MTOOLS_DOTTED_DIR=0\n"
    "MTOOLS_NAME_NUMERIC_TAIL=1\n"
    "MTOOLS_TWENTY_FOUR_HOUR_CLOCK=1\n"
    "MTOOLS_DATE_STRING=\"yyyy-mm-dd\"\n"
    "MTOOLS_LOCK_TIMEOUT=30\n"
    "default_codepage=850\n";

// The settings as a file no exit can leave behind: a memory file that the
// children inherit, which each opens as /proc/self/fd/N. Empty when none
// can be made (mtools then runs on its own defaults and the user's).
std::string SettingsPath() {
  static const std::string path = [] {
    const int fd = ::memfd_create("diskspan-mtoolsrc", 0);  // no close-on-exec: mtools reads it
    if (fd < 0) return std::string();
    const std::size_t length = std::strlen(MtoolsSettings);
    if (::write(fd, MtoolsSettings, length) != static_cast<ssize_t>(length)) return std::string();
    return "/proc/self/fd/" + std::to_string(fd);
  }();
  return path;
}

// The environment mtools runs in: ours without MTOOLS_* and MTOOLSRC, and
// MTOOLSRC naming our settings.
std::vector<std::string> MtoolsEnvironment() {
  std::vector<std::string> variables;
  for (char** v = environ; *v; ++v)
    if (std::strncmp(*v, "MTOOLS", 6) != 0) variables.emplace_back(*v);
  if (const std::string settings = SettingsPath(); !settings.empty()) variables.push_back("MTOOLSRC=" + settings);
  return variables;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (auto& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');)
    if (::access(((dir.empty() ? "." : dir) + "/" + program).c_str(), X_OK) == 0) return true;
  return false;
}

const char* const NeedMtools = "disk images need mtools (apt-get install mtools)";

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
  std::vector<std::string> arguments = args, environment = MtoolsEnvironment();
  const std::vector<char*> argv = Pointers(arguments), envp = Pointers(environment);
  pid_t child = -1;
  const int spawned = posix_spawnp(&child, args[0].c_str(), &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(ends[1]);
  if (spawned != 0) {
    ::close(ends[0]);
    throw FloppyError(args[0] + " not found: " + NeedMtools);
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

void CheckMtools() {
  for (const char* program : {"mformat", "mcopy", "mdir"})
    if (!OnPath(program)) throw FloppyError(std::string(program) + " is not on PATH: " + NeedMtools);
}

std::string ToolPath(const fs::path& path) {
  return path.is_absolute() || path.string().starts_with("./") ? path.string() : "./" + path.string();
}

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

namespace {

unsigned Get16(const unsigned char* at) { return at[0] | at[1] << 8U; }

// A FAT12 or FAT16 boot sector: a jump, a BIOS parameter block whose values
// a FAT file system can have (FAT32 has no root directory entries and no
// 16-bit FAT size), and the boot signature.
bool IsFatBootSector(const unsigned char (&s)[512]) {
  const bool jump = (s[0] == 0xEB && s[2] == 0x90) || s[0] == 0xE9;
  const unsigned sectorSize = Get16(s + 11), clusterSectors = s[13];
  const unsigned total = Get16(s + 19) != 0 ? Get16(s + 19) : Get16(s + 32) | Get16(s + 34) << 16U;
  return jump && s[510] == 0x55 && s[511] == 0xAA &&
         (sectorSize == 512 || sectorSize == 1024 || sectorSize == 2048 || sectorSize == 4096) &&
         clusterSectors != 0 && (clusterSectors & (clusterSectors - 1)) == 0 && Get16(s + 14) != 0 &&
         (s[16] == 1 || s[16] == 2) && Get16(s + 17) != 0 && total != 0 && s[21] >= 0xF0 && Get16(s + 22) != 0;
}

}  // namespace

bool IsDiskImage(const fs::path& path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  unsigned char sector[512] = {};
  return in.read(reinterpret_cast<char*>(sector), sizeof sector) && IsFatBootSector(sector);
}

// mdir lists a file as "NAME     EXT      SIZE YYYY-MM-DD  HH:MM": the name
// in columns 0-7, the extension in 9-11, the size right-aligned to 21.
std::vector<ImageFile> ListImage(const fs::path& image) {
  const ToolRun run = RunTool({"mdir", "-i", ToolPath(image), "::"});
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
  child_ = Spawn({"mcopy", "-n", "-i", ToolPath(image), "::" + name, "-"}, pipe_, true);
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
