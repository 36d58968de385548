#include "InputFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include "PackOptions.h"
#include "config/DosDateTime.h"

namespace {

constexpr std::size_t ChunkSize = 1 << 20;

// Closes the descriptor on every path.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(const std::filesystem::path& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  int Descriptor() const { return fd_; }

 private:
  int fd_;
};

std::string Reason() { return std::strerror(errno); }

struct stat StatOf(const std::filesystem::path& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0)
    throw PackError(path.string() + (errno == ENOENT ? ": no such file" : ": cannot read: " + Reason()));
  if (S_ISDIR(info.st_mode))
    throw PackError(path.string() + ": is a directory; a set holds one flat folder of files, so name the files "
                                    "themselves (" + path.string() + "/*)");
  if (!S_ISREG(info.st_mode)) throw PackError(path.string() + ": not a regular file");
  return info;
}

}  // namespace

std::uint32_t DosDateOf(const std::filesystem::path& path) {
  const struct stat info = StatOf(path);
  std::tm local{};
  const std::time_t seconds = info.st_mtime;
  if (::localtime_r(&seconds, &local) == nullptr)
    throw PackError(path.string() + ": its date cannot be shown in local time");
  const DosDateTime when{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                         local.tm_hour,        local.tm_min,     local.tm_sec};
  if (when.Year < 1980) return *PackDosDateTime({1980, 1, 1, 0, 0, 0});
  if (when.Year > 2107) return *PackDosDateTime({2107, 12, 31, 23, 59, 58});
  return *PackDosDateTime(when);
}

std::vector<InputFile> StatInputFiles(const std::vector<std::filesystem::path>& paths, const CodePage& codePage) {
  std::vector<InputFile> files;
  files.reserve(paths.size());
  for (const auto& path : paths) {
    InputFile file;
    file.Source = path;
    file.Name = path.filename().string();
    const auto stored = codePage.FromUtf8(file.Name);
    if (!stored)
      throw PackError(path.string() + ": the name '" + file.Name + "' cannot be written in " + codePage.Name() +
                      " (choose another --codepage, or rename the file)");
    file.StoredName = *stored;
    file.Size = static_cast<std::int64_t>(StatOf(path).st_size);
    if (::access(path.c_str(), R_OK) != 0) throw PackError(path.string() + ": cannot read: " + Reason());
    file.DosDate = DosDateOf(path);
    files.push_back(std::move(file));
  }
  return files;
}

void StreamFile(const std::filesystem::path& path, std::int64_t expectedSize,
                const std::function<void(std::span<const std::uint8_t>)>& take) {
  const ReadOnlyFile file(path);
  if (file.Descriptor() < 0) throw PackError(path.string() + ": cannot open: " + Reason());
  std::vector<std::uint8_t> chunk(ChunkSize);
  std::int64_t total = 0;
  for (;;) {
    const ssize_t n = ::read(file.Descriptor(), chunk.data(), chunk.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw PackError(path.string() + ": read failed: " + Reason());
    if (n == 0) break;
    total += n;
    if (total > expectedSize) break;
    take(std::span(chunk).first(static_cast<std::size_t>(n)));
  }
  if (total != expectedSize)
    throw PackError(path.string() + ": changed while it was packed (" + std::to_string(expectedSize) +
                    " bytes when listed, " + (total > expectedSize ? "more" : std::to_string(total)) + " now)");
}
