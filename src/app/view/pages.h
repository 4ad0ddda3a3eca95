#pragma once
// The History, Compare plans and Usage pages, with the history file's SQL,
// the meter data readers and the tariff pricing, are a module of their own
// (libvoltisk_pages.so) loaded the first time one of them is needed; until
// then the window has only their empty tabs (TDeferredPages). This is what
// the window asks of them once loaded. The module is built from the same
// sources as the program and reaches the window's code in the program.

#include <QString>

class QWidget;
class TDialogs;
class TFileDialogs;
class TFormView;

class TPages {
public:
    virtual ~TPages() = default;
    // Shows the page whose tab is `tab`, building it the first time.
    virtual void Show(QWidget* tab) = 0;
    // Ctrl+S: the readings page's period into the history.
    virtual void AddCurrentPeriod() = 0;
    // A file dropped on the window, offered for import on the Usage page.
    virtual void ImportFile(const QString& path) = 0;
};

// The pages' tabs in their order after "Help": object name and title.
struct TPageTab {
    const char* name;
    const char* title;
};
inline constexpr TPageTab kPageTabs[] = {
    {"history", "History"}, {"comparets", "Compare plans"}, {"usagets", "Usage"}};

// The module's entry, "VoltiskAddPages": adds the pages to `view`, taking over
// their tabs; the pages belong to the view, the returned object to the caller.
using VoltiskAddPagesFn = TPages* (*)(TFormView& view, TDialogs& dialogs, TFileDialogs& files,
                                      const QString& historyFile);

// The program's pages: those of the module (null with `why` when it cannot be
// loaded).
VoltiskAddPagesFn LoadPagesModule(QString* why);
void SetPagesModulePath(const QString& path);
