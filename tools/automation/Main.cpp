// diskspan-auto: drives the installer's windows from outside, for the
// end-to-end tests and the demo. Usage:
//   diskspan-auto [--timeout SECONDS] STEP...
// Steps: wait CAPTION | box CAPTION ok|yes|no|cancel | see CAPTION |
//        read ID | set ID TEXT |
//        type ID TEXT | press ID | enter | focus | still MS | gone | rect |
//        list | sleep MS | texts | freeze | thaw
// A caption of "*" stands for any window but the one last found. Every
// window and message box met is logged on standard output.
#include <string>
#include <vector>

#include "Steps.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  int timeoutSeconds = 20;
  if (arguments.size() >= 2 && arguments[0] == "--timeout") {
    timeoutSeconds = std::stoi(arguments[1]);
    arguments.erase(arguments.begin(), arguments.begin() + 2);
  }
  return RunSteps(arguments, timeoutSeconds);
}
