#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Paths as the command line gives them and as messages show them: on Linux
// the file name's own bytes, whatever they are; on Windows UTF-8, since the
// system's names are UTF-16.
std::filesystem::path PathFromText(const std::string& text);
std::string TextOf(const std::filesystem::path& path);

// A name in the form under which the system tells names apart: as it is on
// Linux; on Windows, whose names ignore case and drop the dots and spaces at
// their end, in capitals and without those (a path in the \\?\ form, which
// Windows takes as it is, keeps them).
std::filesystem::path NameKey(const std::filesystem::path& name);

// The path with each of its names as the system reads it: on Windows
// without the dots and spaces that it drops from a name's end; as it is
// elsewhere. An output named after names found so lies where the user looks.
std::filesystem::path NamesAsRead(const std::filesystem::path& path);

// A path in the form the system's calls take at any length: on Windows its
// absolute \\?\ form (\\?\UNC\ for a share), a device left as it is; as it is
// elsewhere. Messages show paths as the user spelled them instead.
std::filesystem::path SystemPath(const std::filesystem::path& path);

// The models an argument names. On Windows, whose shells hand a program its
// wildcards as they were typed, an argument with `*` or `?` in its last part
// names the files that match it (and the folders, `withFolders`), in name
// order, or itself when none does; elsewhere the shell has expanded them
// already. Each is named as PathOfFound names it.
std::vector<std::filesystem::path> ModelsNamedBy(const std::filesystem::path& argument,
                                                 bool withFolders);

// The path of a name found in a folder, spelled so that it opens what was
// found: the folder and the name joined, unless Windows would read that
// spelling as another name (it drops a dot or a space at the end, and reads
// NUL as the device), and then in the absolute \\?\ form, which it takes
// as it is.
std::filesystem::path PathOfFound(const std::filesystem::path& folder,
                                  const std::filesystem::path& name);

// Whether the name's last part still holds a wildcard: on Windows, whose
// names cannot hold `*` or `?`, such a name is a pattern that matched
// nothing; never elsewhere.
bool HoldsWildcard(const std::filesystem::path& name);

// Whether the name is one of the devices Windows keeps in every folder
// (NUL, CON, COM1..., also with an extension, as nul.zrm); never elsewhere.
bool IsReservedDeviceName(const std::filesystem::path& name);

// Text from outside (a file name, a typed value) in quotes, with control
// characters written as escapes, so that a message stays one harmless line.
// A path in the system's \\?\ form is shown as people write it, without that.
std::string QuotedText(std::string_view text);
std::string Quoted(const std::filesystem::path& path);

}  // namespace morvane
