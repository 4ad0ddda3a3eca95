#include "app/view/qtplatform.h"

#include "mylib/dialogtexts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

Q_LOGGING_CATEGORY(lcDialogs, "voltisk.dialogs", QtWarningMsg)

namespace {

// The application title: the display name the program set (the window model's
// ApplicationTitle), else "Voltisk". Qt reports the executable's name when no
// display name was set, which is no title for a dialog.
QString AppTitle() {
    const QString display = QGuiApplication::applicationDisplayName();
    if (display.isEmpty() || display == QCoreApplication::applicationName()) {
        return QStringLiteral("Voltisk");
    }
    return display;
}

// Message texts come with CR LF or bare CR line breaks; the box shows them as
// plain text with its own line breaks, so no character of a file name or a
// typed value is taken as markup.
void SetMessageText(QMessageBox& box, const QString& text) {
    qCInfo(lcDialogs) << "Box:" << text;
    box.setTextFormat(Qt::PlainText);
    box.setText(
        QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n'));
}

} // namespace

void QtDialogs::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, AppTitle(), QString(), QMessageBox::Ok,
                    QApplication::activeWindow());
    SetMessageText(box, text);
    box.exec();
}

void QtDialogs::ShowError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, AppTitle(), QString(), QMessageBox::Ok,
                    QApplication::activeWindow());
    SetMessageText(box, text);
    box.exec();
}

// Linux has no task dialog, so both dialogs take the message-box form: the
// headline and the detail joined into one text (DialogMessageText).
void QtDialogs::InfoDialog(const QString& headline, const QString& detail,
                           const InfoDialogOptions& options) {
    QMessageBox box(QMessageBox::NoIcon, options.caption.isEmpty() ? AppTitle() : options.caption,
                    QString(), QMessageBox::Ok,
                    options.relativeToOwner ? QApplication::activeWindow() : nullptr);
    SetMessageText(box, DialogMessageText(headline, detail));
    if (options.at && options.at->x() >= 0 && options.at->y() >= 0) {
        // A moved window keeps its place when shown instead of being centred.
        box.move(*options.at);
    }
    box.exec();
}

bool QtDialogs::VerifyDialog(const QString& question, const QString& detail,
                             const VerifyOptions& options) {
    return Ask(question, detail, options.relativeToOwner ? QApplication::activeWindow() : nullptr,
               true);
}

bool QtDialogs::VerifyDialogDefaultNo(const QString& question, const QString& detail) {
    return Ask(question, detail, QApplication::activeWindow(), false);
}

bool QtDialogs::Ask(const QString& question, const QString& detail, QWidget* parent,
                    bool yesDefault) {
    // With Yes and No only, QMessageBox makes No the escape button, so Escape
    // and the close button answer No whether or not cancelling was offered.
    QMessageBox box(QMessageBox::Question, QStringLiteral("Verify"), QString(),
                    QMessageBox::Yes | QMessageBox::No, parent);
    SetMessageText(box, DialogMessageText(question, detail));
    if (!yesDefault) {
        box.setDefaultButton(QMessageBox::No);
    }
    box.exec();
    return box.clickedButton() == box.button(QMessageBox::Yes);
}

void QtShell::OpenUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

void QtShell::ShowFolder(const QString& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

QDate QtClock::Today() const {
    return QDate::currentDate();
}

double QtScreen::DevicePixelRatio() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->devicePixelRatio() : 1.0;
}

QRect QtScreen::Geometry() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1920, 1080);
}
