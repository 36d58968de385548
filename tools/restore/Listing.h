// What --list shows: the set's settings, whether it carries checksums, and
// one line per file.
#pragma once

#include <string>

#include "SetInfo.h"

std::string ListingText(const SetInfo& set);
std::string ListingJson(const SetInfo& set);

// "2000-04-23 20:44:44" (local time, as stored).
std::string FormatDosDate(std::uint32_t dosDate);
