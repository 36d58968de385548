// Feeds arbitrary stubs and volumes through the whole extractor in memory:
// listing, testing and extracting must never crash, and every entry handed
// out must begin once, receive exactly its Size in bytes and end once.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

#include "ByteSource.h"
#include "ExtractError.h"
#include "Extraction.h"
#include "Listing.h"
#include "SetInfo.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

struct CountingOutput final : EntryOutput {
  std::map<std::size_t, std::int64_t> received;
  std::map<std::size_t, int> ended;
  void Begin(std::size_t index, const FileEntry&) override { Check(received.emplace(index, 0).second); }
  void Write(std::size_t index, std::span<const std::uint8_t> bytes) override {
    Check(ended.count(index) == 0);
    received.at(index) += static_cast<std::int64_t>(bytes.size());
  }
  void End(std::size_t index, const FileEntry& entry) override {
    Check(received.at(index) == entry.Size);
    Check(ended.emplace(index, 1).second);
  }
  // A file that failed its CRC ends this way instead: nothing of it is kept.
  void Discard(std::size_t index, const FileEntry&) override { Check(ended.emplace(index, 0).second); }
};

// The volumes: the stream cut into VolumeCount nearly equal pieces.
std::vector<std::int64_t> VolumeSizes(const SetInfo& set, std::size_t streamSize) {
  const auto count = static_cast<std::size_t>(set.VolumeCount());
  std::vector<std::int64_t> sizes(count, static_cast<std::int64_t>(streamSize / count));
  sizes.back() += static_cast<std::int64_t>(streamSize % count);
  return sizes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t stubSize = std::min<std::size_t>(size - 2, data[0] | data[1] << 8);
  const std::vector<std::uint8_t> stub(data + 2, data + 2 + stubSize);
  const std::vector<std::uint8_t> stream(data + 2 + stubSize, data + size);
  try {
    const SetInfo set = SetInfoFromBytes(stub, "SETUP.EXE");
    ListingText(set);
    ListingJson(set);
    FoundVolumes found;
    for (const std::int64_t size : VolumeSizes(set, stream.size())) found.Volumes.push_back({"SETUP.0N", size, {}, {}});
    const StreamPlan plan = PlanStream(set, found, {});

    const std::vector<bool> everything(set.Entries.size(), true);
    MemorySource testInput(stream);
    const SetReport tested = TestSet(set, plan, testInput, everything);

    MemorySource extractInput(stream);
    CountingOutput output;
    const SetReport extracted = ExtractSet(set, plan, extractInput, output, everything);
    // The same set gives the same verdict either way.
    Check(tested.Ok() == extracted.Ok());
    // Every entry begun was ended or discarded: nothing is left half written.
    Check(output.received.size() == output.ended.size());
  } catch (const ExtractError&) {
    // A clear refusal: a too short stub, or a stream that ends early.
  }
  return 0;
}
