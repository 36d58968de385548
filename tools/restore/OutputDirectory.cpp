#include "OutputDirectory.h"

#include <ctime>

#include "ExtractError.h"
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
    refusals_.push_back(e.what());  // a directory of that name, say: the other files go on
    return;
  }
  if (placed == PendingFile::Placed::Exists) {
    refusals_.push_back(target.string() + ": already exists; kept (use --overwrite to replace it)");
    return;
  }
  written_.push_back(target.filename().string());
}
