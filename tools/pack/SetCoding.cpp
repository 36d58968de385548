#include "SetCoding.h"

#include "lzh/StreamEncoder.h"

namespace {

using Span = lzh::StreamEncoder::CodedSpan;

// Each file runs from the symbol that codes its first byte to the one that
// codes its last; marks ask for both (two a file, none for an empty one).
// A byte lies on the disk where its symbol ends, the first disk from which
// it can be decoded: the extractor lists and salvages by the same rule.
std::vector<DiskRange> DisksOf(const std::vector<InputFile>& files, const std::vector<Span>& spans,
                               const std::vector<std::int64_t>& lengths) {
  std::vector<DiskRange> disks;
  std::size_t mark = 0;
  for (const InputFile& f : files) {
    if (f.Size == 0) {
      disks.emplace_back();
      continue;
    }
    const Span& first = spans[mark++];
    const Span& last = spans[mark++];
    disks.push_back({DiskOfByte(lengths, (first.EndBit - 1) / 8), DiskOfByte(lengths, (last.EndBit - 1) / 8)});
  }
  return disks;
}

}  // namespace

int DiskOfByte(const std::vector<std::int64_t>& lengths, std::int64_t at) {
  int disk = 1;
  for (std::size_t k = 0; k + 1 < lengths.size() && at >= lengths[k]; ++k, ++disk) at -= lengths[k];
  return disk;
}

CodedStream CodeStream(const PackOptions& options, const SetPlan& plan, const std::vector<InputFile>& files,
                       const VolumeCutter::Put& put, const FileBytesFn& fileBytes, const PackProgressFn& progress) {
  VolumeCutter cutter(plan.FirstCapacity, options.VolumeSize, put);
  lzh::StreamEncoder encoder([&](std::span<const std::uint8_t> coded) { cutter.Take(coded); },
                             {.Parsing = options.Fast ? lzh::EncoderOptions::Parse::Lazy : lzh::EncoderOptions::Parse::Optimal});
  std::int64_t offset = 0;
  for (const InputFile& f : files) {
    if (f.Size == 0) continue;
    encoder.Mark(offset);
    encoder.Mark(offset + f.Size - 1);
    offset += f.Size;
  }
  std::int64_t read = 0;
  for (std::size_t i = 0; i < files.size(); ++i)
    StreamFile(files[i].Source, files[i].Size, [&](auto bytes) {
      if (fileBytes) fileBytes(i, bytes);
      encoder.Put(bytes);
      read += static_cast<std::int64_t>(bytes.size());
      if (progress) progress(read, plan.Trailer.UnpackedSize, i + 1, cutter.Lengths().size());
    });
  encoder.Finish();
  return {cutter.Lengths(), cutter.Total(), DisksOf(files, encoder.Spans(), cutter.Lengths())};
}
