#include "EncoderBench.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>

#include "DecoderBench.h"
#include "LhasaRun.h"
#include "Stopwatch.h"

namespace fs = std::filesystem;

namespace bench {
namespace {

using Parse = lzh::EncoderOptions::Parse;

// Our decoder (it throws on a mismatch) and lhasa, on the -lh1- archive.
void CheckDecodes(const std::vector<std::uint8_t>& input, const EncoderRun& run, const char* name) {
  TimeInlinedDecode(run.Coded, input, 1);
  const LhasaArchiveFile archive(input, run.Coded);
  if (LhasaPrint(archive.Path()) != input) throw std::runtime_error(std::string("lhasa disagrees: ") + name);
}

bool IsHeader(const fs::path& path) {
  const std::string ext = path.extension().string();
  return ext == ".h" || ext == ".hpp" || ext == ".hh" || ext == ".tcc" || ext.empty();
}

}  // namespace

EncoderRun TimeEncode(std::span<const std::uint8_t> input, const lzh::EncoderOptions& options) {
  EncoderRun run;
  run.Seconds = BestSeconds(1, [&] { run.Coded = lzh::Encode(input, options); });
  return run;
}

std::vector<ParseRun> TimeParses(const std::vector<std::uint8_t>& input) {
  std::vector<ParseRun> runs;
  for (const auto& [name, parse] : {std::pair{"greedy", Parse::Greedy}, std::pair{"lazy", Parse::Lazy},
                                    std::pair{"optimal", Parse::Optimal}}) {
    runs.push_back({name, TimeEncode(input, {.Parsing = parse})});
    CheckDecodes(input, runs.back().Run, name);
  }
  return runs;
}

std::vector<std::uint8_t> BuildTextInput(std::size_t size) {
  std::vector<fs::path> files;
  const auto options = fs::directory_options::skip_permission_denied;
  for (const auto& entry : fs::recursive_directory_iterator("/usr/include", options)) {
    if (entry.is_regular_file() && !entry.is_symlink() && IsHeader(entry.path())) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<std::uint8_t> text;
  for (const fs::path& file : files) {
    if (text.size() >= size) break;
    std::ifstream in(file, std::ios::binary);
    text.insert(text.end(), std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  if (text.size() < size) throw std::runtime_error("not enough headers for the text input");
  text.resize(size);
  return text;
}

}  // namespace bench
