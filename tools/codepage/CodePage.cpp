#include "CodePage.h"

#include <iconv.h>
#include <locale.h>
#include <wctype.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>

namespace {

// One iconv conversion, closed on every path.
class Converter {
 public:
  Converter(const std::string& to, const std::string& from) : handle_(::iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (Ok()) ::iconv_close(handle_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool Ok() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much of `in` as is valid; returns the bytes converted and
  // leaves `in` at the first one that is not (empty when all were).
  std::string Convert(std::string_view& in) {
    std::string out;
    char buffer[256];
    while (!in.empty()) {
      char* source = const_cast<char*>(in.data());
      std::size_t sourceLeft = in.size();
      char* target = buffer;
      std::size_t targetLeft = sizeof buffer;
      const std::size_t result = ::iconv(handle_, &source, &sourceLeft, &target, &targetLeft);
      out.append(buffer, static_cast<std::size_t>(target - buffer));
      in.remove_prefix(in.size() - sourceLeft);
      if (result == static_cast<std::size_t>(-1) && errno != E2BIG) break;
    }
    ::iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    return out;
  }

 private:
  iconv_t handle_;
};

std::optional<std::string> ConvertWhole(const std::string& to, const std::string& from, std::string_view text) {
  Converter converter(to, from);
  if (!converter.Ok()) return std::nullopt;
  std::string out = converter.Convert(text);
  if (!text.empty()) return std::nullopt;
  return out;
}

bool IsControl(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

// Decodes one UTF-8 sequence at the start of `s` (iconv made it, so it is valid).
char32_t TakeUtf8(std::string_view& s, std::size_t& length) {
  const auto b = static_cast<unsigned char>(s[0]);
  length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
  if (length > s.size()) length = s.size();
  char32_t c = length == 1 ? b : b & (0x3F >> (length - 1));
  for (std::size_t i = 1; i < length; ++i) c = c << 6 | (static_cast<unsigned char>(s[i]) & 0x3F);
  return c;
}

void AppendEscaped(std::string& out, std::string_view bytes) {
  for (char ch : bytes) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(ch));
    out += escaped;
  }
}

// UTF-8 with its control characters escaped, each as the bytes it came from.
void AppendShown(std::string& out, std::string_view utf8, const std::string& iconvName) {
  while (!utf8.empty()) {
    std::size_t length = 0;
    const char32_t c = TakeUtf8(utf8, length);
    if (IsControl(c)) {
      const auto original = ConvertWhole(iconvName, "UTF-8", utf8.substr(0, length));
      AppendEscaped(out, original ? *original : utf8.substr(0, length));
    } else {
      out.append(utf8.substr(0, length));
    }
    utf8.remove_prefix(length);
  }
}

std::optional<std::u32string> Utf32Of(std::string_view utf8) {
  const auto wide = ConvertWhole("UTF-32LE", "UTF-8", utf8);
  if (!wide) return std::nullopt;
  std::u32string out;
  for (std::size_t i = 0; i + 4 <= wide->size(); i += 4) {
    const auto* p = reinterpret_cast<const unsigned char*>(wide->data() + i);
    out += static_cast<char32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<char32_t>(p[3]) << 24);
  }
  return out;
}

}  // namespace

std::optional<int> ParseCodePageNumber(std::string_view text) {
  if (text.empty() || text.size() > 4 || text[0] == '0' || text.find_first_not_of("0123456789") != text.npos)
    return std::nullopt;
  const int number = std::stoi(std::string(text));
  if (std::find(WindowsCodePages.begin(), WindowsCodePages.end(), number) == WindowsCodePages.end())
    return std::nullopt;
  return number;
}

std::string WindowsCodePageList() {
  std::string list;
  for (const int number : WindowsCodePages) list += (list.empty() ? "" : ", ") + std::to_string(number);
  return list;
}

int CodePageFromOption(std::string_view text) {
  if (const auto number = ParseCodePageNumber(text)) return *number;
  throw CodePageError("'" + std::string(text) + "' is not a Windows ANSI or OEM code page written in decimal; one of " +
                      WindowsCodePageList());
}

CodePage::CodePage(int number) : number_(number), iconvName_("CP" + std::to_string(number)) {
  Converter in(iconvName_, "UTF-8");
  Converter out("UTF-8", iconvName_);
  if (number <= 0 || !in.Ok() || !out.Ok())
    throw CodePageError("code page " + std::to_string(number) + " is not one iconv knows (try 1252, 1250, 1251, 932)");
}

std::optional<std::string> CodePage::FromUtf8(std::string_view utf8) const {
  return ConvertWhole(iconvName_, "UTF-8", utf8);
}

std::optional<std::string> CodePage::ToUtf8(std::string_view text) const {
  return ConvertWhole("UTF-8", iconvName_, text);
}

std::string CodePage::Shown(std::string_view text) const {
  Converter converter("UTF-8", iconvName_);
  std::string out;
  while (!text.empty()) {
    AppendShown(out, converter.Convert(text), iconvName_);
    if (text.empty()) break;
    AppendEscaped(out, text.substr(0, 1));  // a byte the code page does not assign
    text.remove_prefix(1);
  }
  return out;
}

namespace {

locale_t Utf8Locale() {
  static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
  return utf8;
}

}  // namespace

std::optional<std::u32string> CaseFoldedName(std::string_view utf8Name) {
  auto wide = Utf32Of(utf8Name);
  if (wide && Utf8Locale() != nullptr)
    for (char32_t& c : *wide) c = static_cast<char32_t>(::towupper_l(static_cast<wint_t>(c), Utf8Locale()));
  return wide;
}

std::string UpperCasedName(std::string_view utf8) {
  const auto folded = CaseFoldedName(utf8);
  if (!folded) return std::string(utf8);
  std::string upper;  // UTF-32LE
  for (const char32_t c : *folded)
    for (int shift = 0; shift < 32; shift += 8) upper += static_cast<char>(static_cast<std::uint32_t>(c) >> shift);
  return ConvertWhole("UTF-8", "UTF-32LE", upper).value_or(std::string(utf8));
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  const auto wideA = Utf32Of(a);
  const auto wideB = Utf32Of(b);
  if (!wideA || !wideB) return a == b;
  const std::u32string& wa = *wideA;
  const std::u32string& wb = *wideB;
  if (wa.size() != wb.size()) return false;
  const locale_t utf8 = Utf8Locale();
  for (std::size_t i = 0; i < wa.size(); ++i) {
    const auto x = static_cast<wint_t>(wa[i]);
    const auto y = static_cast<wint_t>(wb[i]);
    if (x == y) continue;
    if (utf8 == nullptr || ::towupper_l(x, utf8) != ::towupper_l(y, utf8)) return false;
  }
  return true;
}
