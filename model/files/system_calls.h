#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

// Every call that the file layer makes to the system passes through one
// table, which each system fills in (posix/, windows/) and which tests may
// change to make any call fail or wait. The sequences that open, write, sync
// and name files are written once above it, over the portable types below,
// and every message is worded there.
namespace morvane::sys {

// An open file: a descriptor (on Windows, the C runtime's over a handle).
using File = int;
inline constexpr File kNoFile = -1;

enum class FileKind {
    Regular,
    Folder,
    CharacterDevice,
    BlockDevice,
    Pipe,
    Socket,
    SymbolicLink,
    Device,             // Windows' NUL, CON, COM1...
    SystemInformation,  // the kernel's own files, as under /proc: no length, changing as read
    Other,
};

// A file as the system knows it, whichever name leads to it: its device (or
// volume) and its index there.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t index = 0;

    auto operator<=>(const FileIdentity&) const = default;
};

// What the system says of a file.
struct FileStatus {
    FileKind kind = FileKind::Other;
    FileIdentity identity;
    // No one may write to it, or the user running the program may not.
    bool readOnly = false;
    // Its owner and group, where the system has them to keep.
    std::optional<std::pair<std::uint32_t, std::uint32_t>> owner;
    // What a replacement must have of it too: the permission bits (set-ID
    // bits included) on POSIX, the attributes that say what a file is on
    // Windows (hidden, system...).
    std::uint32_t mode = 0;
};

// What shows that an open file has changed: its length, when its bytes were
// last written and when the file last changed at all (on Windows, which has
// no change time, its index on its volume in that place).
struct FileState {
    std::int64_t length = 0;
    std::int64_t written = 0;
    std::int64_t changed = 0;

    bool operator==(const FileState&) const = default;
};

// A symbolic link that another user made in a folder that everyone may write
// to and only owners may delete from (as /tmp), which could lead anywhere.
struct PlantedLink {
    std::filesystem::path link;  // as the user would write it
    std::filesystem::path folder;
    std::uint32_t owner = 0;
};

// What an output name leads to once its links are followed.
struct FollowedName {
    std::filesystem::path target;  // the name itself when no link was on the way
    bool throughLink = false;
    // For a link that leads nowhere, where the name's own link leads.
    std::optional<std::filesystem::path> dangling;
    std::optional<PlantedLink> planted;  // not followed
};

// An extended attribute (access control lists among them) of a file.
struct Attribute {
    std::string name;
    std::vector<char> value;
};

enum class Whence { Start, Current, End };

// A name a folder holds, and what it names, links not followed.
struct FolderEntry {
    std::filesystem::path name;
    FileKind kind = FileKind::Other;
};

// The table. Each call returns the system's reason for a failure, or an
// empty error; errors the file layer looks for are the generic ones
// (std::errc::file_exists, not_supported, no_such_file_or_directory,
// too_many_files_open...).
struct Calls {
    // Opens a model to read, without waiting on a named pipe; on Windows
    // other programs may read it meanwhile but not write it.
    std::error_code (*openToRead)(const std::filesystem::path& path, File& file);
    std::error_code (*statusOfFile)(File file, FileStatus& status);
    // The name its folder holds the open file under, whatever spelling
    // opened it: on Windows its long name, never a short 8.3 one, which
    // another folder gives another file; elsewhere the name it was opened by.
    std::error_code (*nameOf)(File file, const std::filesystem::path& opened,
                              std::filesystem::path& name);
    std::error_code (*stateOf)(File file, FileState& state);

    // Bytes: a read returns 0 at the end of the file, a write writes all.
    std::error_code (*read)(File file, char* data, std::size_t size, std::size_t& got);
    std::error_code (*write)(File file, const char* data, std::size_t size);
    std::error_code (*seek)(File file, std::int64_t offset, Whence from, std::int64_t& position);
    // Copies up to size bytes from where `from` stands to where `to` stands
    // inside the kernel, moving both on; 0 at the end of `from`;
    // not_supported where the system has no such copy.
    std::error_code (*copyInKernel)(File from, File to, std::size_t size, std::size_t& copied);
    // Starts writing those bytes back to the disk without waiting.
    void (*startWriteback)(File file, std::int64_t offset, std::int64_t length);
    std::error_code (*syncFile)(File file);
    std::error_code (*close)(File file);

    // Names: the status of what a name leads to (nullopt when nothing), links
    // followed or not; what an output name leads to; the form in which the
    // system tells the place of a name apart from every other.
    std::error_code (*statusOf)(const std::filesystem::path& path, bool followLinks,
                                std::optional<FileStatus>& status);
    std::error_code (*followLinks)(const std::filesystem::path& name, FollowedName& followed);
    std::filesystem::path::string_type (*placeOf)(const std::filesystem::path& name);

    // New files: one without a name in `folder` (not_supported where the
    // file system cannot make one), or one under a name no file has
    // (file_exists when it has); a replacement first belongs to no one else.
    std::error_code (*createUnnamed)(const std::filesystem::path& folder, bool replacement,
                                     File& file);
    std::error_code (*createNamed)(const std::filesystem::path& name, bool replacement, File& file);
    // Gives a file without a name the name (file_exists when it is taken;
    // not_supported where the system cannot).
    std::error_code (*linkUnnamed)(File file, const std::filesystem::path& name);
    // Gives the file that `existing` names one more name (file_exists when
    // that is taken).
    std::error_code (*linkName)(const std::filesystem::path& existing,
                                const std::filesystem::path& name);
    // Gives the closed new file `from` the name `to`, replacing a file there
    // and keeping what that file had that the system keeps (on Windows its
    // access control list and owner).
    std::error_code (*rename)(const std::filesystem::path& from, const std::filesystem::path& to);
    // Moves the name `from` to `to` as it is, replacing a file there.
    std::error_code (*moveName)(const std::filesystem::path& from, const std::filesystem::path& to);
    std::error_code (*remove)(const std::filesystem::path& name);

    // Folders: one made with the mode a new folder gets (file_exists when
    // the name is taken), and what one holds, each entry as it is, links
    // not followed.
    std::error_code (*makeFolder)(const std::filesystem::path& folder);
    std::error_code (*readFolder)(const std::filesystem::path& folder,
                                  std::vector<FolderEntry>& entries);

    // What a replaced file has that its replacement must have too: the
    // names of its extended attributes (none where the file system has
    // none), and each one's value.
    std::error_code (*attributeNames)(const std::filesystem::path& path,
                                      std::vector<std::string>& names);
    std::error_code (*attributeValue)(const std::filesystem::path& path, const std::string& name,
                                      std::vector<char>& value);
    std::error_code (*giveOwner)(File file, std::uint32_t user, std::uint32_t group);
    std::error_code (*giveAttribute)(File file, const Attribute& attribute);
    // Gives the file the mode and says what it has then.
    std::error_code (*giveMode)(File file, std::uint32_t mode, std::uint32_t& given);

    // Where one sync of the file's whole file system is as sound as the
    // file's own sync, that file system's device; nullopt elsewhere.
    std::optional<std::uint64_t> (*soundlySyncedFileSystem)(File file);
    std::error_code (*syncFileSystem)(File file);
    // Makes the names given in the folder durable.
    std::error_code (*syncFolder)(const std::filesystem::path& folder);

    // How many more files the program may open; SIZE_MAX without a limit.
    std::size_t (*filesStillFree)();
};

// Every entry of the table, in its order, for the halves that fill it in:
// each defines a function of the entry's name in its own namespace.
// clang-format off
#define MORVANE_SYSTEM_CALLS(entry) \
    entry(openToRead) \
    entry(statusOfFile) \
    entry(nameOf) \
    entry(stateOf) \
    entry(read) \
    entry(write) \
    entry(seek) \
    entry(copyInKernel) \
    entry(startWriteback) \
    entry(syncFile) \
    entry(close) \
    entry(statusOf) \
    entry(followLinks) \
    entry(placeOf) \
    entry(createUnnamed) \
    entry(createNamed) \
    entry(linkUnnamed) \
    entry(linkName) \
    entry(rename) \
    entry(moveName) \
    entry(remove) \
    entry(makeFolder) \
    entry(readFolder) \
    entry(attributeNames) \
    entry(attributeValue) \
    entry(giveOwner) \
    entry(giveAttribute) \
    entry(giveMode) \
    entry(soundlySyncedFileSystem) \
    entry(syncFileSystem) \
    entry(syncFolder) \
    entry(filesStillFree)
// clang-format on

// The table in use: the system's own, unless a test has changed it.
Calls& SystemCalls();

// The system's own table, for a test to restore or to call through.
const Calls& NativeCalls();

}  // namespace morvane::sys
