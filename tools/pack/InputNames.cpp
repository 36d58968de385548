#include "InputNames.h"

#include <map>

#include "config/ConfigBlock.h"
#include "config/FileNames.h"

namespace {

constexpr std::size_t MostNameBytes = NameFieldWidth - 1;

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// The name in the code page, its folders' names joined by backslashes, or
// nothing with the problem added.
std::optional<std::string> StoredName(const FoundFile& file, const std::string& name, const CodePage& codePage,
                                      std::vector<std::string>& problems) {
  const std::string source = file.Source.string() + ": ";
  std::string stored;
  for (const std::string& part : file.Place) {
    const auto converted = codePage.FromUtf8(part);
    if (!converted) {
      problems.push_back(source + "the name " + Quoted(name) + " cannot be written in " + codePage.Name() +
                         " (choose another --codepage, or rename the file)");
      return std::nullopt;
    }
    const NameProblem problem = FileNameProblem(*converted, LeadBytesOf(codePage.Number()));
    if (problem != NameProblem::None) {
      const std::string which = file.Place.size() > 1 ? Quoted(name) + ": " + Quoted(part) : Quoted(name);
      problems.push_back(source + which + " " + NameProblemText(problem));
      return std::nullopt;
    }
    stored += (stored.empty() ? "" : "\\") + *converted;
  }
  return stored;
}

void CheckWholeName(const InputFile& f, const CodePage& codePage, std::vector<std::string>& problems) {
  const std::string source = f.Source.string() + ": ";
  if (IsTemporaryName(f.StoredName))
    problems.push_back(source + Quoted(f.Name) + " is the name of a file the installer makes for itself in the " +
                       "destination (Split.Spt, Compress.Spt); rename it or put it in a subfolder");
  if (f.StoredName.size() > MostNameBytes)
    problems.push_back(source + "the name " + Quoted(f.Name) + " takes " + std::to_string(f.StoredName.size()) +
                       " bytes in " + codePage.Name() + "; at most " + std::to_string(MostNameBytes) + " fit");
}

std::string Joined(const std::vector<std::string>& parts, std::size_t count) {
  std::string out;
  for (std::size_t k = 0; k < count; ++k) out += (k ? "\\" : "") + parts[k];
  return out;
}

}  // namespace

std::vector<InputFile> NameInputFiles(const std::vector<FoundFile>& found, const CodePage& codePage,
                                      std::vector<std::string>& problems) {
  std::vector<InputFile> files;
  files.reserve(found.size());
  for (const FoundFile& f : found) {
    InputFile file;
    file.Source = f.Source;
    file.Name = Joined(f.Place, f.Place.size());
    const auto stored = StoredName(f, file.Name, codePage, problems);
    if (!stored) continue;
    file.StoredName = *stored;
    CheckWholeName(file, codePage, problems);
    file.Size = f.Size;
    file.DosDate = DosDateOf(f.Modified, file.ClampedFrom);
    files.push_back(std::move(file));
  }
  return files;
}

void FindNameClashes(const std::vector<InputFile>& files, std::vector<std::string>& problems) {
  std::map<std::u32string, std::size_t> names;    // the first file of each name, case-folded
  std::map<std::u32string, std::size_t> folders;  // the first file below each folder
  std::vector<std::optional<std::u32string>> keys;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string& name = files[i].Name;
    keys.push_back(CaseFoldedName(name));
    if (!keys.back()) continue;
    const auto [first, fresh] = names.emplace(*keys.back(), i);
    if (!fresh)
      problems.push_back(files[first->second].Source.string() + " and " + files[i].Source.string() +
                         " would both install as '" + name + "'");
    for (std::size_t k = name.find('\\'); k != std::string::npos; k = name.find('\\', k + 1))
      if (const auto folder = CaseFoldedName(name.substr(0, k))) folders.emplace(*folder, i);
  }
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!keys[i] || names[*keys[i]] != i) continue;
    const auto below = folders.find(*keys[i]);
    if (below == folders.end()) continue;
    const InputFile& other = files[below->second];
    problems.push_back(files[i].Source.string() + " would install as the file '" + files[i].Name + "', where " +
                       other.Source.string() + " needs a folder ('" + other.Name + "')");
  }
}
