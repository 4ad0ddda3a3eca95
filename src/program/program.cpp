#include "program/program.h"

#include "app/startuppage.h"
#include "app/tform1.h"
#include "app/view/deferredpages.h"
#include "app/view/formview.h"
#include "app/view/helpactions.h"
#include "app/view/lazyicon.h"
#include "app/view/qtfiledialogs.h"
#include "app/view/qtplatform.h"
#include "app/view/signalcloser.h"
#include "app/view/singleinstance.h"
#include "mylib/money.h"
#include "mylib/paths.h"

#include <QApplication>
#include <QIcon>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QSessionManager>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>

Q_LOGGING_CATEGORY(lcProgram, "voltisk.program", QtWarningMsg)

namespace {

// Runs `then` once the window's first paint has finished: it is queued from
// the first paint event of the shown window, so it runs after the whole
// window is painted (a hidden window rendered into a picture does not count).
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget* window, std::function<void()> then)
        : QObject(window), then_(std::move(then)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && then_ &&
            static_cast<QWidget*>(watched)->isVisible()) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(this, std::exchange(then_, nullptr), Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> then_;
};

// What must still happen when the process ends without returning from the
// event loop: Qt ends it with exit(1) when the X connection breaks and with a
// fatal message when a Wayland compositor goes away.
std::function<void()> g_lastChance;
QtMessageHandler g_previousHandler = nullptr;

void RunLastChance() {
    if (g_lastChance) {
        const std::function<void()> f = std::move(g_lastChance);
        g_lastChance = nullptr;
        f();
    }
}

void SaveBeforeFatal(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        RunLastChance();
    }
    if (g_previousHandler) {
        g_previousHandler(type, context, text);
    }
}

void InstallLastChance() {
    static bool installed = false;
    if (!installed) {
        installed = true;
        std::atexit(RunLastChance);
        g_previousHandler = qInstallMessageHandler(SaveBeforeFatal);
    }
}

void ReportUnattendedFailure(TForm1& form) {
    if (const auto error = form.SaveSettingsUnattended()) {
        std::fprintf(stderr, "voltisk: %s\n", qPrintable(*error));
    }
}

// The desktop's services for the window model, living as long as the window.
struct DesktopServices {
    QtDialogs dialogs;
    QtShell shell;
    QtClock clock;
    QtScreen screen;
    QtFileDialogs files;
    TPlatform platform{dialogs, shell, clock, screen};
    DesktopServices(const QStringList& arguments, const TLocales& locales) {
        platform.arguments = arguments;
        platform.locales = locales;
        platform.moneyDecimals = CurrencyDecimals(locales.money);
        platform.executablePath = QApplication::applicationFilePath();
        platform.markerPath = QString::fromLatin1(DeveloperMarkerPath);
        platform.billFolder = QStringLiteral("/mnt/f/users/tovan/documents/electricity/bills");
    }
    // The platform refers to the services beside it.
    DesktopServices(const DesktopServices&) = delete;
    DesktopServices& operator=(const DesktopServices&) = delete;
};

// The window model holds every value without its widgets, so the settings can
// be saved when the display or the session ends.
void SaveWhenTheSessionEnds(QApplication& app, QWidget& view, TForm1& form,
                            TSingleInstance& instance) {
    InstallLastChance();
    g_lastChance = [&form, &instance] {
        ReportUnattendedFailure(form);
        instance.ReleaseAtExit();
    };
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &view,
                     [&form](QSessionManager&) { ReportUnattendedFailure(form); });
}

// The second start's word when the running copy took the request but never
// answered (stopped, hung): on standard error and in a box, then exit 1.
int ReportNotAnswering(int argc, char* argv[], qint64 pid) {
    const QString text =
        pid > 0
            ? QStringLiteral("Another Voltisk (process %1) is running but not answering.").arg(pid)
            : QStringLiteral("Another Voltisk is running but not answering.");
    const QString advice =
        QStringLiteral("Wait until it answers, or end that process, then start Voltisk again.");
    // The words come first (also without a display); a signal that arrives
    // meanwhile waits until it can close the box.
    sigset_t ending;
    sigemptyset(&ending);
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        sigaddset(&ending, sig);
    }
    sigprocmask(SIG_BLOCK, &ending, nullptr);
    std::fprintf(stderr, "voltisk: %s %s\n", qPrintable(text), qPrintable(advice));
    std::fflush(stderr);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Voltisk"));
    SignalCloser closer;
    sigprocmask(SIG_UNBLOCK, &ending, nullptr);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Voltisk"), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(advice);
    if (!SignalCloser::Signalled()) {
        box.exec();
    }
    return 1;
}

} // namespace

int RunProgram(int argc, char* argv[], const ProgramOptions& options) {
    // Before QApplication, which takes its own options out of argv.
    const QStringList arguments = ArgumentsAsGiven(argc, argv);
    // A second copy hands over before any window or settings file is touched;
    // of its arguments only the desktop action's option is passed on.
    TSingleInstance instance;
    switch (instance.Start(HandsOverUsageCalculator(arguments)
                               ? TSingleInstance::Request::ShowUsageCalculator
                               : TSingleInstance::Request::Activate)) {
    case TSingleInstance::Role::Second:
        return 0;
    case TSingleInstance::Role::NotAnswering:
        return ReportNotAnswering(argc, argv, instance.HolderPid());
    case TSingleInstance::Role::First:
        break;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Voltisk"));
    // Ties the window to the installed menu entry (and its icon) on Wayland.
    QApplication::setDesktopFileName(QStringLiteral("com.brindlesoftware.Voltisk"));

    DesktopServices services(arguments, StartLocales());
    TPlatform& platform = services.platform;

    // Before the settings are read: a box they bring up ends with a signal too.
    SignalCloser closer;
    int code = 0;
    {
        TForm1 form(platform);
        form.Create();
        TFormView view(form);
        new TDeferredPages(view, services.dialogs, services.files, HistoryFileName());
        AddHelpActions(view);
        closer.SetWindow(&view);
        instance.OnActivation([&form](TSingleInstance::Request request) {
            form.ActivationMessage(request == TSingleInstance::Request::ShowUsageCalculator);
            qCInfo(lcProgram) << "Showing page" << form.pagecontrol1->ActivePage()->Name();
        });
        if (!options.quitWhenShown && !options.quitAfterFirstPaint) {
            SaveWhenTheSessionEnds(app, view, form, instance);
        }
        form.Show();
        view.show();
        if (options.quitWhenShown) {
            QTimer::singleShot(0, &view, &QWidget::close);
        }
        // The icon is decoded only at the sizes the window system asks for;
        // the window need not wait for that before it first shows its fields.
        new AfterFirstPaint(&view, [&view, &options] {
            if (options.afterFirstPaint) {
                options.afterFirstPaint();
            }
            QApplication::setWindowIcon(LazyIcon(QStringLiteral(":/voltisk.png"), QSize(256, 256)));
            if (options.quitAfterFirstPaint) {
                view.close();
            }
        });
        // A signal taken in a start-up box has ended the session already.
        if (!SignalCloser::Signalled()) {
            code = QApplication::exec();
        }
        g_lastChance = nullptr;
        if (!options.quitWhenShown && !options.quitAfterFirstPaint) {
            form.Destroy();
        }
    }
    instance.Release();
    return code;
}
