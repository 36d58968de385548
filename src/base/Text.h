// Bounded byte strings for the stub: text in a fixed field of N bytes, never
// allocated, always ending in a zero byte. Text longer than N - 1 bytes is
// cut, and the Assign and Append forms say so, so a caller that must not
// lose a byte (a path) can fail instead. Strings are Windows ANSI bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

template <std::size_t N>
struct FixedText {
  static_assert(N > 1);
  char Bytes[N] = {};

  constexpr FixedText() = default;
  constexpr FixedText(const char* text) { Assign(text); }
  constexpr FixedText(std::string_view text) { Assign(text); }
  constexpr FixedText& operator=(const char* text) {
    Assign(text);
    return *this;
  }
  constexpr FixedText& operator=(std::string_view text) {
    Assign(text);
    return *this;
  }

  // False when the text was cut to fit. Byte loops rather than library
  // calls, so a text can be set at compile time: the stub's process-wide
  // texts then need no start-up code.
  constexpr bool Assign(std::string_view text) {
    Bytes[0] = '\0';
    return Append(text);
  }
  constexpr bool Append(std::string_view text) {
    std::size_t used = size();
    std::size_t taken = 0;
    for (; taken < text.size() && used < N - 1; ++taken) Bytes[used++] = text[taken];
    Bytes[used] = '\0';
    return taken == text.size();
  }

  const char* c_str() const { return Bytes; }
  char* data() { return Bytes; }
  constexpr std::size_t size() const {
    std::size_t length = 0;
    while (Bytes[length]) ++length;
    return length;
  }
  bool empty() const { return Bytes[0] == '\0'; }
  operator std::string_view() const { return Bytes; }
  bool operator==(std::string_view other) const { return std::string_view(Bytes) == other; }
  bool operator==(const char* other) const { return std::string_view(Bytes) == other; }
  bool operator==(const FixedText& other) const { return std::string_view(Bytes) == other.Bytes; }
};

// The decimal digits of `value` and a zero byte; gives the digit count.
// `out` holds at least 12 bytes.
std::size_t FormatDecimal(std::int32_t value, char* out);
