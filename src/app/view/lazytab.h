#pragma once
// A page of the window's page area that is built when first shown, so that
// start-up makes only an empty tab. The first time the tab is shown, `build`
// makes the page in the tab's layout (its widgets, its presenter, its chart
// module, its file); each time it is shown, `read` hands the page its data.
// A failure of either shows the standard error box instead of crossing the
// event loop.
//
// Every such tab starts with a fault line (TFaultLine): a file the page cannot
// open, read or change (damaged, read-only, a newer version) is reported
// there, in the same widget and place on every page.

#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTabWidget;
class QVBoxLayout;
class TDialogs;

// The line at the top of a page that says what is wrong with its file, with
// the page's ways out (buttons) beside it; hidden while there is no fault.
class TFaultLine : public QWidget {
public:
    // The text's object name is `name`.
    TFaultLine(const QString& name, QWidget* parent);
    // Shows `text` (plain, wrapped); an empty text hides the line.
    void Report(const QString& text);
    void AddButton(QPushButton* button);
    QLabel* Text() const { return text_; }

private:
    QLabel* text_;
    QHBoxLayout* row_;
};

class TLazyTab : public QObject {
public:
    using Build = std::function<void(QVBoxLayout* layout, TFaultLine& fault)>;
    // Adds the empty tab `title` (object name `name`) after the others (or
    // takes the tab of that name the window made for the page), with
    // `margins` around its contents; its fault text is named `faultName`.
    // `owner` (whose members the page's functions use) owns the helper, so
    // that no show reaches them once it is gone.
    TLazyTab(QTabWidget* tabs, TDialogs& dialogs, const QString& name, const QString& title,
             const QString& faultName, int margins, QObject* owner);
    // Set before the tab is first shown.
    void SetPage(Build build, std::function<void()> read);

    QWidget* Tab() const { return tab_; }
    bool Built() const { return built_; }
    // Null until built.
    TFaultLine* Fault() const { return fault_; }
    // Makes the tab current, building and reading it; a tab that is current
    // already is only built and read if it was not built yet.
    void Show();
    // Builds the page if it is not built yet, without reading it; a build
    // that failed is tried again on the next show.
    void BuildNow();

private:
    void Shown();
    template <class F> bool Guarded(F&& f);

    QTabWidget* tabs_;
    TDialogs& dialogs_;
    QWidget* tab_;
    QString faultName_;
    int margins_;
    Build build_;
    std::function<void()> read_;
    QVBoxLayout* layout_ = nullptr;
    TFaultLine* fault_ = nullptr;
    bool built_ = false;
};
