// Text committed by an input method into the real edit fields, offscreen: it
// passes the key filter character by character, as typed keys do.
#include "app/view/formview.h"
#include "support/testenv.h"
#include "support/viewfixture.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

// The real window on the recording fakes.
struct Window : ViewFixture {
    QLineEdit* Field(const TEdit* e) const { return qobject_cast<QLineEdit*>(view->WidgetOf(e)); }
};

// Commits `text` the way an input method does at the end of a composition.
void Commit(QLineEdit* field, const QString& text, int replaceFrom = 0, int replaceLength = 0) {
    QInputMethodEvent event;
    event.setCommitString(text, replaceFrom, replaceLength);
    QApplication::sendEvent(field, &event);
}

std::vector<TEdit*> FilteredFields(const TForm1& f) {
    return {f.Edit6,
            f.Edit7,
            f.Edit9,
            f.Edit10,
            f.exportoriged,
            f.exportlater,
            f.importgenoriged,
            f.importgenlatered,
            f.importhworiged,
            f.importhwlatered,
            f.generaldailyservicechargeed,
            f.generalrateed,
            f.hwdailyfixedchargeed,
            f.hwrateed,
            f.feedined,
            f.voltsedit,
            f.wedit,
            f.ampsedit,
            f.ohmsedit};
}

} // namespace

TEST(InputMethod, CommittedTextPassesTheKeyFilterInAllNineteenFields) {
    Window w;
    const std::vector<TEdit*> fields = FilteredFields(*w.form);
    ASSERT_EQ(fields.size(), 19u);
    for (TEdit* e : fields) {
        QLineEdit* field = w.Field(e);
        ASSERT_NE(field, nullptr);
        e->SetText("");
        field->setFocus();
        Commit(field, QString::fromUtf8("１２ab-,"));
        EXPECT_EQ(field->text(), "") << e->Name().toStdString();
        EXPECT_EQ(e->Text(), "") << e->Name().toStdString();
        Commit(field, QString::fromUtf8("1２3.5x"));
        EXPECT_EQ(field->text(), "13.5") << e->Name().toStdString();
        EXPECT_EQ(e->Text(), "13.5") << e->Name().toStdString();
    }
}

TEST(InputMethod, KeptDigitsRecalculateAsTypedOnes) {
    Window w;
    TForm1& f = *w.form;
    f.dt2->UserSetDate(f.dt1->Date().addDays(30));
    f.Edit6->SetText("1000");
    QLineEdit* later = w.Field(f.Edit7);
    later->setFocus();
    Commit(later, QString::fromUtf8("1300円"));
    EXPECT_EQ(f.Edit7->Text(), "1300");
    EXPECT_EQ(f.used->Caption(), "300.0");
}

TEST(InputMethod, NothingKeptLeavesTheSelectionAlone) {
    Window w;
    QLineEdit* rate = w.Field(w.form->generalrateed);
    rate->setFocus();
    rate->selectAll();
    Commit(rate, QString::fromUtf8("ａｂ"));
    EXPECT_EQ(rate->text(), "0.28283") << "a dropped character deletes nothing";
    EXPECT_EQ(w.form->generalrateed->Text(), "0.28283");
    rate->selectAll();
    Commit(rate, QString::fromUtf8("ａ5"));
    EXPECT_EQ(rate->text(), "5") << "a kept character replaces the selection as a key does";
}

TEST(InputMethod, ControlCodesAndCharactersBeyondTheBmpAreNeverInserted) {
    Window w;
    QLineEdit* field = w.Field(w.form->Edit6);
    field->setFocus();
    w.form->Edit6->SetText("");
    // Ctrl+V's code passes the key filter as a command; committed, it is no text.
    Commit(field, QString(QChar(0x16)) + "4" + QChar(8) + QString::fromUtf8("𝟓") + "2");
    EXPECT_EQ(field->text(), "42");
}

TEST(InputMethod, DecimalCommaLocalesTakeTheComma) {
    TestEnv::UseLocale("de_DE");
    Window w;
    QLineEdit* field = w.Field(w.form->feedined);
    field->setFocus();
    w.form->feedined->SetText("");
    Commit(field, QString::fromUtf8("0,1.5"));
    EXPECT_EQ(field->text(), "0,15");
}

TEST(InputMethod, UnfilteredFieldsAndPreeditStayAsTheyWere) {
    Window w;
    QLineEdit* watts = w.Field(w.form->wattsedit);
    watts->setFocus();
    watts->selectAll();
    Commit(watts, QString::fromUtf8("１２ab"));
    EXPECT_EQ(w.form->wattsedit->Text(), QString::fromUtf8("１２ab"))
        << "the usage calculator's fields have no key filter";
    EXPECT_TRUE(w.form->resultlabel->Caption().isEmpty());

    // A composition in progress is shown, not filtered: only committed text counts.
    QLineEdit* field = w.Field(w.form->Edit9);
    field->setFocus();
    w.form->Edit9->SetText("");
    QInputMethodEvent composing(QString::fromUtf8("ｘ"), {});
    QApplication::sendEvent(field, &composing);
    EXPECT_EQ(w.form->Edit9->Text(), "");
    QInputMethodEvent done;
    done.setCommitString(QString::fromUtf8("ｘ7"));
    QApplication::sendEvent(field, &done);
    EXPECT_EQ(field->text(), "7");
    EXPECT_EQ(w.form->Edit9->Text(), "7");
}
