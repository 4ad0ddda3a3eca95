#include "app/view/helpactions.h"

#include "app/view/formview.h"
#include "app/view/guidewindow.h"
#include "app/view/printing.h"
#include "app/view/shortcutswindow.h"

#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>

namespace {

QPointer<TGuideWindow> g_guide;
QPointer<TShortcutsWindow> g_shortcuts;

void Raise(QWidget* w) {
    w->show();
    w->raise();
    w->activateWindow();
}

QPushButton* HelpButton(QWidget* page, const QString& text, const char* name, int x, int width) {
    auto* b = new QPushButton(text, page);
    b->setObjectName(QLatin1String(name));
    // Under the "Reports" group, which ends at 416 in the left half.
    b->setGeometry(x, 440, width, 30);
    return b;
}

std::function<PrintPage()> ReportPage(TFormView& view) {
    return [&view] { return PeriodReportPage(view.Model()); };
}

// Ctrl+P: the page's own "Print…" where it has one, else the period report.
void PrintShownPage(TFormView& view) {
    auto* tabs = view.findChild<QTabWidget*>();
    QWidget* shown = tabs ? tabs->currentWidget() : nullptr;
    for (auto* b : shown ? shown->findChildren<QPushButton*>() : QList<QPushButton*>()) {
        if (b->objectName().endsWith(QLatin1String("print")) && b->isVisible()) {
            b->click();
            return;
        }
    }
    PrintWithPreview(&view, view.Model(), ReportPage(view));
}

} // namespace

void ShowUserGuide(TFormView& view) {
    if (!g_guide) {
        const QString folder = GuideFolder();
        if (folder.isEmpty()) {
            view.Model().Platform().dialogs.ShowMessage(QStringLiteral(
                "The user guide is not installed. It belongs in "
                "/usr/share/doc/voltisk/guide beside the program's other documents."));
            return;
        }
        g_guide = new TGuideWindow(folder, &view);
    }
    Raise(g_guide);
}

void ShowShortcuts(TFormView& view) {
    if (!g_shortcuts) {
        g_shortcuts = new TShortcutsWindow(&view);
    }
    Raise(g_shortcuts);
}

void AddHelpActions(TFormView& view) {
    if (auto* about = view.Widget<QWidget>(QStringLiteral("about"))) {
        QObject::connect(HelpButton(about, QStringLiteral("User guide"), "guidebtn", 40, 120),
                         &QPushButton::clicked, &view, [&view] { ShowUserGuide(view); });
        QObject::connect(
            HelpButton(about, QStringLiteral("Keyboard shortcuts"), "shortcutsbtn", 168, 150),
            &QPushButton::clicked, &view, [&view] { ShowShortcuts(view); });
        QObject::connect(
            HelpButton(about, QStringLiteral("Print report…"), "reportprint", 326, 130),
            &QPushButton::clicked, &view,
            [&view] { PrintWithPreview(&view, view.Model(), ReportPage(view)); });
        QObject::connect(HelpButton(about, QStringLiteral("Report as PDF…"), "reportpdf", 464, 136),
                         &QPushButton::clicked, &view, [&view] {
                             SaveAsPdf(&view, view.Model(), ReportPage(view),
                                       QStringLiteral("voltisk-report.pdf"));
                         });
    }
    const auto key = [&view](const QKeySequence& keys, auto action) {
        auto* s = new QShortcut(keys, &view);
        s->setContext(Qt::WindowShortcut);
        QObject::connect(s, &QShortcut::activated, &view, action);
    };
    key(QKeySequence(Qt::Key_F1), [&view] { ShowUserGuide(view); });
    key(QKeySequence(QStringLiteral("Ctrl+?")), [&view] { ShowShortcuts(view); });
    key(QKeySequence(Qt::CTRL | Qt::Key_P), [&view] { PrintShownPage(view); });
}
