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

// The window menu ends as it always has, with a separator and About; Help
// stands just before them.
std::vector<std::string> LastThree(const std::vector<std::string>& items) {
    return {items.end() - std::min<std::ptrdiff_t>(3, std::ssize(items)), items.end()};
}

// F1 and the window menu's Help ask the desktop to open the guide's page in
// the window's language, English here; a language without a page of its own
// would get the English one.
TEST_F(WindowScenario, HelpOpensTheUserGuide) {
    const auto guide = folder / "guide";
    std::filesystem::create_directory(guide);
    Write("guide/en.html", "<html></html>");
    Write("guide/fr.html", "<html></html>");
    user->guideFolder = guide;
    user->Open();
    EXPECT_EQ(LastThree(user->SystemMenuItems()),
              (std::vector<std::string>{"Help", "-", "&About morvane..."}));
    user->Press(Key::F1);
    user->ChooseSystemMenuItem("Help");
    EXPECT_EQ(user->opened, (std::vector{guide / "en.html", guide / "en.html"}));
    EXPECT_EQ(GuidePage(guide, "fr"), guide / "fr.html");
    EXPECT_EQ(GuidePage(guide, "de"), guide / "en.html");
    EXPECT_TRUE(user->said.empty());
    EXPECT_TRUE(user->IsOpen());
}

// What to do is said where the guide is not installed, or the desktop cannot
// show it.
TEST_F(WindowScenario, HelpSaysWhyTheGuideDoesNotOpen) {
    const auto guide = folder / "guide";
    std::filesystem::create_directory(guide);
    Write("guide/de.html", "<html></html>");
    user->guideFolder = guide;
    user->Open();
    user->Press(Key::F1);
    Write("guide/en.html", "<html></html>");
    user->desktopOpens = false;
    user->ChooseSystemMenuItem("Help");
    EXPECT_EQ(user->said, (std::vector<std::string>{
                              "The user guide is missing from '" + DisplayText(guide) +
                                  "'. Install morvane again to put it back.",
                              "The desktop has no program to show the user guide in. Open '" +
                                  DisplayText(guide / "en.html") + "' in a web browser."}));
    EXPECT_EQ(user->opened, std::vector{guide / "en.html"});
}

// The text a tooltip shows: the whole text, or where the system shows fewer
// letters, its beginning and its end around an ellipsis. (The names here are
// ASCII, a letter a byte.)
std::string ShownAsToolTip(const std::string& text, std::size_t room) {
    if (text.size() <= room) {
        return text;
    }
    const std::size_t head = room / 2;
    return text.substr(0, head) + "\u2026" + text.substr(text.size() - (room - head - 1));
}

// However long the path, the field ends with the model's name, and its whole
// text shows where the pointer rests, as far as a tooltip can show it.
TEST_F(WindowScenario, TheChosenModelsNameStaysInSight) {
    user->Open();
    for (const std::string& name :
         {std::string("ship.zrm"), std::string(300, 'x') + "/ship.zrm",
          std::string(3000, 'x') + "/ship.zrm", std::string("a&b <i>c</i>  d.zrm")}) {
        SCOPED_TRACE(name.substr(0, 10));
        const auto model = folder / name;
        user->chooserAnswers = {model};
        user->Click(IDC_CHOOSE);
        EXPECT_EQ(user->FieldText(IDC_FILENAME), Chosen(model));
        EXPECT_TRUE(user->ShowsTheEndOf(IDC_FILENAME));
        EXPECT_EQ(user->ToolTipOf(IDC_FILENAME),
                  ShownAsToolTip(Chosen(model), user->LongestToolTip()));
    }
}

// Named from the folder the program starts in, the model is shown by its
// whole path, as the chooser gives it.
TEST_F(WindowScenario, AModelNamedFromTheCurrentFolderIsShownByItsWholePath) {
    Write("in.zrm", kModel);
    const std::filesystem::path started = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    user->Open({"./in.zrm"});
    std::filesystem::current_path(started);
    EXPECT_EQ(user->FieldText(IDC_FILENAME), Chosen(folder / "in.zrm"));
    EXPECT_TRUE(user->said.empty());
}

// The save chooser starts where the model is; the other where a model was
// last chosen, as long as that folder is still there, also after the window
// was closed and opened again.
TEST_F(WindowScenario, TheChoosersStartWhereTheModelsAre) {
    std::filesystem::create_directories(folder / "models" / "old");
    std::filesystem::create_directories(folder / "elsewhere");
    const auto input = Write("models/in.zrm", kModel);
    const auto old = Write("models/old/old.zrm", kModel);
    user->Open();
    user->chooserAnswers = {input, folder / "elsewhere" / "out.zrm", std::nullopt};
    user->Click(IDC_CHOOSE);
    user->Click(IDC_SAVE);
    user->Click(IDC_CHOOSE);
    ASSERT_EQ(user->requests.size(), 3u);
    EXPECT_EQ(user->requests[0].folder, std::filesystem::path());
    EXPECT_EQ(user->requests[1].folder, folder / "models");
    EXPECT_EQ(user->requests[2].folder, folder / "models");

    user = MakeWindowDriver();
    user->Open();
    user->chooserAnswers = {std::nullopt};
    user->Click(IDC_CHOOSE);
    ASSERT_EQ(user->requests.size(), 1u);
    EXPECT_EQ(user->requests[0].folder, folder / "models");
    user->Drop({old});
    user->Press(Key::Escape);
    user = MakeWindowDriver();
    user->Open();
    std::filesystem::remove_all(folder / "models" / "old");
    user->chooserAnswers = {std::nullopt};
    user->Click(IDC_CHOOSE);
    ASSERT_EQ(user->requests.size(), 1u);
    EXPECT_EQ(user->requests[0].folder, std::filesystem::path());
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
