#pragma once

#include <string>

namespace morvane::cli {

// What --help prints: the forms of the command line, then the options
// grouped by the task they serve, the exit status and examples; no line is
// wider than 80 columns.
std::string FullUsage();

// The forms of the command line and where the rest is told, for a command
// line with no words at all.
std::string ShortUsage();

// Whether a word of the command line asks for the help as Windows programs
// are asked, with /?; elsewhere that is a file's name.
bool IsWindowsHelpRequest(const std::string& word);

}  // namespace morvane::cli
