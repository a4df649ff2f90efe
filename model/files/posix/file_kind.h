#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>

namespace morvane {

// What kind of file a mode names, for people: "a folder", "a character device"...
std::string DescribeFileKind(mode_t mode);

// Refuses, naming path, anything that is not a regular file.
void RequireRegularFile(const std::filesystem::path& path, mode_t mode);

}  // namespace morvane
