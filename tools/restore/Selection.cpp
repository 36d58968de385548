#include "Selection.h"

#include <fnmatch.h>

#include <algorithm>

#include "EntryNames.h"

Selection::Selection(std::vector<std::string> patterns) : given_(patterns), patterns_(std::move(patterns)) {
  // Folders are shown with "/"; a pattern written the installer's way, with
  // backslashes, means the same.
  for (auto& pattern : patterns_) std::replace(pattern.begin(), pattern.end(), '\\', '/');
}

std::vector<bool> Selection::Apply(const SetInfo& set) {
  matched_.assign(patterns_.size(), false);
  std::vector<bool> selected;
  for (const FileEntry& e : set.Entries) {
    const std::string path = Utf8Path(e.Name, set.Texts);
    bool any = patterns_.empty();
    for (std::size_t i = 0; i < patterns_.size(); ++i)
      if (::fnmatch(patterns_[i].c_str(), path.c_str(), FNM_CASEFOLD | FNM_NOESCAPE) == 0) matched_[i] = any = true;
    selected.push_back(any);
  }
  return selected;
}

std::vector<std::string> Selection::Unmatched() const {
  std::vector<std::string> unmatched;
  for (std::size_t i = 0; i < patterns_.size(); ++i)
    if (!matched_[i]) unmatched.push_back(given_[i]);
  return unmatched;
}
