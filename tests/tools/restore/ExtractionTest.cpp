// Extraction of selected files reads the coded stream only as far as the
// last selected file needs, and hands each selected file over whole.
#include <gtest/gtest.h>

#include <map>

#include "Extraction.h"
#include "ToolTestSupport.h"
#include "lzh/LzhEncoder.h"

namespace tooltest {
namespace {

// Counts what the decoder takes.
class CountingSource final : public ByteSource {
 public:
  explicit CountingSource(const Bytes& bytes) : memory_(bytes) {}
  std::size_t Read(std::uint8_t* out, std::size_t size) override {
    const std::size_t n = memory_.Read(out, size);
    read_ += n;
    return n;
  }
  std::size_t BytesRead() const { return read_; }

 private:
  MemorySource memory_;
  std::size_t read_ = 0;
};

class CollectedFiles final : public EntryOutput {
 public:
  void Begin(std::size_t index, const FileEntry&) override { files[index]; }
  void Write(std::size_t index, std::span<const std::uint8_t> bytes) override {
    files[index].insert(files[index].end(), bytes.begin(), bytes.end());
  }
  void End(std::size_t, const FileEntry&) override {}
  std::map<std::size_t, Bytes> files;
};

SetInfo ThreeFileSet(const Bytes& decoded) {
  SetInfo set;
  set.StubName = "SETUP.EXE";
  set.Entries = {{"A.BIN", 0, 0, 1000}, {"B.BIN", 0, 1000, 1000}, {"C.BIN", 0, 2000, 1'998'000}};
  set.Trailer.UnpackedSize = static_cast<std::int32_t>(decoded.size());
  return set;
}

TEST(Extraction, StopsReadingOnceTheLastSelectedFileIsComplete) {
  const Bytes decoded = RandomBytes(2'000'000, 9);
  const Bytes coded = lzh::Encode(decoded);
  SetInfo set = ThreeFileSet(decoded);
  set.Trailer.SplitSize = static_cast<std::int32_t>(coded.size());
  const std::vector<std::int64_t> volumes = {static_cast<std::int64_t>(coded.size())};

  CountingSource source(coded);
  CollectedFiles output;
  const SetReport report = ExtractSet(set, volumes, source, output, {false, true, false});
  EXPECT_TRUE(report.Ok());
  ASSERT_EQ(output.files.size(), 1u);
  EXPECT_EQ(output.files[1], Bytes(decoded.begin() + 1000, decoded.begin() + 2000));
  EXPECT_LT(source.BytesRead(), 200'000u);  // a few blocks, not the 2 MB stream

  CountingSource whole(coded);
  EXPECT_TRUE(TestSet(set, volumes, whole, {true, true, true}).Ok());
  EXPECT_EQ(whole.BytesRead(), coded.size());
}

TEST(Extraction, NothingSelectedDecodesNothing) {
  const Bytes decoded = RandomBytes(5000, 3);
  const Bytes coded = lzh::Encode(decoded);
  SetInfo set = ThreeFileSet(decoded);
  set.Entries.resize(1);
  set.Trailer.SplitSize = static_cast<std::int32_t>(coded.size());
  CountingSource source(coded);
  CollectedFiles output;
  EXPECT_TRUE(ExtractSet(set, {static_cast<std::int64_t>(coded.size())}, source, output, {false}).Ok());
  EXPECT_EQ(source.BytesRead(), 0u);
  EXPECT_TRUE(output.files.empty());
}

}  // namespace
}  // namespace tooltest
