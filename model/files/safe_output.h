#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/files/descriptor_buffer.h"
#include "model/files/system_calls.h"
#include "model/files/temporary_name.h"

namespace morvane {

// Where an output lands: the file it replaces, known by its identity, and the
// place of the name it takes, in the form in which the system tells places
// apart.
struct OutputLanding {
    sys::FileIdentity file;                    // all 0 for a name that is new
    std::filesystem::path::string_type place;  // empty where only the file counts
};

// The existing file a name leads to, links followed, known by its identity
// alone; nothing when there is no file there.
std::optional<OutputLanding> LandingOfFile(const std::filesystem::path& file);

// How the output is to be taken.
struct OutputOptions {
    // The output is the model's own name, which the new model replaces.
    bool inPlace = false;
    // Keeps the file replaced under its name with this added, replacing a
    // file there, and never with a moment where neither it nor the new
    // model has its name.
    std::optional<std::string> backupSuffix;
    // Plans the output and refuses what a rewrite would refuse, but makes
    // nothing.
    bool dryRun = false;
};

// The new model on its way to the output name: written to a temporary file in
// the output's folder, made durable, and only then given the name, so that the
// name holds what it held before or the whole new model, never anything else.
// Until the name is taken the output is untouched, and the object's end
// leaves nothing behind.
class SafeOutput {
public:
    // Refuses an output that must not be replaced (the input itself, anything
    // but a regular file, a read-only file, a link that leads nowhere or that
    // another user made in a folder open to all), notes what a replaced file
    // has that the new one must keep, and makes the temporary file.
    SafeOutput(sys::File input, const std::filesystem::path& output,
               const OutputOptions& options = {});
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;
    ~SafeOutput();

    // How many may wait for their names at once, each holding its file open.
    static std::size_t MostWaitingAtOnce();

    // The output as the caller named it.
    const std::filesystem::path& output() const { return output_; }
    // Where the new model is written.
    sys::File file() const { return file_.get(); }
    const OutputLanding& landing() const { return landing_; }
    // Whether a file was there to replace when the output was planned.
    bool replacing() const { return replaced_.has_value(); }
    // The file an output name that is a symbolic link leads to; empty for
    // any other name.
    std::filesystem::path linkTarget() const;
    // Where the replaced file is kept, if it is; and where that lands.
    const std::filesystem::path& backup() const { return backup_; }
    const OutputLanding& backupLanding() const { return backupLanding_; }
    // The folder the new model is named in.
    std::filesystem::path folder() const;
    // Whether the new file has a name of its own already (where the file
    // system cannot make unnamed files), which a signal must remove; only a
    // few such names can be kept track of at once.
    bool holdsTemporaryName() const { return !name_.empty(); }

    // Gives the finished file what a replaced one had.
    void complete();
    // Completes the file and makes it durable.
    void sync();
    // The same for a file of a group: where one sync of the whole file system
    // is as sound as each file's own sync, that sync is made once for all the
    // files of `synced` file systems, which must all be complete by then.
    void syncInGroup(std::set<std::uint64_t>& synced);
    // Gives the synced file the output name, durably.
    void takeName();
    // Gives the synced file the output name; durable once syncFolder() has
    // followed, which a group does once for each folder.
    void takeNameInGroup();
    void syncFolder() const;

private:
    void plan(sys::File input);
    void planBackup();
    void refuseLinkNotFollowed(const sys::FollowedName& followed) const;
    void requireModelFile(const sys::FileStatus& found) const;
    void requireTargetAsPlanned() const;
    void noteReplaced(const sys::FileStatus& found);
    void makeTemporaryFile();
    void giveOwner();
    // Tries hidden names in the folder until `make` gives a file one (an
    // error of file_exists: the name was taken), registering it in `name`
    // for removal in one step.
    template <typename Make>
    void takeHiddenName(TemporaryName& name, const std::string& failure, Make make);
    // Makes a name that is new by giving the file that name at once; false
    // where the name exists after all, or the system cannot.
    bool linkAsNewName();
    void keepReplacedAsBackup();
    void renameOverTarget();

    const std::filesystem::path output_;  // as the caller named it, for messages
    const OutputOptions options_;
    std::filesystem::path target_;  // the file the name leads to
    std::filesystem::path backup_;
    OutputLanding backupLanding_;
    bool throughLink_ = false;
    std::optional<sys::FileStatus> replaced_;  // none for a name that is new
    std::vector<sys::Attribute> keptAttributes_;
    OutputLanding landing_;
    TemporaryName name_;
    FileDescriptor file_;
    bool completed_ = false;
};

}  // namespace morvane
