// The names in a set's file table as the extractor reads them: a plain name,
// or plain names joined by backslashes for a file in a subfolder
// (BIN\TOOL.EXE), in the set's code page. They are checked by the
// installer's own rules, shown with "/" between folders, and created in UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CodePage.h"
#include "config/ConfigBlock.h"

// The name's folders and file, each in UTF-8; nothing when one holds a
// byte the code page gives no character.
std::optional<std::vector<std::string>> Utf8Parts(std::string_view name, const CodePage& texts);

// "BIN/TOOL.EXE" for printing: each part shown safely (CodePage::Shown).
std::string ShownPath(std::string_view name, const CodePage& texts);

// "BIN/TOOL.EXE" in UTF-8, as patterns are matched against it (ShownPath
// when a part has no UTF-8 form).
std::string Utf8Path(std::string_view name, const CodePage& texts);

// Why each entry must not be written, "" for those that may: the rules the
// installer applies to the whole table before it creates anything. Every
// part a plain name in the set's code page (a trail byte 5C or 7C is no
// separator there) and in UTF-8; no top-level name of the installer's own
// temporaries; no name that Windows takes for an earlier entry's file, or
// for a file where an earlier entry needs a folder (or the other way round).
std::vector<std::string> TableProblems(const std::vector<FileEntry>& entries, const CodePage& texts);
