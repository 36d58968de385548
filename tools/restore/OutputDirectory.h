// Writes installed files into the output directory and nowhere else. Each
// file is written under a temporary name and takes its real name only when
// complete, so an interrupted or damaged extraction leaves no partial file.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "EntryRouter.h"

class OutputDirectory final : public EntryOutput {
 public:
  OutputDirectory(std::filesystem::path dir, bool overwrite);
  ~OutputDirectory() override;  // removes every temporary file still open

  void Begin(std::size_t index, const FileEntry& entry) override;
  void Write(std::size_t index, std::span<const std::uint8_t> bytes) override;
  void End(std::size_t index, const FileEntry& entry) override;

  // Entries that End has placed, and the messages for those it refused.
  const std::vector<std::string>& Written() const { return written_; }
  const std::vector<std::string>& Refusals() const { return refusals_; }

  // True when a file of that name exists (also as a dangling link).
  bool Occupied(const std::string& name) const;
  std::filesystem::path PathFor(const FileEntry& entry) const;

 private:
  struct OpenFile {
    std::filesystem::path Temporary;
    int Descriptor = -1;
  };
  void Discard(OpenFile& file);

  std::filesystem::path dir_;
  bool overwrite_;
  std::map<std::size_t, OpenFile> open_;
  std::vector<std::string> written_;
  std::vector<std::string> refusals_;
};

// The DOS date and time, read as local time, in seconds since the epoch.
std::int64_t LocalTimeOfDosDate(std::uint32_t dosDate);
