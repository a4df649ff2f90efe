#pragma once

#include <string>
#include <vector>

namespace morvane {

// The words of the command line, the program's name first, each as UTF-8 on
// Windows (where the system's command line is UTF-16) and as the bytes given
// elsewhere, so that a name in any encoding still names its file.
std::vector<std::string> ProgramArguments(int argc, char** argv);

}  // namespace morvane
