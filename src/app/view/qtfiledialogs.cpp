#include "app/view/qtfiledialogs.h"

#include <QApplication>
#include <QFileDialog>

QString QtFileDialogs::SaveFileName(const QString& caption, const QString& suggested,
                                    const QString& filter) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, suggested, filter);
}

QString QtFileDialogs::OpenFileName(const QString& caption, const QString& folder,
                                    const QString& filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, folder, filter);
}
