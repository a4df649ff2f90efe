#include <atomic>
#include <climits>
#include <functional>
#include <sstream>
#include <string_view>

#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

// A broken window fails the test after this long instead of hanging it.
constexpr int kGiveUpMilliseconds = 20000;
// Large enough for the rewrite to report its reading many times over.
constexpr std::uint32_t kPayloadBytes = 4u << 20;

// The real rewrite, except that each report of its reading waits for the test:
// the test decides where the worker stands, however fast the machine is.
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

    // Runs steps on the user-interface thread at the first report, then lets the rewrite run.
    void WhenFirstHeld(std::function<void()> steps) { m_firstHeldSteps = std::move(steps); }

    // Lets the rewrite on to its next report; false when it ended instead.
    bool Step() {
        ++m_allowed;
        return QTest::qWaitFor([this] { return m_reports > m_allowed || m_ended; },
                               kGiveUpMilliseconds) &&
               !m_ended;
    }

private:
    // A window that rewrites on its own thread, or never lets the steps run,
    // fails the test instead of hanging it.
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
        for (const QDeadlineTimer deadline(kGiveUpMilliseconds); m_reports > m_allowed;) {
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
        window = std::make_unique<CCollisionDlg>(*this, held.Rewriter());
        window->show();
        input = Write("in.zrm", Model(kPayloadBytes));
        ChooseModel(input);
    }

    QProgressDialog* Progress() const { return window->findChild<QProgressDialog*>(); }

    bool WaitForProgressShown() const {
        return QTest::qWaitFor([this] { return Progress() != nullptr && Progress()->isVisible(); },
                               kGiveUpMilliseconds);
    }

    HeldRewrite held;
    std::filesystem::path input;
};

// While the worker is held the window answers, but takes nothing that would
// start other work, not even a drag that entered before the save. A modal
// progress dialog follows the reading; the trace reaches standard output.
TEST_F(ResponsiveSaveTest, TheWindowKeepsAnsweringAndShowsTheProgress) {
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(ToDisplayText(Write("other.zrm", "x")))});
    ASSERT_EQ(Drag(window.get(), other, Qt::CopyAction, false), Qt::CopyAction);
    bool advanced = false;
    held.WhenFirstHeld([&] {
        Button("IDC_SAVE")->click();
        Button("IDC_CHOOSE")->click();
        window->OnSysCommand(IDM_ABOUTBOX);
        EXPECT_EQ(Drag(window.get(), other, Qt::CopyAction), Qt::IgnoreAction);
        ASSERT_TRUE(WaitForProgressShown());
        QProgressDialog* progress = Progress();
        EXPECT_EQ(QApplication::activeModalWidget(), progress);
        ASSERT_TRUE(held.Step() && held.Step());
        ASSERT_TRUE(QTest::qWaitFor([&] { return progress->value() > 0; }, kGiveUpMilliseconds));
        const int shown = progress->value();
        for (int i = 0; i < 8; ++i) {
            ASSERT_TRUE(held.Step());
        }
        advanced = QTest::qWaitFor([&] { return progress->value() > shown; }, kGiveUpMilliseconds);
    });
    TypeCount("6");
    ::testing::internal::CaptureStdout();
    SaveAs(Path("out.zrm"));
    const std::string printed = ::testing::internal::GetCapturedStdout();

    EXPECT_TRUE(advanced);
    EXPECT_EQ(Progress(), nullptr);
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(ModelField()->text(), ChosenModelText(input));
    EXPECT_TRUE(ReadFile(Path("out.zrm")) == Extended(kPayloadBytes, 6));  // too long to print
    std::ostringstream expected;
    RewriteModelFile(input, Path("again.zrm"), 6, expected);
    EXPECT_FALSE(printed.empty());
    EXPECT_EQ(printed, expected.str());
}

// Through the progress dialog once it shows (its Cancel button), or in the
// window before (its Quit button).
class StoppedSaveTest
    : public ResponsiveSaveTest,
      public ::testing::WithParamInterface<std::tuple<std::string_view, std::string_view>> {};

// The worker stops at its next read and the window stays. The earlier file
// under the output name survives, no temporary file is left and nothing is
// said; until the worker has stopped, the progress dialog stays up.
TEST_P(StoppedSaveTest, LeavesTheEarlierOutputAndTheWindow) {
    const auto [where, how] = GetParam();
    const auto output = Write("out.zrm", "keep");
    held.WhenFirstHeld([&] {
        if (where == "progress dialog") {
            ASSERT_TRUE(WaitForProgressShown());
            ASSERT_TRUE(held.Step() && held.Step());
        }
        QWidget* target = where == "window" ? window.get() : static_cast<QWidget*>(Progress());
        if (how == "Escape") {
            QTest::keyClick(target, Qt::Key_Escape);
        } else if (how == "close") {
            target->close();
        } else {
            target->findChild<QPushButton*>(where == "window" ? "IDOK" : QString())->click();
        }
        EXPECT_TRUE(where == "window" || Progress()->isVisible());
        EXPECT_FALSE(held.Step());
    });
    SaveAs(output);

    EXPECT_EQ(ReadFile(output), "keep");
    EXPECT_EQ(Listing(), (QStringList{"in.zrm", "out.zrm"}));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_TRUE(window->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Ways, StoppedSaveTest,
                         ::testing::Combine(::testing::Values("progress dialog", "window"),
                                            ::testing::Values("button", "Escape", "close")));

}  // namespace
}  // namespace morvane::ui::testing
