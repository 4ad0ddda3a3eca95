#include "app/view/guidewindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QString ReadPage(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QString PlainText(const QString& html) {
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText();
}

QString g_guideFolder;

} // namespace

void SetGuideFolder(const QString& folder) {
    g_guideFolder = folder;
}

QString GuideFolder() {
    const QString exe = QApplication::applicationDirPath();
    for (const QString& folder : {g_guideFolder, exe + QStringLiteral("/guide"),
                                  exe + QStringLiteral("/../share/doc/voltisk/guide")}) {
        if (QFile::exists(folder + QStringLiteral("/index.html"))) {
            return QDir::cleanPath(folder);
        }
    }
    return QString();
}

TGuideWindow::TGuideWindow(const QString& folder, QWidget* parent)
    : QDialog(parent), folder_(folder) {
    setObjectName(QStringLiteral("guidewindow"));
    setWindowTitle(QStringLiteral("User guide - Voltisk"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("guidebrowser"));
    browser_->setAccessibleName(QStringLiteral("User guide"));
    browser_->setOpenExternalLinks(true);
    browser_->setSearchPaths({folder});
    contents_ = new QTreeWidget(this);
    contents_->setObjectName(QStringLiteral("guidecontents"));
    contents_->setAccessibleName(QStringLiteral("Contents"));
    contents_->setHeaderHidden(true);
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("guidesearch"));
    search_->setAccessibleName(QStringLiteral("Search the guide"));
    search_->setPlaceholderText(QStringLiteral("Search the guide (Ctrl+F)"));
    search_->setClearButtonEnabled(true);
    auto* next = new QPushButton(QStringLiteral("Find next"), this);
    status_ = new QLabel(this);
    status_->setTextFormat(Qt::PlainText);

    auto* top = new QHBoxLayout;
    top->addWidget(search_, 1);
    top->addWidget(next);
    top->addWidget(status_);
    auto* split = new QSplitter(this);
    split->addWidget(contents_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(split, 1);
    resize(960, 680);

    const auto find = [this] {
        const bool found = Find(search_->text());
        status_->setText(found || search_->text().isEmpty() ? QString()
                                                            : QStringLiteral("Not found"));
    };
    connect(search_, &QLineEdit::returnPressed, this, find);
    connect(next, &QPushButton::clicked, this, find);
    auto* findKey = new QShortcut(QKeySequence::Find, this);
    connect(findKey, &QShortcut::activated, this, [this] {
        search_->setFocus();
        search_->selectAll();
    });
    connect(new QShortcut(QKeySequence::FindNext, this), &QShortcut::activated, this, find);
    connect(contents_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        browser_->setSource(item->data(0, Qt::UserRole).toUrl());
    });
    connect(contents_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        browser_->setSource(item->data(0, Qt::UserRole).toUrl());
    });

    BuildContents();
    browser_->setSource(QUrl::fromLocalFile(folder + QStringLiteral("/index.html")));
}

// Each page that index.html links to, titled by its first heading, with its
// sections (headings with an anchor) under it.
void TGuideWindow::BuildContents() {
    const QString index = ReadPage(folder_ + QStringLiteral("/index.html"));
    static const QRegularExpression link(QStringLiteral(R"re(href="([a-z0-9-]+\.html)")re"));
    static const QRegularExpression heading(
        QStringLiteral(R"re(<h([12])[^>]*>\s*<a name="([^"]+)">\s*</a>(.*?)</h\1>)re"),
        QRegularExpression::DotMatchesEverythingOption);
    pages_ = {QStringLiteral("index.html")};
    for (auto it = link.globalMatch(index); it.hasNext();) {
        const QString page = it.next().captured(1);
        if (!pages_.contains(page)) {
            pages_ << page;
        }
    }
    for (const QString& page : pages_) {
        const QString path = folder_ + u'/' + page;
        QTreeWidgetItem* top = nullptr;
        for (auto it = heading.globalMatch(ReadPage(path)); it.hasNext();) {
            const auto m = it.next();
            QUrl url = QUrl::fromLocalFile(path);
            url.setFragment(m.captured(2));
            const QString title = PlainText(m.captured(3)).simplified();
            auto* item = m.captured(1) == u'1' || !top ? new QTreeWidgetItem(contents_)
                                                       : new QTreeWidgetItem(top);
            if (m.captured(1) == u'1' || !top) {
                top = item;
            }
            item->setText(0, title);
            item->setData(0, Qt::UserRole, url);
        }
    }
    contents_->expandAll();
}

bool TGuideWindow::Find(const QString& text) {
    if (text.isEmpty()) {
        return false;
    }
    if (browser_->find(text)) {
        return true;
    }
    const QString current = QFileInfo(browser_->source().toLocalFile()).fileName();
    const int at = std::max<int>(0, int(pages_.indexOf(current)));
    for (int step = 1; step <= pages_.size(); ++step) {
        const QString page = pages_[(at + step) % pages_.size()];
        const QString path = folder_ + u'/' + page;
        if (PlainText(ReadPage(path)).contains(text, Qt::CaseInsensitive)) {
            browser_->setSource(QUrl::fromLocalFile(path));
            browser_->moveCursor(QTextCursor::Start);
            return browser_->find(text);
        }
    }
    return false;
}
