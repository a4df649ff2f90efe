#include <QApplication>
#include <QKeyEvent>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <set>
#include <sstream>

#include "held_rewrite.h"
#include "resources/resource.h"
#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

// Large enough for the rewrite to report its reading many times over.
constexpr std::uint32_t kPayloadBytes = 4u << 20;

class ResponsiveSaveTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window = std::make_unique<CCollisionDlg>(chooser, held.Rewriter());
        window->show();
        input = WriteFile("in.zrm", ModelWithOnePrim(kPayloadBytes));
        ChooseModel(input);
    }

    QProgressDialog* Progress() const { return window->findChild<QProgressDialog*>(); }

    bool WaitForProgressShown() const {
        return WaitUntil([this] { return Progress() != nullptr && Progress()->isVisible(); });
    }

    std::set<std::string> FolderEntries() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(ToPath(folder.path()))) {
            names.insert(entry.path().filename().string());
        }
        return names;
    }

    HeldRewrite held;
    std::filesystem::path input;
};

TEST_F(ResponsiveSaveTest, TheWindowKeepsAnsweringWhileTheModelIsRewritten) {
    bool ranDuringTheSave = false;
    held.WhenFirstHeld([&] {
        ranDuringTheSave = !held.Ended();
        bool timerFired = false;
        QTimer::singleShot(0, window.get(), [&] { timerFired = true; });
        EXPECT_TRUE(WaitUntil([&] { return timerFired; }));
        EXPECT_TRUE(held.Step());
    });
    TypeCount("6");
    SaveAs(PathInFolder("out.zrm"));

    EXPECT_TRUE(ranDuringTheSave);
    EXPECT_FALSE(held.ReportedOnUserInterfaceThread());
    EXPECT_EQ(ReadFile(PathInFolder("out.zrm")), ExtendedModel(kPayloadBytes, 6));
    EXPECT_TRUE(modals.seen.empty());
}

TEST_F(ResponsiveSaveTest, AProgressDialogOverTheWindowFollowsTheReading) {
    int shownValue = -1;
    int laterValue = -1;
    held.WhenFirstHeld([&] {
        ASSERT_TRUE(WaitForProgressShown());
        QProgressDialog* progress = Progress();
        EXPECT_EQ(QApplication::activeModalWidget(), progress);
        EXPECT_EQ(progress->parentWidget(), window.get());
        ASSERT_TRUE(held.Step() && held.Step());
        ASSERT_TRUE(WaitUntil([&] { return progress->value() > 0; }));
        shownValue = progress->value();
        for (int i = 0; i < 8; ++i) {
            ASSERT_TRUE(held.Step());
        }
        ASSERT_TRUE(WaitUntil([&] { return progress->value() > shownValue; }));
        laterValue = progress->value();
        EXPECT_LT(laterValue, progress->maximum());
    });
    SaveAs(PathInFolder("out.zrm"));

    EXPECT_GT(shownValue, 0);
    EXPECT_GT(laterValue, shownValue);
    EXPECT_TRUE(Progress() == nullptr || !Progress()->isVisible());
    EXPECT_EQ(ReadFile(PathInFolder("out.zrm")), ExtendedModel(kPayloadBytes, 1));
}

TEST_F(ResponsiveSaveTest, TheTraceStillGoesToStandardOutput) {
    held.WhenFirstHeld([&] { held.LetGo(); });
    ::testing::internal::CaptureStdout();
    SaveAs(PathInFolder("out.zrm"));
    const std::string printed = ::testing::internal::GetCapturedStdout();

    std::ostringstream expected;
    RewriteModelFile(input, PathInFolder("again.zrm"), 1, expected);
    EXPECT_EQ(printed, expected.str());
    EXPECT_FALSE(printed.empty());
}

enum class CancelBy { CancelButton, EscapeInProgress, ClosingProgress };

void PrintTo(CancelBy how, std::ostream* out) {
    const char* names[] = {"the Cancel button", "Escape in the progress dialog",
                           "closing the progress dialog"};
    *out << names[static_cast<int>(how)];
}

class CancelledSaveTest : public ResponsiveSaveTest,
                          public ::testing::WithParamInterface<CancelBy> {
protected:
    static void Cancel(QProgressDialog& progress, CancelBy how) {
        switch (how) {
            case CancelBy::CancelButton:
                QTest::mouseClick(progress.findChild<QPushButton*>(), Qt::LeftButton);
                break;
            case CancelBy::EscapeInProgress:
                QTest::keyClick(&progress, Qt::Key_Escape);
                break;
            case CancelBy::ClosingProgress:
                progress.close();
                break;
        }
    }
};

// The worker stops at its next read; until it has, the dialog stays up and
// keeps the window out of reach.
TEST_P(CancelledSaveTest, LeavesTheEarlierOutputAndNoTemporaryFileAndSaysNothing) {
    const Bytes earlier{'k', 'e', 'e', 'p'};
    const auto output = WriteFile("out.zrm", earlier);
    held.WhenFirstHeld([&] {
        ASSERT_TRUE(WaitForProgressShown());
        ASSERT_TRUE(held.Step() && held.Step());
        Cancel(*Progress(), GetParam());
        EXPECT_TRUE(Progress()->isVisible());
        EXPECT_FALSE(held.Step());
    });
    SaveAs(output);

    EXPECT_EQ(ReadFile(output), earlier);
    EXPECT_EQ(FolderEntries(), (std::set<std::string>{"in.zrm", "out.zrm"}));
    EXPECT_TRUE(modals.seen.empty());
    EXPECT_TRUE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Ways, CancelledSaveTest,
                         ::testing::Values(CancelBy::CancelButton, CancelBy::EscapeInProgress,
                                           CancelBy::ClosingProgress));

enum class LeaveBy { Escape, CloseCommand, QuitButton };

void PrintTo(LeaveBy how, std::ostream* out) {
    const char* names[] = {"Escape in the window", "the window's close command", "the Quit button"};
    *out << names[static_cast<int>(how)];
}

class LeavingDuringSaveTest : public ResponsiveSaveTest,
                              public ::testing::WithParamInterface<LeaveBy> {
protected:
    void Leave(LeaveBy how) const {
        switch (how) {
            case LeaveBy::Escape: {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(window.get(), &escape);
                break;
            }
            case LeaveBy::CloseCommand:
                window->close();
                break;
            case LeaveBy::QuitButton:
                Button("IDOK")->click();
                break;
        }
    }
};

// Before the progress dialog shows, the window itself still takes input; what
// would close it cancels the save instead of pulling the window from under
// the worker.
TEST_P(LeavingDuringSaveTest, CancelsTheSaveAndKeepsTheWindow) {
    held.WhenFirstHeld([&] {
        Leave(GetParam());
        EXPECT_FALSE(held.Step());
    });
    SaveAs(PathInFolder("out.zrm"));

    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(FolderEntries(), std::set<std::string>{"in.zrm"});
    EXPECT_TRUE(modals.seen.empty());
}

INSTANTIATE_TEST_SUITE_P(Ways, LeavingDuringSaveTest,
                         ::testing::Values(LeaveBy::Escape, LeaveBy::CloseCommand,
                                           LeaveBy::QuitButton));

// A drag that entered before the save began cannot drop its file during it.
TEST_F(ResponsiveSaveTest, NothingElseCanStartWhileASaveRuns) {
    const std::size_t dialogsBefore = chooser.requests.size();
    QMimeData other;
    other.setUrls({LocalUrl(WriteFile("other.zrm", Bytes{1}))});
    ASSERT_TRUE(DragOver(window.get(), other).moved);
    held.WhenFirstHeld([&] {
        Button("IDC_SAVE")->click();
        Button("IDC_CHOOSE")->click();
        window->OnSysCommand(IDM_ABOUTBOX);
        EXPECT_FALSE(Drop(window.get(), other));
        EXPECT_TRUE(held.Step());
    });
    SaveAs(PathInFolder("out.zrm"));

    EXPECT_EQ(chooser.requests.size(), dialogsBefore + 1);
    EXPECT_TRUE(modals.seen.empty());
    EXPECT_EQ(ReadFile(PathInFolder("out.zrm")), ExtendedModel(kPayloadBytes, 1));
    EXPECT_EQ(ModelField()->text(), ChosenModelText(input));
}

// The refusal comes from a chunk that lies after megabytes of sound ones.
TEST_F(ResponsiveSaveTest, AModelRefusedPartWayIsReportedOnceTheWorkerIsDone) {
    Bytes cut = ModelWithOnePrim(kPayloadBytes);
    const Bytes cutChunk{'M', 'I', 'R', 'P', 0, 0, 0, 0, 100, 0, 0, 0, 1, 2, 3};
    cut.insert(cut.end(), cutChunk.begin(), cutChunk.end());
    const auto cutInput = WriteFile("cut.zrm", cut);
    ChooseModel(cutInput);
    held.WhenFirstHeld([&] {
        EXPECT_TRUE(held.Step() && held.Step());
        EXPECT_TRUE(modals.seen.empty());
    });
    SaveAs(PathInFolder("out.zrm"));

    ASSERT_EQ(modals.seen.size(), 1u);
    EXPECT_EQ(modals.seen[0].text, RewriteMessage(cutInput, PathInFolder("out.zrm"), 1));
    EXPECT_TRUE(modals.seen[0].text.contains("4194328"));
    EXPECT_FALSE(std::filesystem::exists(PathInFolder("out.zrm")));
}

}  // namespace
}  // namespace morvane::ui::testing
