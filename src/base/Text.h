// Bounded byte strings for the stub: text in a fixed field of N bytes, never
// allocated, always ending in a zero byte. Text longer than N - 1 bytes is
// cut, and the Assign and Append forms say so, so a caller that must not
// lose a byte (a path) can fail instead. Strings are Windows ANSI bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

template <std::size_t N>
struct FixedText {
  static_assert(N > 1);
  char Bytes[N] = {};

  FixedText() = default;
  FixedText(const char* text) { Assign(text); }
  FixedText(std::string_view text) { Assign(text); }
  FixedText& operator=(const char* text) {
    Assign(text);
    return *this;
  }
  FixedText& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }

  // False when the text was cut to fit.
  bool Assign(std::string_view text) {
    Bytes[0] = '\0';
    return Append(text);
  }
  bool Append(std::string_view text) {
    const std::size_t used = size();
    const std::size_t room = N - 1 - used;
    const std::size_t taken = text.size() < room ? text.size() : room;
    std::memcpy(Bytes + used, text.data(), taken);
    Bytes[used + taken] = '\0';
    return taken == text.size();
  }

  const char* c_str() const { return Bytes; }
  char* data() { return Bytes; }
  std::size_t size() const { return std::strlen(Bytes); }
  bool empty() const { return Bytes[0] == '\0'; }
  operator std::string_view() const { return Bytes; }
  bool operator==(std::string_view other) const { return std::string_view(Bytes) == other; }
  bool operator==(const char* other) const { return std::string_view(Bytes) == other; }
  bool operator==(const FixedText& other) const { return std::string_view(Bytes) == other.Bytes; }
};

// The decimal digits of `value` and a zero byte; gives the digit count.
// `out` holds at least 12 bytes.
std::size_t FormatDecimal(std::int32_t value, char* out);
