// Rules for the names stored in a disk set's FileTable.
#pragma once

#include <string_view>

// IsPlainFileName: the stub's own rule, shared with the tools.
#include "extract/ExtractionRules.h"

// Windows compares file names without regard to case (ASCII letters).
bool SameFileName(std::string_view a, std::string_view b);
