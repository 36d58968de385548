// Runs a program to its end with its output on /dev/null, as a whole
// process is timed.
#pragma once

#include <string>
#include <vector>

namespace bench {

// Throws when the program cannot start or exits with a status other than 0.
void RunQuietly(const std::vector<std::string>& argv);

}  // namespace bench
