#include "dest/DestinationForm.h"

bool HasWildcard(std::string_view path) {
  return path.find_first_of("*?") != std::string_view::npos;
}

bool HasDestinationForm(std::string_view entry) {
  return entry.size() >= 2 && entry[0] >= 'A' && entry[0] <= 'Z' && entry[1] == ':';
}

std::string WithoutTrailingBackslash(std::string_view path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return std::string(path);
}
