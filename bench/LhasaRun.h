// Times Debian's lhasa, an independent LHA decoder, on our coded stream
// wrapped as an -lh1- archive member: the reference the decoder is
// measured against in the same run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// Writes the archive for `original` coded as `coded` to a temporary file;
// removes it again on destruction.
class LhasaArchiveFile {
 public:
  LhasaArchiveFile(const std::vector<std::uint8_t>& original, const std::vector<std::uint8_t>& coded);
  ~LhasaArchiveFile();
  LhasaArchiveFile(const LhasaArchiveFile&) = delete;
  LhasaArchiveFile& operator=(const LhasaArchiveFile&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

bool LhasaInstalled();

// What `lhasa pq` prints for the archive.
std::vector<std::uint8_t> LhasaPrint(const std::string& archive);

// Best of `runs` wall-clock seconds for the whole `lhasa pq` process,
// its output sent to /dev/null.
double TimeLhasa(const std::string& archive, int runs);

}  // namespace bench
