// The installer program the packer copies (--stub): a Windows program,
// PE32 or PE32+, whose MZ and PE headers parse, and a bare one, not the
// setup file of a set, whose block would sit inside the new set's stub.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

// Whether `tail` (the last bytes of the file) ends in a set's block, with or
// without a verification record, filling exactly the `afterImage` bytes
// that follow the program.
bool EndsInSetBlock(std::span<const std::uint8_t> tail, std::int64_t afterImage);

// The stub's size. Raises PackError when it cannot be read (exit code 1),
// UsageError when it is no Windows program or already carries a set's
// block (exit code 2), naming the stub and the reason.
std::int64_t CheckStubProgram(const std::filesystem::path& stub);
