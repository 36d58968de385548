// The volumes of an installer that was renamed (SETUP (1).EXE, as a browser
// saves SETUP.EXE): no volume carries its name, so the series beside it is
// found by its contents.
#pragma once

#include <optional>
#include <string>

#include "SetInfo.h"
#include "VolumeFinder.h"

struct SeriesFound {
  std::string Base;  // the name the volumes are named after ("SETUP.01")
  std::string Why;   // "which match its checksums"
};

// The series whose volume 1 matches the CRC-32 the set's record gives it;
// else the only NAME.01 ... NAME.0N series of the set's volume count whose
// sizes add up to its coded size. Nothing when neither tells.
std::optional<SeriesFound> SeriesByContent(VolumeFinder& finder, const SetInfo& set);

// "SETUP (1).EXE has no volumes named after it: took SETUP.01 to SETUP.05
// beside it, which match its checksums (--volume-name SETUP names them outright)"
std::string SeriesNote(const SetInfo& set, const SeriesFound& series);
