// Testing and extracting a set, or the files selected from it: the checks
// before decoding, the streaming decode, and the files cut out of it, each
// checked against its CRC-32 when the set carries them. Decoding stops at
// the end of the last selected file, or where the trusted coded bytes end
// (the volumes from the first damaged one on): files that need bytes from
// past there are named and neither tested nor written.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "EntryRouter.h"
#include "SetInfo.h"
#include "StreamDecode.h"

struct SetReport {
  std::vector<std::string> Problems;  // each a complete message
  bool Ok() const { return Problems.empty(); }
};

// Called as the stream decodes: bytes decoded of those needed, and how far
// into the coded stream the decoder has read.
using ProgressFn = std::function<void(std::int64_t decoded, std::int64_t needed, std::int64_t codedUsed)>;

// Everything wrong with the block and the volumes' sizes that stops a decode.
std::vector<std::string> FatalProblems(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes);

// Where decoding may stop: the end of the last selected entry.
std::int64_t DecodedBytesNeeded(const SetInfo& set, const std::vector<bool>& selected);

// Reassembles and decodes without writing: the stream must yield the bytes
// the selected entries need from the volumes given, and each selected file
// its CRC-32.
SetReport TestSet(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes, ByteSource& stream,
                  const std::vector<bool>& selected, const ProgressFn& progress = {},
                  std::int64_t trustedCodedBytes = NoCodedLimit);

// Decodes and hands each selected, acceptable entry to `output`; entries
// with unsafe names are refused and reported, and so are files whose
// bytes do not match their CRC-32 (discarded, never ended). Raises
// ExtractError when the stream ends before the bytes needed.
SetReport ExtractSet(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes, ByteSource& stream,
                     EntryOutput& output, const std::vector<bool>& selected, const ProgressFn& progress = {},
                     std::int64_t trustedCodedBytes = NoCodedLimit);
