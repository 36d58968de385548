#include "Selection.h"

#include <fnmatch.h>

std::vector<bool> Selection::Apply(const SetInfo& set) {
  matched_.assign(patterns_.size(), false);
  std::vector<bool> selected;
  for (const FileEntry& e : set.Entries) {
    const std::string name = set.Texts.ToUtf8(e.Name).value_or(set.Texts.Shown(e.Name));
    bool any = patterns_.empty();
    for (std::size_t i = 0; i < patterns_.size(); ++i)
      if (::fnmatch(patterns_[i].c_str(), name.c_str(), FNM_CASEFOLD) == 0) matched_[i] = any = true;
    selected.push_back(any);
  }
  return selected;
}

std::vector<std::string> Selection::Unmatched() const {
  std::vector<std::string> unmatched;
  for (std::size_t i = 0; i < patterns_.size(); ++i)
    if (!matched_[i]) unmatched.push_back(patterns_[i]);
  return unmatched;
}
