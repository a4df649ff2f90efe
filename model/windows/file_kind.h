#pragma once

#include <windows.h>

#include <filesystem>

namespace morvane {

// Refuses, naming path, anything the handle reaches that is not a file on
// disk: a folder, a device (NUL, CON, COM1, also as nul.zrm), a pipe.
void RequireFileOnDisk(const std::filesystem::path& path, HANDLE handle);

// Whether a name is one of the devices Windows reserves in every folder
// (NUL, CON, COM1..., also with an extension, as nul.zrm).
bool IsDeviceName(const std::filesystem::path& path);

// Refuses, naming path, a reserved device name.
void RequireNoDeviceName(const std::filesystem::path& path);

// Whether two handles reach the same file, however it was named: the same
// volume and the same file index.
bool IsSameFile(HANDLE first, HANDLE second);

}  // namespace morvane
