#include "EntryNames.h"

#include "config/Configuration.h"
#include "config/FileNames.h"

namespace {

// The name's parts in the code page, split at backslash characters only.
std::vector<std::string_view> Parts(std::string_view name, const CodePage& texts) {
  const LeadByteTest lead = LeadBytesOf(texts.Number());
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = NextSeparator(name, start, lead);
    parts.push_back(name.substr(start, end - start));
    if (end == name.size()) return parts;
    start = end + 1;
  }
}

std::string Joined(const std::vector<std::string>& parts, char separator) {
  std::string path;
  for (std::size_t i = 0; i < parts.size(); ++i) path += (i == 0 ? "" : std::string(1, separator)) + parts[i];
  return path;
}

std::string Quoted(std::string_view name, const CodePage& texts) { return "'" + ShownPath(name, texts) + "'"; }

// Why the entry alone must not be written, or "".
std::string OwnProblem(std::string_view name, const CodePage& texts, std::vector<std::string>& utf8) {
  const NameProblem problem = RelativePathProblem(name, LeadBytesOf(texts.Number()));
  if (problem != NameProblem::None)
    return Quoted(name, texts) + " is not a plain file name: it " + NameProblemText(problem) + "; refused";
  const auto parts = Utf8Parts(name, texts);
  if (!parts) return Quoted(name, texts) + " holds a byte " + texts.Name() + " gives no character; refused";
  for (const auto& part : *parts)
    if (!IsPlainFileName(part)) return Quoted(name, texts) + " is not a plain file name in UTF-8; refused";
  if (IsTemporaryName(name))
    return Quoted(name, texts) + " is the name of the installer's own temporary file; refused";
  utf8 = *parts;
  return "";
}

// Why `later` collides with `earlier`, two names upper-cased alike.
std::string Collision(const std::string& earlier, const std::string& later, const std::string& earlierName,
                      const std::string& laterName) {
  if (earlier.size() == later.size())
    return laterName + " is the same file as " + earlierName + " to Windows, which ignores case; refused";
  if (earlier.size() < later.size())
    return laterName + " needs a folder where " + earlierName + " is a file; refused";
  return laterName + " is a file where " + earlierName + " needs a folder; refused";
}

}  // namespace

std::optional<std::vector<std::string>> Utf8Parts(std::string_view name, const CodePage& texts) {
  std::vector<std::string> parts;
  for (const std::string_view part : Parts(name, texts)) {
    auto utf8 = texts.ToUtf8(part);
    if (!utf8) return std::nullopt;
    parts.push_back(std::move(*utf8));
  }
  return parts;
}

std::string ShownPath(std::string_view name, const CodePage& texts) {
  std::vector<std::string> shown;
  for (const std::string_view part : Parts(name, texts)) shown.push_back(texts.Shown(part));
  return Joined(shown, '/');
}

std::string Utf8Path(std::string_view name, const CodePage& texts) {
  const auto parts = Utf8Parts(name, texts);
  return parts ? Joined(*parts, '/') : ShownPath(name, texts);
}

std::vector<std::string> TableProblems(const std::vector<FileEntry>& entries, const CodePage& texts) {
  std::vector<std::string> problems(entries.size());
  std::vector<std::string> folded(entries.size());  // upper-cased, backslash-joined UTF-8; "" when refused
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::vector<std::string> parts;
    problems[i] = OwnProblem(entries[i].Name, texts, parts);
    if (!problems[i].empty()) continue;
    folded[i] = UpperCasedName(Joined(parts, '\\'));
    for (std::size_t j = 0; j < i && problems[i].empty(); ++j)
      if (!folded[j].empty() && NamesCollide(folded[j], folded[i]))
        problems[i] = Collision(folded[j], folded[i], Quoted(entries[j].Name, texts), Quoted(entries[i].Name, texts));
    if (!problems[i].empty()) folded[i].clear();
  }
  return problems;
}
