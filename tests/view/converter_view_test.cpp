// The converter in the real window: the "Calculate" button, the fields the
// widgets show, and the real error box for a pasted letter. With
// VOLTISK_SCREENSHOTS set to a folder, the calculator page is saved there as
// converter.png.
#include "app/view/qtplatform.h"
#include "support/viewfixture.h"
#include "support/watchdog.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// The calculator page of the real window.
struct ConverterView : ViewFixture {
    explicit ConverterView(TDialogs* dialogs = nullptr)
        : ViewFixture(QStringList{"CALC"}, dialogs) {}
    QLineEdit* Edit(const char* name) const {
        return view->Widget<QLineEdit>(QString::fromLatin1(name));
    }
    void Click(const char* name) const {
        auto* b = view->Widget<QAbstractButton>(QString::fromLatin1(name));
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
};

} // namespace

TEST(ConverterView, CalculateFillsTheOtherFieldsOnScreen) {
    ConverterView v;
    ASSERT_NE(v.Edit("voltsedit"), nullptr);
    // The usage calculator above it, filled for a realistic page.
    v.form->wattsedit->SetText("1500");
    v.form->hrsedit->SetText("2");
    // Typed as the user types: through the key filter into the model.
    QTest::keyClicks(v.Edit("voltsedit"), "230");
    QTest::keyClicks(v.Edit("wedit"), "100");
    EXPECT_EQ(v.form->wedit->Text(), "100");
    v.Click("calculatebutton");
    EXPECT_EQ(v.Edit("voltsedit")->text(), "230");
    EXPECT_EQ(v.Edit("wedit")->text(), "100");
    EXPECT_EQ(v.Edit("ampsedit")->text(), "0.43478");
    EXPECT_EQ(v.Edit("ohmsedit")->text(), "529");
    EXPECT_TRUE(v.fx.dialogs.messages.isEmpty());

    const QByteArray folder = qgetenv("VOLTISK_SCREENSHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(QString::fromLocal8Bit(folder));
        const QString file = QString::fromLocal8Bit(folder) + QStringLiteral("/converter.png");
        EXPECT_TRUE(v.view->grab().save(file)) << file.toStdString();
    }

    v.Click("SpeedButton3");
    EXPECT_EQ(v.Edit("ampsedit")->text(), "");
    v.Click("resetbutton");
    for (const char* name : {"voltsedit", "wedit", "ampsedit", "ohmsedit"}) {
        EXPECT_EQ(v.Edit(name)->text(), "") << name;
    }
}

TEST(ConverterView, PastedLetterShowsTheRealErrorBox) {
    QtDialogs dialogs;
    ConverterView v(&dialogs);
    v.form->voltsedit->SetText("12a"); // pasted: the key filter would drop the letter
    v.form->wedit->SetText("100");
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    const ExpectMessageBoxes expected;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    v.Click("calculatebutton");
    EXPECT_EQ(title, "Voltisk");
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(text, "'12a' is not a valid floating point value.");
    EXPECT_EQ(v.Edit("ampsedit")->text(), "");
}
