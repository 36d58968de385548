#include "Corpus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace bench {
namespace {

// Regular files under `root`, symbolic links not followed, sorted by path.
std::vector<fs::path> SortedFiles(const fs::path& root) {
  std::vector<fs::path> files;
  const auto options = fs::directory_options::skip_permission_denied;
  for (const auto& entry : fs::recursive_directory_iterator(root, options)) {
    if (entry.is_regular_file() && !entry.is_symlink()) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Appends whole files from `root` until `out` holds `limit` bytes.
void AppendFrom(const fs::path& root, std::size_t limit, std::vector<std::uint8_t>& out) {
  for (const fs::path& file : SortedFiles(root)) {
    if (out.size() >= limit) break;
    std::ifstream in(file, std::ios::binary);
    out.insert(out.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (out.size() > limit) out.resize(limit);
}

}  // namespace

std::vector<std::uint8_t> BuildCorpus(std::size_t size) {
  std::vector<std::uint8_t> corpus;
  corpus.reserve(size);
  const std::size_t shares = CorpusRoots.size();
  for (std::size_t i = 0; i < shares; ++i) {
    AppendFrom(CorpusRoots[i], size * (i + 1) / shares, corpus);
  }
  if (corpus.size() != size) throw std::runtime_error("not enough files for the corpus");
  return corpus;
}

}  // namespace bench
