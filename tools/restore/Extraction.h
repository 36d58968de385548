// Testing and extracting a set, or the files selected from it: the checks
// before decoding, the streaming decode, and the files cut out of it, each
// checked against its CRC-32 when the set carries them. Decoding stops at
// the end of the last selected file, or where the trusted coded bytes end
// (at the first missing, damaged or short volume): files that need bytes
// from past there are named with that disk and neither tested nor written.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "DiskMap.h"
#include "SetVerification.h"
#include "EntryRouter.h"
#include "SetInfo.h"
#include "StreamDecode.h"
#include "VolumeFinder.h"

// What is known of the coded stream before it is decoded.
struct StreamPlan {
  std::vector<std::int64_t> VolumeSizes;  // the volumes at hand, disks 1, 2 ... in order
  std::int64_t TrustedCodedBytes = NoCodedLimit;
  int GapDisk = 0;     // the first disk that cannot be read from, 0 when none
  std::string GapWhy;  // "missing", "damaged", "truncated"
  std::string MissingMessage;         // said when decoding reaches a missing disk
  std::vector<std::string> Damage;    // damaged parts, said whatever is selected
  std::vector<std::string> Problems;  // what stops any decoding
};

// The plan for the volumes found (up to the first missing disk) and what
// their CRC-32s said. Sizes that do not add up are a problem unless a gap
// explains them; in a set without checksums, a volume between the first
// and the last that is shorter than another of them is a truncated one.
StreamPlan PlanStream(const SetInfo& set, const FoundVolumes& found, const PartsVerdict& parts);

struct SetReport {
  std::vector<std::string> Problems;          // each a complete message
  std::map<std::size_t, std::string> Verdicts;  // for each selected entry: "OK", "damaged (CRC mismatch)" ...
  bool Ok() const { return Problems.empty(); }
};

// Called as the stream decodes: bytes decoded of those needed, and how far
// into the coded stream the decoder has read.
using ProgressFn = std::function<void(std::int64_t decoded, std::int64_t needed, std::int64_t codedUsed)>;

// Where decoding may stop: the end of the last selected entry.
std::int64_t DecodedBytesNeeded(const SetInfo& set, const std::vector<bool>& selected);

// Reassembles and decodes without writing: the stream must yield the bytes
// the selected entries need from the volumes given, and each selected file
// its CRC-32.
SetReport TestSet(const SetInfo& set, const StreamPlan& plan, ByteSource& stream, const std::vector<bool>& selected,
                  const ProgressFn& progress = {});

// Decodes and hands each selected, acceptable entry to `output`; entries
// the table rules refuse are reported, and so are files whose bytes do not
// match their CRC-32 (discarded, never ended).
SetReport ExtractSet(const SetInfo& set, const StreamPlan& plan, ByteSource& stream, EntryOutput& output,
                     const std::vector<bool>& selected, const ProgressFn& progress = {});

// Decodes the whole stream, as far as it is trusted, for the disks each
// file lies on. A stream that cannot be decoded to its end is mapped as
// far as it decodes.
DiskMap MapDisks(const SetInfo& set, const StreamPlan& plan, ByteSource& stream);
