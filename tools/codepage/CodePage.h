// The Windows code page a set's texts are stored in (names, title, font,
// default directory). The installer reads them in the code page of the
// machine it runs on, so our tools store and read them in one the user
// names (1252, Western European, unless told otherwise), converted by
// iconv, and show and create them in UTF-8.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

class CodePageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

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
