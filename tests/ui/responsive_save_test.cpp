#include <QDeadlineTimer>
#include <QMimeData>
#include <QThread>
#include <atomic>
#include <climits>
#include <functional>
#include <sstream>

#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

constexpr int kGiveUpMilliseconds = 20000;
// Large enough for the rewrite to report its reading many times over.
constexpr std::uint32_t kPayloadBytes = 4u << 20;

// Processes the user-interface thread's events until done() holds; false when
// it still does not after a long while, so that a broken window fails the
// test instead of hanging it.
bool WaitUntil(const std::function<bool()>& done) {
    const QDeadlineTimer deadline(kGiveUpMilliseconds);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

// The real rewrite, except that each report of its reading waits until the
// test lets it go on: the test decides where the worker stands while it looks
// at the window, however fast or slow the machine is.
class HeldRewrite {
public:
    ~HeldRewrite() { m_allowed = INT_MAX; }

    ModelRewriter Rewriter() {
        return [this](const std::filesystem::path& input, const std::filesystem::path& output,
                      int volumes, std::ostream& trace, const RewriteProgress& progress) {
            const std::shared_ptr<void> markEnded(nullptr, [this](void*) { m_ended = true; });
            return RewriteModelFile(input, output, volumes, trace,
                                    [this, &progress](std::int64_t read, std::int64_t total) {
                                        Hold();
                                        return progress(read, total);
                                    });
        };
    }

    // Runs steps on the user-interface thread once the rewrite is held at its
    // first report; every later report is let go after them.
    void WhenFirstHeld(std::function<void()> steps) { m_firstHeldSteps = std::move(steps); }

    // Lets the rewrite past the report it is held at and waits until it is held
    // at the next one; false when it has ended instead.
    bool Step() {
        ++m_allowed;
        return WaitUntil([this] { return m_reports > m_allowed || m_ended; }) && !m_ended;
    }

private:
    // A rewrite on the user-interface thread is never held, so it never runs
    // the steps of a test that expects the window to answer meanwhile.
    void Hold() {
        if (QThread::currentThread() == QCoreApplication::instance()->thread()) {
            return;
        }
        if (++m_reports == 1) {
            QMetaObject::invokeMethod(QCoreApplication::instance(), [this] {
                m_firstHeldSteps();
                m_allowed = INT_MAX;
            });
        }
        // A window that never lets the test run its steps fails the test
        // instead of holding every report for the whole waiting time.
        const QDeadlineTimer deadline(kGiveUpMilliseconds);
        while (m_reports > m_allowed) {
            if (deadline.hasExpired()) {
                m_allowed = INT_MAX;
            }
            QThread::msleep(1);
        }
    }

    std::function<void()> m_firstHeldSteps = [] {};
    std::atomic<int> m_reports{0};
    std::atomic<int> m_allowed{0};
    std::atomic<bool> m_ended{false};
};

class ResponsiveSaveTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window = std::make_unique<CCollisionDlg>(chooser, held.Rewriter());
        window->show();
        input = Write("in.zrm", Model(kPayloadBytes));
        ChooseModel(input);
    }

    QProgressDialog* Progress() const { return window->findChild<QProgressDialog*>(); }

    bool WaitForProgressShown() const {
        return WaitUntil([this] { return Progress() != nullptr && Progress()->isVisible(); });
    }

    HeldRewrite held;
    std::filesystem::path input;
};

// While the worker is held the window's events are handled: a modal progress
// dialog shows over it and follows the reading. The worker's trace reaches
// standard output as the core writes it.
TEST_F(ResponsiveSaveTest, TheWindowKeepsAnsweringAndShowsTheProgress) {
    bool advanced = false;
    held.WhenFirstHeld([&] {
        ASSERT_TRUE(WaitForProgressShown());
        QProgressDialog* progress = Progress();
        EXPECT_EQ(QApplication::activeModalWidget(), progress);
        EXPECT_EQ(progress->parentWidget(), window.get());
        ASSERT_TRUE(held.Step() && held.Step());
        ASSERT_TRUE(WaitUntil([&] { return progress->value() > 0; }));
        const int shown = progress->value();
        for (int i = 0; i < 8; ++i) {
            ASSERT_TRUE(held.Step());
        }
        advanced = WaitUntil([&] { return progress->value() > shown; });
        EXPECT_LT(progress->value(), progress->maximum());
    });
    TypeCount("6");
    ::testing::internal::CaptureStdout();
    SaveAs(Path("out.zrm"));
    const std::string printed = ::testing::internal::GetCapturedStdout();

    EXPECT_TRUE(advanced);
    EXPECT_TRUE(Progress() == nullptr || !Progress()->isVisible());
    EXPECT_TRUE(modals.seen.isEmpty());
    EXPECT_TRUE(ReadFile(Path("out.zrm")) == Extended(kPayloadBytes, 6));  // too long to print
    std::ostringstream expected;
    RewriteModelFile(input, Path("again.zrm"), 6, expected);
    EXPECT_FALSE(printed.empty());
    EXPECT_EQ(printed, expected.str());
}

void PressEscape(QWidget& target) {
    QTest::keyClick(&target, Qt::Key_Escape);
}

void Close(QWidget& target) {
    target.close();
}

void ClickCancel(QWidget& progress) {
    QTest::mouseClick(progress.findChild<QPushButton*>(), Qt::LeftButton);
}

void ClickQuit(QWidget& window) {
    QTest::mouseClick(window.findChild<QPushButton*>("IDOK"), Qt::LeftButton);
}

struct StopWay {
    const char* how;
    bool throughProgress;  // once the progress dialog shows, or in the window before
    void (*stop)(QWidget& target);
};

void PrintTo(const StopWay& way, std::ostream* out) {
    *out << way.how;
}

class StoppedSaveTest : public ResponsiveSaveTest, public ::testing::WithParamInterface<StopWay> {};

// The worker stops at its next read and the window stays. The earlier file
// under the output name survives, no temporary file is left and nothing is
// said; until the worker has stopped, the progress dialog stays up.
TEST_P(StoppedSaveTest, LeavesTheEarlierOutputAndTheWindow) {
    const StopWay& way = GetParam();
    const auto output = Write("out.zrm", "keep");
    held.WhenFirstHeld([&] {
        if (way.throughProgress) {
            ASSERT_TRUE(WaitForProgressShown());
            ASSERT_TRUE(held.Step() && held.Step());
        }
        way.stop(way.throughProgress ? *static_cast<QWidget*>(Progress()) : *window);
        EXPECT_TRUE(!way.throughProgress || Progress()->isVisible());
        EXPECT_FALSE(held.Step());
    });
    SaveAs(output);

    EXPECT_EQ(ReadFile(output), "keep");
    EXPECT_EQ(Listing(), (QStringList{"in.zrm", "out.zrm"}));
    EXPECT_TRUE(modals.seen.isEmpty());
    EXPECT_TRUE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Ways, StoppedSaveTest,
                         ::testing::Values(StopWay{"the Cancel button", true, ClickCancel},
                                           StopWay{"Escape in the progress dialog", true,
                                                   PressEscape},
                                           StopWay{"closing the progress dialog", true, Close},
                                           StopWay{"the Quit button", false, ClickQuit},
                                           StopWay{"Escape in the window", false, PressEscape},
                                           StopWay{"closing the window", false, Close}));

// A drag that entered before the save began cannot drop its file during it.
TEST_F(ResponsiveSaveTest, NothingElseCanStartWhileASaveRuns) {
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(ToDisplayText(Write("other.zrm", "x")))});
    ASSERT_EQ(DragOver(window.get(), other), Qt::CopyAction);
    held.WhenFirstHeld([&] {
        Button("IDC_SAVE")->click();
        Button("IDC_CHOOSE")->click();
        window->OnSysCommand(IDM_ABOUTBOX);
        EXPECT_FALSE(Drop(window.get(), other));
        EXPECT_TRUE(held.Step());
    });
    SaveAs(Path("out.zrm"));

    EXPECT_EQ(chooser.requests.size(), 2u);
    EXPECT_TRUE(modals.seen.isEmpty());
    EXPECT_TRUE(ReadFile(Path("out.zrm")) == Extended(kPayloadBytes, 1));
    EXPECT_EQ(ModelField()->text(), ChosenModelText(input));
}

}  // namespace
}  // namespace morvane::ui::testing
