// What the window tells a person of each way a save is refused or fails:
// the plain sentence and what to do, and under them the technical line,
// exactly as the rewrite words it. Each refusal and failure is made real, on
// files or through the file layer's table of system calls.
#include "plain_words.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "model/files/model_file.h"
#include "support/faulty_calls.h"
#include "support/file_rewrite.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

#ifdef _WIN32
#include "model/files/windows/system_error.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace morvane::ui {
namespace {

namespace fs = std::filesystem;
using namespace morvane::testing;

const std::string kModel = containerHeader() + chunk(kPrim, 0, 12, payload(12));
const std::string kPrecious = "an older model that must survive";
const std::string kAnotherName = "Choose another name for the new model.";
const std::string kTryAgainLater = "Close some other programs, then try again.";

std::string quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

std::string reason(int error) {
    return std::generic_category().message(error);
}

// The system's own words for what opening `path` meets.
std::string openingReason(const fs::path& path) {
    sys::File file = sys::kNoFile;
    const std::error_code error = sys::NativeCalls().openToRead(path, file);
    if (!error) {
        sys::NativeCalls().close(file);
    }
    return error.message();
}

// A trace that stops arriving at once, as a closed pipe would.
class LostTrace final : public TraceTarget {
public:
    std::ostream& stream() override { return out_; }
    std::error_code flush() override { return std::make_error_code(std::errc::broken_pipe); }

private:
    std::ostringstream out_;
};

class PlainWords : public ::testing::Test {
protected:
    PlainWords() {
        faults::reset();
        faults::Inject();
    }
    ~PlainWords() override {
        faults::reset();
        sys::SystemCalls() = sys::NativeCalls();
    }

    fs::path Write(const char* name, const std::string& bytes) const {
        writeFile(folder / name, bytes);
        return folder / name;
    }

    // The save as the window runs it: the model prepared, then rewritten.
    static PlainMessage Saving(const fs::path& input, const fs::path& output,
                               const RewriteProgress& progress = {}, TraceTarget* trace = nullptr,
                               int volumes = 1) {
        std::ostringstream kept;
        StreamTrace toTest(kept);
        RewriteSession session(input);
        session.rewrite(output, {volumes, RewrittenBefore::Rewrite,
                                 trace != nullptr ? trace : &toTest, progress});
        const RewriteOutcome& outcome = session.outcome();
        EXPECT_TRUE(outcome.status == RewriteOutcome::Status::Refused ||
                    outcome.status == RewriteOutcome::Status::Failed)
            << "saved";
        return PlainMessageFor(outcome);
    }

    static void ExpectTold(const PlainMessage& told, const std::string& text,
                           const std::string& details) {
        EXPECT_EQ(told.text, text);
        EXPECT_EQ(told.details, details);
    }

    TempFolder folder;
};

TEST_F(PlainWords, AModelThatBreaksARuleOfTheFormatIsToldWhatIsWrongWithIt) {
    const std::string header = containerHeader();
    const std::string incomplete =
        "It may have been cut short while it was copied or saved. Choose a complete copy of it.";
    const std::string damaged = "Choose a copy of the model that is not damaged.";
    const struct {
        std::string model;
        std::string text;
        std::string problem;
    } refusals[] = {
        {"Hello, world", "This file is not a ZRM model.\nChoose a file that holds a ZRM model.",
         "not a ZRM model: it begins with 0x6C6C6548 ('lleH') where the ZRM4 container header "
         "must stand"},
        {header + words({kXyzs, 0}),
         "This model is incomplete: it ends inside a chunk's header.\n" + incomplete,
         "XYZS chunk at offset 12: the header is cut off after 8 of its 12 bytes"},
        {header + chunk(kXyzs, 0, 4, payload(4)) + chunk(kPrim, 0, 8, payload(7)),
         "This model is incomplete: it ends inside a PRIM chunk.\n" + incomplete,
         "PRIM chunk at offset 28: the payload needs 8 bytes, only 7 remain"},
        {header + chunk(kNorm, 0, 0xFFFFFFF8u, ""),
         "This model is damaged: a NORM chunk has a negative size.\n" + damaged,
         "NORM chunk at offset 12: the size word is negative (-8)"},
        {header + chunk(kHand, 0, 6, payload(8)),
         "This model is damaged: the size of a HAND chunk is not a whole number of 4-byte "
         "words.\n" +
             damaged,
         "HAND chunk at offset 12: the size word (6) is not a whole number of 4-byte words, so "
         "the chunks after it cannot be found"},
        {header + chunk(kStrn, 0, 0x7FFFFFFFu, ""),
         "This model is damaged: a STRN chunk has a size larger than a ZRM model can hold.\n" +
             damaged,
         "STRN chunk at offset 12: the padded size (2147483648) does not fit in the format's "
         "signed 32-bit words"},
    };
    const fs::path output = Write("out.zrm", kPrecious);
    for (const auto& [model, text, problem] : refusals) {
        SCOPED_TRACE(problem);
        const fs::path input = Write("in.zrm", model);
        ExpectTold(Saving(input, output), text, quoted(input) + ": " + problem);
    }
    EXPECT_EQ(readFile(output), kPrecious);
}

#ifndef _WIN32
// Sparse files, costing no disk: a PRIM chunk that the block would take past
// the largest word, and a model whose rewrite would.
TEST_F(PlainWords, AModelThatWouldGrowTooLargeIsNotCalledDamaged) {
    const std::string tooLarge =
        "This model is too large: rewritten, it would be larger than a ZRM model can be (2 GiB).";
    const std::pair<std::string, std::string> models[] = {
        {chunk(kPrim, 0, 0x7FFFFFF8u, ""),
         "PRIM chunk at offset 12: the extended size word (2147483652)"},
        {chunk(kXyzs, 0, 0x7FFFFFD4u, ""),
         "XYZS chunk at offset 12: the rewritten model's byte count with its closing HAND chunk "
         "(2147483648)"},
    };
    for (const auto& [body, problem] : models) {
        const fs::path input = Write("big.zrm", containerHeader() + body);
        fs::resize_file(input, std::uintmax_t{3} << 30);
        ExpectTold(
            Saving(input, folder / "out.zrm"), tooLarge,
            quoted(input) + ": " + problem + " does not fit in the format's signed 32-bit words");
    }
}
#endif

TEST_F(PlainWords, AFileTheSaveWillNotTakeIsToldWithWhatToDo) {
    const fs::path input = Write("in.zrm", kModel);
    const fs::path output = folder / "out.zrm";
    const fs::path adir = folder / "adir";
    fs::create_directory(adir);
    const fs::path readOnly = Write("readonly.zrm", kPrecious);
    fs::permissions(readOnly,
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const fs::path gone = folder / "gone.zrm";
    const fs::path nowhere = folder / "nowhere" / "out.zrm";
    const struct {
        fs::path input;
        fs::path output;
        std::string text;
        std::string details;
    } saves[] = {
        {input, adir,
         quoted(adir) + " is a folder, not a file a model can be saved to.\n" + kAnotherName,
         quoted(adir) + " is a folder, not a model file"},
        {adir, output, "This is a folder, not a model file.\nChoose a ZRM model file.",
         quoted(adir) + " is a folder, not a model file"},
        {input, input,
         "The new model cannot be saved over the model it is made from.\n" + kAnotherName,
         "refusing to write " + quoted(input) +
             ": it is the input model itself, which would be "
             "lost"},
        {input, readOnly,
         quoted(readOnly) +
             " is read-only.\nMake it writable, or choose another name for the new model.",
         quoted(readOnly) + " is read-only; make it writable to replace it"},
        {gone, output,
         "The model could not be found.\nIt may have been moved, renamed or deleted. Choose it "
         "again.",
         "cannot open the model " + quoted(gone) + ": " + openingReason(gone)},
        {input, nowhere,
         "The folder " + quoted(nowhere.parent_path()) +
             " does not exist.\nChoose a folder that exists.",
         "cannot write in the folder " + quoted(nowhere.parent_path()) + ": " +
             openingReason(nowhere)},
    };
    for (const auto& [from, to, text, details] : saves) {
        SCOPED_TRACE(from.filename().string() + " to " + to.filename().string());
        ExpectTold(Saving(from, to), text, details);
    }
    EXPECT_EQ(readFile(readOnly), kPrecious);
    EXPECT_EQ(folder.listing(), "adir in.zrm readonly.zrm ");
}

// A device on Windows; a named pipe, whose open must not wait, elsewhere.
TEST_F(PlainWords, ASpecialFileIsNeitherAModelNorAPlaceToSaveOne) {
    const fs::path input = Write("in.zrm", kModel);
#ifdef _WIN32
    const fs::path special = folder / "nul.zrm";
    const std::string kind = "a device";
#else
    const fs::path special = folder / "pipe";
    ASSERT_EQ(::mkfifo(special.c_str(), 0666), 0);
    const std::string kind = "a named pipe (FIFO)";
#endif
    const std::string details = quoted(special) + " is " + kind + ", not a model file";
    ExpectTold(Saving(special, folder / "out.zrm"),
               "This is a device or another special file, not a model file.\nChoose a ZRM model "
               "file.",
               details);
    ExpectTold(Saving(input, special),
               quoted(special) +
                   " is a device or another special file, not a file a model can be saved to.\n" +
                   kAnotherName,
               details);
}

// The link the output name would be written through is named, not what it
// leads to.
TEST_F(PlainWords, ALinkTheSaveWillNotWriteThroughIsNamed) {
    const fs::path input = Write("in.zrm", kModel);
    static fs::path planted;
    planted = folder / "planted.zrm";
    sys::SystemCalls().followLinks = [](const fs::path& name, sys::FollowedName& followed) {
        followed = {name, true, std::nullopt,
                    sys::PlantedLink{planted, planted.parent_path(), 1234}};
        return std::error_code();
    };
    ExpectTold(Saving(input, folder / "out.zrm"),
               quoted(planted) +
                   " is a link that another user made in a folder that everyone may write "
                   "to.\nSave the model in a folder of your own.",
               "refusing to write through " + quoted(planted) +
                   ": it is a symbolic link that another user (user 1234) made in " +
                   quoted(folder.path()) + ", a folder that everyone may write to");
#ifndef _WIN32
    sys::SystemCalls() = sys::NativeCalls();
    const fs::path dangling = folder / "dangling.zrm";
    fs::create_symlink("gone/out.zrm", dangling);
    ExpectTold(Saving(input, dangling),
               quoted(dangling) + " is a link to a file that does not exist.\n" + kAnotherName,
               quoted(dangling) +
                   " is a symbolic link to 'gone/out.zrm', which does not exist; refusing to "
                   "replace the link");
#endif
}

// Another program makes the output as the model is read; the name it took is
// left to it.
TEST_F(PlainWords, AnOutputAnotherProgramMadeMeanwhileIsLeftAsItIs) {
    const fs::path input = Write("in.zrm", kModel);
    const fs::path output = folder / "out.zrm";
    const auto makeOutput = [&](std::int64_t, std::int64_t) {
        if (!fs::exists(output)) {
            writeFile(output, kPrecious);
        }
        return true;
    };
    ExpectTold(Saving(input, output, makeOutput),
               "Another program made " + quoted(output) +
                   " while the model was being saved; it was left as it is.\nSave again to "
                   "replace it, or choose another name.",
               quoted(output) +
                   " was created by another program while the model was written; it was left as "
                   "it is");
    EXPECT_EQ(readFile(output), kPrecious);
}

#ifndef _WIN32
// Windows keeps others from writing to a model while it is read.
TEST_F(PlainWords, AModelThatChangesAsItIsReadIsToldSo) {
    const fs::path input = Write("in.zrm", kModel);
    const auto grow = [&](std::int64_t, std::int64_t) {
        std::ofstream(input, std::ios::binary | std::ios::app) << "more";
        return true;
    };
    ExpectTold(Saving(input, folder / "out.zrm", grow),
               "The model changed while it was being read.\nAnother program may be writing it. "
               "Wait until it has finished, then try again.",
               "cannot read the model " + quoted(input) + ": it changed while it was read");
}
#endif

// Reasons the system gives, each turned into what it means to people; the
// technical line keeps the system's own words.
TEST_F(PlainWords, AFailedCallIsToldByWhatItsReasonMeans) {
    const fs::path input = Write("in.zrm", kModel);
    const fs::path output = folder / "out.zrm";
    const std::string diskFull =
        "There is not enough room on the disk for the new model.\nFree some space, or save it on "
        "another disk.";
    const std::string writing = "cannot write the model " + quoted(input) + " to " + quoted(output);
    const std::string noFolder = "You cannot write to the folder " + quoted(folder.path()) +
                                 ".\nChoose another folder, or ask for permission to write there.";
    const std::string opening = "cannot open the model " + quoted(input);
    struct Failure {
        const char* call;
        int callsBefore;
        int error;
        bool replacing;
        std::string text;
        std::string details;  // before the system's reason
        int times = 1;
    };
    std::vector<Failure> failures = {
        {"write", 0, ENOSPC, false, diskFull, writing},
        {"fsync", 0, ENOSPC, true, diskFull, "cannot write " + quoted(output)},
        {"write", 0, EFBIG, false,
         "The new model is larger than the system allows this program to write.\nSave it on "
         "another disk, or ask your administrator to raise the limit on file sizes.",
         writing},
        {"create", 0, EACCES, false, noFolder,
         "cannot write in the folder " + quoted(folder.path())},
        {"rename", 0, EPERM, true, noFolder,
         "cannot give the new model the name " + quoted(output)},
        {"create", 0, EROFS, true,
         "The folder " + quoted(folder.path()) +
             " is on a disk that cannot be written to.\nSave the model on another disk.",
         "cannot write in the folder " + quoted(folder.path())},
        {"rename", 0, EBUSY, true,
         quoted(output) + " is in use by another program.\nClose it there, then save again.",
         "cannot give the new model the name " + quoted(output)},
        {"open", 0, EACCES, false,
         "You do not have permission to read this model.\nAsk its owner for access, or choose a "
         "copy you can read.",
         opening},
        {"open", 0, EBUSY, false,
         "Another program has this model open for writing.\nWait until it has finished, then try "
         "again.",
         opening},
        {"open", 0, EMFILE, false, "Too many files are open at the moment.\n" + kTryAgainLater,
         opening},
        {"open", 0, ENOMEM, false,
         "There is not enough memory to save the model.\n" + kTryAgainLater, opening},
        // Every read: the check for a carried block passes over a model it cannot read.
        {"read", 0, EIO, false,
         "The model could not be read.\nCheck that its disk or network folder can be reached, "
         "then try again.",
         "cannot read the model " + quoted(input), 1000},
        {"fsync", 1, EIO, false,
         "The new model was saved as " + quoted(output) +
             ", but the system could not confirm that it is safely on the disk.\nSave it again "
             "to be sure.",
         "wrote " + quoted(output) + " but cannot sync its folder"},
        {"chmod", 0, EPERM, true,
         "The new model could not be given the permissions and attributes that " + quoted(output) +
             " has.\n" + kAnotherName,
         "cannot give the new model the permissions of " + quoted(output)},
        {"close", 0, EIO, false, "The model could not be saved.", "cannot write " + quoted(output)},
    };
#ifdef EDQUOT
    failures.push_back({"write", 0, EDQUOT, false, diskFull, writing});
#endif
#ifndef _WIN32
    failures.push_back(
        {"chown", 0, EPERM, true,
         quoted(output) + " belongs to another user, and the new model cannot be given to them.\n" +
             kAnotherName,
         "cannot replace " + quoted(output) + " with a file of the same owner and group (user " +
             std::to_string(::getuid()) + ", group " + std::to_string(::getgid()) + ")"});
#endif
    for (const auto& [call, callsBefore, error, replacing, text, details, times] : failures) {
        SCOPED_TRACE(std::string(call) + " " + reason(error));
        fs::remove(output);
        if (replacing) {
            writeFile(output, kPrecious);
        }
        faults::reset({{call, {callsBefore, error, times}}});
        ExpectTold(Saving(input, output), text, details + ": " + reason(error));
        EXPECT_GT(faults::counts[call], callsBefore) << "the call did not fail";
    }
}

#ifdef _WIN32
// Windows gives reasons of its own; each is told as the same reason is told
// elsewhere, and the technical line keeps Windows' own sentence.
TEST_F(PlainWords, AWindowsReasonIsToldAsWhatItMeans) {
    const fs::path input = Write("in.zrm", kModel);
    const fs::path output = folder / "out.zrm";
    static std::error_code failure;
    sys::SystemCalls().write = [](sys::File, const char*, std::size_t) { return failure; };
    const std::string diskFull =
        "There is not enough room on the disk for the new model.\nFree some space, or save it on "
        "another disk.";
    const std::pair<DWORD, std::string> reasons[] = {
        {ERROR_DISK_FULL, diskFull},
        {ERROR_HANDLE_DISK_FULL, diskFull},
        {1295, diskFull},  // ERROR_DISK_QUOTA_EXCEEDED
        {ERROR_FILE_TOO_LARGE,
         "The new model is larger than the system allows this program to write.\nSave it on "
         "another disk, or ask your administrator to raise the limit on file sizes."},
        {ERROR_WRITE_PROTECT, "The folder " + quoted(folder.path()) +
                                  " is on a disk that cannot be written to.\nSave the model on "
                                  "another disk."},
        {ERROR_NOT_ENOUGH_MEMORY,
         "There is not enough memory to save the model.\n" + kTryAgainLater},
    };
    for (const auto& [code, text] : reasons) {
        SCOPED_TRACE(code);
        failure = WindowsError(code);
        ExpectTold(Saving(input, output), text,
                   "cannot write the model " + quoted(input) + " to " + quoted(output) + ": " +
                       failure.message());
    }
    sys::SystemCalls() = sys::NativeCalls();
    sys::SystemCalls().openToRead = [](const fs::path&, sys::File&) {
        return OpenForWritingElsewhere();
    };
    ExpectTold(
        Saving(input, output),
        "Another program has this model open for writing.\nWait until it has finished, "
        "then try again.",
        "cannot open the model " + quoted(input) + ": " + OpenForWritingElsewhere().message());
    EXPECT_EQ(folder.listing(), "in.zrm ");
}
#endif

TEST_F(PlainWords, WhatStopsASaveFromOutsideItsFilesIsToldToo) {
    const fs::path input = Write("in.zrm", kModel);
    const fs::path output = folder / "out.zrm";
    LostTrace lost;
    ExpectTold(Saving(input, output, {}, &lost),
               "The model was not saved: the trace of its rewrite could not be written.\nCheck "
               "where the program's output goes, then save again.",
               "cannot write the trace to standard output: " + reason(EPIPE) + "; " +
                   quoted(output) + " was left as it was");
    sys::SystemCalls().read = [](sys::File, char*, std::size_t, std::size_t&) -> std::error_code {
        throw std::bad_alloc();
    };
    ExpectTold(Saving(input, output),
               "There is not enough memory to save the model.\n" + kTryAgainLater,
               "cannot rewrite " + quoted(input) + ": out of memory; " + quoted(output) +
                   " was left as it was");
    sys::SystemCalls() = sys::NativeCalls();
    ExpectTold(Saving(input, output, {}, nullptr, 0), "The model could not be saved.",
               "the number of collision volumes must be from 1 to 1000, not 0");
    EXPECT_EQ(folder.listing(), "in.zrm ");
}

// A model named on the window's command line is opened before any save: it
// is told in the words its save would use.
TEST_F(PlainWords, AModelThatCannotBeOpenedIsToldAsItsSaveWouldTellIt) {
    const fs::path adir = folder / "adir";
    fs::create_directory(adir);
    for (const fs::path& model : {folder / "gone.zrm", adir}) {
        SCOPED_TRACE(model);
        try {
            ModelFile{model};
            ADD_FAILURE() << "opened";
        } catch (const FileError& refusal) {
            const PlainMessage opened = PlainMessageFor(refusal);
            const PlainMessage saved = Saving(model, folder / "out.zrm");
            EXPECT_EQ(opened.text, saved.text);
            EXPECT_EQ(opened.details, saved.details);
            EXPECT_NE(opened.text.find('\n'), std::string::npos) << "no advice";
        }
    }
}

}  // namespace
}  // namespace morvane::ui
