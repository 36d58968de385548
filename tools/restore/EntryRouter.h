// Cuts the installed files out of the decoded stream as it passes, by each
// entry's own Offset and Size (entries may overlap or come in any order).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "config/ConfigBlock.h"

// Receives the files the router cuts out. Index is the entry's table index.
class EntryOutput {
 public:
  virtual ~EntryOutput() = default;
  virtual void Begin(std::size_t index, const FileEntry& entry) = 0;
  virtual void Write(std::size_t index, std::span<const std::uint8_t> bytes) = 0;
  virtual void End(std::size_t index, const FileEntry& entry) = 0;
  // The entry begun will not be ended: what it received must not be kept.
  virtual void Discard(std::size_t /*index*/, const FileEntry& /*entry*/) {}
};

class EntryRouter {
 public:
  // `entries` must all lie inside the stream; `wanted` selects which to cut.
  EntryRouter(const std::vector<FileEntry>& entries, const std::vector<bool>& wanted, EntryOutput& output);

  // The next decoded bytes, starting at `offset`.
  void Take(std::int64_t offset, std::span<const std::uint8_t> bytes);
  // Ends the entries that reach the end of the stream (and empty ones there).
  void Finish(std::int64_t streamSize);
  // Instead of Finish, when no more bytes will come: discards the entries
  // begun and not ended, and returns every wanted entry not ended (begun or
  // not), in table order.
  std::vector<std::size_t> Abandon();

 private:
  void StartEntriesBefore(std::int64_t end);

  const std::vector<FileEntry>& entries_;
  EntryOutput& output_;
  std::vector<std::size_t> byOffset_;  // wanted entries in order of Offset
  std::size_t nextToStart_ = 0;
  std::vector<std::size_t> active_;
};
