// The block's strings are in the Windows ANSI code page (1252); our tools
// show them, and name files after them, in UTF-8.
#pragma once

#include <string>
#include <string_view>

std::string AnsiToUtf8(std::string_view ansi);

// A text from a set as it may be printed: UTF-8 with every control character
// (C0, DEL and C1) written as \xNN, so no set can steer the terminal.
std::string ShownText(std::string_view ansi);

// True when the text holds a byte code page 1252 assigns no character
// (0x81, 0x8D, 0x8F, 0x90, 0x9D).
bool HasUnassignedByte(std::string_view ansi);
