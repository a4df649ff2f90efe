#include "startup/program_arguments.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "model/files/path_text.h"

namespace morvane {

// The narrow argv holds the names in the system's code page, which cannot
// spell every name; the wide command line can.
std::vector<std::string> ProgramArguments(int, char**) {
    int count = 0;
    wchar_t** words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; words != nullptr && i < count; ++i) {
        arguments.push_back(TextOf(std::filesystem::path(words[i])));
    }
    ::LocalFree(words);
    return arguments;
}

}  // namespace morvane
