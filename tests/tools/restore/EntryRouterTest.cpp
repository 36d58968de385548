#include "EntryRouter.h"

#include <gtest/gtest.h>

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

void Feed(EntryRouter& router, const std::string& stream, std::size_t chunk) {
  for (std::size_t at = 0; at < stream.size(); at += chunk) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(stream.data()) + at;
    router.Take(static_cast<std::int64_t>(at), std::span(bytes, std::min(chunk, stream.size() - at)));
  }
  router.Finish(static_cast<std::int64_t>(stream.size()));
}

TEST(EntryRouter, CutsEntriesByTheirOwnRangesWhateverTheChunking) {
  const std::string stream = "0123456789abcdefghij";
  const std::vector<FileEntry> entries = {
      {"LATE", 0, 15, 5},   // out of table order
      {"EARLY", 0, 0, 4},
      {"OVERLAP", 0, 2, 10},
      {"EMPTY", 0, 7, 0},
      {"EMPTYEND", 0, 20, 0},
      {"SKIPPED", 0, 0, 20},
  };
  const std::vector<bool> wanted = {true, true, true, true, true, false};
  for (std::size_t chunk : {1u, 3u, 7u, 64u}) {
    RecordingOutput out;
    EntryRouter router(entries, wanted, out);
    Feed(router, stream, chunk);
    EXPECT_EQ(out.data[0], "fghij") << chunk;
    EXPECT_EQ(out.data[1], "0123") << chunk;
    EXPECT_EQ(out.data[2], "23456789ab") << chunk;
    EXPECT_EQ(out.data.count(3), 0u);
    EXPECT_EQ(out.data.count(5), 0u);
    // Every wanted entry begins and ends exactly once; the unwanted never.
    for (std::size_t i = 0; i < 5; ++i) {
      EXPECT_EQ(std::count(out.events.begin(), out.events.end(), "begin " + std::to_string(i)), 1) << i;
      EXPECT_EQ(std::count(out.events.begin(), out.events.end(), "end " + std::to_string(i)), 1) << i;
    }
    EXPECT_EQ(std::count(out.events.begin(), out.events.end(), "begin 5"), 0);
  }
}

}  // namespace
