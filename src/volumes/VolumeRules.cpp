#include "volumes/VolumeRules.h"

namespace {

// `prefix` followed by the number in decimal.
template <std::size_t N>
FixedText<N> Numbered(const char* prefix, int number) {
  char digits[12];
  FormatDecimal(number, digits);
  FixedText<N> text = prefix;
  text.Append(digits);
  return text;
}

}  // namespace

FixedText<16> VolumeExtension(int disk) {
  return disk == 1 ? FixedText<16>(".01") : Numbered<16>(".0", disk);
}

Path VolumeFileName(std::string_view stubName, int disk) {
  return ReplaceExtension(stubName, VolumeExtension(disk));
}

FixedText<48> DiskPromptText(int disk) { return Numbered<48>("Please Insert Disk number ", disk); }

FixedText<160> DamagedDiskText(int disk) {
  char digits[12];
  FormatDecimal(disk, digits);
  FixedText<160> text = Numbered<160>("Disk number ", disk);
  text.Append(" is damaged or belongs to another set.\r\nPlease insert a good copy of disk number ");
  text.Append(digits);
  text.Append(" and choose Retry.");
  return text;
}

bool ReassemblyDraws(int volume, std::int32_t percent, std::int32_t lastPercent) {
  if (volume == 1) return true;
  return percent != lastPercent && percent <= 100;
}
