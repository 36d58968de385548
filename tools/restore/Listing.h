// What --list shows: the set's settings, its code page, whether it carries
// checksums, and one line per file with the disks it lies on.
#pragma once

#include <string>

#include "DiskMap.h"
#include "SetInfo.h"

// Without `disks`, every file's disks are shown as unknown.
std::string ListingText(const SetInfo& set, const DiskMap* disks = nullptr);
std::string ListingJson(const SetInfo& set, const DiskMap* disks = nullptr);

// "2000-04-23 20:44:44" (local time, as stored).
std::string FormatDosDate(std::uint32_t dosDate);
