// The Windows code page a set's texts are stored in (names, title, font,
// default directory). The installer reads them in the code page of the
// machine it runs on, so our tools store and read them in one the user
// names (1252, Western European, unless told otherwise), converted by
// iconv, and show and create them in UTF-8.
#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

class CodePageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The code pages Windows installs in: its ANSI code pages (874, the East
// Asian ones, 1250-1258) and its OEM ones. Nothing else can be a set's.
inline constexpr std::array<int, 30> WindowsCodePages = {
    437, 737, 775, 850, 852, 855, 857, 858, 860, 861, 862, 863, 864, 865, 866,
    869, 874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};

// A --codepage value: decimal digits naming one of WindowsCodePages
// ("037" and "0x4e4" are not); nothing for anything else.
std::optional<int> ParseCodePageNumber(std::string_view text);

// "437, 737, 775, 850, 852, ..., 1258", for messages.
std::string WindowsCodePageList();

// The number a --codepage value names; raises CodePageError listing the
// code pages when it names none of them.
int CodePageFromOption(std::string_view text);

class CodePage {
 public:
  // Raises CodePageError when iconv knows no such Windows code page.
  explicit CodePage(int number = 1252);

  int Number() const { return number_; }
  std::string Name() const { return "code page " + std::to_string(number_); }

  // The UTF-8 text in this code page; nothing when it is not valid UTF-8 or
  // holds a character the code page cannot.
  std::optional<std::string> FromUtf8(std::string_view utf8) const;

  // The text in UTF-8; nothing when it holds a byte the code page assigns
  // no character (0x81 in 1252, say).
  std::optional<std::string> ToUtf8(std::string_view text) const;

  // The text as it may be printed: UTF-8 with every control character (C0,
  // DEL, C1) and every byte the code page does not assign written as \xNN,
  // so no set can steer the terminal.
  std::string Shown(std::string_view text) const;

 private:
  int number_;
  std::string iconvName_;
};

// Windows compares file names without regard to case, for letters beyond
// ASCII too: "CAFÉ.TXT" and "café.txt" name one file. Both are UTF-8.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// The UTF-8 name upper-cased as SameNameIgnoringCase compares it, as a key
// for finding twins among many names; nothing when it is not UTF-8.
std::optional<std::u32string> CaseFoldedName(std::string_view utf8Name);

// The same, back in UTF-8 (the name itself when it is not UTF-8), so that
// names Windows takes for one file compare equal byte for byte.
std::string UpperCasedName(std::string_view utf8);
