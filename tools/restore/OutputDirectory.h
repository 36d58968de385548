// Writes installed files into the output directory and nowhere else. Each
// file takes its name only when complete (see PendingFile), so an
// interrupted or damaged extraction leaves no partial file (nor one whose
// bytes fail their CRC-32, see VerifyingOutput), and an existing file is
// kept unless replacing was asked for. A file in a subfolder gets its
// folders then, one at a time; an existing link is never followed.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CodePage.h"
#include "EntryRouter.h"
#include "PendingFile.h"

class OutputDirectory final : public EntryOutput {
 public:
  OutputDirectory(std::filesystem::path dir, bool overwrite, CodePage codePage = CodePage());

  void Begin(std::size_t index, const FileEntry& entry) override;
  void Write(std::size_t index, std::span<const std::uint8_t> bytes) override;
  void End(std::size_t index, const FileEntry& entry) override;
  // The file never takes its name: its temporary goes.
  void Discard(std::size_t index, const FileEntry& entry) override;

  // Entries that End has placed (their UTF-8 paths below the directory), the paths it kept
  // because a file was there (unless overwriting), and the messages for
  // those it could not write.
  const std::vector<std::string>& Written() const { return written_; }
  const std::vector<std::string>& Kept() const { return kept_; }
  const std::vector<std::string>& Failures() const { return failures_; }

  // Paths of the selected entries that exist already, deselecting them, so
  // that they are neither decoded for nor written (not when overwriting).
  void SkipExisting(const std::vector<FileEntry>& entries, std::vector<bool>& selected);

  // Where an entry goes: its path in UTF-8 inside the directory. The entry's
  // name was checked (TableProblems) before it reached here.
  std::filesystem::path PathFor(const FileEntry& entry) const;

 private:
  // The folders below the directory that `target` needs, made one at a
  // time; raises FileError for one that is a link or no folder.
  void MakeFolders(const std::filesystem::path& target) const;

  std::filesystem::path dir_;
  bool overwrite_;
  CodePage codePage_;
  std::map<std::size_t, std::unique_ptr<PendingFile>> open_;
  std::vector<std::string> written_;
  std::vector<std::string> kept_;
  std::vector<std::string> failures_;
};

// The DOS date and time, read as local time, in seconds since the epoch.
std::int64_t LocalTimeOfDosDate(std::uint32_t dosDate);
