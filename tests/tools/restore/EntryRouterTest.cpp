#include "EntryRouter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace {

// Records what the router hands out, per entry.
struct RecordingOutput : EntryOutput {
  std::map<std::size_t, std::string> data;
  std::vector<std::string> events;
  void Begin(std::size_t i, const FileEntry&) override { events.push_back("begin " + std::to_string(i)); }
  void Write(std::size_t i, std::span<const std::uint8_t> b) override { data[i].append(b.begin(), b.end()); }
  void End(std::size_t i, const FileEntry&) override { events.push_back("end " + std::to_string(i)); }
};

TEST(EntryRouter, CutsEntriesByTheirOwnRangesWhateverTheChunking) {
  const std::string stream = "0123456789abcdefghij";
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(stream.data());
  // Out of table order, overlapping, empty inside and at the end, unwanted.
  const std::vector<FileEntry> entries = {{"LATE", 0, 15, 5},  {"EARLY", 0, 0, 4},     {"OVERLAP", 0, 2, 10},
                                          {"EMPTY", 0, 7, 0}, {"EMPTYEND", 0, 20, 0}, {"SKIPPED", 0, 0, 20}};
  for (std::size_t chunk : {1u, 3u, 7u, 64u}) {
    RecordingOutput out;
    EntryRouter router(entries, {true, true, true, true, true, false}, out);
    for (std::size_t at = 0; at < stream.size(); at += chunk)
      router.Take(static_cast<std::int64_t>(at), std::span(bytes + at, std::min(chunk, stream.size() - at)));
    router.Finish(static_cast<std::int64_t>(stream.size()));
    EXPECT_EQ(out.data, (std::map<std::size_t, std::string>{{0, "fghij"}, {1, "0123"}, {2, "23456789ab"}})) << chunk;
    // Every wanted entry begins and ends exactly once; the unwanted never.
    for (std::size_t i = 0; i < 6; ++i)
      for (const char* event : {"begin ", "end "})
        EXPECT_EQ(std::count(out.events.begin(), out.events.end(), event + std::to_string(i)), i < 5 ? 1 : 0) << i;
  }
}

// Decoding stops at a gap: entries that ended, one exactly at the last
// chunk's end among them, are whole, and so is an empty one at the gap;
// only those past it that hold bytes are abandoned.
TEST(EntryRouter, AbandonsOnlyTheEntriesPastTheLastChunk) {
  const std::string stream = "0123456789ab";
  const std::vector<FileEntry> entries = {{"A", 0, 0, 4}, {"B", 0, 4, 4}, {"C", 0, 8, 4}, {"EMPTY", 0, 8, 0}};
  RecordingOutput out;
  EntryRouter router(entries, {true, true, true, true}, out);
  router.Take(0, std::span(reinterpret_cast<const std::uint8_t*>(stream.data()), 8));
  EXPECT_EQ(router.Abandon(), (std::vector<std::size_t>{2}));
  EXPECT_EQ(out.events, (std::vector<std::string>{"begin 0", "begin 1", "end 0", "end 1", "begin 3", "end 3"}));
}

}  // namespace
