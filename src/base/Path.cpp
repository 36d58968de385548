#include "base/Path.h"

namespace {

// The whole text, or an empty path when it does not fit.
Path Whole(std::string_view first, std::string_view second, std::string_view third) {
  Path path;
  if (!path.Append(first) || !path.Append(second) || !path.Append(third)) return Path();
  return path;
}

}  // namespace

Path JoinPath(std::string_view directory, std::string_view name) {
  const bool needsSeparator = !directory.empty() && directory.back() != '\\';
  return Whole(directory, needsSeparator ? "\\" : "", name);
}

std::size_t NameStart(std::string_view path) {
  const std::size_t separator = path.find_last_of("\\:");
  return separator == std::string_view::npos ? 0 : separator + 1;
}

std::string_view DirectoryPart(std::string_view path) {
  return std::string_view(path.data(), NameStart(path));
}

std::string_view FileNamePart(std::string_view path) {
  const std::size_t start = NameStart(path);
  return std::string_view(path.data() + start, path.size() - start);
}

Path ReplaceExtension(std::string_view name, std::string_view extension) {
  std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos || dot < NameStart(name)) dot = name.size();
  return Whole(std::string_view(name.data(), dot), extension, "");
}
