#include "config/FileNames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct NameCase {
  int CodePage;
  std::string Name;
  NameProblem Problem;
};

// Names as Windows reads them, per code page: a trail byte 5C or 7C is part
// of its character in the double-byte code pages, and a reserved device
// hides behind trailing spaces, an extension or a superscript.
TEST(FileNames, ReadAsWindowsReadsThemInEachCodePage) {
  using P = NameProblem;
  const NameCase cases[] = {
      {1252, "README.TXT", P::None},        {1252, "a b.c", P::None},
      {1252, "...dots", P::None},           {1252, "COM10", P::None},
      {1252, "CONSOLE.TXT", P::None},       {1252, "NULL", P::None},
      {1252, "COM.TXT", P::None},           {1252, "caf\xE9.txt", P::None},
      {1252, "", P::Empty},                 {1252, ".", P::EndsInDotOrSpace},
      {1252, "..", P::EndsInDotOrSpace},    {1252, "NAME ", P::EndsInDotOrSpace},
      {1252, "a\\b", P::ReservedCharacter}, {1252, "..\\UP.TXT", P::ReservedCharacter},
      {1252, "C:x", P::ReservedCharacter},  {1252, "a|b", P::ReservedCharacter},
      {1252, "WHAT?.TXT", P::ReservedCharacter}, {1252, "tab\there", P::ControlCharacter},
      {1252, "del\x7F", P::ControlCharacter},
      {1252, "CON", P::DeviceName},         {1252, "nul", P::DeviceName},
      {1252, "Aux.txt", P::DeviceName},     {1252, "NUL .TXT", P::DeviceName},
      {1252, "CON .TXT", P::DeviceName},    {1252, "PRN  .LOG.OLD", P::DeviceName},
      {1252, "com9.log", P::DeviceName},    {1252, "COM0", P::DeviceName},
      {1252, "LPT0.DOC", P::DeviceName},    {1252, "COM\xB9", P::DeviceName},
      {1252, "lpt\xB2.txt", P::DeviceName}, {1252, "LPT\xB3", P::DeviceName},
      {1252, "conout$", P::DeviceName},     {1252, "CONIN$.TXT", P::DeviceName},
      // Shift-JIS: ソ (83 5C), 表 (95 5C), E0 5C and FA 5C end in 5C, 翻 (96 7C) in 7C.
      {932, "\x83\x5C\x83\x74\x83\x67.TXT", P::None},
      {932, "\x95\x5C.TXT", P::None},        {932, "\x96\x7C\xE0\x5C\xFA\x5C", P::None},
      {932, "\xB1\\B", P::ReservedCharacter},  // B1 is a one-byte katakana there
      {932, "A\x83", P::CutCharacter},
      {1252, "\x95\x5C.TXT", P::ReservedCharacter},  // the same bytes in 1252
      // Big5 許 (B3 5C) and 可 (A5 69), GBK (81 5C, B0 7C, FE 5C), UHC 가 (B0 A1).
      {950, "\xB3\x5C\xA5\x69.TXT", P::None},  {936, "\x81\x5C\xB0\x7C\xFE\x5C", P::None},
      {949, "\xB0\xA1.TXT", P::None},           {950, "\xB3", P::CutCharacter},
  };
  for (const NameCase& c : cases)
    EXPECT_EQ(FileNameProblem(c.Name, LeadBytesOf(c.CodePage)), c.Problem)
        << c.CodePage << " '" << c.Name << "'";
  EXPECT_STRNE(NameProblemText(NameProblem::DeviceName), NameProblemText(NameProblem::EndsInDotOrSpace));
}

// A file in a subfolder is plain names joined by single backslashes; a 5C
// trail byte is no separator.
TEST(FileNames, RelativePathsArePlainNamesJoinedByBackslashes) {
  using P = NameProblem;
  const NameCase cases[] = {
      {1252, "BIN\\TOOL.EXE", P::None},      {1252, "docs\\bash\\My File.txt", P::None},
      {1252, "README.TXT", P::None},          {1252, "\\ROOT.TXT", P::Empty},
      {1252, "BIN\\", P::Empty},             {1252, "A\\\\B", P::Empty},
      {1252, "A\\..\\B", P::EndsInDotOrSpace}, {1252, "..\\UP.TXT", P::EndsInDotOrSpace},
      {1252, "BIN \\A", P::EndsInDotOrSpace}, {1252, "NUL\\A.TXT", P::DeviceName},
      {1252, "A\\COM1.TXT", P::DeviceName},   {1252, "C:\\A", P::ReservedCharacter},
      {932, "\x83\x5C\\\x95\x5C.TXT", P::None},  // ソ\表.TXT: one separator
  };
  for (const NameCase& c : cases)
    EXPECT_EQ(RelativePathProblem(c.Name, LeadBytesOf(c.CodePage)), c.Problem) << "'" << c.Name << "'";
  EXPECT_EQ(NextSeparator("\x83\x5C\\B", 0, LeadBytesOf(932)), 2u);
}

TEST(FileNames, CaseIsIgnoredAndTheTemporariesAreNamedInAnyCase) {
  EXPECT_TRUE(SameFileName("Setup-az.01", "SETUP-AZ.01"));
  EXPECT_FALSE(SameFileName("SETUP.01", "SETUP.010"));
  for (const char* temporary : {"Split.Spt", "COMPRESS.SPT", "split.spt"}) EXPECT_TRUE(IsTemporaryName(temporary));
  for (const char* other : {"Split.Sp", "Compress.Spt.txt", "SPLIT"}) EXPECT_FALSE(IsTemporaryName(other));
}

}  // namespace
