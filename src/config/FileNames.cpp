#include "config/FileNames.h"

#include <algorithm>

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool IsControl(std::uint8_t byte) { return byte < 0x20 || byte == 0x7F; }

bool IsReserved(char c) { return std::string_view("\\/:<>\"|*?").find(c) != std::string_view::npos; }

// The bytes that start a two-byte character: Shift-JIS (932) leaves the
// single-byte katakana A1-DF between its two ranges; GBK (936), UHC (949)
// and Big5 (950) take 81-FE.
bool IsShiftJisLead(std::uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }
bool IsWideLead(std::uint8_t byte) { return byte >= 0x81 && byte <= 0xFE; }

// The name's part before its first dot, without the spaces and dots that
// Windows drops from its end ("NUL .TXT" is the device NUL).
std::string_view DeviceStem(std::string_view name) {
  std::string_view base(name.data(), std::min(name.find('.'), name.size()));
  while (!base.empty() && (base.back() == ' ' || base.back() == '.')) base.remove_suffix(1);
  return base;
}

// COM and LPT ports are numbered 0 to 9 and also by the superscripts one,
// two and three (B9, B2 and B3 in the Windows ANSI code pages).
bool IsPortNumber(char c) {
  const auto u = static_cast<std::uint8_t>(c);
  return (c >= '0' && c <= '9') || u == 0xB9 || u == 0xB2 || u == 0xB3;
}

bool IsDeviceName(std::string_view name) {
  const std::string_view base = DeviceStem(name);
  constexpr std::string_view Devices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
  for (std::string_view device : Devices)
    if (SameFileName(base, device)) return true;
  if (base.size() != 4 || !IsPortNumber(base[3])) return false;
  const std::string_view stem(base.data(), 3);  // not substr: the stub links no exceptions
  return SameFileName(stem, "com") || SameFileName(stem, "lpt");
}

// Walks the name a character at a time: a lead byte takes its trail byte
// with it, whatever that byte is.
NameProblem CharacterProblem(std::string_view name, LeadByteTest isLeadByte) {
  for (std::size_t k = 0; k < name.size(); ++k) {
    const auto byte = static_cast<std::uint8_t>(name[k]);
    if (isLeadByte(byte)) {
      if (++k == name.size()) return NameProblem::CutCharacter;
      continue;
    }
    if (IsControl(byte)) return NameProblem::ControlCharacter;
    if (IsReserved(name[k])) return NameProblem::ReservedCharacter;
  }
  return NameProblem::None;
}

}  // namespace

bool NoLeadBytes(std::uint8_t) { return false; }

LeadByteTest LeadBytesOf(int codePage) {
  if (codePage == 932) return IsShiftJisLead;
  if (codePage == 936 || codePage == 949 || codePage == 950) return IsWideLead;
  return NoLeadBytes;
}

NameProblem FileNameProblem(std::string_view name, LeadByteTest isLeadByte) {
  if (name.empty()) return NameProblem::Empty;
  const NameProblem characters = CharacterProblem(name, isLeadByte);
  if (characters != NameProblem::None) return characters;
  // A trail byte is never a dot or a space (they start at 40), so the last
  // byte tells. "." and ".." end in a dot too.
  if (name.back() == '.' || name.back() == ' ') return NameProblem::EndsInDotOrSpace;
  if (IsDeviceName(name)) return NameProblem::DeviceName;
  return NameProblem::None;
}

bool IsPlainFileName(std::string_view name, LeadByteTest isLeadByte) {
  return FileNameProblem(name, isLeadByte) == NameProblem::None;
}

std::size_t NextSeparator(std::string_view path, std::size_t from, LeadByteTest isLeadByte) {
  std::size_t k = from;
  while (k < path.size() && path[k] != '\\') k += isLeadByte(static_cast<std::uint8_t>(path[k])) ? 2 : 1;
  return k < path.size() ? k : path.size();
}

NameProblem RelativePathProblem(std::string_view path, LeadByteTest isLeadByte) {
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = NextSeparator(path, start, isLeadByte);
    // not substr: the stub links no exceptions
    const NameProblem problem = FileNameProblem(std::string_view(path.data() + start, end - start), isLeadByte);
    if (problem != NameProblem::None || end == path.size()) return problem;
    start = end + 1;
  }
}

bool IsPlainRelativePath(std::string_view path, LeadByteTest isLeadByte) {
  return RelativePathProblem(path, isLeadByte) == NameProblem::None;
}

const char* NameProblemText(NameProblem problem) {
  switch (problem) {
    case NameProblem::None: return "is a plain file name";
    case NameProblem::Empty: return "is empty";
    case NameProblem::EndsInDotOrSpace: return "ends in a dot or a space, which Windows drops";
    case NameProblem::ReservedCharacter: return "holds a character Windows does not allow in a file name (\\ / : < > \" | * ?)";
    case NameProblem::ControlCharacter: return "holds a control character";
    case NameProblem::CutCharacter: return "ends in the middle of a two-byte character";
    case NameProblem::DeviceName: return "is a reserved device name (CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9)";
  }
  return "is not a plain file name";
}

bool SameFileName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

bool IsTemporaryName(std::string_view name) {
  return SameFileName(name, "Split.Spt") || SameFileName(name, "Compress.Spt");
}
