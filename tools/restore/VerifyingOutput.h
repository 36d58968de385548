// Checks each file against its CRC-32 in the set's verification record as
// its bytes pass on to the real output: a file whose bytes do not match is
// discarded there, never ended, and named. Without a record every file
// passes unchecked.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "EntryRouter.h"
#include "SetInfo.h"

class VerifyingOutput final : public EntryOutput {
 public:
  // Each damaged file adds "NAME is damaged (CRC mismatch)" to `problems`;
  // each file ended gets its verdict in `verdicts`.
  VerifyingOutput(const SetInfo& set, EntryOutput& inner, std::vector<std::string>& problems,
                  std::map<std::size_t, std::string>& verdicts);

  void Begin(std::size_t index, const FileEntry& entry) override;
  void Write(std::size_t index, std::span<const std::uint8_t> bytes) override;
  void End(std::size_t index, const FileEntry& entry) override;
  void Discard(std::size_t index, const FileEntry& entry) override;

 private:
  const SetInfo& set_;
  EntryOutput& inner_;
  std::vector<std::string>& problems_;
  std::map<std::size_t, std::string>& verdicts_;
  std::map<std::size_t, std::uint32_t> crcs_;  // of the entries begun
};
