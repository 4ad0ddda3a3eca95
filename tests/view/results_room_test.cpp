// Result texts in the real window, offscreen: every figure of the readings
// page is shown in full in any locale, the window grows for wide texts and
// comes back to its designed width, hiding hot water takes 200 screen pixels
// at any scale, and "CSV Load" stays in the window's lower right corner.
#include "app/view/formview.h"
#include "app/view/qtplatform.h"
#include "mylib/money.h"
#include "mylib/numbers.h"
#include "support/formfixture.h"
#include "support/testenv.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

struct Window {
    QtScreen screen; // the real screen: its pixel density counts here
    FormFixture fx{{}, nullptr, &screen};
    TForm1* form = nullptr;
    std::unique_ptr<TFormView> view;
    explicit Window(bool developerMachine = false) {
        if (developerMachine) {
            fx.platform.markerPath = TestEnv::ConfigDir() + "/marker.txt";
            QFile marker(fx.platform.markerPath);
            EXPECT_TRUE(marker.open(QIODevice::WriteOnly));
        }
        form = &fx.Make(false);
        view = std::make_unique<TFormView>(*form);
        form->Show();
        view->show();
    }
    QLabel* Label(const TLabel* l) const { return qobject_cast<QLabel*>(view->WidgetOf(l)); }
    QWidget* Widget(const TControl* c) const { return view->WidgetOf(c); }
};

// The value labels of the results group with the caption of their row.
std::vector<std::pair<TLabel*, TLabel*>> ValueLabels(const TForm1& f) {
    return {{f.dayslabel, f.Label22}, {f.exportedlabel, f.Label30},  {f.used, f.usedlab},
            {f.usedwk, f.usedlab},    {f.dused, f.dailyusedlab},     {f.dusedwk, f.dailyusedlab},
            {f.dcost, f.Label14},     {f.dcostwk, f.Label14},        {f.tdcost, f.Label15},
            {f.tdcostwk, f.Label15},  {f.exportedincome, f.Label32}, {f.fresult, f.Label8},
            {f.fresultwk, f.Label8},  {f.vresult, f.Label9},         {f.vresultwk, f.Label9},
            {f.tresult, f.Label13},   {f.tresultwk, f.Label13}};
}

int Advance(const QLabel* l) {
    return l->fontMetrics().horizontalAdvance(l->text());
}

// Every non-empty result text lies wholly inside its label, its label's
// group, the page area and the window, and clear of its row's caption.
void ExpectEveryTextShownInFull(const Window& w, const std::string& what) {
    QApplication::processEvents();
    auto* group = qobject_cast<QGroupBox*>(w.Widget(w.form->resultsgb));
    auto* tabs = w.Widget(w.form->pagecontrol1);
    ASSERT_TRUE(group && tabs);
    const QRect window = w.view->rect();
    const QRect tabsInWindow(tabs->mapTo(w.view.get(), QPoint()), tabs->size());
    const QRect groupInWindow(group->mapTo(w.view.get(), QPoint()), group->size());
    EXPECT_TRUE(window.contains(tabsInWindow)) << what;
    EXPECT_TRUE(tabsInWindow.contains(groupInWindow)) << what;
    for (auto [value, caption] : ValueLabels(*w.form)) {
        const QLabel* l = w.Label(value);
        const std::string name =
            what + " " + value->Name().toStdString() + " \"" + l->text().toStdString() + "\"";
        if (l->text().isEmpty() || !l->isVisible()) {
            continue;
        }
        EXPECT_LE(Advance(l), l->width()) << name;
        // The text's own extent, where its alignment puts it.
        const bool right = l->alignment().testFlag(Qt::AlignRight);
        const int textLeft = right ? l->x() + l->width() - Advance(l) : l->x();
        const int textRight = textLeft + Advance(l);
        EXPECT_GE(textLeft, 0) << name;
        EXPECT_LE(textRight, group->contentsRect().right()) << name;
        const QLabel* c = w.Label(caption);
        EXPECT_GE(textLeft, c->x() + Advance(c)) << name << " runs into its caption";
    }
}

struct Bill {
    int days;
    // Readings: general, hot water (standard); export, general, hot water (solar).
    double general, hotWater, exported;
    double generalDaily, generalRate, hwDaily, hwRate, feedIn;
};

// Types a bill into the window in the locale's own number texts.
void Type(TForm1& f, const Bill& b, bool solar) {
    // ASCII digits, as the key filter lets through, with the locale's separator.
    const QChar separator = DecimalSeparator(QLocale());
    auto text = [&](double v) { return QString::number(v, 'f', 2).replace('.', separator); };
    f.solarcb->SetChecked(solar);
    f.dt1->SetDate(QDate(2026, 1, 1));
    f.dt2->UserSetDate(QDate(2026, 1, 1).addDays(b.days));
    f.generaldailyservicechargeed->SetText(text(b.generalDaily));
    f.generalrateed->SetText(text(b.generalRate));
    f.hwdailyfixedchargeed->SetText(text(b.hwDaily));
    f.hwrateed->SetText(text(b.hwRate));
    f.feedined->SetText(text(b.feedIn));
    for (TEdit* e : {f.Edit6, f.Edit9, f.exportoriged, f.importgenoriged, f.importhworiged}) {
        e->SetText("0");
    }
    f.Edit7->SetText(text(b.general));
    f.Edit10->SetText(text(b.hotWater));
    f.exportlater->SetText(text(b.exported));
    f.importgenlatered->SetText(text(b.general));
    f.importhwlatered->SetText(text(b.hotWater));
}

} // namespace

TEST(ResultsRoom, EveryTextShownInFullInEveryLocale) {
    // The two worked examples, a household year and two very large bills.
    const Bill bills[] = {
        {30, 300, 60, 0, 1.00, 0.25, 0.20, 0.15, 0.10},
        {10, 100, 0, 500, 1.00, 0.30, 0.20, 0.15, 0.10},
        {365, 9700, 1040, 6250, 1.10, 0.33, 0.20, 0.20, 0.20},
        {92, 2910, 632, 2000, 1.00, 0.28283, 0.19431, 0.17057, 0.10},
        {365, 987654321, 12345678, 3456789, 45678.9, 1444.70, 12345.6, 987.65, 1234.5},
        {3650, 99999999, 99999999, 99999999, 9999999, 99999.99, 9999999, 99999.99, 99999.99}};
    for (const char* locale : {"en_US", "de_DE", "id_ID", "ja_JP", "ar_EG"}) {
        TestEnv::UseLocale(locale);
        Window w;
        for (const Bill& b : bills) {
            for (bool solar : {false, true}) {
                for (bool hotWater : {true, false}) {
                    w.form->showhwcb->SetChecked(hotWater);
                    Type(*w.form, b, solar);
                    ExpectEveryTextShownInFull(
                        w, std::string(locale) + " days=" + std::to_string(b.days) +
                               (solar ? " solar" : " standard") + (hotWater ? " hw" : ""));
                }
            }
        }
    }
}

namespace {

const Bill Small{30, 300, 60, 0, 1.00, 0.25, 0.20, 0.15, 0.10};
const Bill Large{365, 987654321, 12345678, 3456789, 45678.9, 1444.70, 12345.6, 987.65, 1234.5};

struct Widths {
    int window, tabs, group;
    bool operator==(const Widths&) const = default;
};

Widths WidthsOf(const Window& w) {
    return {w.view->width(), w.Widget(w.form->pagecontrol1)->width(),
            w.Widget(w.form->resultsgb)->width()};
}

std::vector<QRect> ValuePlaces(const Window& w) {
    std::vector<QRect> places;
    for (auto [value, caption] : ValueLabels(*w.form)) {
        places.push_back(w.Label(value)->geometry());
    }
    return places;
}

} // namespace

TEST(ResultsRoom, TheWindowGrowsForWideTextsAndReturnsWhenTheyFit) {
    Window w;
    Type(*w.form, Small, false);
    const Widths design = WidthsOf(w);
    const std::vector<QRect> places = ValuePlaces(w);
    EXPECT_EQ(design.window, 1057) << "1321 design pixels at 120 per inch";
    // 200 screen pixels in the view's pixels.
    const int narrowing = qRound(200 / w.view->devicePixelRatioF());

    Type(*w.form, Large, false);
    const Widths grown = WidthsOf(w);
    const int extra = grown.window - design.window;
    EXPECT_GT(extra, 0);
    EXPECT_EQ(grown.tabs - design.tabs, extra);
    EXPECT_EQ(grown.group - design.group, extra);
    EXPECT_EQ(w.form->Width(), grown.window) << "the model knows the width it shows";
    ExpectEveryTextShownInFull(w, "large");

    Type(*w.form, Small, false);
    EXPECT_EQ(WidthsOf(w), design);
    EXPECT_EQ(ValuePlaces(w), places) << "every label back in its designed place";

    // Hiding hot water takes its pixels on top of what the texts need.
    Type(*w.form, Large, false);
    w.form->showhwcb->SetChecked(false);
    const Widths hidden = WidthsOf(w);
    ExpectEveryTextShownInFull(w, "large, hot water hidden");
    EXPECT_GE(hidden.window, design.window - narrowing);
    EXPECT_EQ(hidden.group - (design.group - narrowing),
              hidden.window - (design.window - narrowing));
    Type(*w.form, Small, false);
    EXPECT_EQ(WidthsOf(w), (Widths{design.window - narrowing, design.tabs - narrowing,
                                   design.group - narrowing}));
    w.form->showhwcb->SetChecked(true);
    EXPECT_EQ(WidthsOf(w), design);

    // Hiding and showing again with the same wide texts ends where it began.
    Type(*w.form, Large, true);
    const Widths before = WidthsOf(w);
    w.form->showhwcb->SetChecked(false);
    w.form->showhwcb->SetChecked(true);
    EXPECT_EQ(WidthsOf(w), before);
}

TEST(ResultsRoom, CsvLoadStaysAtTheLowerRightCorner) {
    Window w(/*developerMachine=*/true);
    auto* button = qobject_cast<QPushButton*>(w.Widget(w.form->csvloadbtn));
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible());
    const int fromRight = w.view->width() - button->geometry().right();
    EXPECT_GT(fromRight, 0);
    EXPECT_LT(fromRight, 20);
    auto expectInCorner = [&](const char* what) {
        EXPECT_EQ(w.view->width() - button->geometry().right(), fromRight) << what;
        EXPECT_TRUE(w.view->rect().contains(button->geometry())) << what;
        EXPECT_EQ(w.form->csvloadbtn->Left(), button->x()) << what;
    };
    w.form->showhwcb->SetChecked(false);
    expectInCorner("hot water hidden");
    Type(*w.form, Large, false);
    expectInCorner("hot water hidden, wide texts");
    w.form->showhwcb->SetChecked(true);
    expectInCorner("hot water shown, wide texts");
    Type(*w.form, Small, false);
    expectInCorner("designed width");
}

TEST(ResultsRoom, HidingHotWaterTakesTwoHundredScreenPixelsAtAnyScale) {
    Window w;
    const double ratio = w.view->devicePixelRatioF();
    // ctest runs this once more with QT_SCALE_FACTOR=2.
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    if (!factor.isEmpty()) {
        EXPECT_DOUBLE_EQ(ratio, factor.toDouble());
    }
    auto screenWidth = [&] { return qRound(w.view->width() * ratio); };
    const int shown = screenWidth();
    EXPECT_EQ(shown, qRound(1057 * ratio));
    w.form->showhwcb->SetChecked(false);
    EXPECT_EQ(shown - screenWidth(), 200) << "at a ratio of " << ratio;
    if (ratio == 2.0) {
        EXPECT_EQ(shown, 2114);
        EXPECT_EQ(screenWidth(), 1914);
    }
    w.form->showhwcb->SetChecked(true);
    EXPECT_EQ(screenWidth(), shown);
}

TEST(ResultsRoom, UsageFiguresShownInFull) {
    for (const char* locale : {"en_US", "de_DE", "id_ID", "ja_JP", "ar_EG"}) {
        TestEnv::UseLocale(locale);
        Window w;
        TForm1& f = *w.form;
        const QChar separator = DecimalSeparator(QLocale());
        for (const char* rate : {"0.28283", "1444.70", "99999.99"}) {
            for (const char* watts : {"1500", "99999999", "123456789012"}) {
                f.generalrateed->SetText(QString::fromLatin1(rate).replace('.', separator));
                f.wattsedit->SetText(watts);
                f.hrsedit->SetText("24");
                for (const TLabel* value :
                     {f.resultlabel, f.kwhlabel, f.perweeklabel, f.peryearlabel}) {
                    const QLabel* l = w.Label(value);
                    ASSERT_FALSE(l->text().isEmpty());
                    const QRect inGroup(l->mapTo(w.Widget(f.wattsusagegb), QPoint()), l->size());
                    const int textLeft = l->alignment().testFlag(Qt::AlignHCenter)
                                             ? inGroup.center().x() - Advance(l) / 2
                                             : inGroup.left();
                    const std::string name = std::string(locale) + " " +
                                             value->Name().toStdString() + " \"" +
                                             l->text().toStdString() + "\"";
                    EXPECT_LE(Advance(l), l->width()) << name;
                    EXPECT_GE(textLeft, 0) << name;
                }
            }
        }
    }
}
