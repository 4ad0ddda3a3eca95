// The real window, offscreen: typed keys, mouse clicks and what the widgets show.
#include "app/view/lazyicon.h"
#include "support/testenv.h"
#include "support/viewfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <vector>

TEST(View, EveryModelElementHasAWidgetOfItsName) {
    ViewFixture v;
    int bound = 0;
    for (TComponent* c : v.form->Components()) {
        if (dynamic_cast<TControl*>(c)) {
            QWidget* w = v.view->WidgetOf(c);
            ASSERT_NE(w, nullptr) << c->Name().toStdString();
            EXPECT_EQ(w->objectName(), c->Name());
            ++bound;
        }
    }
    EXPECT_GT(bound, 100);
}

// A page not shown at first gets its widgets when first shown, with the same
// names, screen-reader names, label buddies and tab order as in a window that
// starts on that page and builds it at once.
TEST(View, PagesBuiltWhenFirstShownMatchPagesBuiltAtOnce) {
    auto describe = [](ViewFixture& v) {
        QHash<QWidget*, TControl*> control;
        QStringList names;
        for (TComponent* c : v.form->Components()) {
            if (auto* ctl = dynamic_cast<TControl*>(c)) {
                QWidget* w = v.view->findChild<QWidget*>(c->Name());
                EXPECT_NE(w, nullptr) << c->Name().toStdString();
                if (!w) {
                    continue;
                }
                control.insert(w, ctl);
                auto* label = qobject_cast<QLabel*>(w);
                names << c->Name() + '|' + w->accessibleName() + '|' + w->accessibleDescription() +
                             '|' +
                             (label && label->buddy() ? label->buddy()->objectName() : QString());
            }
        }
        QStringList chain;
        for (QWidget* w = v.view->nextInFocusChain(); w != v.view.get();
             w = w->nextInFocusChain()) {
            if (control.contains(w) && w->focusPolicy() != Qt::NoFocus) {
                chain << w->objectName();
            }
        }
        return names + QStringList{"--"} + chain;
    };
    ViewFixture late;
    EXPECT_EQ(late.view->findChild<QWidget*>("wattsedit"), nullptr) << "the calculator page waits";
    EXPECT_NE(late.view->findChild<QWidget*>("Edit6"), nullptr);
    late.form->pagecontrol1->SetActivePage(late.form->calc);
    EXPECT_TRUE(late.view->findChild<QWidget*>("wattsedit")->isVisible());
    late.form->pagecontrol1->SetActivePage(late.form->about);
    ViewFixture early({"CALC"});
    EXPECT_NE(early.view->findChild<QWidget*>("wattsedit"), nullptr);
    early.form->pagecontrol1->SetActivePage(early.form->readingsts);
    early.form->pagecontrol1->SetActivePage(early.form->about);
    EXPECT_EQ(describe(late), describe(early));
}

TEST(View, FixedSizeWindowWithMinimiseAndCloseOnly) {
    ViewFixture v;
    EXPECT_EQ(v.view->minimumSize(), v.view->maximumSize());
    EXPECT_FALSE(v.view->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_TRUE(v.view->windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(v.view->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_EQ(v.view->windowTitle(), "Voltisk");
}

TEST(View, TypingWattsUpdatesTheCostLabelsAtOnce) {
    ViewFixture v({"CALC"});
    auto* watts = v.W_<QLineEdit>("wattsedit");
    auto* hours = v.W_<QLineEdit>("hrsedit");
    v.form->generalrateed->SetText("0.25");
    watts->selectAll();
    QTest::keyClicks(watts, "2000");
    hours->selectAll();
    QTest::keyClicks(hours, "3");
    EXPECT_EQ(v.W_<QLabel>("resultlabel")->text(), "Cost: $1.50");
    EXPECT_EQ(v.W_<QLabel>("kwhlabel")->text(), "(6.00 kwh)");
    EXPECT_EQ(v.W_<QLabel>("perweeklabel")->text(), "$10.50 per week");
    QTest::keyClick(watts, Qt::Key_End);
    QTest::keyClick(watts, Qt::Key_Space);
    EXPECT_TRUE(v.W_<QLabel>("resultlabel")->text().isEmpty())
        << "a trailing blank is not a number";
}

TEST(View, KeyFilterOnARealField) {
    ViewFixture v;
    auto* rate = v.W_<QLineEdit>("generalrateed");
    rate->setFocus();
    rate->clear();
    v.form->generalrateed->SetText("");
    QTest::keyClicks(rate, "-1,a.5x");
    EXPECT_EQ(rate->text(), "1.5");
    EXPECT_EQ(v.form->generalrateed->Text(), "1.5");
    QTest::keyClick(rate, Qt::Key_Backspace);
    EXPECT_EQ(rate->text(), "1.");
    QTest::keyClick(rate, Qt::Key_Left);
    QTest::keyClick(rate, Qt::Key_Delete);
    EXPECT_EQ(rate->text(), "1") << "Delete and the arrows still edit";
    QApplication::clipboard()->setText("abc");
    rate->selectAll();
    QTest::sendKeyEvent(QTest::KeyAction::Click, rate, Qt::Key_V, QString(QChar(0x16)),
                        Qt::ControlModifier);
    EXPECT_EQ(rate->text(), "abc") << "pasting is not filtered";
    EXPECT_EQ(v.form->generalrateed->Text(), "abc");
    QTest::keyClick(rate, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(rate, "7");
    EXPECT_EQ(rate->text(), "abc7") << "Ctrl+A is dropped, so nothing was selected";
}

TEST(View, TabStillMovesTheFocusOutOfAFilteredField) {
    ViewFixture v;
    auto* charge = v.W_<QLineEdit>("generaldailyservicechargeed");
    charge->setFocus();
    ASSERT_TRUE(charge->hasFocus());
    QTest::keyClick(charge, Qt::Key_Tab);
    EXPECT_FALSE(charge->hasFocus());
    EXPECT_EQ(QApplication::focusWidget(), v.W_<QLineEdit>("generalrateed"));
}

TEST(View, StepArrowsWorkWithTheMouse) {
    ViewFixture v;
    v.form->solarcb->SetChecked(true);
    auto* arrows = v.W_<QWidget>("exportlaterupdown");
    auto* up = arrows->findChild<QToolButton*>("up");
    ASSERT_NE(up, nullptr);
    QTest::mouseClick(up, Qt::LeftButton);
    QTest::mouseClick(up, Qt::LeftButton);
    EXPECT_EQ(v.W_<QLineEdit>("exportlater")->text(), "2");
    QTest::mouseClick(arrows->findChild<QToolButton*>("down"), Qt::LeftButton);
    EXPECT_EQ(v.W_<QLineEdit>("exportlater")->text(), "1");
}

TEST(View, SwitchesRearrangeThePage) {
    ViewFixture v;
    auto* solar = v.W_<QCheckBox>("solarcb");
    auto* hw = v.W_<QCheckBox>("showhwcb");
    QTest::mouseClick(solar, Qt::LeftButton, {}, QPoint(8, solar->height() / 2));
    EXPECT_TRUE(v.form->solarcb->Checked());
    EXPECT_TRUE(v.W_<QGroupBox>("solarexportreadingsgb")->isVisible());
    EXPECT_FALSE(v.W_<QGroupBox>("stadardlightandpowerreadingsgb")->isVisible());
    EXPECT_EQ(v.W_<QLabel>("typelabel")->text(), "Solar power");
    const int width = v.view->width();
    const int results = v.W_<QGroupBox>("resultsgb")->width();
    QTest::mouseClick(hw, Qt::LeftButton, {}, QPoint(8, hw->height() / 2));
    EXPECT_FALSE(v.W_<QGroupBox>("solarimporthwreadingsgb")->isVisible());
    EXPECT_FALSE(v.W_<QLabel>("hotwaterlabel1")->isVisible());
    EXPECT_EQ(v.view->width(), width - 200);
    EXPECT_EQ(v.W_<QGroupBox>("resultsgb")->width(), results - 200);
    QTest::mouseClick(hw, Qt::LeftButton, {}, QPoint(8, hw->height() / 2));
    EXPECT_EQ(v.view->width(), width);
    EXPECT_EQ(v.W_<QGroupBox>("resultsgb")->width(), results);
}

TEST(View, UserDateChangeRecalculatesAndProgramDateChangeDoesNot) {
    ViewFixture v;
    auto* later = v.W_<QDateEdit>("dt2");
    later->setDate(later->date().addDays(7));
    EXPECT_EQ(v.form->dt2->Date(), v.fx.clock.today.addDays(7));
    EXPECT_EQ(v.W_<QLabel>("dayslabel")->text(), "7");
    v.form->dt1->SetDate(v.fx.clock.today.addDays(-1));
    EXPECT_EQ(v.W_<QDateEdit>("dt1")->date(), v.fx.clock.today.addDays(-1));
    EXPECT_EQ(v.W_<QLabel>("dayslabel")->text(), "7") << "a program-set date runs nothing";
}

TEST(View, StatusLineAndHints) {
    ViewFixture v;
    v.form->dt2->UserSetDate(v.form->dt1->Date().addDays(3));
    EXPECT_EQ(v.view->findChild<QLabel*>("sb1text")->text(), v.form->sb1->SimpleText());
    EXPECT_FALSE(v.form->sb1->SimpleText().isEmpty());
    EXPECT_EQ(v.W_<QWidget>("csvloadbtn")->toolTip(),
              "Load \"original\" values from latest Aurora CSV file");
    EXPECT_FALSE(v.W_<QWidget>("csvloadbtn")->isVisible()) << "no marker file";
    EXPECT_TRUE(v.W_<QWidget>("Memo1")->isHidden() == false);
}

TEST(View, FocusNeverStaysInTheHelpText) {
    ViewFixture v;
    v.form->pagecontrol1->SetActivePage(v.form->about);
    QWidget* memo = v.W_<QWidget>("Memo1");
    memo->setFocus(Qt::MouseFocusReason);
    EXPECT_FALSE(memo->hasFocus());
    EXPECT_EQ(QApplication::focusWidget(), v.view.get()) << "the window itself holds the focus";
}

// Column headings, the title and the instructions are named by what they
// are, not by a neighbour's caption or an internal element name.
TEST(View, HeadingsTitleAndInstructionsAreNamedByWhatTheyAre) {
    ViewFixture v;
    auto name = [&](const char* element) { return v.W_<QWidget>(element)->accessibleName(); };
    for (const char* n : {"1", "2"}) {
        const std::string i(n);
        EXPECT_EQ(name(("totlabel" + i).c_str()), "Total");
        EXPECT_EQ(name(("lightandpowerlabel" + i).c_str()), "Light and power share");
        EXPECT_EQ(name(("hotwaterlabel" + i).c_str()), "Hot water share");
    }
    EXPECT_EQ(name("Label2"), "Voltisk");
    EXPECT_EQ(name("Memo1"), "Instructions");
    EXPECT_EQ(v.W_<QLabel>("Label17")->buddy(), v.W_<QWidget>("Memo1"));
    EXPECT_EQ(name("sb1"), "Status");
    EXPECT_EQ(name("pagecontrol1"), "Pages");
}

TEST(View, ScreenReadersHearAUsefulNameForEveryInputButtonAndResult) {
    ViewFixture v;
    auto name = [&](const char* element) { return v.W_<QWidget>(element)->accessibleName(); };
    EXPECT_EQ(name("Edit6"), "General Light and Power Readings (Kwh), Original reading");
    EXPECT_EQ(name("importhwlatered"), "Import from grid - Hot water (Kwh), Later reading");
    EXPECT_EQ(name("dt1"), "Reading Dates, Original reading");
    EXPECT_EQ(name("generalrateed"), "General Light and Power Charges ($), Energy rate (per Kwh)");
    EXPECT_EQ(name("wattsedit"), "Calculate cost for watts usage, Watts");
    EXPECT_EQ(name("voltsedit"), "Volts / Watts / Amps / Ohms Converter, Volts");
    EXPECT_EQ(name("SpeedButton1"), "Clear this entry, Volts");
    EXPECT_EQ(v.W_<QWidget>("SpeedButton1")->accessibleDescription(), "Clear this entry");
    EXPECT_EQ(name("fresult"), "Fixed cost");
    EXPECT_EQ(name("fresultwk"), "Fixed cost, light and power plus hot water");
    EXPECT_EQ(name("dayslabel"), "# Days in period");
    EXPECT_EQ(name("resultlabel"), "Cost per day");
    EXPECT_EQ(name("showhwcb"), "Show rates and readings for Hot Water");
    EXPECT_EQ(v.W_<QLabel>("Label6")->buddy(), v.W_<QWidget>("Edit6"));
    for (TComponent* c : v.form->Components()) {
        auto* w = v.view->WidgetOf(c);
        const bool interactive = dynamic_cast<TEdit*>(c) || dynamic_cast<TButton*>(c) ||
                                 dynamic_cast<TCheckBox*>(c) || dynamic_cast<TRadioButton*>(c) ||
                                 dynamic_cast<TDateTimePicker*>(c);
        if (w && interactive) {
            EXPECT_FALSE(w->accessibleName().isEmpty()) << c->Name().toStdString();
        }
    }
}

TEST(View, EveryFunctionIsReachableWithTheKeyboard) {
    ViewFixture v;
    // Each page's widgets are made when the page is first shown.
    for (TTabSheet* page : {v.form->calc, v.form->about, v.form->readingsts}) {
        v.form->pagecontrol1->SetActivePage(page);
    }
    // Walk the focus chain from the first field and collect what Tab reaches.
    QSet<QString> reached;
    QWidget* w = v.W_<QWidget>("dt1");
    for (int i = 0; i < 200 && w; ++i) {
        reached.insert(w->objectName());
        w = w->nextInFocusChain();
    }
    for (const char* name : {"dt1",
                             "dt2",
                             "showhwcb",
                             "generaldailyservicechargeed",
                             "generalrateed",
                             "hwdailyfixedchargeed",
                             "hwrateed",
                             "feedined",
                             "solarcb",
                             "Edit6",
                             "Edit7",
                             "Edit9",
                             "Edit10",
                             "exportoriged",
                             "exportlater",
                             "importgenoriged",
                             "importgenlatered",
                             "importhworiged",
                             "importhwlatered",
                             "wattsedit",
                             "hrsedit",
                             "voltsedit",
                             "wedit",
                             "ampsedit",
                             "ohmsedit",
                             "calculatebutton",
                             "resetbutton",
                             "SpeedButton1",
                             "reportsbtn",
                             "todaysdaterb",
                             "lastdaterb"}) {
        EXPECT_TRUE(reached.contains(name)) << name;
    }
}

TEST(View, AmpersandInTheColumnHeadingsIsAPlainCharacter) {
    ViewFixture v;
    auto* heading = v.W_<QLabel>("lightandpowerlabel1");
    EXPECT_EQ(heading->text(), "(Light & Power +");
    EXPECT_EQ(heading->buddy(), nullptr) << "a buddy would turn the & into a shortcut mark";
}

TEST(View, RendersWholeAtItsDesignWidthInEverySwitchState) {
    ViewFixture v;
    for (const auto& [solar, hotWater] : {std::pair{false, true}, std::pair{false, false},
                                          std::pair{true, false}, std::pair{true, true}}) {
        v.form->solarcb->SetChecked(solar);
        v.form->showhwcb->SetChecked(hotWater);
        QApplication::processEvents();
        const QPixmap picture = v.view->grab();
        ASSERT_FALSE(picture.isNull()) << solar << hotWater;
        EXPECT_EQ(picture.width(), qRound(v.view->width() * picture.devicePixelRatio()));
        EXPECT_EQ(v.view->width(), v.form->Width()) << solar << hotWater;
    }
}

namespace {
class PaintCount : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};
} // namespace

TEST(View, ANewResultTextRepaintsTheLabelNotTheGroupBehindIt) {
    ViewFixture v;
    v.form->dt1->SetDate(QDate(2026, 11, 8));
    v.form->dt2->UserSetDate(QDate(2026, 12, 8));
    v.form->Edit6->SetText("1000");
    QApplication::processEvents();
    PaintCount group, total;
    v.W_<QGroupBox>("resultsgb")->installEventFilter(&group);
    v.W_<QLabel>("tresult")->installEventFilter(&total);
    v.form->Edit7->SetText("1300");
    QApplication::processEvents();
    EXPECT_EQ(v.W_<QLabel>("tresult")->text(), v.form->tresult->Caption());
    EXPECT_GT(total.paints, 0);
    EXPECT_EQ(group.paints, 0);
}

TEST(View, AKeyInAReadingFieldRepaintsTheFieldNotTheGroupBehindIt) {
    ViewFixture v;
    auto* edit = v.W_<QLineEdit>("Edit7");
    edit->setFocus();
    QApplication::processEvents();
    PaintCount group, field;
    v.W_<QGroupBox>("stadardlightandpowerreadingsgb")->installEventFilter(&group);
    edit->installEventFilter(&field);
    QTest::keyClick(edit, Qt::Key_1);
    QApplication::processEvents();
    EXPECT_EQ(v.form->Edit7->Text(), "1");
    EXPECT_GT(field.paints, 0);
    EXPECT_EQ(group.paints, 0);
}

// A field's panel comes from a picture once the field has found its plain
// background: the same pixels as drawn, focused or not, at one and two
// device pixels per pixel, whichever was pictured first.
TEST(View, AFieldsPanelFromItsPictureIsTheDrawnPanel) {
    ViewFixture v;
    auto* edit = v.W_<QLineEdit>("Edit7");
    auto* other = v.W_<QLineEdit>("Edit6");
    edit->setFocus();
    QApplication::processEvents();
    ASSERT_NE(edit->style(), QApplication::style());
    const auto draw = [edit](qreal ratio) {
        QImage image((QSizeF(edit->size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        edit->render(&image);
        return image;
    };
    const struct {
        bool focused;
        qreal ratio;
    } cases[] = {{true, 1}, {true, 2}, {false, 2}, {false, 1}, {true, 1}};
    std::vector<QImage> pictured;
    for (const auto& c : cases) {
        (c.focused ? edit : other)->setFocus();
        pictured.push_back(draw(c.ratio));
    }
    QStyle* cached = edit->style();
    edit->setStyle(QApplication::style());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        (cases[i].focused ? edit : other)->setFocus();
        EXPECT_EQ(pictured[i], draw(cases[i].ratio)) << i;
    }
    // The two states look different: each was pictured on its own.
    EXPECT_NE(pictured[0], pictured[3]);
    edit->setStyle(cached);
}

// Opaque once the window's first paint has finished: until then each opaque
// widget would be a hole in the clip of everything painted behind it.
TEST(View, OnlyResultLabelsInsideTheGroupFrameAreOpaqueOnceTheWindowIsPainted) {
    ViewFixture v;
    auto* group = v.W_<QGroupBox>("resultsgb");
    auto* total = v.W_<QLabel>("tresult");
    auto* split = v.W_<QLabel>("tresultwk");
    const auto opaque = [](const QWidget* w) { return w->testAttribute(Qt::WA_OpaquePaintEvent); };
    EXPECT_FALSE(opaque(total));
    QApplication::processEvents();
    QApplication::processEvents();
    EXPECT_TRUE(opaque(total));
    EXPECT_TRUE(opaque(split));
    // Filled with the colour the group shows around them.
    const QImage shown = v.view->grab().toImage();
    const auto at = [&](const QWidget* w, QPoint p) {
        return shown.pixel(w->mapTo(v.view.get(), p));
    };
    const QRgb around = at(group, v.form->Results().BackgroundProbe());
    EXPECT_EQ(at(total, QPoint(1, 1)), around);
    EXPECT_EQ(at(split, QPoint(1, 1)), around);
    // Narrowed, the group's frame runs through the split column.
    v.form->showhwcb->SetChecked(false);
    EXPECT_LT(group->width(), split->geometry().right());
    EXPECT_FALSE(opaque(split));
    EXPECT_TRUE(opaque(total));
    v.form->showhwcb->SetChecked(true);
    EXPECT_TRUE(opaque(split));
}

// Results wider than their designed places are shown in full: a German
// quarter with solar power and hot water, and an American year.
TEST(View, WideResultsShowInFullInTheirLocale) {
    struct Case {
        const char* locale;
        int days;
        const char *general, *hotWater, *exported, *generalRate, *hwRate;
        const char* expected;
    };
    const Case cases[] = {
        {"de_DE", 90, "670", "282,5", "2000", "0,3", "0,16",
         "((291,00\u00a0\u20ac + 63,20\u00a0\u20ac) - 200,00\u00a0\u20ac)"},
        {"en_US", 365, "2420", "900", "12500", "0.25", "0.15", "(($970.00 + $208.00) - $1,250.00)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        TestEnv::UseLocale(c.locale);
        ViewFixture v;
        TForm1& f = *v.form;
        const QString point = QLocale().decimalPoint();
        f.solarcb->SetChecked(true);
        f.dt1->SetDate(QDate(2026, 1, 1));
        f.dt2->UserSetDate(QDate(2026, 1, 1).addDays(c.days));
        f.generaldailyservicechargeed->SetText("1" + point + "00");
        f.hwdailyfixedchargeed->SetText("0" + point + "20");
        f.feedined->SetText("0" + point + "10");
        f.generalrateed->SetText(c.generalRate);
        f.hwrateed->SetText(c.hwRate);
        for (TEdit* e : {f.exportoriged, f.importgenoriged, f.importhworiged}) {
            e->SetText("0");
        }
        f.exportlater->SetText(c.exported);
        f.importgenlatered->SetText(c.general);
        f.importhwlatered->SetText(c.hotWater);
        EXPECT_EQ(f.tresultwk->Caption(), QString::fromUtf8(c.expected));
        const auto* label = v.W_<QLabel>("tresultwk");
        ASSERT_NE(label, nullptr);
        EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
    }
}

namespace {
// An element kind the view has no widget for.
class UnknownKind : public TControl {
public:
    using TControl::TControl;
};
} // namespace

TEST(View, AnElementKindWithoutAWidgetStopsTheWindowBeingBuilt) {
    FormFixture fx;
    TForm1& form = fx.Make(false);
    {
        UnknownKind stray(&form, QStringLiteral("stray"), form.readingsts);
        EXPECT_THROW(TFormView view(form), std::logic_error);
    }
    // Without it the same model builds its window.
    EXPECT_NO_THROW(TFormView view(form));
}

namespace {
// A non-visual element kind the view knows nothing of.
class UnknownComponent : public TComponent {
public:
    using TComponent::TComponent;
};

std::string BuildError(TForm1& form) {
    try {
        TFormView view(form);
    } catch (const std::logic_error& e) {
        return e.what();
    }
    return "built";
}
} // namespace

TEST(View, AnElementKindWithoutABindingIsNamedWithItsElement) {
    FormFixture fx;
    TForm1& form = fx.Make(false);
    {
        UnknownKind stray(&form, QStringLiteral("stray"), form.readingsts);
        const std::string error = BuildError(form);
        EXPECT_NE(error.find("stray"), std::string::npos) << error;
        EXPECT_NE(error.find("UnknownKind"), std::string::npos) << error;
    }
    {
        // Not only visible kinds: a component nothing binds is refused too.
        UnknownComponent hidden(&form, QStringLiteral("hidden"));
        const std::string error = BuildError(form);
        EXPECT_NE(error.find("hidden"), std::string::npos) << error;
        EXPECT_NE(error.find("UnknownComponent"), std::string::npos) << error;
    }
    EXPECT_EQ(BuildError(form), "built");
}

TEST(View, ScreenReaderNamesComeFromTheElementsNotFromWhereTheyStand) {
    FormFixture fx;
    TForm1& form = fx.Make(false);
    // Caption labels moved off their rows, a value label into another's row.
    form.Label6->SetTop(form.Label7->Top());
    form.Label18->SetTop(form.Label19->Top());
    form.Label22->SetTop(form.Label30->Top());
    TFormView view(form);
    auto name = [&](TControl* c) { return view.WidgetOf(c)->accessibleName(); };
    EXPECT_EQ(name(form.Edit6), "General Light and Power Readings (Kwh), Original reading");
    EXPECT_EQ(name(form.Edit7), "General Light and Power Readings (Kwh), Later reading");
    EXPECT_EQ(name(form.SpeedButton1), "Clear this entry, Volts");
    EXPECT_EQ(name(form.exportedlabel), "Kw exported to grid");
    EXPECT_EQ(qobject_cast<QLabel*>(view.WidgetOf(form.Label6))->buddy(),
              view.WidgetOf(form.Edit6));
}

TEST(View, UsageRowsAreNamedAsTheirCaptionsReadWhenTheWindowIsBuilt) {
    for (const bool solar : {false, true}) {
        FormFixture fx;
        TForm1& form = fx.Make(false);
        form.solarcb->SetChecked(solar);
        TFormView view(form);
        auto name = [&](TControl* c) { return view.WidgetOf(c)->accessibleName(); };
        const QString usage = solar ? "Kw imported" : "Kw used";
        const QString daily = solar ? "Daily kw imported" : "Daily kw used";
        EXPECT_EQ(name(form.usedlab), usage);
        EXPECT_EQ(name(form.used), usage);
        EXPECT_EQ(name(form.usedwk), usage + ", light and power plus hot water");
        EXPECT_EQ(name(form.dailyusedlab), daily);
        EXPECT_EQ(name(form.dused), daily);
        EXPECT_EQ(name(form.dusedwk), daily + ", light and power plus hot water");
        EXPECT_EQ(view.WidgetOf(form.dusedwk)->accessibleDescription(),
                  "The general and hot-water shares of the total");
    }
}

// The window icon is read by its suffix, without asking the image plugins,
// at each size the window system asks for.
TEST(View, TheWindowIconIsReadAtTheSizesAskedFor) {
    const QIcon icon = LazyIcon(QStringLiteral(":/voltisk.png"), QSize(256, 256));
    for (int side : {16, 48, 256}) {
        const QPixmap pixmap = icon.pixmap(QSize(side, side));
        EXPECT_EQ(pixmap.size(), QSize(side, side)) << side;
    }
}
