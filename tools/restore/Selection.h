// The files the user asked for: every file, or those whose paths match one
// of the patterns given (shell wildcards * ? [...], without regard to case,
// as Windows names are; * matches across folders: *.TXT is every .TXT).
#pragma once

#include <string>
#include <vector>

#include "SetInfo.h"

class Selection {
 public:
  explicit Selection(std::vector<std::string> patterns);

  // One flag per entry of the set; remembers which patterns matched.
  std::vector<bool> Apply(const SetInfo& set);
  // Patterns that matched no entry (after Apply).
  std::vector<std::string> Unmatched() const;
  bool Everything() const { return patterns_.empty(); }

 private:
  std::vector<std::string> given_;
  std::vector<std::string> patterns_;  // as matched: backslashes made slashes
  std::vector<bool> matched_;
};
