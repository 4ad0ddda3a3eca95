#include "app/view/program.h"

#include "app/singleinstance.h"
#include "app/startuppage.h"
#include "app/tform1.h"
#include "app/view/formview.h"
#include "app/view/qtplatform.h"
#include "app/view/signalcloser.h"
#include "mylib/money.h"
#include "mylib/paths.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <functional>
#include <utility>

namespace {

// Runs `then` once the window's first paint has finished: it is queued from
// the first paint event, so it runs after the whole window is painted.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget* window, std::function<void()> then)
        : QObject(window), then_(std::move(then)) {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && then_) {
            watched->removeEventFilter(this);
            QMetaObject::invokeMethod(this, std::exchange(then_, nullptr), Qt::QueuedConnection);
        }
        return false;
    }

private:
    std::function<void()> then_;
};

} // namespace

int RunProgram(int argc, char* argv[], const ProgramOptions& options) {
    // A second copy hands over before any window or settings file is touched.
    TSingleInstance instance;
    if (!instance.TryLock()) {
        instance.SendActivation();
        return 0;
    }

    // Before QApplication, which takes its own options out of argv.
    const QStringList arguments = ArgumentsAsGiven(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Voltisk"));
    const TLocales locales = StartLocales();

    QtDialogs dialogs;
    QtShell shell;
    QtClock clock;
    QtScreen screen;
    TPlatform platform(dialogs, shell, clock, screen);
    platform.arguments = arguments;
    platform.locales = locales;
    platform.executablePath = QApplication::applicationFilePath();
    platform.markerPath = QString::fromLatin1(DeveloperMarkerPath);
    platform.billFolder = QStringLiteral("/mnt/f/users/tovan/documents/electricity/bills");

    int code = 0;
    {
        TForm1 form(platform);
        form.Create();
        TFormView view(form);
        SignalCloser closer(&view);
        instance.Listen([&form] { form.ActivationMessage(); });
        form.Show();
        view.show();
        if (options.quitWhenShown) {
            QTimer::singleShot(0, &view, &QWidget::close);
        }
        // The icon is decoded from its 256-pixel picture; the window need not
        // wait for that before it first shows its fields and figures.
        new AfterFirstPaint(&view, [&view, quit = options.quitAfterFirstPaint] {
            QApplication::setWindowIcon(QIcon(QStringLiteral(":/voltisk.png")));
            if (quit) {
                view.close();
            }
        });
        code = QApplication::exec();
        if (!options.quitWhenShown && !options.quitAfterFirstPaint) {
            form.Destroy();
        }
    }
    return code;
}
