#include "usage/page/usagetab.h"

#include "app/tform1.h"
#include "app/view/formview.h"
#include "history/page/historyhook.h"
#include "usage/page/usagepage.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The one local file a drag carries, if it carries exactly one.
QString DroppedFile(const QMimeData* mime) {
    if (mime == nullptr || !mime->hasUrls() || mime->urls().size() != 1) {
        return QString();
    }
    const QUrl url = mime->urls().front();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

TUsageTab::TUsageTab(QTabWidget* tabs, TReadingsPage& readings, THistorySession& session,
                     TDialogs& dialogs, TFileDialogs& files)
    : tabs_(tabs), readings_(readings), session_(session), dialogs_(dialogs), files_(files),
      tab_(new QWidget) {
    tab_->setObjectName(QStringLiteral("usagets"));
    tabs_->addTab(tab_, QStringLiteral("Usage"));
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (tabs_->widget(index) == tab_) {
            Shown();
        }
    });
}

TUsageTab::~TUsageTab() = default;

void TUsageTab::Shown() {
    if (!page_) {
        presenter_ = std::make_unique<TUsagePresenter>(readings_, session_, dialogs_);
        page_ = new TUsagePage(*presenter_, readings_, files_, tab_);
        auto* layout = new QVBoxLayout(tab_);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->addWidget(page_);
    }
    page_->Refresh();
}

void TUsageTab::ImportFile(const QString& path) {
    if (tabs_->currentWidget() != tab_) {
        tabs_->setCurrentWidget(tab_); // shows the page
    } else if (!page_) {
        Shown();
    }
    page_->ImportFile(path);
}

void TUsageTab::TakeDropsOn(QWidget* window) {
    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

bool TUsageTab::eventFilter(QObject* watched, QEvent* event) {
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
            QTimer::singleShot(0, this, [this, path] { ImportFile(path); });
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

TUsageTab* AddUsagePage(TFormView& view, THistoryHook& history, TFileDialogs& files) {
    TForm1& model = view.Model();
    auto* tab = new TUsageTab(view.findChild<QTabWidget*>(), model, history.Session(),
                              model.Platform().dialogs, files);
    tab->setParent(&view);
    tab->TakeDropsOn(&view);
    return tab;
}
