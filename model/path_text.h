#pragma once

#include <filesystem>
#include <string>

namespace morvane {

// Paths as the command line gives them and as messages show them: on Linux
// the file name's own bytes, whatever they are; on Windows UTF-8, since the
// system's names are UTF-16.
std::filesystem::path PathFromText(const std::string& text);
std::string TextOf(const std::filesystem::path& path);

// A name in the form under which the system tells names apart: as it is on
// Linux; on Windows, whose names ignore case and drop the dots and spaces at
// their end, in capitals and without those.
std::filesystem::path NameKey(const std::filesystem::path& name);

}  // namespace morvane
