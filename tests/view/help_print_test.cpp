// The guide window, the shortcuts list, the Help page's buttons and the
// printed comparison, in the real window offscreen.
#include "app/view/formview.h"
#include "app/view/guidewindow.h"
#include "app/view/helpactions.h"
#include "app/view/printpreview.h"
#include "app/view/shortcutswindow.h"
#include "history/page/historyhook.h"
#include "plans/page/planspage.h"
#include "plans/page/plansprint.h"
#include "plans/page/planstab.h"
#include "support/formfixture.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QString Output(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The window as the program builds it, with the worked example typed and one
// plan stored through the page's form.
struct HelpFixture {
    FormFixture fx;
    FakeFileDialogs files;
    TForm1* form = &fx.Make(false);
    std::unique_ptr<TFormView> view = std::make_unique<TFormView>(*form);
    THistoryHook* hook = AddHistoryPage(*view, fx.dialogs, files, HistoryFileName());
    TPlansTab* tab = AddPlansPage(*view, *hook);
    HelpFixture() {
        AddHelpActions(*view);
        SetGuideFolder(QStringLiteral(VOLTISK_GUIDE_DIR));
        form->Show();
        view->show();
        QApplication::setActiveWindow(view.get());
    }
    template <class W> W* Find(QWidget* in, const char* name) {
        auto* w = in->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
};

} // namespace

TEST(HelpPrint, TheComparisonPrintsWithItsTitlePlansAndDateOnA4AndLetter) {
    HelpFixture h;
    h.form->dt1->SetDate(QDate(2026, 11, 8));
    h.form->dt2->UserSetDate(QDate(2026, 12, 8));
    h.form->generalrateed->SetText("0.25");
    h.form->Edit6->SetText("1000");
    h.form->Edit7->SetText("1300");
    auto* tabs = h.view->findChild<QTabWidget*>();
    tabs->setCurrentWidget(h.tab->Tab());
    QApplication::processEvents();
    ASSERT_NE(h.tab->Presenter(), nullptr);
    EXPECT_NE(h.Find<QPushButton>(h.tab->Tab(), "plansprint"), nullptr);
    EXPECT_NE(h.Find<QPushButton>(h.tab->Tab(), "planspdf"), nullptr);
    for (const auto& [field, text] : {std::pair{"planname", "<b>Cheap & Green</b>"},
                                      {"plangeneraldaily", "0.9"},
                                      {"plangeneralrate", "0.2"},
                                      {"planhwdaily", "0"},
                                      {"planhwrate", "0"},
                                      {"planfeedin", "0"},
                                      {"plantax", "0"}}) {
        h.Find<QLineEdit>(h.tab->Tab(), field)->setText(text);
    }
    QTest::mouseClick(h.Find<QPushButton>(h.tab->Tab(), "planadd"), Qt::LeftButton);
    QApplication::processEvents();

    QTemporaryDir dir;
    const struct {
        QPageSize::PageSizeId paper;
        const char* size;
    } papers[] = {{QPageSize::A4, "(A4)"}, {QPageSize::Letter, "(letter)"}};
    for (const auto& c : papers) {
        const QString pdf = dir.filePath(QStringLiteral("plans.pdf"));
        const PrintPage page =
            ComparisonPage(*h.tab->Presenter(), ChartPicture(h.tab->Page()), h.tab->Tariffs());
        ASSERT_TRUE(WritePdf(page, h.form->Today(),
                             QLocale(QLocale::English, QLocale::UnitedStates), pdf, c.paper));
        EXPECT_TRUE(Output("pdfinfo", {pdf}).contains(c.size)) << c.size;
        const QString text = Output("pdftotext", {"-layout", pdf, "-"}).simplified();
        EXPECT_TRUE(text.contains("Plan comparison: Readings page")) << text.toStdString();
        EXPECT_TRUE(text.contains("Printed Tuesday, December 8, 2026"));
        // The plan's name as typed, not as markup; the last column is on the page.
        EXPECT_TRUE(text.contains("Plans: As typed, <b>Cheap & Green</b>")) << text.toStdString();
        EXPECT_TRUE(text.contains("$87.00 $2.90 $23.93 cheaper")) << "the last column";
        // The tariff plans as ranked on the page, each with its breakdown.
        for (const char* shown :
             {"plans Priced from the kWh of the period above. Plan Total",
              "Plan Total Against the cheapest My plan Note <b>Cheap & Green</b> $87.00",
              "Supply $27.00 Usage 300.00 $0.2000 $60.00", "Tax $0.00 Total $87.00"}) {
            EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << shown << text.toStdString();
        }
        // Rendered, the page is the paper's shape and not blank.
        Output("pdftoppm",
               {"-png", "-r", "20", "-f", "1", "-singlefile", pdf, dir.filePath("page")});
        const QImage image(dir.filePath("page.png"));
        ASSERT_FALSE(image.isNull());
        const double ratio = double(image.height()) / image.width();
        EXPECT_NEAR(ratio, c.paper == QPageSize::A4 ? 297.0 / 210 : 11.0 / 8.5, 0.03);
        const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
        int ink = 0;
        for (int y = 0; y < gray.height(); ++y) {
            for (int x = 0; x < gray.width(); ++x) {
                ink += qGray(gray.pixel(x, y)) < 128 ? 1 : 0;
            }
        }
        EXPECT_GT(ink, 100);
    }
}

TEST(HelpPrint, TheGuideOpensWithItsContentsAndFindsAcrossPages) {
    HelpFixture h;
    QTest::mouseClick(h.Find<QPushButton>(h.view.get(), "guidebtn"), Qt::LeftButton);
    auto* guide = static_cast<TGuideWindow*>(h.view->findChild<QDialog*>("guidewindow"));
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    QTreeWidget* contents = guide->Contents();
    ASSERT_EQ(contents->topLevelItemCount(), 10) << "the index and the nine pages it lists";
    EXPECT_EQ(contents->topLevelItem(0)->text(0), "Voltisk user guide");
    EXPECT_EQ(contents->topLevelItem(2)->child(0)->text(0), "Number of days");

    // A text only one later page has: that page opens with the match selected.
    ASSERT_TRUE(guide->Find("Download my data"));
    EXPECT_TRUE(guide->Browser()->source().toString().endsWith("meterdata.html"));
    EXPECT_EQ(guide->Browser()->textCursor().selectedText(), "Download my data");
    EXPECT_FALSE(guide->Find("no page says this"));

    // F1 raises the same window again rather than a second one.
    QTest::keyClick(h.view.get(), Qt::Key_F1);
    EXPECT_EQ(h.view->findChildren<QDialog*>("guidewindow").size(), 1);
}

TEST(HelpPrint, TheShortcutsListNamesEveryShortcutOfTheWindow) {
    HelpFixture h;
    QStringList listed;
    for (const ShortcutEntry& e : ProgramShortcuts()) {
        listed << QKeySequence(QString::fromLatin1(e.keys)).toString();
    }
    const auto shortcuts = h.view->findChildren<QShortcut*>();
    EXPECT_GE(shortcuts.size(), 4);
    for (const QShortcut* s : shortcuts) {
        // X11 sends Shift+Tab as Backtab; the list names the keys a person presses.
        const QString key =
            s->key().toString().replace(QStringLiteral("Backtab"), QStringLiteral("Tab"));
        EXPECT_TRUE(listed.contains(key)) << key.toStdString();
    }
    QTest::mouseClick(h.Find<QPushButton>(h.view.get(), "shortcutsbtn"), Qt::LeftButton);
    auto* window = h.view->findChild<QDialog*>("shortcutswindow");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(h.Find<QTableWidget>(window, "shortcutstable")->rowCount(),
              int(ProgramShortcuts().size()));
}

TEST(HelpPrint, TheDesktopActionShowsTheCalculatorAlsoOverAPageOfTheView) {
    HelpFixture h;
    auto* tabs = h.view->findChild<QTabWidget*>();
    // The second time the model's active page is the calculator already,
    // while the view shows Compare plans.
    for (QWidget* shown : {h.view->Widget<QWidget>("readingsts"), h.tab->Tab()}) {
        tabs->setCurrentWidget(shown);
        h.form->ActivationMessage(true);
        EXPECT_EQ(tabs->currentWidget(), h.view->Widget<QWidget>("calc"));
    }
}

// The preview lives in a module loaded on the first print: found, it pages
// through the program's painting; missing, the reason is given, not a crash.
TEST(HelpPrint, ThePrintPreviewComesFromItsModuleOrSaysWhy) {
    const struct {
        QString path;
        bool shown;
    } cases[] = {{QStringLiteral(VOLTISK_PRINT_MODULE), true},
                 {QStringLiteral("/nonexistent/libvoltisk_print.so"), false}};
    for (const auto& c : cases) {
        SetPrintModulePath(c.path);
        int painted = 0;
        QTimer::singleShot(0, [] {
            if (QWidget* preview = QApplication::activeModalWidget()) {
                preview->close();
            }
        });
        QString why;
        const bool shown = ShowPrintPreview(
            nullptr, QStringLiteral("Test"), QPageSize::A4,
            [&painted](QPagedPaintDevice&) { ++painted; }, &why);
        EXPECT_EQ(shown, c.shown) << c.path.toStdString();
        EXPECT_EQ(painted > 0, c.shown);
        EXPECT_EQ(why.startsWith(QStringLiteral("Printing is not available")), !c.shown);
    }
    SetPrintModulePath(QString());
}
