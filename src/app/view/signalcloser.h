#pragma once
// SIGTERM, SIGINT and SIGHUP (logout, kill, Ctrl+C) end the program as the
// main window's close box would, so the settings are saved, whatever box or
// window is open at the time: every dialog is rejected (a question answers
// No), every other window closed, and every event loop, nested ones too, is
// left. The handler only writes to a socket pair; the rest runs from the
// event loop.

#include <QObject>
#include <QPointer>
#include <QWidget>

class QSocketNotifier;

class SignalCloser : public QObject {
public:
    // `window`: the main window, closed last; may be null, and set later:
    // installed before the window exists, a box shown while the window is
    // built (the settings being read) is covered too.
    explicit SignalCloser(QWidget* window = nullptr);
    ~SignalCloser() override;
    void SetWindow(QWidget* window) { window_ = window; }

    // True once a signal has been acted on: the caller must not enter its
    // main event loop any more (a signal taken in a box during start-up).
    static bool Signalled();

private:
    QSocketNotifier* notifier_ = nullptr;
    QPointer<QWidget> window_;
};
