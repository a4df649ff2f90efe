// The window's scenarios, written once and run on each rendering through its
// WindowDriver: Qt on Linux, Win32 under Wine.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "model/files/model_file.h"
#include "model/files/system_calls.h"
#include "model/volume_count.h"
#include "platform/window_commands.h"
#include "resources/resource.h"
#include "support/file_rewrite.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"
#include "window_driver.h"

namespace morvane::ui::scenarios {
namespace {

using namespace morvane::testing;

const std::string kModel = containerHeader() + chunk(kPrim, 0, 12, payload(12));

// Choosing a model puts the stored count back in the field; a cancelled
// chooser changes nothing.
TEST_F(WindowScenario, ChooseAndSave) {
    const auto input = Write("in.zrm", kModel);
    user->Open();
    user->Click(IDC_SAVE);
    EXPECT_EQ(user->said, std::vector<std::string>{"Choose a ZRM model to read first (step 1)."});

    user->TypeCount("7");
    user->chooserAnswers = {input, std::nullopt};
    user->Click(IDC_CHOOSE);
    EXPECT_EQ(user->FieldText(IDC_FILENAME), Chosen(input));
    EXPECT_EQ(user->FieldText(IDC_VOLUMES), "1");
    user->TypeCount("3");
    user->Click(IDC_CHOOSE);
    EXPECT_EQ(user->FieldText(IDC_FILENAME), Chosen(input));
    user->chooserAnswers = {std::nullopt, folder / "out.zrm"};
    user->Click(IDC_SAVE);
    EXPECT_EQ(folder.listing(), "in.zrm ");
    user->Click(IDC_SAVE);

    EXPECT_EQ(readFile(folder / "out.zrm"), rewriteInMemory(kModel, 3).output);
    EXPECT_EQ(user->said.size(), 1u);
    ASSERT_EQ(user->requests.size(), 4u);
    EXPECT_EQ(user->requests[0].title, "Choose ZRM file to load");
    EXPECT_EQ(user->requests[0].accepts, ChooserRequest::Accepts::ExistingFile);
    EXPECT_EQ(user->requests[3].title, "Choose ZRM name to save as");
    EXPECT_EQ(user->requests[3].accepts, ChooserRequest::Accepts::NameInExistingFolder);
}

// A count is a whole decimal number, spaces and a plus sign allowed.
TEST(CountField, ReadsAWholeDecimalNumber) {
    const std::pair<const char*, std::optional<int>> texts[] = {
        {" 1 ", 1}, {"+7", 7},     {"-3", -3},  {"010", 10}, {"abc", {}},        {"", {}},
        {" ", {}},  {"12abc", {}}, {"1.5", {}}, {"+-2", {}}, {"99999999999", {}}};
    for (const auto& [text, value] : texts) {
        EXPECT_EQ(ParseWholeNumber(text), value) << text;
    }
}

// The count is read once the output has been named; Enter, the default
// Quit, reads it too.
TEST_F(WindowScenario, Counts) {
    const std::string noNumber = "Please enter a whole number.";
    const std::string outOfRange = "Please enter a whole number from 1 to 1000.";
    const std::tuple<const char*, int, std::string> counts[] = {{"1", 1, ""},
                                                                {" +1000 ", 1000, ""},
                                                                {"0", 0, outOfRange},
                                                                {"1001", 0, outOfRange},
                                                                {"12abc", 0, noNumber}};
    user->Open({Write("in.zrm", kModel)});
    for (const auto& [typed, volumes, refusal] : counts) {
        SCOPED_TRACE(typed);
        std::filesystem::remove(folder / "out.zrm");
        user->said.clear();
        user->TypeCount(typed);
        user->chooserAnswers = {folder / "out.zrm"};
        user->Click(IDC_SAVE);
        EXPECT_TRUE(user->chooserAnswers.empty());
        if (refusal.empty()) {
            EXPECT_TRUE(user->said.empty());
            EXPECT_EQ(readFile(folder / "out.zrm"), rewriteInMemory(kModel, volumes).output);
        } else {
            EXPECT_EQ(user->said, std::vector{refusal});
            EXPECT_EQ(folder.listing(), "in.zrm ");
            EXPECT_TRUE(user->CountFieldHasFocusAndIsSelected());
        }
    }
    user->said.clear();
    user->TypeCount("-3");
    user->Press(Key::Enter);
    EXPECT_TRUE(user->IsOpen());
    EXPECT_EQ(user->said, std::vector{outOfRange});
    user->TypeCount("12");
    user->Press(Key::Enter);
    EXPECT_FALSE(user->IsOpen());
    EXPECT_EQ(user->Result(), IDOK);
}

TEST_F(WindowScenario, EscapeClosesAtOnce) {
    user->Open();
    user->TypeCount("abc");
    user->Press(Key::Escape);
    EXPECT_FALSE(user->IsOpen());
    EXPECT_EQ(user->Result(), IDCANCEL);
    EXPECT_TRUE(user->said.empty());
}

// Missing, refused late in a long read, or refusing the name given: the user
// reads what is wrong and what to do, and under it the core's own words.
TEST_F(WindowScenario, RefusedSaves) {
    const std::string big = containerHeader() + chunk(kXyzs, 0, 1u << 20, payload(1u << 20));
    const auto output = folder / "out.zrm";
    const struct {
        const char* what;
        std::optional<std::string> model;
        bool readOnlyOutput;
        std::string plain;
    } refusals[] = {
        {"input gone", std::nullopt, false,
         "The model could not be found.\nIt may have been moved, renamed or deleted. Choose it "
         "again."},
        {"chunk cut off after a megabyte", big + chunk(kPrim, 0, 100, "\x01\x02\x03"), false,
         "This model is incomplete: it ends inside a PRIM chunk.\nIt may have been cut short "
         "while it was copied or saved. Choose a complete copy of it."},
        {"read-only output", kModel, true,
         "'" + DisplayText(output) +
             "' is read-only.\nMake it writable, or choose another name for the new model."},
    };
    user->Open();
    for (const auto& [what, model, readOnlyOutput, plain] : refusals) {
        SCOPED_TRACE(what);
        const auto input = model ? Write("in.zrm", *model) : folder / "in.zrm";
        Write("out.zrm", "keep");
        if (readOnlyOutput) {
            std::filesystem::permissions(output, std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::remove);
        }
        user->said.clear();
        user->chooserAnswers = {input, output};
        user->Click(IDC_CHOOSE);
        user->Click(IDC_SAVE);
        std::ostringstream trace;
        EXPECT_EQ(
            user->said,
            std::vector{Box(plain, thrownMessage([&] { rewriteFile(input, output, 1, trace); }))});
        EXPECT_EQ(readFile(folder / "out.zrm"), "keep");
        EXPECT_EQ(folder.listing(), model ? "in.zrm out.zrm " : "out.zrm ");
        EXPECT_TRUE(readFile(input) == model.value_or(""));  // may be too long to print
    }
    std::filesystem::permissions(output, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
}

// A person reads the box for a second or more while the window's timers go
// on: after a save refused at once, only the box shows, Enter closes it, and
// the window is usable again.
TEST_F(WindowScenario, ASaveRefusedAtOnceShowsOnlyItsBox) {
    const auto notAModel = Write("notes.zrm", "Hello, world");
    const auto input = Write("in.zrm", kModel);
    const std::tuple<std::filesystem::path, std::filesystem::path, std::string> saves[] = {
        {notAModel, Write("out.zrm", "keep"),
         "This file is not a ZRM model.\nChoose a file that holds a ZRM model."},
        {input, input,
         "The new model cannot be saved over the model it is made from.\nChoose another name "
         "for the new model."}};
    user->Open();
    user->readingTime = std::chrono::milliseconds(1200);
    for (const auto& [model, output, plain] : saves) {
        SCOPED_TRACE(model);
        user->said.clear();
        user->progressShown = false;
        user->boxAnswers = {kPressEnter};
        user->chooserAnswers = {model, output};
        user->Click(IDC_CHOOSE);
        user->Click(IDC_SAVE);
        std::ostringstream trace;
        EXPECT_EQ(
            user->said,
            std::vector{Box(plain, thrownMessage([&] { rewriteFile(model, output, 1, trace); }))});
        EXPECT_FALSE(user->progressShown);
    }
    EXPECT_EQ(readFile(folder / "out.zrm"), "keep");
    EXPECT_EQ(readFile(input), kModel);
    user->readingTime = {};
    user->chooserAnswers = {folder / "out.zrm"};
    user->Click(IDC_SAVE);
    EXPECT_EQ(readFile(folder / "out.zrm"), rewriteInMemory(kModel, 1).output);
    EXPECT_EQ(user->said.size(), 1u);
    EXPECT_TRUE(user->IsOpen());
}

// The window system keeps a command's low four bits for itself, so 0x10 to
// 0x1F all open the About box.
TEST_F(WindowScenario, AboutFromTheSystemMenu) {
    user->Open();
    bool afterSeparator = false;
    EXPECT_EQ(user->LastSystemMenuItem(afterSeparator), "&About morvane...");
    EXPECT_TRUE(afterSeparator);
    for (const int command : {0x0F, 0x10, 0x1F, 0x20, 0x110, 0x1010}) {
        user->SystemCommand(command);
    }
    EXPECT_EQ(user->said, (std::vector<std::string>{"About morvane", "About morvane"}));
    EXPECT_TRUE(user->IsOpen());
    user->SystemCommand(SC_CLOSE);
    EXPECT_FALSE(user->IsOpen());
    EXPECT_EQ(user->Result(), IDCANCEL);
}

// The worker's reads of the model wait until the user has cancelled from the
// progress window, or the test gives up: however fast the machine, the save
// is still running when the user cancels it.
class ReadsWaitForTheCancel {
public:
    explicit ReadsWaitForTheCancel(const WindowDriver& user) {
        s_user = &user;
        sys::SystemCalls().read = [](sys::File file, char* data, std::size_t size,
                                     std::size_t& got) {
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
            while (std::this_thread::get_id() != s_user->windowThread &&
                   !s_user->progressCancelled && std::chrono::steady_clock::now() < giveUp) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
            return sys::NativeCalls().read(file, data, size, got);
        };
    }
    ~ReadsWaitForTheCancel() { sys::SystemCalls() = sys::NativeCalls(); }

private:
    static inline const WindowDriver* s_user = nullptr;
};

TEST_F(WindowScenario, CancelOfALongSave) {
    const auto input = Write("in.zrm", kModel);
    const auto output = Write("out.zrm", "keep");
    user->Open({input});
    const ReadsWaitForTheCancel waiting(*user);
    user->cancelProgress = true;
    user->chooserAnswers = {output};
    user->Click(IDC_SAVE);
    EXPECT_TRUE(user->progressShown);
    EXPECT_EQ(readFile(output), "keep");
    EXPECT_EQ(folder.listing(), "in.zrm out.zrm ");
    EXPECT_TRUE(user->said.empty());
    EXPECT_TRUE(user->IsOpen());
}

// Several files or a folder change nothing.
TEST_F(WindowScenario, Drop) {
    const auto input = Write("in.zrm", kModel);
    const auto other = Write("other.zrm", kModel);
    user->Open();
    user->TypeCount("9");
    user->Drop({input});
    EXPECT_EQ(user->FieldText(IDC_FILENAME), Chosen(input));
    EXPECT_EQ(user->FieldText(IDC_VOLUMES), "1");
    user->TypeCount("4");
    user->Drop({other, input});
    user->Drop({folder.path()});
    EXPECT_EQ(user->FieldText(IDC_FILENAME), Chosen(input));
    EXPECT_EQ(user->FieldText(IDC_VOLUMES), "4");
    EXPECT_TRUE(user->said.empty());
}

// The first model is chosen as "Choose ZRM..." would choose it; the paths
// after it are named, never silently dropped.
TEST_F(WindowScenario, CommandLineModels) {
    const auto input = Write("in.zrm", kModel);
    const auto other = Write("other.zrm", kModel);
    const auto gone = folder / "gone.zrm";
    const std::string notOpened = "morvane works on one model at a time. These were not opened:\n'";
    const std::tuple<std::vector<std::filesystem::path>, std::string, std::vector<std::string>>
        starts[] = {
            {{gone, input, other},
             "",
             {Box("The model could not be found.\nIt may have been moved, renamed or deleted. "
                  "Choose it again.",
                  thrownMessage([&] { ModelFile{gone}; })),
              notOpened + DisplayText(input) + "'\n'" + DisplayText(other) + "'"}},
            {{input, other}, Chosen(input), {notOpened + DisplayText(other) + "'"}},
        };
    for (const auto& [models, field, said] : starts) {
        SCOPED_TRACE(models.size());
        user = MakeWindowDriver();
        user->Open(models);
        EXPECT_EQ(user->FieldText(IDC_FILENAME), field);
        EXPECT_EQ(user->FieldText(IDC_VOLUMES), "1");
        EXPECT_EQ(user->said, said);
    }
    user->TypeCount("2");
    user->chooserAnswers = {folder / "out.zrm"};
    user->Click(IDC_SAVE);
    EXPECT_EQ(readFile(folder / "out.zrm"), rewriteInMemory(kModel, 2).output);
}

// Asked before the output name: No, the default, writes nothing; Yes writes
// what the rewrite makes of it, a second block included. Enter takes No.
TEST_F(WindowScenario, SecondBlockWarning) {
    const std::string rewritten = rewriteInMemory(kModel, 3).output;
    const auto input = Write("in.zrm", rewritten);
    user->Open({input});
    for (const int answer : {IDNO, kPressEnter}) {
        user->boxAnswers = {answer};
        user->Click(IDC_SAVE);
        EXPECT_EQ(folder.listing(), "in.zrm ");
    }
    user->boxAnswers = {IDYES};
    user->chooserAnswers = {folder / "out.zrm"};
    user->Click(IDC_SAVE);
    const std::string question =
        "'" + DisplayText(input) +
        "' already carries a block of 3 collision volumes: it has been rewritten before.\n\n"
        "Saving it adds a second block to every PRIM chunk. Save anyway?";
    EXPECT_EQ(user->said, (std::vector<std::string>{question, question, question}));
    EXPECT_EQ(readFile(folder / "out.zrm"), rewriteInMemory(rewritten, 1).output);
    EXPECT_EQ(readFile(input), rewritten);
}

}  // namespace
}  // namespace morvane::ui::scenarios
