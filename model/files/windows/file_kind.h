#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

namespace morvane {

// What the handle reaches when it is not a file on disk, for people: "a
// folder", "a device" (NUL, CON, COM1, also as nul.zrm), "a pipe"; "" for a
// file on disk.
std::string KindOfFileOnDisk(HANDLE handle);

// Refuses, naming path, anything the handle reaches that is not a file on disk.
void RequireFileOnDisk(const std::filesystem::path& path, HANDLE handle);

// Refuses, naming path, one of the devices Windows reserves in every folder
// (NUL, CON, COM1..., also with an extension, as nul.zrm); a path in the
// device namespace (\\.\C:\models\m.zrm) is left to what it opens.
void RequireNoDeviceName(const std::filesystem::path& path);

// The path of the file the handle reaches, in the system's \\?\ form and in
// long names throughout, whatever spelling opened it; empty when the system
// cannot tell.
std::filesystem::path FinalPathOf(HANDLE handle);

}  // namespace morvane
