#include "InputSources.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>

namespace {

// The text with every "\=" read as '='.
std::string Unescaped(std::string_view text) {
  std::string out;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '\\' && k + 1 < text.size() && text[k + 1] == '=') ++k;
    out += text[k];
  }
  return out;
}

// The names between `separators`, without empty ones (so none at either
// end) and without ".".
std::vector<std::string> NamesOf(std::string_view text, std::string_view separators) {
  std::vector<std::string> names;
  std::size_t start = 0;
  for (std::size_t k = 0; k <= text.size(); ++k) {
    if (k < text.size() && separators.find(text[k]) == std::string_view::npos) continue;
    const std::string_view name = text.substr(start, k - start);
    if (!name.empty() && name != ".") names.emplace_back(name);
    start = k + 1;
  }
  return names;
}

std::optional<std::string> ReadList(const std::string& name) {
  if (name == "-") return std::string(std::istreambuf_iterator<char>(std::cin), {});
  errno = 0;
  std::ifstream in(name, std::ios::binary);  // a pipe too: --files-from <(find ...)
  std::string text(std::istreambuf_iterator<char>(in), {});
  if (!in.is_open() || in.bad()) return std::nullopt;
  return text;
}

}  // namespace

std::optional<InputSource> ParseGraftPoint(std::string_view text) {
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '\\' && k + 1 < text.size() && text[k + 1] == '=') {
      ++k;
    } else if (text[k] == '=') {
      const std::string stored = Unescaped(text.substr(0, k));
      const bool intoFolder = !stored.empty() && (stored.back() == '/' || stored.back() == '\\');
      return InputSource{std::filesystem::path(Unescaped(text.substr(k + 1))), NamesOf(stored, "/\\"), intoFolder};
    }
  }
  return std::nullopt;
}

InputSource ListedPath(std::string_view text) {
  return {std::filesystem::path(std::string(text)), NamesOf(text, "/"), false};
}

std::vector<std::string> SplitPathList(std::string_view text, bool nulSeparated) {
  std::vector<std::string> paths;
  const char end = nulSeparated ? '\0' : '\n';
  while (!text.empty()) {
    const std::size_t stop = std::min(text.find(end), text.size());
    std::string_view path = text.substr(0, stop);
    if (!nulSeparated && !path.empty() && path.back() == '\r') path.remove_suffix(1);
    if (!path.empty()) paths.emplace_back(path);
    text.remove_prefix(std::min(stop + 1, text.size()));
  }
  return paths;
}

std::vector<InputSource> GatherSources(const PackOptions& options, std::vector<std::string>& problems) {
  std::vector<InputSource> sources;
  for (const auto& input : options.Inputs) {
    const std::string text = input.string();
    const auto grafted = options.GraftPoints ? ParseGraftPoint(text) : std::nullopt;
    sources.push_back(grafted ? *grafted : InputSource{options.GraftPoints ? Unescaped(text) : text, {}, false});
  }
  for (const std::string& list : options.FileLists) {
    const auto text = ReadList(list);
    if (!text) {
      problems.push_back("--files-from " + list + ": " + (errno == ENOENT ? std::string("no such file")
                                                           : std::string("cannot read: ") + std::strerror(errno)));
      continue;
    }
    for (const std::string& path : SplitPathList(*text, options.NullSeparated)) {
      const auto grafted = options.GraftPoints ? ParseGraftPoint(path) : std::nullopt;
      sources.push_back(grafted ? *grafted : ListedPath(options.GraftPoints ? Unescaped(path) : path));
    }
  }
  return sources;
}
