// Testing and extracting a whole set: the checks before decoding, the
// streaming decode, and the files cut out of it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ByteSource.h"
#include "EntryRouter.h"
#include "SetInfo.h"

struct SetReport {
  std::vector<std::string> Problems;  // each a complete message
  bool Ok() const { return Problems.empty(); }
};

using ProgressFn = std::function<void(std::int64_t decoded, std::int64_t total)>;

// Everything wrong with the block and the volumes' sizes that stops a decode.
std::vector<std::string> FatalProblems(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes);

// Reassembles and decodes without writing: the stream must yield the decoded
// size from the volumes given, and every entry must lie inside it.
SetReport TestSet(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes, ByteSource& stream,
                  const ProgressFn& progress = {});

// Decodes and hands each acceptable entry to `output`; entries with unsafe
// names or ranges outside the stream are refused and reported. Raises
// ExtractError when the stream ends before the decoded size.
SetReport ExtractSet(const SetInfo& set, const std::vector<std::int64_t>& volumeSizes, ByteSource& stream,
                     EntryOutput& output, const ProgressFn& progress = {});
