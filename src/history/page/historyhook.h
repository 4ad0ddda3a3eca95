#pragma once
// Adds the History page after "Help" in the window's page area, and Ctrl+S
// ("Add current period") anywhere in the window. The page is an empty tab
// until it is first shown; only then are its widgets, the chart module and
// the history file opened.

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class TFormView;
class TDialogs;
class TFileDialogs;
class THistoryPresenter;
class THistoryPage;
class THistorySession;
class TLazyTab;

class THistoryHook : public QObject {
public:
    THistoryHook(TFormView& view, TDialogs& dialogs, TFileDialogs& files, const QString& fileName);
    ~THistoryHook() override;

    THistoryPresenter& Presenter() { return *presenter_; }
    // The history file's one owner, shared with the Compare plans page.
    THistorySession& Session() { return *session_; }
    // Null until the page was first shown.
    THistoryPage* Page() const;

    TLazyTab& Tab() const { return *tab_; }
    // Ctrl+S: the readings page's period into the history.
    void AddCurrentPeriod();

private:
    TFormView& view_;
    std::unique_ptr<THistorySession> session_;
    std::unique_ptr<THistoryPresenter> presenter_;
    TLazyTab* tab_;
    QPointer<THistoryPage> page_;
};

// The one call the program makes; the hook belongs to the view.
THistoryHook* AddHistoryPage(TFormView& view, TDialogs& dialogs, TFileDialogs& files,
                             const QString& fileName);
