// The installer program the packer copies (--stub): a Windows program,
// PE32 or PE32+, whose MZ and PE headers parse, and a bare one, not the
// setup file of a set, whose block would sit inside the new set's stub.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

// Why `head` (the first bytes of a file of `fileSize` bytes) does not
// start a PE32 or PE32+ program; nothing when it does, with `imageEnd` set
// to where its headers and sections end (bytes after it are no part of the
// program, a set's block for one).
std::optional<std::string> NotAWindowsProgram(std::span<const std::uint8_t> head, std::int64_t fileSize,
                                              std::int64_t& imageEnd);

// Whether `tail` (the last bytes of the file) ends in a set's block, with or
// without a verification record, filling exactly the `afterImage` bytes
// that follow the program.
bool EndsInSetBlock(std::span<const std::uint8_t> tail, std::int64_t afterImage);

// The stub's size. Raises PackError when it cannot be read (exit code 1),
// UsageError when it is no Windows program or already carries a set's
// block (exit code 2), naming the stub and the reason.
std::int64_t CheckStubProgram(const std::filesystem::path& stub);
