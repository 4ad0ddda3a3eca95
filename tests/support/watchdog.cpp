#include "support/watchdog.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
int g_expected = 0;

void CloseStrayBoxes() {
    if (g_expected > 0) {
        return;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (box && box->isVisible()) {
            ADD_FAILURE() << "unexpected message box: " << box->text().toStdString();
            box->done(QMessageBox::Cancel);
        }
    }
}
} // namespace

ExpectMessageBoxes::ExpectMessageBoxes() {
    ++g_expected;
}

ExpectMessageBoxes::~ExpectMessageBoxes() {
    --g_expected;
}

void StartMessageBoxWatchdog() {
    auto* timer = new QTimer(qApp);
    timer->setInterval(100);
    QObject::connect(timer, &QTimer::timeout, timer, &CloseStrayBoxes);
    timer->start();
}
