#pragma once
// The window's History, Compare plans and Usage tabs before their module is
// loaded: empty tabs, Ctrl+S and file drops, each of which loads the module
// (once) and hands itself on. Start-up thus loads no SQL, meter data or
// tariff code. A module that cannot be loaded is reported in the tab shown
// (or in the error box for a key or a drop) and tried again next time.

#include "app/view/pages.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class QShortcut;
class QTabWidget;

// Takes a single local file dropped on `window` (or on a child that takes no
// drops) and hands it to `take` once the drop has finished; removed with
// the object.
class TFileDropTarget : public QObject {
public:
    TFileDropTarget(QWidget* window, std::function<void(const QString& path)> take, QObject* owner);
    ~TFileDropTarget() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::function<void(const QString&)> take_;
};

class TDeferredPages : public QObject {
public:
    using Loader = std::function<VoltiskAddPagesFn(QString* why)>;
    TDeferredPages(TFormView& view, TDialogs& dialogs, TFileDialogs& files, QString historyFile,
                   Loader load = LoadPagesModule);
    ~TDeferredPages() override;

    // Null until the module was loaded.
    TPages* Pages() const { return pages_.get(); }

private:
    // The pages, loading the module the first time; null when it cannot be
    // loaded, with the reason in `why`.
    TPages* Load(QString* why);
    void Shown(QWidget* tab);

    TFormView& view_;
    TDialogs& dialogs_;
    TFileDialogs& files_;
    QString historyFile_;
    Loader load_;
    QTabWidget* tabs_;
    std::vector<QWidget*> placeholders_;
    QShortcut* save_;
    TFileDropTarget* drops_;
    std::unique_ptr<TPages> pages_;
};
