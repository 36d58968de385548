// The rules for the names a set's file table may hold, as Windows reads
// them. The stub, the packer and the extractor share them: the stub with
// the system's code page (IsDBCSLeadByte), the tools with the set's.
#pragma once

#include <cstdint>
#include <string_view>

// Which bytes of a code page start a two-byte character.
using LeadByteTest = bool (*)(std::uint8_t byte);

// The single-byte code pages: no byte starts a two-byte character.
bool NoLeadBytes(std::uint8_t byte);

// The lead bytes of the double-byte Windows code pages (932, 936, 949 and
// 950); NoLeadBytes for every other.
LeadByteTest LeadBytesOf(int codePage);

enum class NameProblem {
  None,
  Empty,
  EndsInDotOrSpace,     // Windows drops them, so the name would say another file
  ReservedCharacter,    // \ / : < > " | * ?
  ControlCharacter,     // 0x00-0x1F and DEL
  CutCharacter,         // ends with the lead byte of a two-byte character
  DeviceName,           // CON, NUL, COM1, LPT¹ ... with or without an extension
};

// What makes `name` unfit to be created inside the destination directory
// as the file it says, or None. In a double-byte code page a lead byte and
// its trail byte are one character, so a trail byte 5C or 7C is no \ or |.
NameProblem FileNameProblem(std::string_view name, LeadByteTest isLeadByte = NoLeadBytes);

bool IsPlainFileName(std::string_view name, LeadByteTest isLeadByte = NoLeadBytes);

// Where the next folder separator (a backslash character, never a trail
// byte) is at or after `from`, or the path's size when there is none.
std::size_t NextSeparator(std::string_view path, std::size_t from, LeadByteTest isLeadByte);

// A name below the destination directory, the way a set stores a file in a
// subfolder: plain names joined by single backslashes (BIN\TOOL.EXE). The
// first problem of any component (an empty one is Empty), or None.
NameProblem RelativePathProblem(std::string_view path, LeadByteTest isLeadByte = NoLeadBytes);

bool IsPlainRelativePath(std::string_view path, LeadByteTest isLeadByte = NoLeadBytes);

// Why a name was refused, in words, for the tools' messages: "is a
// reserved device name", ...
const char* NameProblemText(NameProblem problem);

// Windows compares file names without regard to case (ASCII letters).
bool SameFileName(std::string_view a, std::string_view b);

// The stub's own files in the destination, Split.Spt and Compress.Spt, in
// any case: no installed file may take their names.
bool IsTemporaryName(std::string_view name);
