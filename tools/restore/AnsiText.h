// The block's strings are in the Windows ANSI code page (1252); our tools
// show them, and name files after them, in UTF-8.
#pragma once

#include <string>
#include <string_view>

std::string AnsiToUtf8(std::string_view ansi);
