#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "model/files/system_calls.h"

// The file layer's system calls, seen and made to fail through the table they
// all pass through: the tests see in which order a rewrite makes its files
// and names durable, and can make any of those calls fail as a disk or a file
// system would.
namespace morvane::testing::faults {

struct Failure {
    int callsBefore;  // that succeed first
    int error;        // a generic error number, as EIO
    int times = 1;
};

// "fsync file", "fsync folder NAME", "syncfs" and "name NAME" (linked or renamed).
inline std::vector<std::string> calls;
inline std::map<std::string, Failure> failures;  // by the call's name
inline std::map<std::string, int> counts;
inline std::int64_t bytesRead = 0;
// The files made to write a new model in, whose close may fail.
inline std::set<sys::File> written;

inline void reset(std::map<std::string, Failure> failing = {}) {
    calls.clear();
    counts.clear();
    failures = std::move(failing);
}

// The error the call is to fail with this time, if any.
inline std::error_code fails(const std::string& call) {
    ++counts[call];
    const auto failure = failures.find(call);
    if (failure == failures.end() || failure->second.callsBefore-- > 0) {
        return {};
    }
    const int error = failure->second.error;
    if (--failure->second.times == 0) {
        failures.erase(failure);
    }
    return {error, std::generic_category()};
}

inline std::string named(const std::filesystem::path& to) {
    return "name " + to.filename().string();
}

inline const sys::Calls& native() {
    return sys::NativeCalls();
}

// The system's own calls, each noted and each made to fail when asked.
inline void Inject() {
    sys::Calls& table = sys::SystemCalls();
    table.openToRead = [](const std::filesystem::path& path, sys::File& file) {
        const std::error_code error = fails("open");
        return error ? error : native().openToRead(path, file);
    };
    table.write = [](sys::File file, const char* data, std::size_t size) {
        const std::error_code error = fails("write");
        return error ? error : native().write(file, data, size);
    };
    table.giveOwner = [](sys::File file, std::uint32_t user, std::uint32_t group) {
        const std::error_code error = fails("chown");
        return error ? error : native().giveOwner(file, user, group);
    };
    table.giveMode = [](sys::File file, std::uint32_t mode, std::uint32_t& given) {
        const std::error_code error = fails("chmod");
        return error ? error : native().giveMode(file, mode, given);
    };
    table.syncFileSystem = [](sys::File file) {
        calls.push_back("syncfs");
        const std::error_code error = fails("syncfs");
        return error ? error : native().syncFileSystem(file);
    };
    table.syncFile = [](sys::File file) {
        calls.push_back("fsync file");
        const std::error_code error = fails("fsync");
        return error ? error : native().syncFile(file);
    };
    table.syncFolder = [](const std::filesystem::path& folder) {
        std::error_code unknown;
        const std::filesystem::path known = std::filesystem::weakly_canonical(folder, unknown);
        calls.push_back("fsync folder " + (unknown ? folder : known).filename().string());
        const std::error_code error = fails("fsync");
        return error ? error : native().syncFolder(folder);
    };
    table.createUnnamed = [](const std::filesystem::path& folder, bool replacement,
                             sys::File& file) {
        if (const std::error_code error = fails("create")) {
            return error;
        }
        const std::error_code error = native().createUnnamed(folder, replacement, file);
        written.insert(file);
        return error;
    };
    table.createNamed = [](const std::filesystem::path& name, bool replacement, sys::File& file) {
        if (const std::error_code error = fails("create")) {
            return error;
        }
        const std::error_code error = native().createNamed(name, replacement, file);
        written.insert(file);
        return error;
    };
    table.linkUnnamed = [](sys::File file, const std::filesystem::path& name) {
        calls.push_back(named(name));
        return native().linkUnnamed(file, name);
    };
    table.rename = [](const std::filesystem::path& from, const std::filesystem::path& to) {
        calls.push_back(named(to));
        const std::error_code error = fails("rename");
        return error ? error : native().rename(from, to);
    };
    // Only the close of a file written to fails; it is closed all the same.
    table.close = [](sys::File file) {
        const bool wasWritten = written.erase(file) > 0;
        const std::error_code closed = native().close(file);
        const std::error_code error = wasWritten ? fails("close") : std::error_code();
        return error ? error : closed;
    };
    table.read = [](sys::File file, char* data, std::size_t size, std::size_t& got) {
        const std::error_code error = fails("read");
        got = 0;
        const std::error_code read = error ? error : native().read(file, data, size, got);
        bytesRead += static_cast<std::int64_t>(got);
        return read;
    };
    table.copyInKernel = [](sys::File from, sys::File to, std::size_t size, std::size_t& copied) {
        const std::error_code error = fails("copy_file_range");
        copied = 0;
        return error ? error : native().copyInKernel(from, to, size, copied);
    };
}

}  // namespace morvane::testing::faults
