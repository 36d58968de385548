// The path rules every part of the installer names its files by. Paths are
// Windows ANSI byte strings; only backslash and colon separate directories
// from names.
#pragma once

#include <string_view>

#include "base/Text.h"

// The platform's limit for an ANSI path, its zero byte included.
inline constexpr std::size_t PathCapacity = 260;
using Path = FixedText<PathCapacity>;

// Directory and name with exactly one backslash between them; an empty
// directory gives the name alone. Only one trailing backslash is looked at.
// A path that does not fit is empty, which every file operation refuses,
// so a cut path can never name another file.
Path JoinPath(std::string_view directory, std::string_view name);

// Where the name starts: after the last backslash or colon, else 0.
std::size_t NameStart(std::string_view path);

// Up to and including the last backslash or colon ("" when there is none).
std::string_view DirectoryPart(std::string_view path);

// After the last backslash or colon.
std::string_view FileNamePart(std::string_view path);

// The name with its extension (from the last dot of the name part) replaced
// by `extension`, or with `extension` appended when it has none; empty when
// it does not fit.
Path ReplaceExtension(std::string_view name, std::string_view extension);
