#include "PartsRead.h"

#include "ExtractError.h"

namespace fs = std::filesystem;

std::vector<PartRead> PartsRead(const fs::path& setup, bool fromImage, const std::vector<Volume>& volumes) {
  std::vector<PartRead> parts;
  const auto add = [&parts](const fs::path& path, const std::string& what) {
    if (const auto identity = IdentityOf(path)) parts.push_back({*identity, what});
  };
  add(setup, fromImage ? setup.filename().string() + ", the disk image holding the set's installer"
                       : "the set's installer");
  for (std::size_t i = 0; i < volumes.size(); ++i) {
    const std::string disk = std::to_string(i + 1);
    if (volumes[i].Image.empty()) add(volumes[i].Path, "volume " + disk + " of the set");
    else add(volumes[i].Image, volumes[i].Image.filename().string() + ", the disk image holding volume " + disk);
  }
  return parts;
}

void CheckNotWritingOverParts(const std::vector<PartRead>& parts, const std::vector<fs::path>& targets) {
  for (const fs::path& target : targets) {
    const auto identity = IdentityOf(target);
    if (!identity) continue;
    for (const PartRead& part : parts)
      if (part.Identity == *identity)
        throw ExtractError(target.string() + " is " + part.What + ", which this run reads: not written over, "
                           "nor is anything else (extract into another directory with -d)");
  }
}
