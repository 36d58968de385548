#include "AnsiText.h"

#include <cstdint>
#include <cstdio>

namespace {

// Code page 1252 at 0x80-0x9F; the five holes map to themselves as C1 controls.
constexpr char16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string& out, char16_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string AnsiToUtf8(std::string_view ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (char ch : ansi) {
    const auto b = static_cast<std::uint8_t>(ch);
    AppendUtf8(out, b >= 0x80 && b < 0xA0 ? HighControls[b - 0x80] : static_cast<char16_t>(b));
  }
  return out;
}

std::string ShownText(std::string_view ansi) {
  std::string out;
  for (char ch : ansi) {
    const auto b = static_cast<std::uint8_t>(ch);
    const char16_t c = b >= 0x80 && b < 0xA0 ? HighControls[b - 0x80] : static_cast<char16_t>(b);
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
      out += escaped;
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}

bool HasUnassignedByte(std::string_view ansi) {
  for (char ch : ansi) {
    const auto b = static_cast<std::uint8_t>(ch);
    if (b >= 0x80 && b < 0xA0 && HighControls[b - 0x80] == b) return true;
  }
  return false;
}
