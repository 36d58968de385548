#include "InputLimits.h"

#include <algorithm>

#include "CommandLine.h"

namespace {

struct Folder {
  std::string Name;
  std::filesystem::path Source;  // where its files are read from
  std::int64_t Files = 0;
};

// The folder a file's source lies in that becomes its top-level folder.
std::filesystem::path TopFolderSource(const InputFile& f) {
  std::filesystem::path source = f.Source;
  for (auto k = std::count(f.Name.begin(), f.Name.end(), '\\'); k > 0; --k) source = source.parent_path();
  return source;
}

std::string Listed(const std::vector<Folder>& folders, std::size_t count) {
  std::string out;
  for (std::size_t k = 0; k < count; ++k)
    out += (k == 0 ? "" : k + 1 == count ? " and " : ", ") + folders[k].Name;
  return out;
}

}  // namespace

std::vector<std::string> SecondSetHint(const std::vector<InputFile>& files) {
  std::vector<Folder> folders;
  std::int64_t atTop = 0;
  for (const InputFile& f : files) {
    const std::size_t slash = f.Name.find('\\');
    if (slash == std::string::npos) {
      ++atTop;
      continue;
    }
    const std::string name = f.Name.substr(0, slash);
    auto it = std::find_if(folders.begin(), folders.end(),
                           [&](const Folder& d) { return SameNameIgnoringCase(d.Name, name); });
    if (it == folders.end()) it = folders.insert(folders.end(), {name, TopFolderSource(f)});
    ++it->Files;
  }
  std::stable_sort(folders.begin(), folders.end(), [](const Folder& a, const Folder& b) { return a.Files > b.Files; });
  std::string counts = "hint: files by top-level folder:";
  for (const Folder& d : folders) counts += " " + d.Name + " " + std::to_string(d.Files) + ",";
  counts += " and " + std::to_string(atTop) + " at the top";
  // The largest folders first, until what stays fits.
  std::int64_t staying = static_cast<std::int64_t>(files.size()), moved = 0;
  std::size_t taken = 0;
  while (staying > MaxFiles && taken < folders.size()) {
    staying -= folders[taken].Files;
    moved += folders[taken++].Files;
  }
  if (taken == 0 || staying > MaxFiles) return {counts, "hint: split the files over several sets, at most 255 in each"};
  std::string move = "hint: " + Listed(folders, taken) + " could go into a second set (" + Counted(moved, "file") +
                     (moved > MaxFiles ? ", too many for one: split them further" : "") + "), leaving " +
                     Counted(staying, "file") + " in this one; --graft-points '" + folders[0].Name + "=" +
                     folders[0].Source.string() + "' keeps a folder's place in the set that takes it";
  return {counts, move};
}

void CheckSetLimits(const std::vector<InputFile>& files, std::vector<std::string>& problems,
                    std::vector<std::string>& hints) {
  if (files.size() > MaxFiles) {
    problems.push_back(Counted(static_cast<std::int64_t>(files.size()), "file") + " to pack; a disk set holds at most " +
                       std::to_string(MaxFiles));
    hints = SecondSetHint(files);
  }
  std::int64_t total = 0;
  for (const InputFile& f : files) total += f.Size;
  if (total > MaxSetBytes)
    problems.push_back("the files add up to " + std::to_string(total) + " bytes; a disk set holds at most " +
                       std::to_string(MaxSetBytes));
}
