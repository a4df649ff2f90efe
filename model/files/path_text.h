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
// their end, in capitals and without those.
std::filesystem::path NameKey(const std::filesystem::path& name);

// A path in the form the system's calls take at any length: on Windows its
// absolute \\?\ form (\\?\UNC\ for a share), a device left as it is; as it is
// elsewhere. Messages show paths as the user spelled them instead.
std::filesystem::path SystemPath(const std::filesystem::path& path);

// The models an argument names. On Windows, whose shells hand a program its
// wildcards as they were typed, an argument with `*` or `?` in its last part
// names the files that match it, in name order, or itself when none does;
// elsewhere the shell has expanded them already. A file found under a name
// that Windows would read as another (as it drops a dot or a space at the
// end) is named in its absolute \\?\ form, which opens exactly that file.
std::vector<std::filesystem::path> ModelsNamedBy(const std::filesystem::path& argument);

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
