// Pictures of the real window for the documentation. With VOLTISK_SCREENSHOTS
// set to a folder, each page and each switch state is saved there; without it
// the same windows are still built and checked to render.
#include "app/view/formview.h"
#include "support/fakes.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

struct Shot {
    FormFixture fx;
    TForm1* form = nullptr;
    std::unique_ptr<TFormView> view;
    Shot() {
        form = &fx.Make(false);
        view = std::make_unique<TFormView>(*form);
        form->Show();
        view->show();
        form->dt1->SetDate(QDate(2026, 11, 8));
        form->dt2->UserSetDate(QDate(2026, 12, 8));
        form->Edit6->SetText("41230");
        form->Edit7->SetText("41712");
        form->Edit9->SetText("9120");
        form->Edit10->SetText("9264");
        form->exportoriged->SetText("10500");
        form->exportlater->SetText("10812");
        form->importgenoriged->SetText("22340");
        form->importgenlatered->SetText("22598");
        form->importhworiged->SetText("7010");
        form->importhwlatered->SetText("7139");
        form->wattsedit->SetText("1500");
        form->hrsedit->SetText("2");
    }
    // Saves the window as `name`.png when pictures were asked for; the window
    // must render to a non-empty picture either way.
    void Save(const char* name) {
        QApplication::processEvents();
        const QPixmap picture = view->grab();
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.width(), qRound(view->width() * picture.devicePixelRatio()));
        const QString folder = qEnvironmentVariable("VOLTISK_SCREENSHOTS");
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            EXPECT_TRUE(picture.save(folder + "/" + QString::fromLatin1(name) + ".png"));
        }
    }
};

} // namespace

TEST(Screenshots, ThreePages) {
    Shot s;
    s.Save("standard");
    s.form->pagecontrol1->SetActivePage(s.form->calc);
    s.Save("calculator");
    s.form->pagecontrol1->SetActivePage(s.form->about);
    s.Save("help");
}

TEST(Screenshots, FourSwitchStates) {
    Shot s;
    s.Save("standard-hotwater");
    s.form->showhwcb->SetChecked(false);
    s.Save("standard-nohotwater");
    s.form->solarcb->SetChecked(true);
    s.Save("solar-nohotwater");
    s.form->showhwcb->SetChecked(true);
    s.Save("solar-hotwater");
    EXPECT_EQ(s.view->width(), s.form->Width());
}
