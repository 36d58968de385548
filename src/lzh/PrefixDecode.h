// Where the first four bits of a code lead from the root: one lookup in
// place of four steps down the tree. The table remembers which nodes it
// read; it is built again, when next used, only after a swap touched one of
// them or the tree was rebuilt.
#pragma once

#include <cstdint>

#include "lzh/LzhTables.h"
#include "lzh/LzhTree.h"

namespace lzh {

class FirstBitsTable {
 public:
  static constexpr int Bits = 4;

  // `code` holds the next four bits, first bit highest. The node reached
  // and the bits used to reach it (fewer at a shallow leaf).
  unsigned Node(unsigned code) const { return node_[code]; }
  int Used(unsigned code) const { return used_[code]; }

  void Refresh(const LzhTree& tree) {
    if (!stale_) return;
    for (int i = 0; i < readCount_; ++i) read_[readNodes_[i]] = 0;
    readCount_ = 0;
    for (unsigned code = 0; code < (1u << Bits); ++code) Walk(tree, code);
    stale_ = false;
  }

  // The tree's watcher (LzhTree::Update).
  void Swapped(unsigned a, unsigned b) { stale_ = stale_ || read_[a] != 0 || read_[b] != 0; }
  void Rebuilt() { stale_ = true; }

 private:
  void Walk(const LzhTree& tree, unsigned code) {
    unsigned n = tree.Child[Root];
    Mark(Root);
    int used = 0;
    while (used < Bits && n < NodeCount) {
      Mark(n);
      Mark(n + 1);
      n = tree.Child[n + ((code >> (Bits - 1 - used)) & 1)];
      ++used;
    }
    node_[code] = static_cast<std::uint16_t>(n);
    used_[code] = static_cast<std::uint8_t>(used);
  }

  void Mark(unsigned n) {
    if (read_[n] != 0) return;
    read_[n] = 1;
    readNodes_[readCount_++] = static_cast<std::uint16_t>(n);
  }

  // At most the root and two children for each of the 15 inner nodes above
  // the fourth level.
  static constexpr int MostRead = 1 + 2 * 15;

  std::uint16_t node_[1u << Bits] = {};
  std::uint8_t used_[1u << Bits] = {};
  std::uint8_t read_[NodeCount] = {};
  std::uint16_t readNodes_[MostRead] = {};
  int readCount_ = 0;
  bool stale_ = true;
};

}  // namespace lzh
