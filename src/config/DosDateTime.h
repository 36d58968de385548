// The DOS date and time of a FileEntry: the high 16 bits hold the date
// (year - 1980, month, day), the low 16 bits the time (hours, minutes,
// seconds / 2), in local time.
#pragma once

#include <cstdint>
#include <optional>

struct DosDateTime {
  int Year = 1980;
  int Month = 1;
  int Day = 1;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;  // always even

  bool operator==(const DosDateTime&) const = default;
};

DosDateTime SplitDosDateTime(std::uint32_t packed);

// Packs a calendar time; seconds are truncated to even. Years outside
// 1980..2107 cannot be stored and give nothing.
std::optional<std::uint32_t> PackDosDateTime(const DosDateTime& when);
