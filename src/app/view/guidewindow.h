#pragma once
// The user guide in a window of its own: the guide's HTML pages in a
// QTextBrowser, their contents (each page with its sections) beside it, and a
// search field that finds a text in the page shown and then in the pages
// after it. The pages are the installed ones (GuideFolder()).

#include <QDialog>
#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QTreeWidget;

// Where the guide's index.html is: beside the program (the build tree), then
// <prefix>/share/doc/voltisk/guide relative to the program. Empty when missing.
QString GuideFolder();
// Looked in first (tests point at the source tree).
void SetGuideFolder(const QString& folder);

class TGuideWindow : public QDialog {
public:
    // `folder` holds index.html and the pages it lists.
    explicit TGuideWindow(const QString& folder, QWidget* parent = nullptr);

    // Finds `text` from the cursor on, in this page and then the next ones
    // (wrapping round); false when no page has it.
    bool Find(const QString& text);
    QTextBrowser* Browser() const { return browser_; }
    QTreeWidget* Contents() const { return contents_; }

private:
    void BuildContents();

    QString folder_;
    QStringList pages_; // file names, in the order of index.html
    QTextBrowser* browser_;
    QTreeWidget* contents_;
    QLineEdit* search_;
    QLabel* status_;
};
