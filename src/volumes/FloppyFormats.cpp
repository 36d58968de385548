#include "volumes/FloppyFormats.h"

#include <charconv>

namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// "1.44" as thousandths: 1440; "720" as 720000. Nothing unless digits with
// at most one point.
bool ParseThousandths(std::string_view number, std::int64_t& thousandths) {
  const std::size_t point = number.find('.');
  const std::string_view whole = number.substr(0, point);
  std::string_view fraction = point == std::string_view::npos ? "" : number.substr(point + 1);
  if (whole.empty() || fraction.size() > 3) return false;
  std::int64_t value = 0;
  for (std::string_view part : {whole, fraction})
    for (char c : part)
      if (c < '0' || c > '9') return false;
  std::from_chars(whole.data(), whole.data() + whole.size(), value);
  thousandths = value * 1000;
  std::int64_t scale = 100;
  for (char c : fraction) {
    thousandths += (c - '0') * scale;
    scale /= 10;
  }
  return value < 100000;
}

}  // namespace

const FloppyFormat* FindFloppyFormat(std::string_view spelling) {
  std::string_view number = spelling;
  if (!number.empty() && Lower(number.back()) == 'b') number.remove_suffix(1);
  if (number.empty()) return nullptr;
  const char unit = Lower(number.back());
  if (unit != 'k' && unit != 'm') return nullptr;
  number.remove_suffix(1);
  std::int64_t thousandths = 0;
  if (!ParseThousandths(number, thousandths)) return nullptr;
  // Floppy megabytes are thousands of kilobytes: 1.44M is 1440K.
  const std::int64_t kilobytes = unit == 'm' ? thousandths : thousandths / 1000;
  if (unit == 'k' && thousandths % 1000 != 0) return nullptr;
  for (const FloppyFormat& format : FloppyFormats)
    if (format.Kilobytes == kilobytes) return &format;
  return nullptr;
}
