#include "InputFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "CommandLine.h"
#include "InputLimits.h"
#include "InputNames.h"
#include "InputSources.h"
#include "InputTree.h"
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

std::string Shown(const std::tm& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

// Every problem, one a line, then the hints and how many problems there were.
[[noreturn]] void Refuse(const std::vector<std::string>& problems, const std::vector<std::string>& hints) {
  std::string message;
  for (const std::string& line : problems) message += line + "\n";
  for (const std::string& line : hints) message += line + "\n";
  throw PackError(message + Counted(static_cast<std::int64_t>(problems.size()), "problem") +
                  " with the files to pack; nothing written");
}

}  // namespace

std::uint32_t DosDateOf(std::time_t modified, std::string& clampedFrom) {
  static const std::uint32_t Earliest = *PackDosDateTime({1980, 1, 1, 0, 0, 0});
  static const std::uint32_t Latest = *PackDosDateTime({2107, 12, 31, 23, 59, 58});
  std::tm local{};
  if (::localtime_r(&modified, &local) == nullptr) {  // beyond any calendar year an int holds
    clampedFrom = modified < 0 ? "long before 1980" : "long after 2107";
    return modified < 0 ? Earliest : Latest;
  }
  const DosDateTime when{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                         local.tm_hour,        local.tm_min,     local.tm_sec};
  if (const auto packed = PackDosDateTime(when)) return *packed;
  clampedFrom = Shown(local);
  return when.Year < 1980 ? Earliest : Latest;
}

GatheredInputs GatherInputFiles(const PackOptions& options, const CodePage& codePage) {
  std::vector<std::string> problems, hints;
  const std::vector<InputSource> sources = GatherSources(options, problems);
  FoundInputs found = FindInputFiles(sources);
  problems.insert(problems.end(), found.Problems.begin(), found.Problems.end());
  GatheredInputs gathered{NameInputFiles(found.Files, codePage, problems), std::move(found.EmptyFolders)};
  FindNameClashes(gathered.Files, problems);
  CheckSetLimits(gathered.Files, problems, hints);
  if (problems.empty() && gathered.Files.empty())
    problems.push_back(sources.empty() ? "no files to pack: the lists name none" : "no files to pack: the folders hold none");
  if (!problems.empty()) Refuse(problems, hints);
  return gathered;
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
