#include "usage/page/usagetab.h"

#include "app/tform1.h"
#include "app/view/formview.h"
#include "app/view/lazytab.h"
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
    : readings_(readings), session_(session), dialogs_(dialogs), files_(files),
      lazy_(new TLazyTab(tabs, dialogs, QStringLiteral("usagets"), QStringLiteral("Usage"),
                         QStringLiteral("usagefault"), 4, this)) {
    lazy_->SetPage([this](QVBoxLayout* layout, TFaultLine& fault) { Build(layout, fault); },
                   [this] { page_->Refresh(); });
}

TUsageTab::~TUsageTab() = default;

QWidget* TUsageTab::Tab() const {
    return lazy_->Tab();
}

void TUsageTab::Build(QVBoxLayout* layout, TFaultLine& fault) {
    presenter_ = std::make_unique<TUsagePresenter>(readings_, session_, dialogs_);
    page_ = new TUsagePage(*presenter_, readings_, files_, Tab(), &fault);
    layout->addWidget(page_);
}

void TUsageTab::ImportFile(const QString& path) {
    lazy_->Show();
    if (page_) {
        page_->ImportFile(path);
    }
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
