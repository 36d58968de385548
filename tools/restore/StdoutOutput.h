// -p: the selected files' bytes on standard output, one file after another
// in table order, and nothing else. A file goes out only once it is whole
// and has passed its CRC-32 (see VerifyingOutput), so it is held in an
// unnamed temporary until then, and until the files before it have gone.
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "EntryRouter.h"

class StdoutOutput final : public EntryOutput {
 public:
  // `selected`: the entries that may come, one flag per entry of the table.
  explicit StdoutOutput(const std::vector<bool>& selected, std::FILE* out = stdout);

  void Begin(std::size_t index, const FileEntry& entry) override;
  void Write(std::size_t index, std::span<const std::uint8_t> bytes) override;
  void End(std::size_t index, const FileEntry& entry) override;
  void Discard(std::size_t index, const FileEntry& entry) override;

  // Writes out the files that are whole, in table order, once no more
  // will come; raises ExtractError when standard output fails.
  void Finish();
  int Written() const { return written_; }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  using Held = std::unique_ptr<std::FILE, Closer>;

  void Flush(bool all);
  void Copy(std::FILE* from);

  std::FILE* out_;
  std::set<std::size_t> due_;          // entries that may still go out, in table order
  std::map<std::size_t, Held> open_;   // begun, not yet whole
  std::map<std::size_t, Held> whole_;  // whole and checked, waiting for their turn
  int written_ = 0;
};
