#pragma once
// The "Usage" tab after "Compare plans". Only an empty tab exists at start-up:
// the page, its presenter and the meter data are reached when the tab is
// first shown, and read again each time it is shown. A file dropped on the
// window shows the tab and offers the file for import.

#include <QObject>
#include <memory>

class QTabWidget;
class QWidget;
class TDialogs;
class TFileDialogs;
class TFaultLine;
class TFormView;
class TLazyTab;
class QVBoxLayout;
class THistoryHook;
class THistorySession;
class TReadingsPage;
class TUsagePage;
class TUsagePresenter;

class TUsageTab : public QObject {
public:
    TUsageTab(QTabWidget* tabs, TReadingsPage& readings, THistorySession& session,
              TDialogs& dialogs, TFileDialogs& files);
    ~TUsageTab() override;

    QWidget* Tab() const;
    TLazyTab& Lazy() const { return *lazy_; }
    // Null until the tab is first shown.
    TUsagePage* Page() const { return page_; }
    // Shows the tab and runs the import dialog for the file.
    void ImportFile(const QString& path);
    // A single local file dropped on `window` (or a child that takes no
    // drops) goes to ImportFile.
    void TakeDropsOn(QWidget* window);

private:
    void Build(QVBoxLayout* layout, TFaultLine& fault);

    TReadingsPage& readings_;
    THistorySession& session_;
    TDialogs& dialogs_;
    TFileDialogs& files_;
    TLazyTab* lazy_;
    std::unique_ptr<TUsagePresenter> presenter_;
    TUsagePage* page_ = nullptr;
};

// The one call the program makes, after AddPlansPage; the tab shares the
// History page's file and belongs to the view, which takes dropped files.
TUsageTab* AddUsagePage(TFormView& view, THistoryHook& history, TFileDialogs& files);
