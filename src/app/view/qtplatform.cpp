#include "app/view/qtplatform.h"

#include "mylib/dialogtexts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>

namespace {

QString AppTitle() {
    const QString t = QGuiApplication::applicationDisplayName();
    return t.isEmpty() ? QStringLiteral("Voltisk") : t;
}

} // namespace

void QtDialogs::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, AppTitle(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void QtDialogs::ShowError(const QString& text) {
    QMessageBox box(QMessageBox::Critical, AppTitle(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

void QtDialogs::InfoDialog(const QString& headline, const QString& detail, const QString& caption,
                           bool relativeToOwner, int x, int y) {
    QMessageBox box(QMessageBox::NoIcon, caption.isEmpty() ? AppTitle() : caption,
                    DialogMessageText(headline, detail), QMessageBox::Ok,
                    relativeToOwner ? QApplication::activeWindow() : nullptr);
    if (x >= 0 && y >= 0) {
        box.move(x, y);
    }
    box.exec();
}

bool QtDialogs::VerifyDialog(const QString& question, const QString& detail, bool relativeToOwner,
                             bool allowCancel) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Verify"),
                    DialogMessageText(question, detail), QMessageBox::Yes | QMessageBox::No,
                    relativeToOwner ? QApplication::activeWindow() : nullptr);
    box.setEscapeButton(allowCancel ? QMessageBox::No : QMessageBox::NoButton);
    return box.exec() == QMessageBox::Yes;
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

QRect QtScreen::Geometry() const {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect(0, 0, 1920, 1080);
}
