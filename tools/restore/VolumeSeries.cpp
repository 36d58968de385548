#include "VolumeSeries.h"

#include <map>

#include "CodePage.h"
#include "SetVerification.h"
#include "WrongFile.h"
#include "volumes/VolumeRules.h"

namespace {

std::string Upper(const std::string& name) { return UpperCasedName(name); }

std::string NameOf(const Volume& v) { return v.Path.filename().string(); }

}  // namespace

std::optional<SeriesFound> SeriesByContent(VolumeFinder& finder, const SetInfo& set) {
  const std::vector<Volume> all = finder.Everything();
  std::map<std::string, const Volume*> byName;  // upper-cased name: the first file of that name
  for (const Volume& v : all) byName.try_emplace(Upper(NameOf(v)), &v);
  if (set.Record)
    for (const Volume& v : all)
      if (VolumeNumberOf(NameOf(v)) == 1 && CrcOfVolume(v) == set.Record->VolumeCrc[0])
        return SeriesFound{NameOf(v), "which match its checksums"};
  std::vector<std::string> adding;  // series whose sizes add up
  for (const auto& [upper, first] : byName) {
    if (VolumeNumberOf(upper) != 1) continue;
    std::int64_t total = 0;
    int disk = 1;
    for (; disk <= set.VolumeCount(); ++disk) {
      const auto it = byName.find(Upper(VolumeFileName(NameOf(*first), disk).c_str()));
      if (it == byName.end()) break;
      total += it->second->Size;
    }
    if (disk > set.VolumeCount() && total == set.Trailer.SplitSize) adding.push_back(NameOf(*first));
  }
  if (adding.size() == 1) return SeriesFound{adding.front(), "whose sizes add up to its coded size"};
  return std::nullopt;
}

std::string SeriesNote(const SetInfo& set, const SeriesFound& series) {
  const std::string first = VolumeFileName(series.Base, 1).c_str();
  const std::string last = VolumeFileName(series.Base, set.VolumeCount()).c_str();
  const std::string base = series.Base.substr(0, series.Base.rfind('.'));
  return set.StubName + " has no volumes named after it: took " + (set.VolumeCount() == 1 ? first : first + " to " + last) +
         ", " + series.Why + " (--volume-name " + base + " names them outright)";
}
