#include "app/view/shortcutswindow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeySequence>
#include <QTableWidget>
#include <QVBoxLayout>

const std::vector<ShortcutEntry>& ProgramShortcuts() {
    static const std::vector<ShortcutEntry> list{
        {"F1", "Open the user guide"},
        {"Ctrl+?", "Show this list of keyboard shortcuts"},
        {"Ctrl+S", "Add the current period to the history (any page)"},
        {"Ctrl+P", "Print the page shown (the period report on the readings pages)"},
        {"Ctrl+Tab", "Next page"},
        {"Ctrl+PgDown", "Next page"},
        {"Ctrl+Shift+Tab", "Previous page"},
        {"Ctrl+PgUp", "Previous page"},
        {"Tab", "Next field or button; leaves a table"},
        {"Shift+Tab", "Previous field or button"},
        {"Up", "Previous row of a table or list"},
        {"Down", "Next row of a table or list"},
        {"Space", "Press the focused button or tick the focused box"},
        {"F2", "Edit the note of the selected period (History)"},
        {"Ctrl+F", "Find in the user guide"},
        {"F3", "Find the next match in the user guide"},
        {"Alt+Left", "Back in the user guide"},
        {"Esc", "Close a box, the guide or this list"},
    };
    return list;
}

TShortcutsWindow::TShortcutsWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("shortcutswindow"));
    setWindowTitle(QStringLiteral("Keyboard shortcuts - Voltisk"));
    const auto& list = ProgramShortcuts();
    auto* table = new QTableWidget(int(list.size()), 2, this);
    table->setObjectName(QStringLiteral("shortcutstable"));
    table->setAccessibleName(QStringLiteral("Keyboard shortcuts"));
    table->setHorizontalHeaderLabels({QStringLiteral("Keys"), QStringLiteral("Action")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setTabKeyNavigation(false);
    for (int row = 0; row < int(list.size()); ++row) {
        const QString keys = QKeySequence(QString::fromLatin1(list[std::size_t(row)].keys))
                                 .toString(QKeySequence::NativeText);
        table->setItem(row, 0, new QTableWidgetItem(keys));
        table->setItem(row, 1,
                       new QTableWidgetItem(QString::fromUtf8(list[std::size_t(row)].action)));
    }
    table->resizeColumnsToContents();
    table->horizontalHeader()->setStretchLastSection(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addWidget(buttons);
    resize(560, 520);
}
