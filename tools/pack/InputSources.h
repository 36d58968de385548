// What the user named to pack, in order: the FILE arguments, then the
// paths of each --files-from list. Each is a file or a folder, with the
// place in the set it goes to: an argument's file keeps its own name and a
// folder's files go to the top; a list's path keeps its place as written
// (bin/tool installs as bin\tool, as tar and cpio read lists); with
// --graft-points, "STORED=SOURCE" names the place in either.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PackOptions.h"

struct InputSource {
  std::filesystem::path Path;
  // The folders and name it goes to, in UTF-8. A file takes this place, or
  // keeps its own name inside it when `IntoFolder` or when it is empty; a
  // folder's files go below it.
  std::vector<std::string> Place;
  bool IntoFolder = false;
};

// "STORED=SOURCE" split at the first '=' not written "\=", which stands
// for '=' in either part; STORED's folders are separated by / or \, and
// one at its end puts a file inside it. Nothing without such an '='.
std::optional<InputSource> ParseGraftPoint(std::string_view text);

// A list's path in its own place: its names split at /, without empty
// ones and ".".
InputSource ListedPath(std::string_view text);

// The paths of a list: one a line (a CR before the newline dropped), or
// each ended by a NUL; empty ones skipped.
std::vector<std::string> SplitPathList(std::string_view text, bool nulSeparated);

// Every source, arguments first; a list that cannot be read is added to
// `problems`, named.
std::vector<InputSource> GatherSources(const PackOptions& options, std::vector<std::string>& problems);
