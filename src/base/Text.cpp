#include "base/Text.h"

std::size_t FormatDecimal(std::int32_t value, char* out) {
  // Unsigned, so the most negative value has a magnitude too, and 32 bits,
  // so dividing needs no 64-bit helper on a 32-bit machine.
  std::uint32_t magnitude = static_cast<std::uint32_t>(value);
  std::size_t length = 0;
  if (value < 0) {
    out[length++] = '-';
    magnitude = 0u - magnitude;
  }
  char reversed[12];
  std::size_t digits = 0;
  do {
    reversed[digits++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  while (digits > 0) out[length++] = reversed[--digits];
  out[length] = '\0';
  return length;
}
