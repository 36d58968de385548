// Extraction of selected files reads the coded stream only as far as the
// last selected file needs, and hands each selected file over whole, cut
// from the decoded stream by its own range.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "DiskMap.h"
#include "EntryRouter.h"
#include "Extraction.h"
#include "StdoutOutput.h"
#include "ToolTestSupport.h"
#include "lzh/LzhEncoder.h"

namespace tooltest {
namespace {

struct CountingSource final : ByteSource {
  explicit CountingSource(const Bytes& bytes) : memory(bytes) {}
  std::size_t Read(std::uint8_t* out, std::size_t size) override {
    const std::size_t n = memory.Read(out, size);
    return read += n, n;
  }
  MemorySource memory;
  std::size_t read = 0;
};

// Records what is handed out, per entry: its bytes, and when it begins and ends.
struct RecordingOutput final : EntryOutput {
  std::map<std::size_t, std::string> files;
  std::vector<std::string> events;
  void Begin(std::size_t i, const FileEntry&) override { files[i], events.push_back("begin " + std::to_string(i)); }
  void Write(std::size_t i, std::span<const std::uint8_t> b) override { files[i].append(b.begin(), b.end()); }
  void End(std::size_t i, const FileEntry&) override { events.push_back("end " + std::to_string(i)); }
};

// A set of `entries` over `decoded`, its coded stream on one volume.
struct CodedSet {
  CodedSet(const Bytes& decoded, std::vector<FileEntry> entries) : coded(lzh::Encode(decoded)) {
    set.StubName = "SETUP.EXE";
    set.Entries = std::move(entries);
    set.Trailer.UnpackedSize = static_cast<std::int32_t>(decoded.size());
    set.Trailer.SplitSize = static_cast<std::int32_t>(coded.size());
    plan.VolumeSizes = {static_cast<std::int64_t>(coded.size())};
  }
  Bytes coded;
  SetInfo set;
  StreamPlan plan;
};

// Whatever order the entries lie in the stream, the selected ones reach
// standard output (-p) whole and in table order, and the stream is read
// only as far as the last selected file needs: not at all for none, all of
// it to test the set.
TEST(Extraction, HandsOverTheSelectedFilesReadingOnlyAsFarAsTheyNeed) {
  const Bytes decoded = RandomBytes(2'000'000, 9);
  const auto [coded, set, plan] =
      CodedSet(decoded, {{"B", 0, 1000, 1000}, {"NOT", 0, 3000, 1'997'000}, {"A", 0, 0, 1000}, {"C", 0, 2000, 500}});
  const std::vector<bool> selected = {true, false, true, true};
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  StdoutOutput output(selected, out);
  CountingSource some(coded), none(coded), whole(coded);
  EXPECT_TRUE(ExtractSet(set, plan, some, output, selected).Ok());
  output.Finish();
  EXPECT_LT(some.read, 200'000u);  // a few blocks, not the 2 MB stream
  Bytes written(3000);
  std::rewind(out);
  written.resize(std::fread(written.data(), 1, written.size(), out));
  std::fclose(out);
  Bytes expected(decoded.begin() + 1000, decoded.begin() + 2000);
  expected.insert(expected.end(), decoded.begin(), decoded.begin() + 1000);
  expected.insert(expected.end(), decoded.begin() + 2000, decoded.begin() + 2500);
  EXPECT_EQ(written, expected);
  RecordingOutput nothing;
  EXPECT_TRUE(ExtractSet(set, plan, none, nothing, {false, false, false, false}).Ok());
  EXPECT_EQ(none.read, 0u);
  EXPECT_TRUE(nothing.files.empty());
  EXPECT_TRUE(TestSet(set, plan, whole, {true, true, true, true}).Ok());
  EXPECT_EQ(whole.read, coded.size());
}

// Disk 2 missing, wherever disk 1 ends: the files the listing puts on disk 1
// alone come back whole, each of the others is said to need disk 2, and the
// symbol read past disk 1's end does not make the set look damaged.
TEST(Extraction, AMissingDiskCostsExactlyTheFilesTheListingPutsOnIt) {
  const Bytes decoded = MixedBytes(3000, 5);
  std::vector<FileEntry> entries;
  for (const char* name : {"A", "B", "C", "D", "E", "F"})
    entries.push_back({name, 0, static_cast<std::int32_t>(500 * entries.size()), 500});
  const auto [coded, set, plan] = CodedSet(decoded, entries);
  const std::vector<bool> all(set.Entries.size(), true);
  for (std::size_t cut = 1; cut < coded.size(); ++cut) {
    SCOPED_TRACE(cut);
    StreamPlan whole;
    whole.VolumeSizes = {static_cast<std::int64_t>(cut), static_cast<std::int64_t>(coded.size() - cut)};
    MemorySource both(coded);
    const DiskMap map = MapDisks(set, whole, both);

    StreamPlan gap;
    gap.VolumeSizes = {static_cast<std::int64_t>(cut)};
    gap.TrustedCodedBytes = static_cast<std::int64_t>(cut), gap.GapDisk = 2, gap.GapWhy = "missing";
    const Bytes held(coded.begin(), coded.begin() + static_cast<std::ptrdiff_t>(cut));
    MemorySource disk1(held);
    RecordingOutput output;
    const SetReport report = ExtractSet(set, gap, disk1, output, all);
    for (std::size_t i = 0; i < set.Entries.size(); ++i) {
      const FileEntry& entry = set.Entries[i];
      const bool onDisk1 = map.DisksOf(entry) == "1";
      EXPECT_EQ(report.Verdicts.at(i), onDisk1 ? "decoded whole (the set carries no CRC-32 to check it against)"
                                               : "needs disk 2, which is missing")
          << "entry " << i << " on " << map.DisksOf(entry);
      EXPECT_TRUE(!onDisk1 || output.files[i] == std::string(decoded.begin() + entry.Offset, decoded.begin() + entry.Offset + 500));
    }
  }
}

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
    EXPECT_EQ(out.files, (std::map<std::size_t, std::string>{{0, "fghij"}, {1, "0123"}, {2, "23456789ab"}, {3, ""}, {4, ""}}))
        << chunk;
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
}  // namespace tooltest
