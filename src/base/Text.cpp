#include "base/Text.h"

std::size_t FormatDecimal(std::int32_t value, char* out) {
  // Counted in 64 bits, so the most negative value has a magnitude too.
  std::int64_t magnitude = value;
  std::size_t length = 0;
  if (magnitude < 0) {
    out[length++] = '-';
    magnitude = -magnitude;
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
