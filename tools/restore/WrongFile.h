// What a file named as a set's installer is when it is none, in words that
// say what to name instead.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

// A Windows program with nothing appended to it (its sections end where the
// file ends): "NAME is an installer program with no set appended" for the
// installer stub, which names its temporaries, or "a Windows program ..."
// for another. Nothing for any other file. `head` is the file's start.
std::optional<std::string> BareProgram(const std::string& name, std::span<const std::uint8_t> head,
                                       std::int64_t fileSize);

// The disk of a name that reads as a set's volume (SETUP.01 is 1, SETUP.010
// is 10); 0 for any other name.
int VolumeNumberOf(const std::string& name);

// Why `file` (which holds no configuration block) is no installer: a
// volume is named with its disk and the installer beside it ("SETUP.01 is
// volume 1 of a set: name its installer (SETUP.EXE)"); anything else is
// "not a disk set installer".
std::string NotAnInstaller(const std::filesystem::path& file);
