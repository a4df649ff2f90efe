#include "cli/program_arguments.h"

namespace morvane::cli {

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return {argv, argv + argc};
}

}  // namespace morvane::cli
