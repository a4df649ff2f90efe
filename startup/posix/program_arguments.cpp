#include "startup/program_arguments.h"

namespace morvane {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return {argv, argv + argc};
}

}  // namespace morvane
