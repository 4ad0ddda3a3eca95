#include "app/view/deferredpages.h"

#include "app/tform1.h"
#include "app/view/formview.h"
#include "app/view/lazytab.h"
#include "mylib/errors.h"
#include "mylib/modules.h"
#include "mylib/platform.h"

#include <QDropEvent>
#include <QLayout>
#include <QMimeData>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString& ChosenPath() {
    static QString path;
    return path;
}

QString CannotShow(const QString& why) {
    return QStringLiteral("This installation cannot show this page: %1").arg(why);
}

// The one local file a drag carries, if it carries exactly one.
QString DroppedFile(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls() || mime->urls().size() != 1) {
        return QString();
    }
    const QUrl url = mime->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

void SetPagesModulePath(const QString& path) {
    ChosenPath() = path;
}

VoltiskAddPagesFn LoadPagesModule(QString* why) {
    // Never unloaded: the pages' widgets and objects run its code.
    return reinterpret_cast<VoltiskAddPagesFn>(
        ResolveModule(QStringLiteral("libvoltisk_pages.so"), ChosenPath(), "VoltiskAddPages", why));
}

TFileDropTarget::TFileDropTarget(QWidget* window, std::function<void(const QString&)> take,
                                 QObject* owner)
    : QObject(owner), window_(window), take_(std::move(take)) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

TFileDropTarget::~TFileDropTarget() {
    window_->removeEventFilter(this);
}

bool TFileDropTarget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!DroppedFile(drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = DroppedFile(drop->mimeData());
        if (!path.isEmpty()) {
            drop->acceptProposedAction();
            // The dialog runs after the drop has finished.
            QTimer::singleShot(0, this, [this, path] { take_(path); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

TDeferredPages::TDeferredPages(TFormView& view, TDialogs& dialogs, TFileDialogs& files,
                               QString historyFile, Loader load)
    : QObject(&view), view_(view), dialogs_(dialogs), files_(files),
      historyFile_(std::move(historyFile)), load_(std::move(load)),
      tabs_(view.findChild<QTabWidget*>()),
      save_(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), &view)) {
    Q_ASSERT(tabs_);
    for (const TPageTab& page : kPageTabs) {
        auto* tab = new QWidget;
        tab->setObjectName(QString::fromLatin1(page.name));
        tabs_->addTab(tab, QString::fromLatin1(page.title));
        placeholders_.push_back(tab);
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (!pages_) {
            Shown(tabs_->widget(index));
        }
    });
    save_->setContext(Qt::WindowShortcut);
    connect(save_, &QShortcut::activated, this, [this] {
        QString why;
        if (TPages* pages = Load(&why)) {
            view_.Model().Guard([pages] { pages->AddCurrentPeriod(); });
        } else {
            dialogs_.ShowError(ErrorBoxText(CannotShow(why)));
        }
    });
    drops_ = new TFileDropTarget(
        &view,
        [this](const QString& path) {
            QString why;
            if (TPages* pages = Load(&why)) {
                pages->ImportFile(path);
            } else {
                dialogs_.ShowError(ErrorBoxText(CannotShow(why)));
            }
        },
        this);
}

TDeferredPages::~TDeferredPages() = default;

void TDeferredPages::Shown(QWidget* tab) {
    if (std::find(placeholders_.begin(), placeholders_.end(), tab) == placeholders_.end()) {
        return;
    }
    QString why;
    if (TPages* pages = Load(&why)) {
        pages->Show(tab);
        return;
    }
    auto* fault = tab->findChild<TFaultLine*>(QString(), Qt::FindDirectChildrenOnly);
    if (!fault) {
        auto* layout = new QVBoxLayout(tab);
        fault = new TFaultLine(QStringLiteral("pagesfault"), tab);
        layout->addWidget(fault);
        layout->addStretch(1);
    }
    fault->Report(CannotShow(why));
}

TPages* TDeferredPages::Load(QString* why) {
    if (pages_) {
        return pages_.get();
    }
    const VoltiskAddPagesFn add = load_(why);
    if (!add) {
        return nullptr;
    }
    // What a failed load left in the tabs goes; the pages lay out their own.
    for (QWidget* tab : placeholders_) {
        delete tab->findChild<TFaultLine*>(QString(), Qt::FindDirectChildrenOnly);
        delete tab->layout();
    }
    // The pages bring their own key and drop handling.
    save_->setEnabled(false);
    save_->deleteLater();
    drops_->deleteLater();
    pages_.reset(add(view_, dialogs_, files_, historyFile_));
    return pages_.get();
}
