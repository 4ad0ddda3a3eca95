#include "app/view/signalcloser.h"

#include <QApplication>
#include <QDialog>
#include <QLoggingCategory>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSignal, "voltisk.signal", QtWarningMsg)

namespace {
int g_fds[2] = {-1, -1};
bool g_signalled = false;

void OnSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_fds[0], &c, 1);
}

// A box opened after the signal (the code behind a closed box may open the
// next one) is closed as soon as it shows.
class LateBoxCloser : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<QDialog*>(watched); dialog && dialog->isWindow()) {
                QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
            }
        }
        return false;
    }
};

void EndSession(QWidget* window) {
    g_signalled = true;
    qCInfo(lcSignal) << "Ending on a signal";
    // Owned by the application, so it goes with it.
    qApp->installEventFilter(new LateBoxCloser(qApp));
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == window || !w->isVisible()) {
            continue;
        }
        if (auto* dialog = qobject_cast<QDialog*>(w)) {
            dialog->reject();
        } else {
            w->close();
        }
    }
    if (window) {
        window->close();
    }
    // Leaves the box's own event loop as well as the main one; a loop
    // started later returns at once.
    QCoreApplication::exit(0);
}
} // namespace

SignalCloser::SignalCloser(QWidget* window) : QObject(window), window_(window) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_fds) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(g_fds[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char c = 0;
        [[maybe_unused]] const ssize_t n = ::read(g_fds[1], &c, 1);
        EndSession(window_);
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(sig, &sa, nullptr);
    }
}

SignalCloser::~SignalCloser() {
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        std::signal(sig, SIG_DFL);
    }
}

bool SignalCloser::Signalled() {
    return g_signalled;
}
