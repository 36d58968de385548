// Extraction of selected files reads the coded stream only as far as the
// last selected file needs, and hands each selected file over whole.
#include <gtest/gtest.h>

#include <map>

#include "DiskMap.h"
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

struct CollectedFiles final : EntryOutput {
  std::map<std::size_t, Bytes> files;
  void Begin(std::size_t i, const FileEntry&) override { files[i]; }
  void Write(std::size_t i, std::span<const std::uint8_t> b) override { files[i].insert(files[i].end(), b.begin(), b.end()); }
  void End(std::size_t, const FileEntry&) override {}
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

TEST(Extraction, ReadsOnlyAsFarAsTheLastSelectedFileNeeds) {
  const Bytes decoded = RandomBytes(2'000'000, 9);
  const auto [coded, set, volumes] = CodedSet(decoded, {{"A.BIN", 0, 0, 1000}, {"B.BIN", 0, 1000, 1000}, {"C.BIN", 0, 2000, 1'998'000}});

  CountingSource one(coded), none(coded), whole(coded);
  CollectedFiles output, nothing;
  EXPECT_TRUE(ExtractSet(set, volumes, one, output, {false, true, false}).Ok());
  EXPECT_EQ(output.files, (std::map<std::size_t, Bytes>{{1, Bytes(decoded.begin() + 1000, decoded.begin() + 2000)}}));
  EXPECT_LT(one.read, 200'000u);  // a few blocks, not the 2 MB stream
  EXPECT_TRUE(ExtractSet(set, volumes, none, nothing, {false, false, false}).Ok());
  EXPECT_EQ(none.read, 0u);
  EXPECT_TRUE(nothing.files.empty());
  EXPECT_TRUE(TestSet(set, volumes, whole, {true, true, true}).Ok());
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
    CollectedFiles output;
    const SetReport report = ExtractSet(set, gap, disk1, output, all);
    for (std::size_t i = 0; i < set.Entries.size(); ++i) {
      const FileEntry& entry = set.Entries[i];
      const bool onDisk1 = map.DisksOf(entry) == "1";
      EXPECT_EQ(report.Verdicts.at(i), onDisk1 ? "decoded whole (the set carries no CRC-32 to check it against)"
                                               : "needs disk 2, which is missing")
          << "entry " << i << " on " << map.DisksOf(entry);
      if (onDisk1) {
        EXPECT_TRUE(output.files[i] == Bytes(decoded.begin() + entry.Offset, decoded.begin() + entry.Offset + 500));
      }
    }
  }
}

// -p: whatever order the entries lie in the stream, the selected ones come
// out whole in table order.
TEST(Extraction, StandardOutputGetsTheSelectedFilesInTableOrder) {
  const Bytes decoded = MixedBytes(300, 4);
  const auto [coded, set, plan] = CodedSet(decoded, {{"B", 0, 100, 100}, {"NOT", 0, 250, 50}, {"A", 0, 0, 100}, {"C", 0, 200, 50}});
  const std::vector<bool> selected = {true, false, true, true};
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  StdoutOutput output(selected, out);
  MemorySource source(coded);
  EXPECT_TRUE(ExtractSet(set, plan, source, output, selected).Ok());
  output.Finish();
  Bytes written(300);
  std::rewind(out);
  written.resize(std::fread(written.data(), 1, written.size(), out));
  std::fclose(out);
  Bytes expected(decoded.begin() + 100, decoded.begin() + 200);
  expected.insert(expected.end(), decoded.begin(), decoded.begin() + 100);
  expected.insert(expected.end(), decoded.begin() + 200, decoded.begin() + 250);
  EXPECT_EQ(written, expected);
}

}  // namespace
}  // namespace tooltest
