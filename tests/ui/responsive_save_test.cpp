#include <atomic>
#include <climits>
#include <functional>
#include <string_view>

#include "model/files/system_calls.h"
#include "qt_window_driver.h"
#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::ui::scenarios {
namespace {

using namespace morvane::testing;

// A broken window fails the test after this long instead of hanging it.
constexpr int kGiveUpMilliseconds = 20000;
// Large enough for the rewrite to report its reading many times over.
constexpr std::uint32_t kPayloadBytes = 4u << 20;

// The real rewrite, except that its worker waits for the test at each point
// where it has just told the window how much it has read (a read of the
// model, a copy of it inside the kernel, the sync after the pass) and as the
// new model takes its name: the test decides where the worker stands,
// however fast the machine is.
class HeldWorker {
public:
    HeldWorker() {
        s_held = this;
        sys::Calls& calls = sys::SystemCalls();
        calls.read = [](sys::File file, char* data, std::size_t size, std::size_t& got) {
            s_held->HoldAt(file);
            return sys::NativeCalls().read(file, data, size, got);
        };
        calls.copyInKernel = [](sys::File from, sys::File to, std::size_t size,
                                std::size_t& copied) {
            s_held->HoldAt(from);
            return sys::NativeCalls().copyInKernel(from, to, size, copied);
        };
        calls.syncFile = [](sys::File file) {
            s_held->HoldAtTheEnd();
            return sys::NativeCalls().syncFile(file);
        };
        calls.linkUnnamed = [](sys::File file, const std::filesystem::path& name) {
            s_held->HoldAtTheNaming();
            return sys::NativeCalls().linkUnnamed(file, name);
        };
        calls.rename = [](const std::filesystem::path& from, const std::filesystem::path& to) {
            s_held->HoldAtTheNaming();
            return sys::NativeCalls().rename(from, to);
        };
        // The worker is done with the model once it closes it.
        calls.close = [](sys::File file) {
            if (OnWorker() && file == s_held->m_model) {
                s_held->m_ended = true;
            }
            return sys::NativeCalls().close(file);
        };
    }

    ~HeldWorker() {
        m_allowed = INT_MAX;
        sys::SystemCalls() = sys::NativeCalls();
    }

    // The report the worker is held at: bytes read of the input's.
    std::pair<std::int64_t, std::int64_t> Reported() const { return {m_read, m_total}; }

    // Runs steps on the user-interface thread at the first report, then lets the rewrite run.
    void WhenFirstHeld(std::function<void()> steps) { m_firstHeldSteps = std::move(steps); }

    // Whether the worker is held as the new model takes its name.
    bool AtTheNaming() const { return m_naming; }

    // Lets the rewrite on to its next report; false when it ended instead.
    bool Step() {
        ++m_allowed;
        return QTest::qWaitFor([this] { return m_reports > m_allowed || m_ended; },
                               kGiveUpMilliseconds) &&
               !m_ended;
    }

private:
    static bool OnWorker() {
        return QThread::currentThread() != QCoreApplication::instance()->thread();
    }

    void HoldAt(sys::File model) {
        if (!OnWorker()) {
            return;
        }
        m_model = model;
        sys::FileState state;
        std::int64_t position = 0;
        sys::NativeCalls().stateOf(model, state);
        sys::NativeCalls().seek(model, 0, sys::Whence::Current, position);
        m_read = position;
        m_total = state.length;
        Hold();
    }

    void HoldAtTheEnd() {
        if (OnWorker()) {
            m_read = m_total.load();
            Hold();
        }
    }

    void HoldAtTheNaming() {
        if (OnWorker()) {
            m_naming = true;
            HoldAtTheEnd();
        }
    }

    // A window that rewrites on its own thread, or never lets the steps run,
    // fails the test instead of hanging it.
    void Hold() {
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

    static inline HeldWorker* s_held = nullptr;
    std::function<void()> m_firstHeldSteps = [] {};
    std::atomic<int> m_reports{0};
    std::atomic<int> m_allowed{0};
    std::atomic<bool> m_ended{false};
    std::atomic<bool> m_naming{false};
    std::atomic<sys::File> m_model{sys::kNoFile};
    std::atomic<std::int64_t> m_read{0};
    std::atomic<std::int64_t> m_total{0};
};

class ResponsiveSaveTest : public QtWindowTest {
protected:
    void SetUp() override { user->Open({input}); }

    QProgressDialog* Progress() { return QtUser().Widget().findChild<QProgressDialog*>(); }

    bool WaitForProgressShown() {
        return QTest::qWaitFor([this] { return Progress() != nullptr && Progress()->isVisible(); },
                               kGiveUpMilliseconds);
    }

    const std::string model =
        containerHeader() + chunk(kPrim, 0, kPayloadBytes, payload(kPayloadBytes));
    const std::filesystem::path input = Write("in.zrm", model);
    HeldWorker held;
};

// While the worker is held the window takes nothing that would start other
// work, not even a drag that entered before the save.
TEST_F(ResponsiveSaveTest, TheWindowKeepsAnsweringAndShowsTheProgress) {
    QtWindowDriver& qt = QtUser();
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(ToDisplayText(Write("other.zrm", "x")))});
    ASSERT_EQ(qt.Drag(&qt.Widget(), other, Qt::CopyAction, false), Qt::CopyAction);
    bool advanced = false;
    held.WhenFirstHeld([&] {
        user->Click(IDC_SAVE);
        user->Click(IDC_CHOOSE);
        user->SystemCommand(IDM_ABOUTBOX);
        EXPECT_EQ(qt.Drag(&qt.Widget(), other, Qt::CopyAction), Qt::IgnoreAction);
        ASSERT_TRUE(WaitForProgressShown());
        QProgressDialog* progress = Progress();
        EXPECT_EQ(QApplication::activeModalWidget(), progress);
        EXPECT_EQ(progress->labelText(), "Writing 'out.zrm'...");
        ASSERT_TRUE(held.Step() && held.Step());
        ASSERT_TRUE(QTest::qWaitFor([&] { return progress->value() > 0; }, kGiveUpMilliseconds));
        const int shown = progress->value();
        for (int i = 0; i < 8; ++i) {
            ASSERT_TRUE(held.Step());
        }
        advanced = QTest::qWaitFor([&] { return progress->value() > shown; }, kGiveUpMilliseconds);
    });
    user->TypeCount("6");
    ::testing::internal::CaptureStdout();
    user->chooserAnswers = {folder / "out.zrm"};
    user->Click(IDC_SAVE);
    const std::string printed = ::testing::internal::GetCapturedStdout();

    EXPECT_TRUE(advanced);
    EXPECT_EQ(Progress(), nullptr);
    EXPECT_TRUE(user->said.empty());
    EXPECT_EQ(user->FieldText(IDC_FILENAME), Chosen(input));
    const Rewritten expected = rewriteInMemory(model, 6);
    EXPECT_TRUE(readFile(folder / "out.zrm") == expected.output);  // too long to print
    EXPECT_EQ(printed, expected.trace);
}

// Half way at half the bytes read, and all the way once the model is read and
// synced, just before it takes its name.
TEST_F(ResponsiveSaveTest, TheProgressFollowsTheBytesReadToTheEnd) {
    bool reachedTheEnd = false;
    held.WhenFirstHeld([&] {
        ASSERT_TRUE(WaitForProgressShown());
        QProgressDialog* progress = Progress();
        do {
            const auto [read, total] = held.Reported();
            const auto expected = static_cast<int>(read * progress->maximum() / total);
            EXPECT_TRUE(
                QTest::qWaitFor([&] { return progress->value() == expected; }, kGiveUpMilliseconds))
                << read << " of " << total << " bytes read, shown " << progress->value();
            reachedTheEnd = reachedTheEnd || (read == total && expected == progress->maximum());
        } while (held.Step());
    });
    user->chooserAnswers = {folder / "out.zrm"};
    user->Click(IDC_SAVE);
    EXPECT_TRUE(reachedTheEnd);
    EXPECT_TRUE(readFile(folder / "out.zrm") == rewriteInMemory(model, 1).output);
}

// A cancel that comes once the model is read and synced, as it takes its
// name: either the output keeps what it held, or the window says plainly
// that the model was written. (One that comes at the sync still wins.)
TEST_F(ResponsiveSaveTest, ACancelAtTheLastMomentIsNeverIgnoredSilently) {
    const auto output = Write("out.zrm", "keep");
    held.WhenFirstHeld([&] {
        ASSERT_TRUE(WaitForProgressShown());
        while (!held.AtTheNaming()) {
            ASSERT_TRUE(held.Step());
        }
        Progress()->findChild<QPushButton*>()->click();
        while (held.Step()) {
        }
    });
    user->chooserAnswers = {output};
    user->Click(IDC_SAVE);
    if (readFile(output) == "keep") {
        EXPECT_TRUE(user->said.empty());
    } else {
        EXPECT_TRUE(readFile(output) == rewriteInMemory(model, 1).output);
        EXPECT_EQ(user->said, std::vector<std::string>{"It was too late to cancel: the model has "
                                                       "been written to '" +
                                                       DisplayText(output) + "'."});
    }
    EXPECT_EQ(folder.listing(), "in.zrm out.zrm ");
    EXPECT_TRUE(user->IsOpen());
}

// Through the progress dialog once it shows, or in the window before.
class StoppedSaveTest
    : public ResponsiveSaveTest,
      public ::testing::WithParamInterface<std::tuple<std::string_view, std::string_view>> {};

// Until the worker has stopped, the progress dialog stays up.
TEST_P(StoppedSaveTest, LeavesTheEarlierOutputAndTheWindow) {
    const auto [where, how] = GetParam();
    const auto output = Write("out.zrm", "keep");
    QDialog& window = QtUser().Widget();
    held.WhenFirstHeld([&] {
        if (where == "progress dialog") {
            ASSERT_TRUE(WaitForProgressShown());
            ASSERT_TRUE(held.Step() && held.Step());
        }
        QWidget* target = where == "window" ? &window : static_cast<QWidget*>(Progress());
        if (how == "Escape") {
            QTest::keyClick(target, Qt::Key_Escape);
        } else if (how == "close") {
            target->close();
        } else if (where == "window") {
            QTest::mouseClick(QtUser().Control(IDOK), Qt::LeftButton);
        } else {
            Progress()->findChild<QPushButton*>()->click();
        }
        EXPECT_TRUE(where == "window" ||
                    (Progress()->isVisible() && Progress()->labelText() == "Cancelling..."));
        EXPECT_FALSE(held.Step());
    });
    user->chooserAnswers = {output};
    user->Click(IDC_SAVE);

    EXPECT_EQ(readFile(output), "keep");
    EXPECT_EQ(folder.listing(), "in.zrm out.zrm ");
    EXPECT_TRUE(user->said.empty());
    EXPECT_TRUE(user->IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Ways, StoppedSaveTest,
                         ::testing::Combine(::testing::Values("progress dialog", "window"),
                                            ::testing::Values("button", "Escape", "close")));

}  // namespace
}  // namespace morvane::ui::scenarios
