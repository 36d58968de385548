// Which disks each file of a set lies on. Where a file's bytes sit in the
// coded stream is known only by decoding it, so the decoder notes, at the
// end of each volume, how many decoded bytes the volumes up to it yield
// (the symbols whose bits lie wholly in them).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "StreamDecode.h"
#include "config/ConfigBlock.h"

class DiskMap {
 public:
  // `volumeSizes`: the volumes at hand, disks 1, 2 ... in order.
  explicit DiskMap(const std::vector<std::int64_t>& volumeSizes);

  // For the decoder to fill as it passes the volumes' ends.
  DecodeMarks Marks() { return {ends_, within_}; }
  // Once `decoded` bytes of the `unpackedSize` have come: the volumes whose
  // end was not passed yield all of them.
  void Decoded(std::int64_t decoded, std::int64_t unpackedSize);

  // The disk holding the byte at `offset` of the decoded stream (1 on); 0
  // when decoding did not reach it.
  int DiskOf(std::int64_t offset) const;
  // "1", "2-3"; "2-?" or "?" where decoding did not reach.
  std::string DisksOf(const FileEntry& entry) const;

 private:
  std::vector<std::int64_t> ends_;    // coded offset where each volume ends
  std::vector<std::int64_t> within_;  // decoded bytes the volumes up to each yield
  std::int64_t reached_ = 0;          // decoded bytes whose disks are known
  bool whole_ = false;                // decoding reached the stream's end
};
