#include "app/view/program.h"

#include "app/singleinstance.h"
#include "app/tform1.h"
#include "app/view/formview.h"
#include "app/view/qtplatform.h"
#include "app/view/signalcloser.h"
#include "mylib/money.h"
#include "mylib/paths.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>

int RunProgram(int argc, char* argv[], const ProgramOptions& options) {
    // A second copy hands over before any window or settings file is touched.
    TSingleInstance instance;
    if (!instance.TryLock()) {
        instance.SendActivation();
        return 0;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Voltisk"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/voltisk.png")));
    ReadMoneyDecimals(QLocale());

    QtDialogs dialogs;
    QtShell shell;
    QtClock clock;
    QtScreen screen;
    TPlatform platform(dialogs, shell, clock, screen);
    platform.arguments = QApplication::arguments().mid(1);
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
        code = QApplication::exec();
        if (!options.quitWhenShown) {
            form.Destroy();
        }
    }
    return code;
}
