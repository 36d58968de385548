// A run of diskspan-extract once its command line is sorted out: the set
// read, its volumes found (or waited for) and checked, then listed, tested,
// restored into a directory or written to standard output.
#pragma once

#include "ExtractOptions.h"

// The exit code (ExitCode); raises ExtractError, FloppyError, FileError or
// CodePageError for what stops the run.
int RunExtract(ExtractRequest& request);
