#include "history/page/historyhook.h"

#include "app/view/formview.h"
#include "app/view/lazytab.h"
#include "app/view/printing.h"
#include "history/historypresenter.h"
#include "history/page/historypage.h"

#include <QShortcut>
#include <QTabWidget>
#include <QVBoxLayout>

THistoryHook::THistoryHook(TFormView& view, TDialogs& dialogs, TFileDialogs& files,
                           const QString& fileName)
    : QObject(&view), view_(view), session_(std::make_unique<THistorySession>(fileName)),
      presenter_(std::make_unique<THistoryPresenter>(view.Model(), dialogs, files, *session_)) {
    auto* tabs = view.findChild<QTabWidget*>();
    Q_ASSERT(tabs);
    tab_ = new TLazyTab(tabs, dialogs, QStringLiteral("history"), QStringLiteral("History"),
                        QStringLiteral("historyfault"), 0, this);
    // The page follows the presenter's change callbacks: nothing to read on a
    // later show.
    tab_->SetPage(
        [this](QVBoxLayout* layout, TFaultLine& fault) {
            presenter_->PageShown();
            page_ = new THistoryPage(*presenter_, fault, tab_->Tab());
            layout->addWidget(page_);
            layout->addWidget(PrintButtons(
                tab_->Tab(), view_.Model(),
                [this] {
                    return HistoryPage(presenter_->Model(), presenter_->SummaryLine(-1),
                                       ChartPicture(page_));
                },
                QStringLiteral("voltisk-history.pdf"), "history"));
        },
        {});
    auto* save = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), &view);
    save->setContext(Qt::WindowShortcut);
    connect(save, &QShortcut::activated, this, [this] { AddCurrentPeriod(); });
}

void THistoryHook::AddCurrentPeriod() {
    view_.Model().Guard([this] { presenter_->AddCurrentPeriod(); });
}

THistoryHook::~THistoryHook() {
    // The page's table shows the presenter's model: it goes first, when the
    // page area has not taken it down already.
    delete page_.data();
}

THistoryPage* THistoryHook::Page() const {
    return page_.data();
}

THistoryHook* AddHistoryPage(TFormView& view, TDialogs& dialogs, TFileDialogs& files,
                             const QString& fileName) {
    return new THistoryHook(view, dialogs, files, fileName);
}
