#include "config/DosDateTime.h"

DosDateTime SplitDosDateTime(std::uint32_t packed) {
  const std::uint32_t date = packed >> 16;
  const std::uint32_t time = packed & 0xFFFF;
  return {
      static_cast<int>((date >> 9) + 1980), static_cast<int>((date >> 5) & 0x0F),
      static_cast<int>(date & 0x1F),        static_cast<int>(time >> 11),
      static_cast<int>((time >> 5) & 0x3F), static_cast<int>((time & 0x1F) * 2),
  };
}

std::optional<std::uint32_t> PackDosDateTime(const DosDateTime& w) {
  if (w.Year < 1980 || w.Year > 2107) return std::nullopt;
  const auto date = static_cast<std::uint32_t>((w.Year - 1980) << 9 | w.Month << 5 | w.Day);
  const auto time = static_cast<std::uint32_t>(w.Hour << 11 | w.Minute << 5 | w.Second / 2);
  return date << 16 | time;
}
