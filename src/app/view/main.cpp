#include "app/tform1.h"
#include "app/view/formview.h"
#include "app/view/qtplatform.h"
#include "mylib/money.h"
#include "mylib/paths.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Voltisk"));
    ReadMoneyDecimals(QLocale());

    QtDialogs dialogs;
    QtShell shell;
    QtClock clock;
    QtScreen screen;
    TPlatform platform;
    platform.dialogs = &dialogs;
    platform.shell = &shell;
    platform.clock = &clock;
    platform.screen = &screen;
    platform.arguments = QApplication::arguments().mid(1);
    platform.executablePath = QApplication::applicationFilePath();
    platform.markerPath = QString::fromLatin1(DeveloperMarkerPath);
    platform.billFolder = QStringLiteral("/mnt/f/users/tovan/documents/electricity/bills");

    TForm1 form(platform);
    form.Create();
    TFormView view(form);
    form.Show();
    view.show();
    const int code = QApplication::exec();
    form.Destroy();
    return code;
}
