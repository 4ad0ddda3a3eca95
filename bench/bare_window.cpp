// The smallest Qt window worth comparing with: one label, shown, then closed.
// With VOLTISK_PAINTED the window has the size of Voltisk's and closes once
// its first paint has finished, as the painted start-up of Voltisk does.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QTimer>

namespace {
class Window : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        if (!queued_) {
            queued_ = true;
            // As the program: after the paint, its times, then closed.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    ReportFirstPaint();
                    close();
                },
                Qt::QueuedConnection);
        }
    }

private:
    bool queued_ = false;
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
#ifdef VOLTISK_PAINTED
    Window label(QStringLiteral("Voltisk"));
    // Voltisk's window: 1321 x 601 design pixels at 96/120.
    label.setFixedSize(1057, 481);
    label.show();
#else
    QLabel label(QStringLiteral("Voltisk"));
    label.show();
    QTimer::singleShot(0, &label, &QWidget::close);
#endif
    return QApplication::exec();
}
