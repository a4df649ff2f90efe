#include "model/safe_output.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <utility>

#include "file_kind.h"
#include "model/model_file.h"
#include "model/path_text.h"
#include "model/posix_file.h"
#include "model/remove_on_signal.h"
#include "model/temporary_name.h"
#include "system_error.h"

namespace morvane {

namespace fs = std::filesystem;

namespace {

// Where the new model goes: an output name that is a symbolic link is
// written through to the file it names. A replaced file keeps its
// attributes, access control list and owner through ReplaceFileW.
struct OutputPlan {
    fs::path output;  // as the caller named it, for messages
    fs::path target;
    bool replacing = false;
    DWORD attributes = 0;  // of the replaced file
    bool link = false;     // whether output is a link to target
    OutputLanding landing;
};

// What a replaced file's attributes say about it that its replacement keeps
// too, whether or not ReplaceFileW carries them over itself.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool IsNotThere(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool IsLink(const fs::path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

[[noreturn]] void refuseDanglingLink(const fs::path& output) {
    std::error_code ignored;
    const fs::path destination = fs::read_symlink(output, ignored);
    throw FileError(Quoted(output) + " is a symbolic link to " + Quoted(destination) +
                    ", which does not exist; refusing to replace the link");
}

// Opens whatever the name leads to, links followed, only to look at it.
UniqueHandle openToLookAt(const fs::path& path) {
    return UniqueHandle(::CreateFileW(path.c_str(), 0,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// ReplaceFileW wants the folder of the file it replaces spelt out.
fs::path spelledOut(const fs::path& path) {
    std::error_code ignored;
    const fs::path full = fs::absolute(path, ignored);
    return full.empty() ? path : full;
}

fs::path finalPath(const fs::path& output, HANDLE handle) {
    std::wstring path(32768, L'\0');
    const DWORD length =
        ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()), 0);
    if (length == 0 || length >= path.size()) {
        return output;
    }
    path.resize(length);
    return fs::path(path);
}

// The system spells a final path in its \\?\ form, which people do not write.
fs::path asPeopleWriteIt(const fs::path& path) {
    const std::wstring& text = path.native();
    if (text.starts_with(LR"(\\?\UNC\)")) {
        return LR"(\\)" + text.substr(8);
    }
    return text.starts_with(LR"(\\?\)") ? fs::path(text.substr(4)) : path;
}

DWORD attributesOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information{};
    return ::GetFileInformationByHandle(file, &information) ? information.dwFileAttributes : 0;
}

// Windows keeps a read-only file from being replaced, as from being deleted;
// the user is told so before the model is written.
void requireWritable(const fs::path& output, DWORD attributes) {
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        RefuseReadOnly(output);
    }
}

// The name compared as Windows compares names: spelt out, in any case, and
// without the dots and spaces that it drops from the end of a name.
fs::path::string_type placeOf(const fs::path& target) {
    std::wstring full(32768, L'\0');
    const DWORD length = ::GetFullPathNameW(asPeopleWriteIt(target).c_str(),
                                            static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) {
        return NameKey(target).native();
    }
    full.resize(length);
    return NameKey(fs::path(full)).native();
}

OutputLanding landingOf(const fs::path& target, HANDLE existing) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (existing == INVALID_HANDLE_VALUE || !::GetFileInformationByHandle(existing, &information)) {
        return {0, 0, placeOf(target)};
    }
    return {information.dwVolumeSerialNumber,
            std::uint64_t{information.nFileIndexHigh} << 32 | information.nFileIndexLow,
            placeOf(target)};
}

OutputPlan planOutput(int inputFd, const fs::path& output) {
    RequireNoDeviceName(output);
    const UniqueHandle existing = openToLookAt(output);
    if (!existing.isOpen()) {
        const DWORD error = ::GetLastError();
        if (!IsNotThere(error)) {
            FailWithSystemError("cannot write " + Quoted(output), error);
        }
        if (IsLink(output)) {
            refuseDanglingLink(output);
        }
        return {output, output, false, 0, false, landingOf(output, INVALID_HANDLE_VALUE)};
    }
    RequireFileOnDisk(output, existing.get());
    const auto input = reinterpret_cast<HANDLE>(::_get_osfhandle(inputFd));
    if (IsSameFile(input, existing.get())) {
        throw FileError("refusing to write " + Quoted(output) +
                        ": it is the input model itself, which would be lost");
    }
    const DWORD attributes = attributesOf(existing.get());
    requireWritable(output, attributes);
    const bool link = IsLink(output);
    const fs::path target = link ? finalPath(output, existing.get()) : spelledOut(output);
    return {output, target, true, attributes, link, landingOf(target, existing.get())};
}

fs::path folderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

// Short, and independent of the output's own name, so that any name the file
// system takes can be written.
fs::path temporaryNameIn(const fs::path& folder) {
    static std::mt19937 generator{std::random_device{}()};
    wchar_t name[32];
    std::swprintf(name, 32, L".morvane-%08x", static_cast<unsigned>(generator()));
    return folder / name;
}

// The new model while it is written: a file beside the output, under a name
// of its own until it is complete. It may be removed by name while open, so
// that an ending program can take it away.
class TemporaryOutput final : public SafeOutput {
public:
    explicit TemporaryOutput(OutputPlan plan) : plan_(std::move(plan)) {
        UniqueHandle handle = create();
        const int fd =
            ::_open_osfhandle(reinterpret_cast<intptr_t>(handle.get()), _O_WRONLY | _O_BINARY);
        if (fd < 0) {
            FailWith("cannot write " + Quoted(plan_.output), errno);
        }
        handle.release();
        fd_ = FileDescriptor(fd);
    }

    int fd() const override { return fd_.get(); }

    void sync() override {
        const auto handle = reinterpret_cast<HANDLE>(::_get_osfhandle(fd()));
        if (plan_.replacing) {
            keepAttributes(handle);
        }
        if (!::FlushFileBuffers(handle)) {
            FailWithSystemError("cannot write " + Quoted(plan_.output), ::GetLastError());
        }
    }

    void name() override {
        UninterruptedNaming naming;
        nameInBatch();
        naming.nameGiven();
    }

    void nameInBatch() override {
        if (const int error = fd_.close(); error != 0) {
            FailWith("cannot write " + Quoted(plan_.output), error);
        }
        requireTargetAsPlanned();
        if (plan_.replacing) {
            replaceTarget();
        } else {
            moveToTarget();
        }
        name_.release();
    }

    // Windows has no sync of a whole file system for a program to ask for,
    // and a rename that writes through needs no sync of the folder: a batch
    // takes each model's own way, each waiting under a temporary name of its
    // own.
    void complete() override {}
    bool syncFileSystem() const override { return false; }
    std::uint64_t fileSystem() const override { return 0; }
    bool holdsTemporaryName() const override { return true; }
    fs::path folder() const override { return folderOf(plan_.target); }
    const OutputLanding& landing() const override { return plan_.landing; }
    fs::path linkTarget() const override {
        return plan_.link ? asPeopleWriteIt(plan_.target) : fs::path();
    }
    void syncFolder() const override {}

private:
    void keepAttributes(HANDLE handle) {
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = plan_.attributes & kKeptAttributes;
        if (basic.FileAttributes != 0 &&
            !::SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof basic)) {
            FailWithSystemError(
                "cannot give the new model the attributes of " + Quoted(plan_.output),
                ::GetLastError());
        }
    }

    UniqueHandle create() {
        const fs::path folder = folderOf(plan_.target);
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = temporaryNameIn(folder);
            UniqueHandle handle(::CreateFileW(candidate.c_str(), GENERIC_WRITE, FILE_SHARE_DELETE,
                                              nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (handle.isOpen()) {
                name_.adopt(candidate);
                return handle;
            }
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
                FailWithSystemError("cannot write in the folder " + Quoted(folder), error);
            }
        }
        FailWithSystemError("cannot write in the folder " + Quoted(folder), ERROR_FILE_EXISTS);
    }

    // Checked again right before the new model takes the name, which would
    // otherwise put it in the place of whatever took the name meanwhile.
    void requireTargetAsPlanned() const {
        const UniqueHandle now = openToLookAt(plan_.target);
        if (!now.isOpen()) {
            return;
        }
        RequireFileOnDisk(plan_.output, now.get());
        if (!plan_.replacing) {
            throw FileError(Quoted(plan_.output) +
                            " was created by another program while the model was written; it "
                            "was left as it is");
        }
    }

    void replaceTarget() {
        if (!::ReplaceFileW(plan_.target.c_str(), name_.path().c_str(), nullptr,
                            REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
            FailWithSystemError("cannot give the new model the name " + Quoted(plan_.output),
                                ::GetLastError());
        }
    }

    void moveToTarget() {
        if (!::MoveFileExW(name_.path().c_str(), plan_.target.c_str(), MOVEFILE_WRITE_THROUGH)) {
            FailWithSystemError("cannot give the new model the name " + Quoted(plan_.output),
                                ::GetLastError());
        }
    }

    const OutputPlan plan_;
    TemporaryName name_;
    FileDescriptor fd_;
};

}  // namespace

std::optional<OutputLanding> LandingOfFile(const fs::path& file) {
    const UniqueHandle handle = openToLookAt(file);
    if (!handle.isOpen()) {
        return std::nullopt;
    }
    OutputLanding landing = landingOf(file, handle.get());
    landing.place.clear();
    return landing;
}

std::unique_ptr<SafeOutput> OpenSafeOutput(int inputFd, const fs::path& output) {
    return std::make_unique<TemporaryOutput>(planOutput(inputFd, output));
}

// A batch keeps only a few temporary names at once anyway.
std::size_t MostOutputsWaitingAtOnce() {
    return SIZE_MAX;
}

}  // namespace morvane
