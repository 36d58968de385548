// Path rules shared by every part of the installer. Paths are Windows ANSI
// byte strings; only backslash and colon separate directories from names.
#pragma once

#include <string>
#include <string_view>

// Directory and name with exactly one backslash between them; an empty
// directory gives the name alone. Only one trailing backslash is looked at.
std::string JoinPath(std::string_view directory, std::string_view name);

// Up to and including the last backslash or colon ("" when there is none).
std::string DirectoryPart(std::string_view path);

// After the last backslash or colon.
std::string FileNamePart(std::string_view path);
