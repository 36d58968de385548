// A Windows program's extent, read from its MZ and PE headers: the packer
// takes only bare ones as stubs, the extractor names one given in place of
// a set's installer.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Why `head` (the first bytes of a file of `fileSize` bytes) does not
// start a PE32 or PE32+ program; nothing when it does, with `imageEnd` set
// to where its headers and sections end (bytes after it are no part of the
// program, a set's block for one).
std::optional<std::string> NotAWindowsProgram(std::span<const std::uint8_t> head, std::int64_t fileSize,
                                              std::int64_t& imageEnd);
