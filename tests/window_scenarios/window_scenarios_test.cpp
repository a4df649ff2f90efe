// The window's scenarios, written once and run on each rendering through its
// WindowDriver: Qt on Linux, Win32 under Wine.
#include <gtest/gtest.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "model/file_rewrite.h"
#include "platform/window_commands.h"
#include "resources/resource.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"
#include "window_driver.h"

namespace morvane::ui::scenarios {
namespace {

using namespace morvane::testing;

const std::string kModel = containerHeader() + chunk(kPrim, 0, 12, payload(12));

std::string Chosen(const std::filesystem::path& input) {
    return "ZRM chosen: '" + DisplayText(input) + "'";
}

std::string CoreMessage(const std::filesystem::path& input, const std::filesystem::path& output) {
    std::ostringstream trace;
    try {
        RewriteModelFile(input, output, 1, trace);
    } catch (const std::exception& error) {
        return error.what();
    }
    return "(written)";
}

class WindowScenario : public ::testing::Test {
protected:
    std::filesystem::path Write(const char* name, const std::string& bytes) const {
        writeFile(folder / name, bytes);
        return folder / name;
    }

    TempFolder folder;
    std::unique_ptr<WindowDriver> user = MakeWindowDriver();
};

// Saving asks for a model first. Choosing one shows it and puts the stored
// count back in the field; a cancelled chooser changes nothing. The save
// writes the bytes of the rewrite with the count typed.
TEST_F(WindowScenario, ChooseAndSave) {
    const auto input = Write("in.zrm", kModel);
    user->Open();
    EXPECT_EQ(user->FieldText(IDC_VOLUMES), "1");
    EXPECT_EQ(user->FieldText(IDC_FILENAME), "");
    user->Click(IDC_SAVE);
    ASSERT_EQ(user->said.size(), 1u);
    EXPECT_NE(user->said[0].find("step 1"), std::string::npos) << user->said[0];

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

// A refused count writes nothing and sends the user back into the field with
// its text selected, on Save and on Enter (the default Quit); a good count
// lets Enter close the window.
TEST_F(WindowScenario, BadCounts) {
    const auto input = Write("in.zrm", kModel);
    user->Open({input});
    for (const char* typed : {"0", "1001", "abc", ""}) {
        SCOPED_TRACE(typed);
        user->TypeCount(typed);
        user->chooserAnswers = {folder / "out.zrm"};
        user->Click(IDC_SAVE);
        EXPECT_TRUE(user->CountFieldHasFocusAndIsSelected());
    }
    user->TypeCount("-3");
    user->Press(Key::Enter);
    EXPECT_TRUE(user->IsOpen());
    const std::string outOfRange = "Please enter a whole number from 1 to 1000.";
    const std::string noNumber = "Please enter a whole number.";
    EXPECT_EQ(user->said,
              (std::vector<std::string>{outOfRange, outOfRange, noNumber, noNumber, outOfRange}));
    EXPECT_EQ(folder.listing(), "in.zrm ");
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

// The user sees the core's own explanation and the earlier output is kept.
TEST_F(WindowScenario, RefusedModelOverAnExistingOutput) {
    const auto input = Write("in.zrm", "not zrm");
    const auto output = Write("out.zrm", "keep");
    user->Open({input});
    user->chooserAnswers = {output};
    user->Click(IDC_SAVE);
    EXPECT_EQ(user->said, std::vector<std::string>{CoreMessage(input, folder / "other.zrm")});
    EXPECT_EQ(readFile(output), "keep");
    EXPECT_EQ(folder.listing(), "in.zrm out.zrm ");
}

// The system menu ends with the About item; the commands 0x10 to 0x1F open
// the About box and the ones around them do not; Close is the second Quit.
TEST_F(WindowScenario, AboutFromTheSystemMenu) {
    user->Open();
    bool afterSeparator = false;
    EXPECT_EQ(user->LastSystemMenuItem(afterSeparator), "&About morvane...");
    EXPECT_TRUE(afterSeparator);
    for (const int command : {0x0F, 0x10, 0x1F, 0x20}) {
        user->SystemCommand(command);
    }
    EXPECT_EQ(user->said, (std::vector<std::string>{"About morvane", "About morvane"}));
    EXPECT_TRUE(user->IsOpen());
    user->SystemCommand(SC_CLOSE);
    EXPECT_FALSE(user->IsOpen());
    EXPECT_EQ(user->Result(), IDCANCEL);
}

// A save stopped from its progress window leaves the earlier output and no
// temporary file, says nothing, and leaves the window open.
TEST_F(WindowScenario, CancelOfALongSave) {
    const auto input = Write("in.zrm", kModel);
    const auto output = Write("out.zrm", "keep");
    // Goes on reading only once the user has cancelled, or gives up.
    const ModelRewriter endless = [](const std::filesystem::path& in,
                                     const std::filesystem::path& out, int volumes,
                                     std::ostream& trace, const RewriteProgress& progress) {
        return RewriteModelFile(
            in, out, volumes, trace, [&progress](std::int64_t read, std::int64_t total) {
                const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
                while (progress(read, total)) {
                    if (std::chrono::steady_clock::now() > giveUp) {
                        return true;
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                }
                return false;
            });
    };
    user->Open({input}, endless);
    user->cancelProgress = true;
    user->chooserAnswers = {output};
    user->Click(IDC_SAVE);
    EXPECT_TRUE(user->progressShown);
    EXPECT_EQ(readFile(output), "keep");
    EXPECT_EQ(folder.listing(), "in.zrm out.zrm ");
    EXPECT_TRUE(user->said.empty());
    EXPECT_TRUE(user->IsOpen());
}

// One dropped file is chosen as the chooser would choose it, the count put
// back; several files or a folder change nothing.
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
    EXPECT_TRUE(user->requests.empty());
    EXPECT_TRUE(user->said.empty());
}

// The first model named on the command line is chosen and saved like any
// other; the others are named in a message box.
TEST_F(WindowScenario, CommandLineModel) {
    const auto input = Write("in.zrm", kModel);
    const auto other = Write("other.zrm", kModel);
    user->Open({input, other});
    EXPECT_EQ(user->FieldText(IDC_FILENAME), Chosen(input));
    user->TypeCount("2");
    user->chooserAnswers = {folder / "out.zrm"};
    user->Click(IDC_SAVE);
    EXPECT_EQ(readFile(folder / "out.zrm"), rewriteInMemory(kModel, 2).output);
    EXPECT_EQ(user->said, std::vector<std::string>{
                              "morvane works on one model at a time. These were not opened:\n'" +
                              DisplayText(other) + "'"});
}

// Before a model that already carries its block is saved, the user is asked,
// before the output name: No (the default) writes nothing and asks for no
// name; Yes writes exactly what the rewrite makes of it, a second block
// included. A model that only looks rewritten, or has no PRIM chunk, is saved
// without a question.
TEST_F(WindowScenario, SecondBlockWarning) {
    const std::string rewritten = rewriteInMemory(kModel, 3).output;
    const auto input = Write("in.zrm", rewritten);
    user->Open({input});
    user->boxAnswers = {IDNO};
    user->Click(IDC_SAVE);
    EXPECT_TRUE(user->requests.empty());
    EXPECT_EQ(folder.listing(), "in.zrm ");
    user->boxAnswers = {IDYES};
    user->chooserAnswers = {folder / "out.zrm"};
    user->Click(IDC_SAVE);
    const std::string question =
        "'" + DisplayText(input) +
        "' already carries a block of 3 collision volumes: it has been rewritten before.\n\n"
        "Saving it adds a second block to every PRIM chunk. Save anyway?";
    EXPECT_EQ(user->said, (std::vector<std::string>{question, question}));
    EXPECT_EQ(readFile(folder / "out.zrm"), rewriteInMemory(rewritten, 1).output);
    EXPECT_EQ(readFile(input), rewritten);

    const std::string lookalike = kModel.substr(0, 12) +
                                  chunk(kPrim, 0, 24, payload(12) + words({4, 3, 0})) +
                                  closingHand(12);
    const std::string noPrim = rewriteInMemory(containerHeader(), 3).output;
    for (const std::string& model : {lookalike, noPrim}) {
        user->said.clear();
        writeFile(folder / "other.zrm", model);
        user->chooserAnswers = {folder / "other.zrm", folder / "other-out.zrm"};
        user->Click(IDC_CHOOSE);
        user->Click(IDC_SAVE);
        EXPECT_TRUE(user->said.empty());
        EXPECT_EQ(readFile(folder / "other-out.zrm"), rewriteInMemory(model, 1).output);
    }
}

}  // namespace
}  // namespace morvane::ui::scenarios
