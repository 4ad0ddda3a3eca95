// The smallest Qt window worth comparing with: one label, shown, then closed.
#include <QApplication>
#include <QLabel>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Voltisk"));
    label.show();
    QTimer::singleShot(0, &label, &QWidget::close);
    return QApplication::exec();
}
