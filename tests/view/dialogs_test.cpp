// The Qt-backed dialogs, shown for real offscreen and answered the moment they
// are on screen.
#include "app/view/qtplatform.h"
#include "support/watchdog.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace {

// What a message box showed.
struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QPoint pos;
    bool hasParent = false;
};

// Once the next modal message box is shown, records it in `seen` and then
// answers it with `answer`. The box is modal, so exec() cannot return before.
void AnswerNextBox(Seen& seen, std::function<void(QMessageBox*)> answer) {
    QTimer::singleShot(0, [&seen, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            AnswerNextBox(seen, answer);
            return;
        }
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.pos = box->pos();
        seen.hasParent = box->parentWidget() != nullptr;
        answer(box);
    });
}

void Press(QMessageBox* box, QMessageBox::StandardButton which) {
    box->button(which)->click();
}

// The display name is process-wide; each test leaves it as it found it.
struct DisplayName {
    QString saved = QGuiApplication::applicationDisplayName();
    explicit DisplayName(const QString& name) { QGuiApplication::setApplicationDisplayName(name); }
    ~DisplayName() { QGuiApplication::setApplicationDisplayName(saved); }
};

} // namespace

TEST(QtDialogs, VerifyIsAYesNoQuestionTrueOnlyForYes) {
    QtDialogs dialogs;
    const ExpectMessageBoxes expected;
    Seen seen;
    AnswerNextBox(seen, [](QMessageBox* b) { Press(b, QMessageBox::Yes); });
    EXPECT_TRUE(dialogs.VerifyDialog("Insert the readings?", "From bill.csv"));
    EXPECT_EQ(seen.title, "Verify");
    EXPECT_EQ(seen.text, "Insert the readings?\n\nFrom bill.csv")
        << "an empty line between headline and detail";
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_FALSE(seen.hasParent);

    AnswerNextBox(seen, [](QMessageBox* b) { Press(b, QMessageBox::No); });
    EXPECT_FALSE(dialogs.VerifyDialog("Insert the readings?", ""));
    EXPECT_EQ(seen.text, "Insert the readings?");
}

TEST(QtDialogs, VerifyDismissedWithEscapeOrCloseIsNo) {
    QtDialogs dialogs;
    const ExpectMessageBoxes expected;
    for (bool allowCancel : {false, true}) {
        SCOPED_TRACE(allowCancel);
        Seen seen;
        AnswerNextBox(seen, [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); });
        EXPECT_FALSE(dialogs.VerifyDialog("Go?", "", {.allowCancel = allowCancel}));
        EXPECT_EQ(seen.title, "Verify");

        Seen closed;
        AnswerNextBox(closed, [](QMessageBox* b) { b->close(); });
        EXPECT_FALSE(dialogs.VerifyDialog("Go?", "", {.allowCancel = allowCancel}));
        EXPECT_EQ(closed.title, "Verify");
    }
}

TEST(QtDialogs, EnterAnswersYesExceptToTheDefaultNoQuestion) {
    QtDialogs dialogs;
    const ExpectMessageBoxes expected;
    Seen seen;
    const auto enter = [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); };
    AnswerNextBox(seen, enter);
    EXPECT_TRUE(dialogs.VerifyDialog("Go?", ""));
    AnswerNextBox(seen, enter);
    EXPECT_FALSE(dialogs.VerifyDialogDefaultNo("Delete?", ""));
    EXPECT_EQ(seen.title, "Verify");
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
}

TEST(QtDialogs, InfoDialogCaptionFallsBackToTheApplicationTitle) {
    QtDialogs dialogs;
    const ExpectMessageBoxes expected;
    const DisplayName title("Voltisk");
    Seen seen;
    AnswerNextBox(seen, [](QMessageBox* b) { Press(b, QMessageBox::Ok); });
    dialogs.InfoDialog("Values successfully inserted.", "");
    EXPECT_EQ(seen.title, "Voltisk");
    EXPECT_EQ(seen.text, "Values successfully inserted.");
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    EXPECT_FALSE(seen.hasParent);

    AnswerNextBox(seen, [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); });
    dialogs.InfoDialog("Done", "3 readings", {.caption = "Import"});
    EXPECT_EQ(seen.title, "Import");
    EXPECT_EQ(seen.text, "Done\n\n3 readings");
}

// Qt's default display name is the executable's name, no title for a dialog.
TEST(QtDialogs, WithoutADisplayNameTheTitleIsVoltisk) {
    QtDialogs dialogs;
    const ExpectMessageBoxes expected;
    for (const QString& name : {QString(), QCoreApplication::applicationName()}) {
        const DisplayName unset(name);
        Seen seen;
        AnswerNextBox(seen, [](QMessageBox* b) { Press(b, QMessageBox::Ok); });
        dialogs.InfoDialog("Hello", "");
        EXPECT_EQ(seen.title, "Voltisk");
        AnswerNextBox(seen, [](QMessageBox* b) { Press(b, QMessageBox::Ok); });
        dialogs.ShowError("Bad");
        EXPECT_EQ(seen.title, "Voltisk");
    }
}

TEST(QtDialogs, InfoDialogAtAScreenPositionOnlyWhenBothAreNonNegative) {
    QtDialogs dialogs;
    const ExpectMessageBoxes expected;
    Seen seen;
    AnswerNextBox(seen, [](QMessageBox* b) { Press(b, QMessageBox::Ok); });
    dialogs.InfoDialog("Placed", "", {.at = QPoint(123, 77)});
    EXPECT_EQ(seen.pos, QPoint(123, 77));

    AnswerNextBox(seen, [](QMessageBox* b) { Press(b, QMessageBox::Ok); });
    dialogs.InfoDialog("Default place", "", {.at = QPoint(-1, 77)});
    EXPECT_NE(seen.pos.y(), 77);
}

TEST(QtDialogs, ErrorBoxAndPlainMessage) {
    QtDialogs dialogs;
    const ExpectMessageBoxes expected;
    const DisplayName title("Voltisk");
    Seen error;
    AnswerNextBox(error, [](QMessageBox* b) { Press(b, QMessageBox::Ok); });
    dialogs.ShowError("'x' is not a valid floating point value.");
    EXPECT_EQ(error.title, "Voltisk");
    EXPECT_EQ(error.text, "'x' is not a valid floating point value.");
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.buttons, QMessageBox::Ok);

    Seen message;
    AnswerNextBox(message, [](QMessageBox* b) { Press(b, QMessageBox::Ok); });
    dialogs.ShowMessage("Enter two values, and the others will be calculated.");
    EXPECT_EQ(message.title, "Voltisk");
    EXPECT_EQ(message.text, "Enter two values, and the others will be calculated.");
    EXPECT_EQ(message.icon, QMessageBox::NoIcon);
    EXPECT_EQ(message.buttons, QMessageBox::Ok);
}

TEST(QtDialogs, LineBreaksShowAsLinesAndFileNamesAsPlainText) {
    QtDialogs dialogs;
    const ExpectMessageBoxes expected;
    Seen seen;
    Qt::TextFormat format = Qt::AutoText;
    AnswerNextBox(seen, [&format](QMessageBox* box) {
        format = box->textFormat();
        Press(box, QMessageBox::Ok);
    });
    dialogs.ShowMessage("File not found: \r\n\r\n/bills/<b>may</b>.csv");
    EXPECT_EQ(seen.text, "File not found: \n\n/bills/<b>may</b>.csv");
    EXPECT_EQ(format, Qt::PlainText);
}

namespace {
// A box no test asked for; closed after ten seconds at the latest, so that a
// watchdog that does not act fails the test instead of hanging the run.
void ShowStrayBox() {
    QMessageBox box;
    box.setText(QStringLiteral("stray"));
    QTimer::singleShot(10000, &box, [&box] { box.done(QMessageBox::Ok); });
    box.exec();
}
} // namespace

TEST(Watchdog, AnUnexpectedMessageBoxFailsTheTestAndIsClosed) {
    EXPECT_NONFATAL_FAILURE(ShowStrayBox(), "unexpected message box: stray");
}
