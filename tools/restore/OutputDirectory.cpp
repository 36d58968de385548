#include "OutputDirectory.h"

#include <sys/stat.h>

#include <ctime>

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
  const auto name = codePage_.ToUtf8(entry.Name);
  if (!name) throw ExtractError("'" + codePage_.Shown(entry.Name) + "' has no name in " + codePage_.Name());
  return dir_ / *name;
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
    placed = file->Place(target, overwrite_);
  } catch (const FileError& e) {
    failures_.push_back(e.what());  // a directory of that name, say: the other files go on
    return;
  }
  if (placed == PendingFile::Placed::Exists) {
    kept_.push_back(target.string());
    return;
  }
  written_.push_back(target.filename().string());
}

void OutputDirectory::Discard(std::size_t index, const FileEntry&) { open_.erase(index); }

void OutputDirectory::SkipExisting(const std::vector<FileEntry>& entries, std::vector<bool>& selected) {
  if (overwrite_) return;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!selected[i]) continue;
    const auto name = codePage_.ToUtf8(entries[i].Name);
    struct stat info {};
    if (!name || !IsPlainFileName(*name) || ::lstat((dir_ / *name).c_str(), &info) != 0) continue;
    kept_.push_back((dir_ / *name).string());
    selected[i] = false;
  }
}
