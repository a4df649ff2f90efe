#include "platform/modal_progress.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include "widgets.h"

namespace morvane::ui {
namespace {

// A work that is over sooner than this never shows the dialog, so that small
// models do not make it flash over the window.
constexpr int kShowAfterMilliseconds = 500;
constexpr int kPollMilliseconds = 50;

// Closing it, or pressing Escape in it, asks the work to stop just as its
// Cancel button does; only the end of the work takes it away.
class ProgressDialog : public QProgressDialog {
public:
    explicit ProgressDialog(QWidget& owner) : QProgressDialog(&owner) {
        setObjectName("RewriteProgress");
        setWindowTitle(owner.windowTitle());
        setWindowModality(Qt::ApplicationModal);
        setRange(0, ModalProgress::kSteps);
        setMinimumDuration(kShowAfterMilliseconds);
        setAutoReset(false);
        setAutoClose(false);
        // The dialog's own answer to a cancel hides it at once, while the
        // worker may still be finishing its read.
        disconnect(this, SIGNAL(canceled()), this, SLOT(cancel()));
    }

    void reject() override { emit canceled(); }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        emit canceled();
    }
};

}  // namespace

// The dialog lives only while its work runs: its own timer shows it once the
// work has taken long enough, and a dialog that outlived the work would come
// up later over whatever the window shows next, and never go away.
struct ModalProgress::Native {
    explicit Native(QWidget& window) : owner(window) {}

    QWidget& owner;
    QString label;
    ProgressDialog* dialog = nullptr;  // while Run runs
};

ModalProgress::ModalProgress(CDialog& owner)
    : m_native(std::make_unique<Native>(NativeWidget(owner))) {}

ModalProgress::~ModalProgress() = default;

void ModalProgress::SetLabel(const std::string& text) {
    m_native->label = QString::fromStdString(text);
    if (m_native->dialog != nullptr) {
        m_native->dialog->setLabelText(m_native->label);
    }
}

void ModalProgress::Run(const std::function<void()>& work, const std::function<int()>& stepsDone,
                        const std::function<void()>& onCancel) {
    ProgressDialog dialog(m_native->owner);
    dialog.setLabelText(m_native->label);
    m_native->dialog = &dialog;
    QObject::connect(&dialog, &QProgressDialog::canceled, onCancel);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] { dialog.setValue(stepsDone()); });
    QFutureWatcher<void> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    dialog.setValue(0);
    poll.start(kPollMilliseconds);
    watcher.setFuture(QtConcurrent::run(work));
    if (!watcher.isFinished()) {
        loop.exec();
    }
    // The loop also ends when the whole application is told to quit; the
    // worker must not outlive what it was lent.
    if (!watcher.isFinished()) {
        onCancel();
        watcher.waitForFinished();
    }
    m_native->dialog = nullptr;
}

}  // namespace morvane::ui
