#include "OutputDirectory.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <ctime>

#include "EntryNames.h"
#include "ExtractError.h"
#include "config/ConfigBlock.h"
#include "config/DosDateTime.h"

namespace fs = std::filesystem;

std::int64_t LocalTimeOfDosDate(std::uint32_t dosDate) {
  const DosDateTime d = SplitDosDateTime(dosDate);
  std::tm local{};
  local.tm_year = d.Year - 1900;
  local.tm_mon = d.Month - 1;
  local.tm_mday = d.Day;
  local.tm_hour = d.Hour;
  local.tm_min = d.Minute;
  local.tm_sec = d.Second;
  local.tm_isdst = -1;
  return static_cast<std::int64_t>(std::mktime(&local));
}

OutputDirectory::OutputDirectory(fs::path dir, bool overwrite, CodePage codePage)
    : dir_(std::move(dir)), overwrite_(overwrite), codePage_(codePage) {}

fs::path OutputDirectory::PathFor(const FileEntry& entry) const {
  const auto parts = Utf8Parts(entry.Name, codePage_);
  if (!parts) throw ExtractError("'" + ShownPath(entry.Name, codePage_) + "' has no name in " + codePage_.Name());
  fs::path path = dir_;
  for (const auto& part : *parts) path /= part;
  return path;
}

void OutputDirectory::MakeFolders(const fs::path& target) const {
  fs::path folder = dir_;
  for (const auto& part : target.parent_path().lexically_relative(dir_)) {
    if (part == ".") continue;
    folder /= part;
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0 && ::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
      throw FileError(folder.string() + ": cannot create the folder: " + std::strerror(errno));
    if (::lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) continue;
    throw FileError(folder.string() + (S_ISLNK(info.st_mode) ? ": a link, not followed: " : ": not a folder: ") +
                    target.string() + " is not written");
  }
}

void OutputDirectory::Begin(std::size_t index, const FileEntry&) {
  open_[index] = std::make_unique<PendingFile>(dir_);
}

void OutputDirectory::Write(std::size_t index, std::span<const std::uint8_t> bytes) {
  open_.at(index)->Write(bytes);
}

void OutputDirectory::End(std::size_t index, const FileEntry& entry) {
  const std::unique_ptr<PendingFile> file = std::move(open_.at(index));
  open_.erase(index);
  const fs::path target = PathFor(entry);
  file->SetTime(LocalTimeOfDosDate(static_cast<std::uint32_t>(entry.Date)));
  PendingFile::Placed placed;
  try {
    MakeFolders(target);
    placed = file->Place(target, overwrite_);
  } catch (const FileError& e) {
    failures_.push_back(e.what());  // a directory of that name, say: the other files go on
    return;
  }
  if (placed == PendingFile::Placed::Exists) {
    kept_.push_back(target.string());
    return;
  }
  written_.push_back(target.lexically_relative(dir_).string());
}

void OutputDirectory::Discard(std::size_t index, const FileEntry&) { open_.erase(index); }

void OutputDirectory::SkipExisting(const std::vector<FileEntry>& entries, std::vector<bool>& selected) {
  if (overwrite_) return;
  const std::vector<std::string> refused = TableProblems(entries, codePage_);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!selected[i] || !refused[i].empty()) continue;
    const fs::path target = PathFor(entries[i]);
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) continue;
    kept_.push_back(target.string());
    selected[i] = false;
  }
}
