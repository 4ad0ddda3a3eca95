#pragma once
// SIGTERM, SIGINT and SIGHUP (logout, kill, Ctrl+C) close the main window as
// its close box would, so the settings are saved. The handler only writes to a
// socket pair; the window is closed from the event loop.

#include <QObject>

class QSocketNotifier;
class QWidget;

class SignalCloser : public QObject {
public:
    explicit SignalCloser(QWidget* window);
    ~SignalCloser() override;

private:
    QSocketNotifier* notifier_ = nullptr;
};
