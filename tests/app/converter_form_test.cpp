// The converter through the window model: the zero sweep, the read sweep, the
// messages, the error box and the field texts.
#include "support/formfixture.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

namespace {

const QString kFew = QStringLiteral("Enter two values, and the others will be calculated.");
const QString kMany = QStringLiteral("Enter only two values, and the others will be calculated.");

struct Converter {
    FormFixture fx;
    TForm1& f = fx.Make();

    // Volts, watts, amps, ohms.
    void Type(const QString& v, const QString& p, const QString& i, const QString& r) {
        f.voltsedit->SetText(v);
        f.wedit->SetText(p);
        f.ampsedit->SetText(i);
        f.ohmsedit->SetText(r);
    }
    // A press as the view makes it: errors reach the error box.
    void Press() {
        f.Guard([this] { f.calculatebutton->Click(); });
    }
    QStringList Fields() const {
        return {f.voltsedit->Text(), f.wedit->Text(), f.ampsedit->Text(), f.ohmsedit->Text()};
    }
};

} // namespace

TEST(ConverterForm, FieldsStartEmpty) {
    Converter c;
    EXPECT_EQ(c.Fields(), QStringList({"", "", "", ""}));
}

TEST(ConverterForm, WorkedCasesFillTheOtherTwoFields) {
    struct Case {
        QStringList typed, shown;
    };
    const Case cases[] = {
        {{"230", "100", "", ""}, {"230", "100", "0.43478", "529"}},
        {{"230", "", "", "3"}, {"230", "17633.33333", "76.66667", "3"}},
        {{"", "100", "", "529"}, {"230", "100", "0.43478", "529"}},
        {{"", "", "2", "6"}, {"12", "24", "2", "6"}},
        {{"1", "", "", "100000"}, {"1", "1E-5", "1E-5", "100000"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.typed.join('|').toStdString());
        Converter c;
        c.Type(k.typed[0], k.typed[1], k.typed[2], k.typed[3]);
        c.Press();
        EXPECT_EQ(c.Fields(), k.shown);
        EXPECT_TRUE(c.fx.dialogs.messages.isEmpty());
        EXPECT_TRUE(c.fx.dialogs.errors.isEmpty());
    }
}

TEST(ConverterForm, TypedFieldsKeepTheirText) {
    Converter c;
    c.Type(" 230.0 ", "1e2", "", "");
    c.Press();
    EXPECT_EQ(c.Fields(), QStringList({" 230.0 ", "1e2", "0.43478", "529"}));
}

TEST(ConverterForm, ZeroSweepEmptiesZerosBeforeCounting) {
    Converter c;
    c.Type("12", "0", "0.0", "-0");
    c.Press();
    EXPECT_EQ(c.Fields(), QStringList({"12", "", "", ""}));
    EXPECT_EQ(c.fx.dialogs.messages, QStringList({kFew}));
}

TEST(ConverterForm, CountMessagesComputeNothing) {
    Converter empty;
    empty.Type("", " ", "", "");
    empty.Press();
    EXPECT_EQ(empty.fx.dialogs.messages, QStringList({kFew}));
    EXPECT_EQ(empty.Fields(), QStringList({"", " ", "", ""}));

    Converter three;
    three.Type("230", "100", "2", "");
    three.Press();
    EXPECT_EQ(three.fx.dialogs.messages, QStringList({kMany}));
    EXPECT_EQ(three.Fields(), QStringList({"230", "100", "2", ""}));

    // After a calculation all four fields hold numbers.
    Converter again;
    again.Type("230", "100", "", "");
    again.Press();
    again.Press();
    EXPECT_EQ(again.fx.dialogs.messages, QStringList({kMany}));
}

TEST(ConverterForm, PastedMinusOneCountsAsNotGiven) {
    Converter c;
    c.Type("230", "100", "-1", "");
    c.Press();
    EXPECT_TRUE(c.fx.dialogs.messages.isEmpty());
    EXPECT_EQ(c.Fields(), QStringList({"230", "100", "0.43478", "529"}));

    Converter one;
    one.Type("-1", "100", "", "");
    one.Press();
    EXPECT_EQ(one.fx.dialogs.messages, QStringList({kFew}));
}

TEST(ConverterForm, TextThatIsNoNumberEndsThePressAtThatField) {
    Converter c;
    // Sweep order: wedit, ampsedit, voltsedit, ohmsedit.
    c.Type("0", "0", "x1", "0");
    c.Press();
    EXPECT_EQ(c.fx.dialogs.errors, QStringList({"'x1' is not a valid floating point value."}));
    EXPECT_TRUE(c.fx.dialogs.messages.isEmpty());
    EXPECT_EQ(c.Fields(), QStringList({"0", "", "x1", "0"}));

    for (const QString bad : {"1.2.3", "12a", "1,5", "inf", "nan", "1e400", "--1"}) {
        SCOPED_TRACE(bad.toStdString());
        Converter k;
        k.Type("230", "", "", bad);
        k.Press();
        EXPECT_EQ(k.fx.dialogs.errors,
                  QStringList({"'" + bad + "' is not a valid floating point value."}));
        EXPECT_EQ(k.Fields(), QStringList({"230", "", "", bad}));
    }
}

TEST(ConverterForm, ReadsAndWritesTheLocaleDecimalSeparator) {
    TestEnv::UseLocale("de_DE");
    Converter c;
    c.Type("230,0", "100", "", "");
    c.Press();
    EXPECT_EQ(c.Fields(), QStringList({"230,0", "100", "0,43478", "529"}));

    Converter point;
    point.Type("0.5", "100", "", "");
    point.Press();
    EXPECT_EQ(point.fx.dialogs.errors, QStringList({"'0.5' is not a valid floating point value."}));
}

TEST(ConverterForm, OppositeSignsShowAMessageAndChangeNoField) {
    Converter c;
    c.Type("", "-100", "", "529");
    c.Press();
    EXPECT_EQ(c.fx.dialogs.messages,
              QStringList({"Watts and ohms must have the same sign; nothing was calculated."}));
    EXPECT_EQ(c.Fields(), QStringList({"", "-100", "", "529"}));
}

// Any pair of extreme texts either fills the fields with numbers or shows a
// message; "nan" or "inf" never reaches a field.
TEST(ConverterForm, ExtremeValuesNeverWriteNanOrInf) {
    const QStringList extremes = {"1e308", "1e-308", "-1e308", "-1e-308", "1.7976931348623157e308"};
    Converter c;
    int solved = 0;
    for (int a = 0; a < 4; ++a) {
        for (int b = a + 1; b < 4; ++b) {
            for (const QString& x : extremes) {
                for (const QString& y : extremes) {
                    c.fx.dialogs.messages.clear();
                    QStringList typed = {"", "", "", ""};
                    typed[a] = x;
                    typed[b] = y;
                    c.Type(typed[0], typed[1], typed[2], typed[3]);
                    c.Press();
                    const QStringList shown = c.Fields();
                    SCOPED_TRACE(typed.join('|').toStdString() + " -> " +
                                 shown.join('|').toStdString());
                    EXPECT_TRUE(c.fx.dialogs.errors.isEmpty());
                    for (const QString& t : shown) {
                        EXPECT_FALSE(t.contains("nan", Qt::CaseInsensitive));
                        EXPECT_FALSE(t.contains("inf", Qt::CaseInsensitive));
                    }
                    if (c.fx.dialogs.messages.isEmpty()) {
                        // A current or voltage of exactly -1 (V = 1e308 with
                        // P = -1e308) counts as absent and is not written.
                        solved += shown.contains(QString()) ? 0 : 1;
                    } else {
                        EXPECT_EQ(shown, typed);
                    }
                }
            }
        }
    }
    EXPECT_GT(solved, 50);
}

TEST(ConverterForm, ResetAndClearButtonsEmptyTheirFields) {
    Converter c;
    QStringList changed;
    for (TEdit* e : {c.f.voltsedit, c.f.wedit, c.f.ampsedit, c.f.ohmsedit}) {
        e->SetText("7");
        e->OnChange = [&changed](TComponent* s) { changed << s->Name(); };
    }
    c.f.resetbutton->Click();
    EXPECT_EQ(c.Fields(), QStringList({"", "", "", ""}));
    EXPECT_EQ(changed, QStringList({"voltsedit", "wedit", "ampsedit", "ohmsedit"}));

    c.Type("1", "2", "3", "4");
    c.f.SpeedButton1->Click();
    EXPECT_EQ(c.Fields(), QStringList({"", "2", "3", "4"}));
    c.f.SpeedButton2->Click();
    EXPECT_EQ(c.Fields(), QStringList({"", "", "3", "4"}));
    c.f.SpeedButton3->Click();
    EXPECT_EQ(c.Fields(), QStringList({"", "", "", "4"}));
    c.f.SpeedButton5->Click();
    EXPECT_EQ(c.Fields(), QStringList({"", "", "", ""}));
    EXPECT_TRUE(c.fx.dialogs.messages.isEmpty());
}

TEST(ConverterForm, OhmsCheckBoxChangesNothing) {
    Converter c;
    c.Type("230", "", "", "3");
    c.f.ohmsenablecb->SetChecked(!c.f.ohmsenablecb->Checked());
    EXPECT_EQ(c.Fields(), QStringList({"230", "", "", "3"}));
    c.Press();
    EXPECT_EQ(c.f.ampsedit->Text(), "76.66667");
}
