// Writes installed files into the output directory and nowhere else. Each
// file takes its name only when complete (see PendingFile), so an
// interrupted or damaged extraction leaves no partial file, and an existing
// file is kept unless replacing was asked for.
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

  // Entries that End has placed (their UTF-8 names), and the messages for
  // those it refused.
  const std::vector<std::string>& Written() const { return written_; }
  const std::vector<std::string>& Refusals() const { return refusals_; }

  // Where an entry goes: its name in UTF-8 inside the directory. The entry's
  // name was checked (EntryProblem) before it reached here.
  std::filesystem::path PathFor(const FileEntry& entry) const;

 private:
  std::filesystem::path dir_;
  bool overwrite_;
  CodePage codePage_;
  std::map<std::size_t, std::unique_ptr<PendingFile>> open_;
  std::vector<std::string> written_;
  std::vector<std::string> refusals_;
};

// The DOS date and time, read as local time, in seconds since the epoch.
std::int64_t LocalTimeOfDosDate(std::uint32_t dosDate);
