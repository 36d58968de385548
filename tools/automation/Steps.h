// The helper's steps, run in the order given on its command line. Each step
// acts on the window that the last `wait` or `box` found and logs one line.
#pragma once

#include <string>
#include <vector>

// 0 when every step succeeded; otherwise the failing step is logged with the
// visible windows, and the result is 1.
int RunSteps(const std::vector<std::string>& arguments, int timeoutSeconds);
