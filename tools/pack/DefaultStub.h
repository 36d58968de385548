// Where diskspan-pack finds the installer stub when --stub names none.
#pragma once

#include <filesystem>

// The stub beside an installed packer (<bin>/../share/diskspan/diskspan-stub.exe,
// found from /proc/self/exe), else the one the win32 build writes. When neither
// exists, the build's path, so that the error names a place worth looking.
std::filesystem::path DefaultStubPath();
