// The settings component's window-position contract on real windows: a
// resizable window takes its stored size and is maximised after it has been
// placed; the calculator's fixed-size window is placed and keeps its size.
#include "app/view/formview.h"
#include "support/formfixture.h"
#include "support/testenv.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

void GivenSettings(const QByteArray& text) {
    const QString folder = TestEnv::ConfigDir() + "/BrindleSoftware/voltisk";
    QDir().mkpath(folder);
    QFile f(folder + "/voltisk.ini");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

// The window model and its view after start-up, resizable or not.
struct Started {
    FormFixture fx;
    std::unique_ptr<TFormView> view;
    explicit Started(bool sizeable) {
        fx.form = std::make_unique<TForm1>(fx.platform);
        fx.form->Sizeable = sizeable;
        fx.form->Create();
        view = std::make_unique<TFormView>(*fx.form);
        fx.form->Show();
        view->show();
        QApplication::processEvents();
    }
    TForm1& form() { return *fx.form; }
    // Placed at `at`: the frame there, or the client area where the window
    // system could not know the frame yet when the window was moved.
    bool PlacedAt(QPoint at) const {
        return view->frameGeometry().topLeft() == at || view->geometry().topLeft() == at;
    }
};

} // namespace

TEST(WindowPosition, AResizableWindowIsPlacedSizedAndThenMaximised) {
    GivenSettings("[Settings]\nMaximized=1\nLeft=100\nTop=120\nWidth=900\nHeight=500\n");
    Started s(/*sizeable=*/true);
    EXPECT_TRUE(s.view->isMaximized());
    EXPECT_EQ(s.form().WindowState(), TWindowState::wsMaximized);
    EXPECT_EQ(s.view->normalGeometry().size(), QSize(900, 500)) << "the stored normal size";
    EXPECT_EQ(s.form().Left(), 100);
    EXPECT_EQ(s.form().Top(), 120);
    EXPECT_NE(s.view->minimumSize(), s.view->maximumSize()) << "the window can be resized";
    EXPECT_TRUE(s.view->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    s.view->showNormal();
    QApplication::processEvents();
    EXPECT_EQ(s.view->size(), QSize(900, 500)) << "restored to the placed rectangle";
}

TEST(WindowPosition, AResizableWindowWithoutMaximizedKeepsItsNormalState) {
    GivenSettings("[Settings]\nMaximized=0\nLeft=30\nTop=40\nWidth=700\nHeight=400\n");
    Started s(/*sizeable=*/true);
    EXPECT_FALSE(s.view->isMaximized());
    EXPECT_EQ(s.view->size(), QSize(700, 400));
    EXPECT_TRUE(s.PlacedAt(QPoint(30, 40)));
}

TEST(WindowPosition, TheCalculatorsFixedWindowIsPlacedAndKeepsItsSize) {
    GivenSettings("[Settings]\nMaximized=1\nLeft=100\nTop=120\nWidth=900\nHeight=500\n");
    Started s(/*sizeable=*/false);
    EXPECT_FALSE(s.view->isMaximized());
    EXPECT_EQ(s.view->size(), QSize(1057, 481));
    EXPECT_EQ(s.view->minimumSize(), s.view->maximumSize());
    EXPECT_TRUE(s.PlacedAt(QPoint(100, 120)));
    EXPECT_EQ(s.form().Width(), 1057);
}
