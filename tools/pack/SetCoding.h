// The coded stream of a set: the files' bytes, in table order, through the
// encoder the options choose, cut into volumes as the plan lays them out.
// A pack writes the pieces into volume files; --dry-run drops them. Both
// learn the same lengths and the disks each file's coded bytes lie on.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "DiskSet.h"
#include "InputFiles.h"
#include "PackOptions.h"

// Disks counted from 1; 0 and 0 for an empty file, which no disk holds.
struct DiskRange {
  int First = 0;
  int Last = 0;
  bool operator==(const DiskRange&) const = default;
};

struct CodedStream {
  std::vector<std::int64_t> VolumeLengths;  // volume 1 first; at least one
  std::int64_t CodedSize = 0;
  std::vector<DiskRange> FileDisks;  // the disks holding the symbols that code each file
};

// `progress` hears of every chunk read: bytes read of all, the file being
// read (1-based) and the volumes begun.
using PackProgressFn = std::function<void(std::int64_t read, std::int64_t total, std::size_t file, std::size_t volumes)>;
using FileBytesFn = std::function<void(std::size_t file, std::span<const std::uint8_t> bytes)>;

// Codes `files`, handing each piece of the coded stream to `put` with its
// disk and each file's bytes, as they are read, to `fileBytes` (if any).
CodedStream CodeStream(const PackOptions& options, const SetPlan& plan, const std::vector<InputFile>& files,
                       const VolumeCutter::Put& put, const FileBytesFn& fileBytes, const PackProgressFn& progress);

// The disk (1-based) that holds byte `at` of the coded stream, whose
// volumes have `lengths`.
int DiskOfByte(const std::vector<std::int64_t>& lengths, std::int64_t at);
