#include "EntryRouter.h"

#include <algorithm>

EntryRouter::EntryRouter(const std::vector<FileEntry>& entries, const std::vector<bool>& wanted,
                         EntryOutput& output)
    : entries_(entries), output_(output) {
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (wanted[i]) byOffset_.push_back(i);
  std::stable_sort(byOffset_.begin(), byOffset_.end(),
                   [&entries](std::size_t a, std::size_t b) { return entries[a].Offset < entries[b].Offset; });
}

void EntryRouter::StartEntriesBefore(std::int64_t end) {
  while (nextToStart_ < byOffset_.size() && entries_[byOffset_[nextToStart_]].Offset < end) {
    const std::size_t index = byOffset_[nextToStart_++];
    output_.Begin(index, entries_[index]);
    active_.push_back(index);
  }
}

void EntryRouter::Take(std::int64_t offset, std::span<const std::uint8_t> bytes) {
  const std::int64_t end = offset + static_cast<std::int64_t>(bytes.size());
  StartEntriesBefore(end);
  std::erase_if(active_, [&](std::size_t index) {
    const FileEntry& e = entries_[index];
    const std::int64_t entryEnd = std::int64_t{e.Offset} + e.Size;
    const std::int64_t from = std::max<std::int64_t>(offset, e.Offset);
    const std::int64_t to = std::min(end, entryEnd);
    if (to > from)
      output_.Write(index, bytes.subspan(static_cast<std::size_t>(from - offset), static_cast<std::size_t>(to - from)));
    if (entryEnd > end) return false;
    output_.End(index, e);
    return true;
  });
}

void EntryRouter::Finish(std::int64_t streamSize) {
  StartEntriesBefore(streamSize + 1);
  for (std::size_t index : active_) output_.End(index, entries_[index]);
  active_.clear();
}

std::vector<std::size_t> EntryRouter::Abandon() {
  for (std::size_t index : active_) output_.Discard(index, entries_[index]);
  std::vector<std::size_t> unfinished(active_.begin(), active_.end());
  // An empty file needs none of the bytes that did not come: it is whole.
  for (std::size_t k = nextToStart_; k < byOffset_.size(); ++k) {
    const std::size_t index = byOffset_[k];
    if (entries_[index].Size == 0) {
      output_.Begin(index, entries_[index]);
      output_.End(index, entries_[index]);
    } else {
      unfinished.push_back(index);
    }
  }
  active_.clear();
  nextToStart_ = byOffset_.size();
  std::sort(unfinished.begin(), unfinished.end());
  return unfinished;
}
