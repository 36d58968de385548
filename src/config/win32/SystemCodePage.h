// How the system's ANSI code page reads names: the stub checks and compares
// a set's names as Windows will read them when it creates the files.
#pragma once

#include <cstddef>
#include <cstdint>

// True for a byte that starts a two-byte character (IsDBCSLeadByte).
bool SystemLeadByte(std::uint8_t byte);

// Upper-cases in place as the code page does (CharUpperBuffA).
void SystemUpperCase(char* text, std::size_t length);
