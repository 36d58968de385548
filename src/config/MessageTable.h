// The installer's user-visible texts. They are process-wide and modifiable:
// the configuration block replaces Caption, TitleText and DefaultDir, and
// the reassembly stage sets VolumeName; every reader takes the current text.
#pragma once

#include <string>

struct MessageTableTexts {
  std::string Caption = "Duzed Ozud";
  std::string VolumeName;
  std::string SplitName = "Split.Spt";
  std::string DefaultDir = "C:\\";
  std::string Notice = "Installed with Diskspan";
  std::string TitleText = "Rudid Orid Adezovovodiv";
  std::string ConfirmExit = "Do you really want to terminate the program?";
  std::string OverwritePrompt = "File already exists, Overwrite?";
  std::string TerminatedText = "The process has been terminated.";
  std::string InstalledText = "The files have been successfully installed into directory\r\n";
  std::string WrongDiskText =
      "This is not the appropriate disk.\r\nPlease insert the correct disk and Press Enter";
};

extern MessageTableTexts MessageTable;

// Texts fixed in the operations that use them.
inline constexpr const char* ExitCaptionPrefix = "Exit ";
inline constexpr const char* StageCaption = "Please Stand By...";
inline constexpr const char* DestinationCaption = "Destination Directory";
inline constexpr const char* CompressName = "Compress.Spt";
inline constexpr const char* BackgroundClassName = "RizorOvuDe";
inline constexpr const char* BackgroundWindowText = "Installation";
